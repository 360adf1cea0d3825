#include <string>

#include <gtest/gtest.h>

#include "calc/field_set.h"
#include "calc/recalculation.h"
#include "runtime/errors.h"

namespace {

using calc::Field;
using calc::Outcome;

struct EntryCase {
    const char* name;
    const char* typed;
    const char* seconds;  // Text5 afterwards; nullptr: left as it was
};

class RecoveryEntry : public testing::TestWithParam<EntryCase> {};

TEST_P(RecoveryEntry, WritesOnlySecondsPerMana) {
    const auto& c = GetParam();
    calc::MemoryFieldSet f;
    for (std::size_t i = 0; i < calc::kFieldCount; ++i) {
        f.setText(static_cast<Field>(i), "old" + std::to_string(i));
    }
    f.setText(Field::Text10, c.typed);
    const calc::MemoryFieldSet before = f;

    EXPECT_EQ(calc::recoveryValueEntry(f), c.seconds ? Outcome::Written : Outcome::Skipped);

    for (std::size_t i = 0; i < calc::kFieldCount; ++i) {
        const auto field = static_cast<Field>(i);
        if (field == Field::Text5 && c.seconds) {
            EXPECT_EQ(f.text(field), c.seconds);
        } else {
            EXPECT_EQ(f.text(field), before.text(field)) << calc::kFieldNames[calc::index(field)];
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Typed, RecoveryEntry,
    testing::Values(EntryCase{"five", "5", "2"}, EntryCase{"three", "3", "3.33333333333333"},
                    EntryCase{"negative_gives_positive_seconds", "-3", "3.33333333333333"},
                    // Compared as 1, divided as 0.6.
                    EntryCase{"fraction_rounding_to_one", ".6", "16.6666666666667"},
                    EntryCase{"negative_fraction", "-.6", "16.6666666666667"},
                    EntryCase{"spaces", " 4 ", "2.5"},
                    EntryCase{"fullwidth", "\xEF\xBC\x94", "2.5"},
                    EntryCase{"largest_two_digits", "99", "0.101010101010101"},
                    EntryCase{"zero", "0", nullptr}, EntryCase{"rounds_to_zero", ".4", nullptr},
                    EntryCase{"half_rounds_to_even_zero", ".5", nullptr},
                    EntryCase{"empty", "", nullptr}, EntryCase{"letter", "a", nullptr},
                    EntryCase{"lone_minus", "-", nullptr}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(RecoveryEntry, BeyondSixteenBitsIsOverflowAndKeepsSeconds) {
    calc::MemoryFieldSet f;
    f.setText(Field::Text5, "2");
    for (const char* typed : {"40000", "-32769", "1e400"}) {
        f.setText(Field::Text10, typed);
        EXPECT_THROW(calc::recoveryValueEntry(f), runtime::OverflowError) << typed;
        EXPECT_EQ(f.text(Field::Text5), "2");
    }
}

TEST(RecoveryEntry, NextRecalculationOverwritesTypedValue) {
    calc::MemoryFieldSet f;
    f.setText(Field::Text10, "3");
    calc::recoveryValueEntry(f);
    calc::Command1_Click(f);
    EXPECT_EQ(f.text(Field::Text10), "2");
    EXPECT_EQ(f.text(Field::Text5), "5");
}

}  // namespace
