#include "qt/error_note.h"

#include <QPalette>
#include <QScreen>

#include "qt/notification.h"
#include "ui/rules.h"

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

void ErrorNote::place() {
    const QRect field(m_field->mapToGlobal(QPoint()), m_field->size());
    const auto rect = [](const QRect& r) {
        return ui::Rect<int>{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    };
    if (const QScreen* screen = m_field->screen()) {
        const auto at =
            ui::notePlace(rect(field), width(), height(), rect(screen->availableGeometry()));
        move(at.x, at.y);
    } else {
        move(field.bottomLeft() + QPoint(0, 1));
    }
}

}  // namespace qt
