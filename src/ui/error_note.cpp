#include "ui/error_note.h"

#include <algorithm>

#include <QPalette>
#include <QScreen>

#include "ui/notification.h"

namespace ui {

ErrorNote::ErrorNote(QWidget* owner)
    : QLabel(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
    describeAsNotification(this);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_WindowPropagation);  // the window's Japanese face
    setFocusPolicy(Qt::NoFocus);
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setMargin(3);
}

void ErrorNote::showAt(QWidget* field, const QString& message) {
    // Raised again by the next key, the error that stands is not told again.
    if (m_standing && isVisible() && field == m_field && message == text()) return;
    if (field != m_field) releaseField();
    m_field = field;
    m_standing = true;
    setText(message);
    field->setAccessibleDescription(message);
    adjustSize();
    appear();
}

void ErrorNote::dismiss() {
    if (!m_standing) return;
    m_standing = false;
    hide();
    releaseField();
}

void ErrorNote::ownerActivated(bool active) {
    if (!active) {
        hide();
    } else if (m_standing && m_field) {
        appear();
    }
}

void ErrorNote::follow() {
    if (isVisible() && m_field) place();
}

// Qt tells screen readers nothing when a tooltip window shows: each time the
// note appears, it says so itself.
void ErrorNote::appear() {
    place();
    show();
    notifyShown(this, text());
}

// Below the field, kept on the field's screen.
void ErrorNote::place() {
    QPoint at = m_field->mapToGlobal(QPoint(0, m_field->height()));
    if (const QScreen* screen = m_field->screen()) {
        const QRect area = screen->availableGeometry();
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - width() + 1)));
        at.setY(std::clamp(at.y(), area.top(), std::max(area.top(), area.bottom() - height() + 1)));
    }
    move(at);
}

// The field keeps no description of an error that no longer stands; a text
// put there since (the summary of a calculation) is not the note's to clear.
void ErrorNote::releaseField() {
    if (m_field && m_field->accessibleDescription() == text())
        m_field->setAccessibleDescription({});
}

}  // namespace ui
