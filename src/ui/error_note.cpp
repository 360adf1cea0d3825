#include "ui/error_note.h"

#include <QAccessible>
#include <QPalette>

namespace ui {

ErrorNote::ErrorNote(QWidget* owner)
    : QLabel(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      m_owner(owner) {
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
    setText(message);
    adjustSize();
    move(field->mapToGlobal(QPoint(0, field->height())));
    show();
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

}  // namespace ui
