#pragma once

class QKeyEvent;

namespace qt {

// The handlers take the original platform's 16-bit virtual-key codes:
// 13 for either Enter key, 9 Tab, 48-57 digits, 65-90 letters, and so on.
// Keys without such a code give 0.
int virtualKeyCode(const QKeyEvent& event);

// The Shift argument: 1 Shift, 2 Ctrl, 4 Alt, combined.
int shiftState(const QKeyEvent& event);

}  // namespace qt
