#pragma once

namespace qt {

// Qt describes a plain QWidget as a client area, even at the top level, and
// screen readers then take the program's window for a filler and do not
// announce its title as a window's. Once called, the calculator window and
// the titled window around it are described as windows wherever they are the
// top level.
void describeOurWindowsAsWindows();

}  // namespace qt
