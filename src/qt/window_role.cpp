#include "qt/window_role.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "qt/form1.h"
#include "qt/titled_window.h"

namespace qt {
namespace {

QAccessibleInterface* windowRole(const QString& className, QObject* object) {
    if (className != QLatin1String(Form1::staticMetaObject.className()) &&
        className != QLatin1String(TitledWindow::staticMetaObject.className())) {
        return nullptr;
    }
    auto* widget = static_cast<QWidget*>(object);
    // Inside a window of ours the calculator is that window's client area.
    if (!widget->isWindow()) return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window);
}

}  // namespace

void describeOurWindowsAsWindows() {
    QAccessible::installFactory(windowRole);  // it keeps no duplicates
}

}  // namespace qt
