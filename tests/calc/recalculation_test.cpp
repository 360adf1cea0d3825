#include "calc/recalculation.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "calc/field_set.h"
#include "runtime/errors.h"

namespace {

using calc::Field;
using calc::MemoryFieldSet;
using calc::Outcome;

// A text no calculation ever writes, to tell "kept" from "written".
constexpr const char* kOld = "old";

constexpr Field kOutputs[] = {Field::Text10, Field::Text5, Field::Text6,
                              Field::Text4,  Field::Text7, Field::Text8};

MemoryFieldSet withInputs(const std::string& intText, const std::string& medi,
                          const std::string& focus) {
    MemoryFieldSet f;
    f.setText(Field::Text1, intText);
    f.setText(Field::Text2, medi);
    f.setText(Field::Text3, focus);
    return f;
}

// Text10, Text5, Text6, Text4, Text7, Text8.
std::vector<std::string> outputs(const MemoryFieldSet& f) {
    std::vector<std::string> out;
    for (Field x : kOutputs) out.push_back(f.text(x));
    return out;
}

TEST(FieldSet, StartsWithTheWindowsTexts) {
    const MemoryFieldSet f;
    for (std::size_t i = 0; i < calc::kFieldCount; ++i) {
        const auto field = static_cast<Field>(i);
        EXPECT_EQ(f.text(field), field == Field::Text9 ? "20" : "0")
            << calc::kFieldNames[calc::index(field)];
        EXPECT_EQ(calc::fieldByName(calc::kFieldNames[calc::index(field)]), field);
    }
    EXPECT_EQ(calc::fieldByName("Text11"), std::nullopt);
}

struct Row {
    const char* name;
    const char* intText;
    const char* medi;
    const char* focus;
    std::vector<std::string> expected;  // Text10, Text5, Text6, Text4, Text7, Text8
};

class Recalculation : public testing::TestWithParam<Row> {};

TEST_P(Recalculation, WritesTheResultsThroughTheirTexts) {
    const Row& row = GetParam();
    auto f = withInputs(row.intText, row.medi, row.focus);
    EXPECT_EQ(calc::Command1_Click(f), Outcome::Written);
    EXPECT_EQ(outputs(f), row.expected);
    EXPECT_EQ(f.text(Field::Text9), "20");
    EXPECT_EQ(f.text(Field::Text1), row.intText);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Recalculation,
    testing::Values(
        Row{"starting_texts", "0", "0", "0", {"2", "5", "20", "0", "40", "13.4"}},
        Row{"int_1", "1", "0", "0", {"2", "5", "20", "0.5", "39", "13"}},
        Row{"focus_20", "100", "50", "20", {"9", "1.11111111111111", "160", "145", "30", "10"}},
        Row{"medi_99", "100", "99", "0", {"11", "0.909090909090909", "200", "198.5", "3", "1"}},
        Row{"medi_98_5_no_factor",
            "100",
            "98.5",
            "0",
            {"11", "0.909090909090909", "200", "197.75", "5", "1.5"}},
        Row{"medi_99_5_takes_factor",
            "100",
            "99.5",
            "0",
            {"12", "0.833333333333333", "220", "219.175", "2", "0.5"}},
        Row{"medi_100_focus_100",
            "100",
            "100",
            "100",
            {"18", "0.555555555555556", "340", "320", "37", "12.2"}},
        Row{"medi_fraction",
            "100",
            "85.3",
            "20",
            {"11", "0.909090909090909", "200", "197.95", "5", "1.4"}},
        // Next INT is 32 only because FPoint is read back as 202.95; the exact
        // double of FPoint would give 31.
        Row{"medi_123_round_trip",
            "0",
            "123",
            "0",
            {"12", "0.833333333333333", "220", "202.95", "32", "10.4"}},
        Row{"all_high",
            "150",
            "120",
            "120",
            {"22", "0.454545454545455", "420", "400.5", "36", "11.9"}},
        Row{"focus_minus_39", "0", "0", "-39", {"1", "10", "0", "-20", "40", "13.4"}},
        Row{"fullwidth_inputs",
            "\xEF\xBC\x91\xEF\xBC\x90\xEF\xBC\x90",
            "\xEF\xBC\x99\xEF\xBC\x99\xEF\xBC\x8E\xEF\xBC\x95",
            "\xEF\xBC\x90",
            {"12", "0.833333333333333", "220", "219.175", "2", "0.5"}},
        // 1638 * 20 - 20 is the largest Next FPoint that fits in 16 bits.
        Row{"next_fpoint_largest",
            "0",
            "19832",
            "0",
            {"1638", "6.10500610500611E-03", "32740", "32722.8", "32", "10.5"}},
        // FPoint is a short decimal whose shortest scaling by ten brings a
        // zero along (295.47 * 1000 is whole, * 100 is not): no "295.470".
        Row{"fpoint_without_trailing_zero",
            "17",
            "112.8",
            "105",
            {"16", "0.625", "300", "295.47", "9", "2.8"}},
        Row{"fpoint_2_55", "0", "1.7", "0", {"2", "5", "20", "2.55", "35", "11.7"}},
        Row{"fpoint_131_05", "128", "4.7", "62", {"8", "1.25", "140", "131.05", "18", "6"}},
        Row{"spaces_and_signs",
            " +100 ",
            "9.95e1",
            "-0",
            {"12", "0.833333333333333", "220", "219.175", "2", "0.5"}}),
    [](const auto& row) { return std::string(row.param.name); });

struct SkipCase {
    const char* name;
    const char* intText;
    const char* medi;
    const char* focus;
};

class NotNumeric : public testing::TestWithParam<SkipCase> {};

TEST_P(NotNumeric, WritesNothing) {
    const auto& c = GetParam();
    auto f = withInputs(c.intText, c.medi, c.focus);
    for (Field x : kOutputs) f.setText(x, kOld);
    EXPECT_EQ(calc::Command1_Click(f), Outcome::Skipped);
    EXPECT_EQ(outputs(f), std::vector<std::string>(6, kOld));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, NotNumeric,
    testing::Values(SkipCase{"int_empty", "", "0", "0"}, SkipCase{"medi_empty", "0", "", "0"},
                    SkipCase{"focus_empty", "0", "0", ""}, SkipCase{"int_letters", "abc", "0", "0"},
                    SkipCase{"medi_lone_point", "0", ".", "0"},
                    // Validation comes first: a Medi that would overflow is never read.
                    SkipCase{"focus_sign_after_huge_medi", "0", "40000", "-"}),
    [](const auto& row) { return std::string(row.param.name); });

enum class Error { Overflow, FloatingPoint };

struct ErrorCase {
    const char* name;
    const char* intText;
    const char* medi;
    const char* focus;
    Error error;
    std::vector<std::string> left;  // Text10, Text5, Text6, Text4, Text7, Text8 afterwards
};

class RecalculationError : public testing::TestWithParam<ErrorCase> {};

TEST_P(RecalculationError, StopsAndKeepsWhatWasWritten) {
    const auto& c = GetParam();
    auto f = withInputs(c.intText, c.medi, c.focus);
    for (Field x : kOutputs) f.setText(x, kOld);
    if (c.error == Error::Overflow) {
        EXPECT_THROW(calc::Command1_Click(f), runtime::OverflowError);
    } else {
        EXPECT_THROW(calc::Command1_Click(f), runtime::FloatingPointError);
    }
    EXPECT_EQ(outputs(f), c.left);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, RecalculationError,
    testing::Values(ErrorCase{"medi_40000_before_any_write",
                              "0",
                              "40000",
                              "0",
                              Error::Overflow,
                              {kOld, kOld, kOld, kOld, kOld, kOld}},
                    ErrorCase{"focus_beyond_16_bit",
                              "0",
                              "0",
                              "32768",
                              Error::Overflow,
                              {kOld, kOld, kOld, kOld, kOld, kOld}},
                    ErrorCase{"int_beyond_double",
                              "1e400",
                              "0",
                              "0",
                              Error::Overflow,
                              {kOld, kOld, kOld, kOld, kOld, kOld}},
                    ErrorCase{"recovery_0_from_int",
                              "-80",
                              "0",
                              "0",
                              Error::FloatingPoint,
                              {"0", kOld, kOld, kOld, kOld, kOld}},
                    ErrorCase{"recovery_0_from_focus",
                              "0",
                              "0",
                              "-40",
                              Error::FloatingPoint,
                              {"0", kOld, kOld, kOld, kOld, kOld}},
                    ErrorCase{"recovery_beyond_16_bit_in_step_3",
                              "1e308",
                              "0",
                              "0",
                              Error::Overflow,
                              {"2.5E+306", kOld, kOld, kOld, kOld, kOld}},
                    ErrorCase{"next_fpoint_product_1728",
                              "999",
                              "20000",
                              "999",
                              Error::Overflow,
                              {"1728", "5.78703703703704E-03", kOld, kOld, kOld, kOld}},
                    ErrorCase{"next_fpoint_product_1639",
                              "0",
                              "19850",
                              "0",
                              Error::Overflow,
                              {"1639", "6.1012812690665E-03", kOld, kOld, kOld, kOld}},
                    ErrorCase{"next_fpoint_difference_minus_1638",
                              "-65600",
                              "0",
                              "0",
                              Error::Overflow,
                              {"-1638", "-6.10500610500611E-03", kOld, kOld, kOld, kOld}}),
    [](const auto& row) { return std::string(row.param.name); });

// Writes must come in this order, so that an error leaves exactly the fields
// of the steps before it.
class RecordingFieldSet final : public calc::FieldSet {
public:
    std::string text(Field f) const override { return m_fields.text(f); }
    void setText(Field f, std::string_view t) override {
        m_writes.emplace_back(calc::kFieldNames[calc::index(f)]);
        m_fields.setText(f, t);
    }
    MemoryFieldSet m_fields;
    std::vector<std::string> m_writes;
};

TEST(Recalculation, WritesInStepOrderAndRoundsUpInPlace) {
    RecordingFieldSet f;
    f.m_fields.setText(Field::Text1, "100");
    f.m_fields.setText(Field::Text2, "85.3");
    f.m_fields.setText(Field::Text3, "20");
    calc::Command1_Click(f);
    // Next INT 4.1 rounds up by rewriting Text7; Next Medi 1.3 likewise Text8.
    EXPECT_EQ(f.m_writes, (std::vector<std::string>{"Text10", "Text5", "Text6", "Text4", "Text7",
                                                    "Text7", "Text8", "Text8"}));
}

}  // namespace
