#pragma once

#include <string>
#include <string_view>

namespace web {

// The window's layout table as JSON, for the page to draw its window from and
// bind: {"title", "width", "height", "inputMethodKeyCode", "shiftBits",
// "focusKeys", "fonts": [family...], "controls": [{"name", "kind", "parent",
// "left", "top", "width", "height", "text", "tabIndex", "bold", "limit",
// "input", "focus", "for", "field"}]}, geometry in CSS pixels, controls in the
// table's order (their number is their row). "inputMethodKeyCode" is the key
// code of keys an input method processed; "shiftBits" the Shift state's bits
// for Shift, Ctrl and Alt; "focusKeys" the [key code, Shift state] of each
// key the rules take as it goes down (Tab, Shift+Tab); "text" is what the
// control shows: a caption as drawn, or a text box's starting text; "input"
// is 1 for the boxes the player types into; "focus" 1 for the controls that
// take the focus; "for" is the text box a label's caption names, "" if none;
// "field" is a text box's field number (calc::index), -1 for others.
std::string layoutJson();

}  // namespace web
