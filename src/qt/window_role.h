#pragma once

class QWidget;

namespace qt {

// Qt describes a plain QWidget as a client area, even at the top level, and
// screen readers then take the program's window for a filler and do not
// announce its title as a window's. From now on widget is described as a
// window wherever it is the top level; inside another window it stays that
// window's client area. Called before a screen reader first meets it.
void describeAsWindow(QWidget* widget);

}  // namespace qt
