#pragma once

#include <QIcon>

namespace qt {

// The window's icon: the 16-pixel picture, and its double for HiDPI screens.
// Every size is decoded at start for the window manager, so no more than
// these. Built from pixels compiled in, so that no image is read at start.
QIcon windowIcon();

}  // namespace qt
