#include "calc/recalculation.h"

#include <cstdint>

#include "runtime/numeric.h"

// Every step reads its texts afresh and writes a text, and later steps read
// those texts back: the rounding to 15 significant digits in between is part
// of the result (Next INT for Medi 123 is 32 only because FPoint is read back
// as 202.95). Each intermediate is named so that C++ cannot reorder the
// operations whose errors would otherwise surface in a different order.

namespace calc {

using runtime::fix;
using runtime::formatDouble;
using runtime::formatInt16;
using runtime::fpCheck;
using runtime::toDouble;
using runtime::toInt16;

namespace {

// Medi of 99.5 and up earns the 1.1 factor: it is the 16-bit rounded Medi,
// ties to even, that is compared with 100.
bool highMedi(const FieldSet& f) {
    return toInt16(f.text(Field::Text2)) >= 100;
}

// INT plus three times Medi, the product checked before the sum is formed.
double base(const FieldSet& f) {
    const double intValue = toDouble(f.text(Field::Text1));
    const double mediTerm = fpCheck(toDouble(f.text(Field::Text2)) * 3);
    return intValue + mediTerm;
}

// Integer division truncating toward zero: Focus -39 gives -1.
int q20(int value) {
    return value / 20;
}

}  // namespace

Outcome Command1_Click(FieldSet& f) {
    // 1. Nothing is written unless all three inputs are numbers.
    if (!runtime::isNumeric(f.text(Field::Text1))) return Outcome::Skipped;
    if (!runtime::isNumeric(f.text(Field::Text2))) return Outcome::Skipped;
    if (!runtime::isNumeric(f.text(Field::Text3))) return Outcome::Skipped;

    // 2. Recovery value.
    {
        const bool high = highMedi(f);
        const double b = base(f);
        const double r = high ? fix(fpCheck((b * 1.1) / 40)) : fix(fpCheck(b / 40));
        const int focusSteps = q20(toInt16(f.text(Field::Text3)));
        f.setText(Field::Text10, formatDouble(fpCheck(r + focusSteps + 2)));
    }

    // 3. Seconds per mana; a recovery value of 0 divides by zero.
    f.setText(Field::Text5, formatDouble(fpCheck(10.0 / toInt16(f.text(Field::Text10)))));

    // 4. Next FPoint, in 16-bit arithmetic.
    {
        const std::int16_t product = runtime::checkedInt16(toInt16(f.text(Field::Text10)) * 20LL);
        f.setText(Field::Text6, formatInt16(runtime::checkedInt16(product - 20LL)));
    }

    // 5. FPoint: the untruncated score, plus 20 per whole Focus step.
    {
        const bool high = highMedi(f);
        const std::int32_t focusPoints =
            runtime::checkedInt32(q20(runtime::toInt32(toDouble(f.text(Field::Text3)))) * 20LL);
        const double b = base(f);
        const double p =
            high ? (((b * 1.1) / 40) * 20) + focusPoints : ((b / 40) * 20) + focusPoints;
        f.setText(Field::Text4, formatDouble(fpCheck(p)));
    }

    // 6. Next INT and Next Medi, from the texts of Next FPoint and FPoint.
    const bool high = highMedi(f);
    const auto gap = [&f] {
        return toDouble(f.text(Field::Text6)) - toDouble(f.text(Field::Text4));
    };
    const auto needInt = [&] {
        const double d = gap();
        return fpCheck(high ? (d * 2) / 1.1 : d * 2);
    };
    const auto needMediTenths = [&] {
        const double d = gap();
        return fpCheck(high ? ((d / 3) * 20) / 1.1 : (d / 3) * 20);
    };

    f.setText(Field::Text7, formatDouble(fix(needInt())));
    if (const double n = needInt(); fpCheck(n - fix(n)) > 0) {
        // A fraction of an INT point still needs a whole one.
        const std::int16_t next = runtime::checkedInt16(toInt16(f.text(Field::Text7)) + 1LL);
        f.setText(Field::Text7, formatInt16(next));
    }

    f.setText(Field::Text8, formatDouble(fpCheck(fix(needMediTenths()) / 10)));
    if (const double m = needMediTenths(); fpCheck(m - fix(m)) > 0) {
        // Medi is raised in tenths: round up to the next one.
        f.setText(Field::Text8, formatDouble(fpCheck(toDouble(f.text(Field::Text8)) + 0.1)));
    }
    return Outcome::Written;
}

Outcome recoveryValueEntry(FieldSet& f) {
    if (!runtime::isNumeric(f.text(Field::Text10))) return Outcome::Skipped;
    if (toInt16(f.text(Field::Text10)) == 0) return Outcome::Skipped;
    // The sign test uses the rounded value, the division the full one; a
    // negative recovery value still gives a positive number of seconds.
    const double seconds = toInt16(f.text(Field::Text10)) > 0
                               ? 10 / toDouble(f.text(Field::Text10))
                               : (10 / toDouble(f.text(Field::Text10))) * -1;
    f.setText(Field::Text5, formatDouble(fpCheck(seconds)));
    return Outcome::Written;
}

}  // namespace calc
