#pragma once

#include <windows.h>

// A push button's press followed without its class's mouse handling, which
// gives the button the focus: for a control that takes none (ui::takesFocus).
namespace win {

enum class Press { Ignored, Followed, Clicked };

// What a mouse message did to the button: Ignored, a message for its class;
// Clicked, the button released over itself.
Press followPress(HWND button, UINT message, LPARAM lParam);

}  // namespace win
