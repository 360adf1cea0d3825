#pragma once

#include <windows.h>

// A push button that never takes the focus. Command1 shows only a one-pixel
// sliver: a focus there would be invisible and would swallow the player's
// typing. The button's own mouse handling would take it, so the press is
// followed here instead.
namespace win {

enum class Press { Ignored, Followed, Clicked };

// What a mouse message did to the button: Ignored, a message for its class;
// Clicked, the button released over itself.
Press followPress(HWND button, UINT message, LPARAM lParam);

}  // namespace win
