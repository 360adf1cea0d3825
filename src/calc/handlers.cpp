#include "calc/handlers.h"

namespace calc {

Outcome Handlers::Command1_Click() {
    return calc::Command1_Click(m_fields);
}

void Handlers::Text1_GotFocus() {
    m_fields.setText(Field::Text1, "");
}

void Handlers::Text2_GotFocus() {
    m_fields.setText(Field::Text2, "");
}

void Handlers::Text3_GotFocus() {
    m_fields.setText(Field::Text3, "");
}

// An error ends the handler in the recalculation, before the Enter test: no
// Tab is sent for that key, and the focus stays where the player can fix it.
Outcome Handlers::inputKeyUp(int KeyCode) {
    const Outcome outcome = Command1_Click();
    if (KeyCode == kEnterKeyCode) m_focus.sendTab();
    return outcome;
}

Outcome Handlers::Text1_KeyUp(int KeyCode, int /*Shift*/) {
    return inputKeyUp(KeyCode);
}

Outcome Handlers::Text2_KeyUp(int KeyCode, int /*Shift*/) {
    return inputKeyUp(KeyCode);
}

Outcome Handlers::Text3_KeyUp(int KeyCode, int /*Shift*/) {
    return inputKeyUp(KeyCode);
}

// The Tab goes first: the focus moves on (and Text1 empties) before the
// seconds per mana are computed from Text10.
Outcome Handlers::Text10_KeyUp(int KeyCode, int /*Shift*/) {
    if (KeyCode == kEnterKeyCode) m_focus.sendTab();
    return recoveryValueEntry(m_fields);
}

}  // namespace calc
