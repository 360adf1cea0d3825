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

// Every other primitive: the page's function by name, with a number (a field,
// a control, milliseconds) and a text where it takes them.
EM_JS(void, manacalc_page_call, (const char* name, int number, const char* text, int size), {
    Module.page[UTF8ToString(name)](number, UTF8ToString(text, size));
});

EM_JS(void, manacalc_page_move_note, (double left, double top), {
    Module.page.moveNote(left, top);
});
// clang-format on

namespace web {
namespace {

void call(const char* name, int number = 0, std::string_view text = {}) {
    manacalc_page_call(name, number, text.data(), static_cast<int>(text.size()));
}

int fieldNumber(calc::Field f) {
    return static_cast<int>(calc::index(f));
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
    call("setText", fieldNumber(f), text);
}

void PagePort::moveFocus(calc::Field input) {
    call("moveFocus", fieldNumber(input));
}

void PagePort::returnFocus(calc::Field box) {
    call("returnFocus", fieldNumber(box));
}

void PagePort::showNote(ui::Control at, std::string_view text) {
    call("showNote", static_cast<int>(at), text);
}

void PagePort::moveNote(double left, double top) {
    manacalc_page_move_note(left, top);
}

void PagePort::hideNote() {
    call("hideNote");
}

void PagePort::describe(ui::Control at, std::string_view text) {
    call("describe", static_cast<int>(at), text);
}

void PagePort::announceNote(std::string_view text) {
    call("announceNote", 0, text);
}

void PagePort::announceResults(std::string_view text) {
    call("announceResults", 0, text);
}

void PagePort::startPause(int milliseconds) {
    call("startPause", milliseconds);
}

void PagePort::stopPause() {
    call("stopPause");
}

}  // namespace web
