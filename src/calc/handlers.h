#pragma once

#include "calc/field_set.h"
#include "calc/recalculation.h"

namespace calc {

// The key code of Enter, from either Enter key.
inline constexpr int kEnterKeyCode = 13;

// The key code the original platform reports for keys an input method
// processed. Where an input method keeps the key releases of what it composed
// to itself, its commit runs the key handler with this code, so that
// full-width digits count too.
inline constexpr int kInputMethodKeyCode = 229;

// The one thing the handlers ask of the window besides the fields: a Tab
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

// The window's event handlers, the same for every front end: the window's
// rules (ui::Rules) run them on the events a front end reports. A calculation
// error leaves a handler as runtime::OverflowError or
// runtime::FloatingPointError, with the fields written before it kept; the
// rules show it as a note. The key handlers return what their calculation
// did, so that the rules can clear the note of an earlier error once results
// are written.
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

// Which handlers each input has, for the rules to run on its focus and key
// events; every other field and event has none. Text10 does not empty on
// entry.
struct FieldHandlers {
    Field field;
    void (Handlers::*gotFocus)();  // nullptr: none
    Outcome (Handlers::*keyUp)(int KeyCode, int Shift);
};

inline constexpr FieldHandlers kFieldHandlers[] = {
    {Field::Text1, &Handlers::Text1_GotFocus, &Handlers::Text1_KeyUp},
    {Field::Text2, &Handlers::Text2_GotFocus, &Handlers::Text2_KeyUp},
    {Field::Text3, &Handlers::Text3_GotFocus, &Handlers::Text3_KeyUp},
    {Field::Text10, nullptr, &Handlers::Text10_KeyUp},
};

}  // namespace calc
