#pragma once

#include <optional>

#include "calc/field_set.h"
#include "ui/layout_table.h"

namespace ui {

// The text boxes are the field set: the box that shows a field, and the
// field a control shows (none for a label, a frame or the button).
Control controlOf(calc::Field f);
std::optional<calc::Field> fieldAt(Control c);

}  // namespace ui
