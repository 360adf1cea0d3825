#pragma once

#include "calc/field_set.h"
#include "calc/recalculation.h"

namespace calc {

// The key code of Enter, from either Enter key.
inline constexpr int kEnterKeyCode = 13;

// The one thing the handlers ask of a front end besides the fields: a Tab
// keystroke to the focused control, handled before sendTab returns. The
// focus moves on, and the focus handler of the field it reaches runs nested
// inside the handler that sent it.
class FocusPort {
public:
    virtual ~FocusPort() = default;
    virtual void sendTab() = 0;

protected:
    FocusPort() = default;
    FocusPort(const FocusPort&) = default;
    FocusPort& operator=(const FocusPort&) = default;
};

// The window's event handlers, the same for every front end, which binds
// them to its own events. A calculation error leaves a handler as
// runtime::OverflowError or runtime::FloatingPointError, with the fields
// written before it kept; each front end shows it in its own way. The key
// handlers return what their calculation did, so that a front end can clear
// the note of an earlier error once results are written.
class Handlers {
public:
    Handlers(FieldSet& fields, FocusPort& focus) : m_fields(fields), m_focus(focus) {}

    Outcome Command1_Click();

    // Entering an input empties it for new typing.
    void Text1_GotFocus();
    void Text2_GotFocus();
    void Text3_GotFocus();

    // Every key release recalculates; Enter then moves on to the next field.
    Outcome Text1_KeyUp(int KeyCode, int Shift);
    Outcome Text2_KeyUp(int KeyCode, int Shift);
    Outcome Text3_KeyUp(int KeyCode, int Shift);

    // Enter moves on first; the seconds per mana then follow from Text10.
    Outcome Text10_KeyUp(int KeyCode, int Shift);

private:
    Outcome inputKeyUp(int KeyCode);

    FieldSet& m_fields;
    FocusPort& m_focus;
};

}  // namespace calc
