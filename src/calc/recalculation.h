#pragma once

#include "calc/field_set.h"

namespace calc {

// What a calculation did: wrote its results, or found nothing to compute
// (an input was not numeric, or a recovery value rounds to 0) and wrote nothing.
enum class Outcome { Written, Skipped };

// The recalculation behind the Calculate button and every key release in the
// three inputs: from INT (Text1), Medi (Text2) and Focus (Text3) it writes the
// recovery value (Text10), seconds per mana (Text5), Next FPoint (Text6),
// FPoint (Text4), Next INT (Text7) and Next Medi (Text8), in that order.
//
// Raises runtime::OverflowError or runtime::FloatingPointError and stops at
// once; fields written before the error keep their new texts.
Outcome Command1_Click(FieldSet& fields);

// A recovery value typed into Text10 gives the seconds per mana in Text5.
// Touches no other field. The window's Text10_KeyUp is this after its Enter step.
Outcome recoveryValueEntry(FieldSet& fields);

}  // namespace calc
