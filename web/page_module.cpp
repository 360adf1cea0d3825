// The module behind the page: the shared handlers bound to the page's field
// set, and the window's layout table for the page to draw. The page calls
// these functions from its events; each handler's outcome comes back as a
// status, since an error must not leave the module as a JavaScript exception.

#include <emscripten.h>

#include <string>

#include "calc/field_set.h"
#include "calc/handlers.h"
#include "calc/recalculation.h"
#include "layout/layout_table.h"
#include "layout_json.h"
#include "page_fields.h"
#include "runtime/errors.h"

namespace {

using calc::Field;
using calc::Handlers;

// What a handler did, as the page reads it.
enum Status : int { kWritten = 0, kSkipped = 1, kOverflow = 2, kFloatingPoint = 3 };

web::PageFields& page() {
    static web::PageFields fields;
    return fields;
}

Handlers& handlers() {
    static Handlers h{page(), page()};
    return h;
}

template <typename Handler>
int run(Handler handler) {
    try {
        return handler() == calc::Outcome::Written ? kWritten : kSkipped;
    } catch (const runtime::OverflowError&) {
        return kOverflow;
    } catch (const runtime::FloatingPointError&) {
        return kFloatingPoint;
    }
}

// The same handlers on the same boxes as in the window.
const calc::FieldHandlers* binding(int field) {
    for (const calc::FieldHandlers& b : calc::kFieldHandlers) {
        if (static_cast<int>(calc::index(b.field)) == field) return &b;
    }
    return nullptr;
}

}  // namespace

extern "C" {

// The click on Command1.
EMSCRIPTEN_KEEPALIVE int manacalc_click() {
    return run([] { return handlers().Command1_Click(); });
}

// A field (its calc::index) received the focus by Tab, Enter or a click.
EMSCRIPTEN_KEEPALIVE void manacalc_got_focus(int field) {
    const calc::FieldHandlers* b = binding(field);
    if (b != nullptr && b->gotFocus != nullptr) (handlers().*(b->gotFocus))();
}

// A key came up in a field: its virtual-key code and shift state.
EMSCRIPTEN_KEEPALIVE int manacalc_key_up(int field, int keyCode, int shift) {
    const calc::FieldHandlers* b = binding(field);
    if (b == nullptr) return kSkipped;
    return run([b, keyCode, shift] { return (handlers().*(b->keyUp))(keyCode, shift); });
}

EMSCRIPTEN_KEEPALIVE const char* manacalc_layout() {
    static const std::string json = web::layoutJson();
    return json.c_str();
}

// What a screen reader is told once the player pauses after a calculation
// that wrote its results in `field` (calc::index; -1 for a click on Command1):
// the window's very words, from the boxes as they are now.
EMSCRIPTEN_KEEPALIVE const char* manacalc_summary(int field) {
    static std::string summary;
    const std::string seconds = page().text(Field::Text5);
    summary = field == static_cast<int>(calc::index(Field::Text10))
                  ? ui::secondsSummary(seconds)
                  : ui::resultSummary(page().text(Field::Text10), seconds);
    return summary.c_str();
}

// The note's text for an error status, as the player reads it in the window.
// The texts are literals, so their views end in a NUL.
EMSCRIPTEN_KEEPALIVE const char* manacalc_note(int status) {
    if (status == kOverflow) return ui::kOverflowNote.data();
    if (status == kFloatingPoint) return ui::kFloatingPointNote.data();
    return "";
}

}  // extern "C"
