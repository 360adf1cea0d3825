#include "ui/error_note.h"

#include <algorithm>

#include <QAccessible>
#include <QPalette>
#include <QScreen>

namespace ui {

ErrorNote::ErrorNote(QWidget* owner)
    : QLabel(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_WindowPropagation);  // the window's Japanese face
    setFocusPolicy(Qt::NoFocus);
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setMargin(3);
    setAccessibleName(QStringLiteral("エラー"));
}

void ErrorNote::showAt(const QWidget* field, const QString& message) {
    m_field = field;
    m_standing = true;
    setText(message);
    adjustSize();
    place();
    show();
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void ErrorNote::dismiss() {
    m_standing = false;
    hide();
}

void ErrorNote::ownerActivated(bool active) {
    if (!active) {
        hide();
    } else if (m_standing && m_field) {
        place();
        show();
    }
}

void ErrorNote::follow() {
    if (isVisible() && m_field) place();
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

}  // namespace ui
