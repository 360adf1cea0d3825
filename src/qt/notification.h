#pragma once

class QString;
class QWidget;

namespace qt {

// A screen reader speaks a notification as it shows, wherever its focus is.
// That is the one way Qt 6.4 has to tell one something unasked: it has no
// announcement event, and on Linux its description-changed event carries no
// text (Orca 43 then speaks nothing). No widget of Qt's has the role.

// From now on widget is described as a notification. Called before a screen
// reader first meets it: what it has been told of an object, it keeps.
void describeAsNotification(QWidget* widget);

// Names it by text and tells screen readers that it has appeared, drawn or not.
void notifyShown(QWidget* widget, const QString& text);

}  // namespace qt
