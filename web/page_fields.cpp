#include "page_fields.h"

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

EM_JS(void, manacalc_page_send_tab, (), {
    Module.page.sendTab();
});
// clang-format on

namespace web {
namespace {

int fieldNumber(calc::Field f) {
    return static_cast<int>(calc::index(f));
}

}  // namespace

std::string PageFields::text(calc::Field f) const {
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

void PageFields::setText(calc::Field f, std::string_view text) {
    manacalc_page_set_text(fieldNumber(f), text.data(), static_cast<int>(text.size()));
}

void PageFields::sendTab() {
    manacalc_page_send_tab();
}

}  // namespace web
