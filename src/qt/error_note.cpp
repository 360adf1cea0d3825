#include "qt/error_note.h"

#include <algorithm>

#include <QPalette>
#include <QScreen>

#include "qt/notification.h"

namespace qt {

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
    m_field = field;
    setText(message);
    adjustSize();
    place();
    show();
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

}  // namespace qt
