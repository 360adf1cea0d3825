#include "page_port.h"

#include <emscripten.h>

// clang-format off
// The text is written into the buffer only when it fits; the size it needs,
// with its terminating zero, comes back either way.
EM_JS(int, manacalc_page_text, (int field, char* buffer, int capacity), {
    const text = Module.page.text(field);
    const size = lengthBytesUTF8(text) + 1;
    if (size <= capacity) stringToUTF8(text, buffer, capacity);
    return size;
});

EM_JS(void, manacalc_page_set_text, (int field, const char* text, int size), {
    Module.page.setText(field, UTF8ToString(text, size));
});

EM_JS(void, manacalc_page_move_focus, (int field), {
    Module.page.moveFocus(field);
});

EM_JS(void, manacalc_page_show_note, (int control, const char* text, int size), {
    Module.page.showNote(control, UTF8ToString(text, size));
});

EM_JS(void, manacalc_page_hide_note, (), {
    Module.page.hideNote();
});

EM_JS(void, manacalc_page_dismiss_note, (), {
    Module.page.dismissNote();
});

EM_JS(void, manacalc_page_announce, (const char* text, int size, const char* voice), {
    Module.page.announce(UTF8ToString(text, size), UTF8ToString(voice));
});

EM_JS(void, manacalc_page_start_pause, (int milliseconds), {
    Module.page.startPause(milliseconds);
});

EM_JS(void, manacalc_page_stop_pause, (), {
    Module.page.stopPause();
});
// clang-format on

namespace web {
namespace {

int fieldNumber(calc::Field f) {
    return static_cast<int>(calc::index(f));
}

int size(std::string_view text) {
    return static_cast<int>(text.size());
}

}  // namespace

std::string PagePort::text(calc::Field f) const {
    // Inputs are a few characters long; only a long pasted text needs a second call.
    std::string text(32, '\0');
    auto size = static_cast<std::size_t>(
        manacalc_page_text(fieldNumber(f), text.data(), static_cast<int>(text.size())));
    if (size > text.size()) {
        text.resize(size);
        size = static_cast<std::size_t>(
            manacalc_page_text(fieldNumber(f), text.data(), static_cast<int>(text.size())));
    }
    text.resize(size - 1);
    return text;
}

void PagePort::setText(calc::Field f, std::string_view text) {
    manacalc_page_set_text(fieldNumber(f), text.data(), size(text));
}

void PagePort::moveFocus(calc::Field input) {
    manacalc_page_move_focus(fieldNumber(input));
}

void PagePort::showNote(form::Control at, std::string_view text) {
    manacalc_page_show_note(static_cast<int>(at), text.data(), size(text));
}

void PagePort::hideNote() {
    manacalc_page_hide_note();
}

void PagePort::dismissNote() {
    manacalc_page_dismiss_note();
}

void PagePort::announce(std::string_view text, form::Voice voice) {
    manacalc_page_announce(text.data(), size(text),
                           voice == form::Voice::Note ? "note" : "results");
}

void PagePort::startPause(int milliseconds) {
    manacalc_page_start_pause(milliseconds);
}

void PagePort::stopPause() {
    manacalc_page_stop_pause();
}

}  // namespace web
