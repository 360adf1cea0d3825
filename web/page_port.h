#pragma once

#include <string>
#include <string_view>

#include "calc/field_set.h"
#include "ui/rules.h"

namespace web {

// The page's text boxes as the field set, and the window's primitives as the
// page carries them out. Both live in JavaScript: the page hands the module an
// object with text(field), setText(field, text), moveFocus(field),
// returnFocus(field), showNote(control, text), moveNote(left, top), hideNote(),
// describe(control, text), announceNote(_, text), announceResults(_, text),
// startPause(ms) and stopPause() when it creates it (the module's "page"
// option), and the boxes stay the only copy of the state. Fields and
// controls are numbers: calc::index and the row in the layout.
class PagePort final : public calc::FieldSet, public ui::Port {
public:
    std::string text(calc::Field f) const override;
    void setText(calc::Field f, std::string_view text) override;

    void moveFocus(calc::Field input) override;
    void returnFocus(calc::Field box) override;
    void showNote(ui::Control at, std::string_view text) override;
    // Where the page's note goes, which the page asks the module for.
    void moveNote(double left, double top);
    void hideNote() override;
    void describe(ui::Control at, std::string_view text) override;
    void announceNote(std::string_view text) override;
    void announceResults(std::string_view text) override;
    void startPause(int milliseconds) override;
    void stopPause() override;
};

}  // namespace web
