// The module behind the page: the window's rules on the page's field set and
// primitives, and the window's layout table for the page to draw. The page
// calls these functions from its events. A handler's outcome comes back as a
// calc::Status, by its number: an error must not leave the module as a
// JavaScript exception.

#include <emscripten.h>

#include <optional>
#include <string>

#include "calc/field_set.h"
#include "calc/status.h"
#include "layout_json.h"
#include "page_port.h"
#include "ui/rules.h"

namespace {

using calc::Field;

web::PagePort& page() {
    static web::PagePort port;
    return port;
}

ui::Rules& rules() {
    static ui::Rules r{page(), page()};
    return r;
}

// A field by its number (calc::index), as the page names it.
Field field(int number) {
    return static_cast<Field>(number);
}

int status(calc::Status s) {
    return static_cast<int>(s);
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE const char* manacalc_layout() {
    static const std::string json = web::layoutJson();
    return json.c_str();
}

// The window became active, the focus already in this field (-1: none):
// the build's window opening, then the page's handlers bound to a page drawn
// with its start.
EMSCRIPTEN_KEEPALIVE void manacalc_activated(int holding) {
    rules().activated(true, holding >= 0 ? std::optional<Field>(field(holding)) : std::nullopt);
}

// The window stopped being the active one. The page tells of none: its note
// is part of the page and covers no other window. Its tests do, to see the
// note come back as the rules bring it back.
EMSCRIPTEN_KEEPALIVE void manacalc_deactivated() {
    rules().activated(false);
}

// The focus arrived at a text box, by any means.
EMSCRIPTEN_KEEPALIVE void manacalc_focus(int box) {
    rules().focusArrived(field(box));
}

// A key came up in a text box: its virtual-key code and shift state.
EMSCRIPTEN_KEEPALIVE int manacalc_key_up(int box, int keyCode, int shift) {
    return status(rules().keyReleased(field(box), keyCode, shift));
}

// A change of a box's text that no handled key release covers: an input
// method's commit, an on-screen keyboard's character, a paste from a menu.
EMSCRIPTEN_KEEPALIVE int manacalc_commit(int box) {
    return status(rules().committed(field(box)));
}

// The click on Command1.
EMSCRIPTEN_KEEPALIVE int manacalc_click() {
    return status(rules().click());
}

// A key went down: its key code and Shift state. 1: the rules took it (the
// player's Tab), and the page does nothing more with it.
EMSCRIPTEN_KEEPALIVE int manacalc_key_down(int keyCode, int shift) {
    return rules().keyPressed(keyCode, shift) ? 1 : 0;
}

// Where the note goes, from the page's measures in its own pixels: the field,
// the note's size and the part of the page the screen shows. The page is told
// by its moveNote(left, top).
EMSCRIPTEN_KEEPALIVE void manacalc_place_note(double fieldLeft, double fieldTop, double fieldRight,
                                              double fieldBottom, double width, double height,
                                              double areaLeft, double areaTop, double areaRight,
                                              double areaBottom) {
    const auto at = ui::notePlace<double>({fieldLeft, fieldTop, fieldRight, fieldBottom}, width,
                                          height, {areaLeft, areaTop, areaRight, areaBottom});
    page().moveNote(at.x, at.y);
}

EMSCRIPTEN_KEEPALIVE void manacalc_pause_ended() {
    rules().pauseEnded();
}

}  // extern "C"
