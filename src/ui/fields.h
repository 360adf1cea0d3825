#pragma once

#include <array>
#include <optional>

#include "calc/field_set.h"
#include "ui/layout_table.h"

namespace ui {

// The text boxes are the field set: the box that shows each field, and the
// field each control shows (none for a label, a frame or the button). Looked
// up on every key, so worked out once, from the names the two share.
static_assert(kAllTableNames<calc::kFieldNames>);

inline constexpr auto kFieldControls = [] {
    std::array<Control, calc::kFieldCount> controls{};
    for (std::size_t f = 0; f < calc::kFieldCount; ++f) {
        controls[f] = controlIndex(calc::kFieldNames[f]);
    }
    return controls;
}();

inline constexpr auto kControlFields = [] {
    std::array<std::optional<calc::Field>, kControls.size()> fields{};
    for (Control c = 0; c < kControls.size(); ++c) fields[c] = calc::fieldByName(kControls[c].name);
    return fields;
}();

constexpr Control controlOf(calc::Field f) {
    return kFieldControls[calc::index(f)];
}

constexpr std::optional<calc::Field> fieldAt(Control c) {
    return kControlFields[c];
}

}  // namespace ui
