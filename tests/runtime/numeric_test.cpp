#include "runtime/numeric.h"

#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "runtime/errors.h"

namespace {

using runtime::FloatingPointError;
using runtime::OverflowError;

struct NumericCase {
    const char* name;
    std::string text;
    bool numeric;
};

class IsNumeric : public testing::TestWithParam<NumericCase> {};

TEST_P(IsNumeric, FollowsTheGrammar) {
    EXPECT_EQ(runtime::isNumeric(GetParam().text), GetParam().numeric)
        << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IsNumeric,
    testing::Values(
        NumericCase{"digit", "5", true}, NumericCase{"negative", "-3", true},
        NumericCase{"plus_sign", "+5", true}, NumericCase{"leading_point", ".5", true},
        NumericCase{"trailing_point", "1.", true}, NumericCase{"exponent", "1e3", true},
        NumericCase{"upper_exponent", "9E9", true}, NumericCase{"signed_exponent", "2.5e-3", true},
        NumericCase{"spaces_around", "  5 ", true}, NumericCase{"leading_zeros", "007", true},
        NumericCase{"huge_but_numeric", "1e999", true},
        NumericCase{"fullwidth_digits", "\xEF\xBC\x91\xEF\xBC\x92\xEF\xBC\x93", true},  // １２３
        NumericCase{
            "fullwidth_point_sign_exponent",
            "\xEF\xBC\x8D\xEF\xBC\x91\xEF\xBC\x8E\xEF\xBC\x95\xEF\xBC\xA5\xEF\xBC\x8B\xEF\xBC\x92",
            true},  // －１．５Ｅ＋２
        NumericCase{"fullwidth_plus_lower_e", "\xEF\xBC\x8B\xEF\xBC\x97\xEF\xBD\x85\xEF\xBC\x91",
                    true},
        NumericCase{"ideographic_spaces",
                    "\xE3\x80\x80"
                    "42\xE3\x80\x80",
                    true},
        NumericCase{"mixed_widths", "1\xEF\xBC\x90.5", true},  // 1０.5
        NumericCase{"empty", "", false}, NumericCase{"only_spaces", "   ", false},
        NumericCase{"lone_plus", "+", false}, NumericCase{"lone_minus", "-", false},
        NumericCase{"lone_point", ".", false}, NumericCase{"signed_point", "-.", false},
        NumericCase{"letters", "abc", false}, NumericCase{"two_points", "1.2.3", false},
        NumericCase{"two_signs", "--5", false}, NumericCase{"trailing_sign", "5-", false},
        NumericCase{"exponent_without_digits", "1e", false},
        NumericCase{"exponent_sign_only", "1e+", false}, NumericCase{"exponent_alone", "e5", false},
        NumericCase{"point_exponent", ".e5", false}, NumericCase{"inner_space", "1 2", false},
        NumericCase{"space_after_sign", "- 5", false},
        NumericCase{"thousands_separator", "1,000", false},
        NumericCase{"comma_decimal", "1,5", false}, NumericCase{"hexadecimal", "&H10", false},
        NumericCase{"hex_prefix", "0x10", false}, NumericCase{"d_exponent", "1D3", false},
        NumericCase{"currency", "$5", false}, NumericCase{"parentheses", "(5)", false},
        NumericCase{"tab_around", "\t5", false}, NumericCase{"inf", "inf", false},
        NumericCase{"nan", "nan", false}, NumericCase{"embedded_nul", std::string("5\0", 2), false},
        NumericCase{"fullwidth_comma",
                    "1\xEF\xBC\x8C"
                    "0",
                    false},  // １，０
        NumericCase{"truncated_utf8", "5\xEF\xBC", false},
        // Beside the full-width e and E: ｄ and Ｆ are no exponent marks.
        NumericCase{"fullwidth_d", "1\xEF\xBD\x84\x33", false},        // 1ｄ3
        NumericCase{"fullwidth_upper_f", "1\xEF\xBC\xA6\x33", false},  // 1Ｆ3
        NumericCase{"kanji", "\xE4\xB8\x80", false}),                  // 一
    [](const auto& row) { return std::string(row.param.name); });

struct DoubleCase {
    const char* name;
    const char* text;
    double value;
};

class ToDouble : public testing::TestWithParam<DoubleCase> {};

TEST_P(ToDouble, GivesTheNearestDouble) {
    const double got = runtime::toDouble(GetParam().text);
    EXPECT_EQ(got, GetParam().value);
    EXPECT_EQ(std::signbit(got), std::signbit(GetParam().value));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ToDouble,
    testing::Values(
        DoubleCase{"integer", "100", 100.0}, DoubleCase{"fraction", "85.3", 85.3},
        DoubleCase{"plus", "+5", 5.0}, DoubleCase{"spaces", " 2.5 ", 2.5},
        DoubleCase{"trailing_point", "1.", 1.0}, DoubleCase{"exponent", "1e3", 1000.0},
        DoubleCase{"fifteen_digits", "0.333333333333333", 0.333333333333333},
        DoubleCase{"negative_zero", "-0", -0.0},
        DoubleCase{"largest", "1.7976931348623157e308", std::numeric_limits<double>::max()},
        DoubleCase{"subnormal", "5e-324", std::numeric_limits<double>::denorm_min()},
        DoubleCase{"underflow_to_zero", "1e-400", 0.0},
        DoubleCase{"negative_underflow", "-1e-400", -0.0},
        DoubleCase{"long_zero_mantissa", "0.00000000000000000000000000000000000001e38", 1.0},
        DoubleCase{"fullwidth", "\xEF\xBC\x99\xEF\xBC\x99\xEF\xBC\x8E\xEF\xBC\x95", 99.5}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ToDouble, BeyondTheDoubleRangeIsOverflow) {
    for (const char* text :
         {"1e309", "-1e309", "1.8e308", "1e99999999999999999999", "123456789e99999", "0.001e312"}) {
        EXPECT_THROW(runtime::toDouble(text), OverflowError) << text;
    }
}

TEST(ToDouble, NonNumericTextIsRefused) {
    EXPECT_THROW(runtime::toDouble(""), std::invalid_argument);
    EXPECT_THROW(runtime::toDouble("1,5"), std::invalid_argument);
}

struct Int16Case {
    const char* name;
    const char* text;
    int value;  // only read when the conversion succeeds
    bool overflows;
};

class ToInt16 : public testing::TestWithParam<Int16Case> {};

TEST_P(ToInt16, RoundsHalfToEven) {
    const auto& c = GetParam();
    if (c.overflows) {
        EXPECT_THROW(runtime::toInt16(c.text), OverflowError);
    } else {
        EXPECT_EQ(runtime::toInt16(c.text), c.value);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ToInt16,
    testing::Values(
        Int16Case{"half_down_to_even", "2.5", 2, false},
        Int16Case{"half_up_to_even", "3.5", 4, false},
        Int16Case{"medi_99_5_counts_as_100", "99.5", 100, false},
        Int16Case{"medi_98_5_stays_98", "98.5", 98, false},
        Int16Case{"negative_half", "-2.5", -2, false}, Int16Case{"below_half", "0.4", 0, false},
        Int16Case{"above_half", "0.6", 1, false}, Int16Case{"half_to_zero", ".5", 0, false},
        Int16Case{"largest", "32767", 32767, false},
        Int16Case{"largest_after_rounding", "32767.4", 32767, false},
        Int16Case{"rounds_past_largest", "32767.5", 0, true},
        Int16Case{"smallest", "-32768", -32768, false},
        Int16Case{"half_below_smallest_rounds_to_even", "-32768.5", -32768, false},
        Int16Case{"below_smallest", "-32769", 0, true}, Int16Case{"medi_40000", "40000", 0, true},
        Int16Case{"beyond_double", "1e400", 0, true}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ToInt32, RoundsHalfToEvenAndOverflowsOutsideRange) {
    EXPECT_EQ(runtime::toInt32(2.5), 2);
    EXPECT_EQ(runtime::toInt32(-3.5), -4);
    EXPECT_EQ(runtime::toInt32(2147483647.4), 2147483647);
    EXPECT_EQ(runtime::toInt32(-2147483648.5), -2147483647 - 1);
    EXPECT_THROW(runtime::toInt32(2147483647.5), OverflowError);
    EXPECT_THROW(runtime::toInt32(-2147483649.0), OverflowError);
    EXPECT_THROW(runtime::toInt32(std::numeric_limits<double>::quiet_NaN()), OverflowError);
    EXPECT_THROW(runtime::toInt32(std::numeric_limits<double>::infinity()), OverflowError);
}

TEST(CheckedIntegers, OverflowLeavingTheRange) {
    EXPECT_EQ(runtime::checkedInt16(-32768), -32768);
    EXPECT_EQ(runtime::checkedInt16(32767), 32767);
    EXPECT_THROW(runtime::checkedInt16(32768), OverflowError);  // 1639 * 20
    EXPECT_THROW(runtime::checkedInt16(-32769), OverflowError);
    EXPECT_EQ(runtime::checkedInt32(2147483647LL), 2147483647);
    EXPECT_THROW(runtime::checkedInt32(2147483648LL), OverflowError);
}

struct FormatCase {
    const char* name;
    double value;
    const char* text;
};

class FormatDouble : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatDouble, WritesFifteenSignificantDigits) {
    EXPECT_EQ(runtime::formatDouble(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, FormatDouble,
    testing::Values(
        FormatCase{"zero", 0.0, "0"}, FormatCase{"negative_zero", -0.0, "0"},
        FormatCase{"integer", 5.0, "5"}, FormatCase{"sum_rounds_to_tenth", 13.3 + 0.1, "13.4"},
        FormatCase{"half", 0.5, "0.5"}, FormatCase{"negative", -2.5, "-2.5"},
        FormatCase{"rounds_up_last_digit", 5.0 / 9.0, "0.555555555555556"},
        FormatCase{"third", 1.0 / 3.0, "0.333333333333333"},
        FormatCase{"seventh", 10.0 / 7.0, "1.42857142857143"}, FormatCase{"tenth", 0.1, "0.1"},
        FormatCase{"hundredth", 0.01, "0.01"},
        FormatCase{"no_zero_after_scaling_past_it", 295.47, "295.47"},
        FormatCase{"no_zero_in_two_decimals", 2.55, "2.55"},
        FormatCase{"no_zeros_in_four_decimals", 131.05, "131.05"},
        FormatCase{"no_zero_below_one", 0.07, "0.07"},
        FormatCase{"small_fixed", 5.6789e-5, "0.000056789"},
        FormatCase{"fifteen_decimals", 1e-15, "0.000000000000001"},
        FormatCase{"sixteen_decimals", 1.5e-15, "1.5E-15"},
        FormatCase{"small_exponent", 5.6789e-12, "5.6789E-12"},
        FormatCase{"small_needing_many_digits", 10.0 / 1728.0, "5.78703703703704E-03"},
        FormatCase{"largest_fixed", 999999999999999.0, "999999999999999"},
        // Exactly halfway at the 16th digit (1 + 1/32768, 1 + 3/32768): the
        // exact binary value is rounded half to even, as IEEE printing does.
        FormatCase{"exact_tie_stays_even", 1.000030517578125, "1.00003051757812"},
        FormatCase{"exact_tie_rounds_up_to_even", 1.000091552734375, "1.00009155273438"},
        FormatCase{"rounds_up_to_exponent", 999999999999999.5, "1E+15"},
        FormatCase{"one_e15", 1e15, "1E+15"}, FormatCase{"one_point_two_e15", 1.2e15, "1.2E+15"},
        FormatCase{"negative_exponent_form", -1.23456789012345678e17, "-1.23456789012346E+17"},
        FormatCase{"three_digit_exponent", 1e100, "1E+100"},
        FormatCase{"largest_double", std::numeric_limits<double>::max(), "1.79769313486232E+308"},
        FormatCase{"smallest_subnormal", std::numeric_limits<double>::denorm_min(),
                   "4.94065645841247E-324"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(FormatDouble, NonFiniteIsAFloatingPointError) {
    EXPECT_THROW(runtime::formatDouble(std::numeric_limits<double>::infinity()),
                 FloatingPointError);
    EXPECT_THROW(runtime::formatDouble(-std::numeric_limits<double>::infinity()),
                 FloatingPointError);
    EXPECT_THROW(runtime::formatDouble(std::numeric_limits<double>::quiet_NaN()),
                 FloatingPointError);
}

TEST(FpCheck, PassesFiniteAndRaisesOnNonFinite) {
    EXPECT_EQ(runtime::fpCheck(1.5), 1.5);
    EXPECT_THROW(runtime::fpCheck(10.0 / std::numeric_limits<double>::denorm_min()),
                 FloatingPointError);
    EXPECT_THROW(runtime::fpCheck(std::numeric_limits<double>::quiet_NaN()), FloatingPointError);
}

}  // namespace
