#include "qt/notification.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QString>
#include <QWidget>

namespace qt {
namespace {

constexpr char kNotificationProperty[] = "manacalcNotification";

QAccessibleInterface* notificationRole(const QString& /*className*/, QObject* object) {
    if (!object->isWidgetType() || !object->property(kNotificationProperty).toBool()) {
        return nullptr;
    }
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
}

}  // namespace

void describeAsNotification(QWidget* widget) {
    widget->setProperty(kNotificationProperty, true);
    QAccessible::installFactory(notificationRole);  // it keeps no duplicates
}

void notifyShown(QWidget* widget, const QString& text) {
    widget->setAccessibleName(text);
    QAccessibleEvent shown(widget, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

}  // namespace qt
