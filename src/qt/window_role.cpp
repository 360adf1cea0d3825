#include "qt/window_role.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace qt {
namespace {

constexpr char kWindowProperty[] = "manacalcWindow";

QAccessibleInterface* windowRole(const QString& /*className*/, QObject* object) {
    if (!object->isWidgetType() || !object->property(kWindowProperty).toBool()) return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (!widget->isWindow()) return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window);
}

}  // namespace

void describeAsWindow(QWidget* widget) {
    widget->setProperty(kWindowProperty, true);
    QAccessible::installFactory(windowRole);  // it keeps no duplicates
}

}  // namespace qt
