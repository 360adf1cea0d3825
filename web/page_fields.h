#pragma once

#include <string>
#include <string_view>

#include "calc/field_set.h"
#include "calc/handlers.h"

namespace web {

// The page's text boxes as the field set, and its focus moves as the Tab
// keystroke. Both live in JavaScript: the page hands the module an object
// with text(field), setText(field, text) and sendTab() when it creates it
// (the module's "page" option), and the boxes stay the only copy of the state.
class PageFields final : public calc::FieldSet, public calc::FocusPort {
public:
    std::string text(calc::Field f) const override;
    void setText(calc::Field f, std::string_view text) override;
    void sendTab() override;
};

}  // namespace web
