#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The typing limit of an input, as the system's edit control keeps it: what
// the player types, pastes or drops goes in as far as the limit leaves room,
// and the program's own writes are never cut. Texts are in the platform's
// units (UTF-16).
namespace ui {

// The room a typing limit leaves for new characters in a box holding length
// characters, selected of them to be replaced. A text over the limit (a
// program write, or an undo back to one) has none.
constexpr std::size_t roomLeft(int limit, std::size_t length, std::size_t selected) {
    const std::size_t kept = length - selected;
    const auto max = static_cast<std::size_t>(limit);
    return kept < max ? max - kept : 0;
}

// How much of text goes into room: all of it that fits, and never half of a
// character outside the BMP, which takes two units.
constexpr std::size_t fitting(std::u16string_view text, std::size_t room) {
    if (text.size() <= room) return text.size();
    return room > 0 && text[room - 1] >= 0xD800 && text[room - 1] < 0xDC00 ? room - 1 : room;
}

// What an edit by the player may leave in a box with a typing limit, for a
// platform whose edit control only tells what it would leave: before, the
// text as it was; after, as the edit leaves it, the cursor at `cursor` in it.
// What the edit inserted is cut to the room the limit leaves, as the system's
// edit control cuts a paste; an edit that inserted nothing (a deletion)
// passes.
struct Edit {
    std::u16string text;
    std::size_t cursor;
};
Edit limitEdit(int limit, std::u16string_view before, std::u16string_view after,
               std::size_t cursor);

}  // namespace ui
