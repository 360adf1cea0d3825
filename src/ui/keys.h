#pragma once

// The keys as the window's rules take them: the handlers' Shift argument and
// which Tab moves the focus. Every front end translates its platform's key
// events into these words and decides none of it again.
namespace ui {

// The Shift argument of the key handlers: the modifiers held, one bit each,
// as the original platform combined them.
inline constexpr int kShiftBit = 1;
inline constexpr int kCtrlBit = 2;
inline constexpr int kAltBit = 4;

constexpr int shiftState(bool shift, bool ctrl, bool alt) {
    return (shift ? kShiftBit : 0) | (ctrl ? kCtrlBit : 0) | (alt ? kAltBit : 0);
}

inline constexpr int kTabKeyCode = 9;

// Whether a key pressed in a text box is the player's Tab through the inputs
// (backward with Shift). Held with Ctrl or Alt, Tab is the system's on every
// platform: Alt+Tab switches windows, Ctrl+Tab a browser's tabs. A Tab an
// input method composes with is its own (it picks a candidate): the platforms
// hand it on with the input-method key code, or not at all.
constexpr bool movesFocus(int keyCode, int shift) {
    return keyCode == kTabKeyCode && (shift & (kCtrlBit | kAltBit)) == 0;
}

}  // namespace ui
