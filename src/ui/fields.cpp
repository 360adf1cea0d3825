#include "ui/fields.h"

namespace ui {

Control controlOf(calc::Field f) {
    return controlIndex(calc::fieldName(f));
}

std::optional<calc::Field> fieldAt(Control c) {
    return calc::fieldByName(kControls[c].name);
}

}  // namespace ui
