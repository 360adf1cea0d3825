#pragma once

class QKeyEvent;

namespace qt {

// The handlers take the original platform's 16-bit virtual-key codes: Enter's
// for either Enter key, 48-57 digits, 65-90 letters, and so on. Keys without
// such a code give 0.
int virtualKeyCode(const QKeyEvent& event);

// The Shift argument (ui::shiftState) for the modifiers the event carries.
int shiftState(const QKeyEvent& event);

}  // namespace qt
