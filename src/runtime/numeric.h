#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The value operations every calculation is built from. All numbers travel
// between steps as texts, so these conversions decide every digit the player
// sees: they must round exactly as described beside each one.
namespace runtime {

// True for an optional sign, digits with at most one point (at least one digit
// in all) and an optional exponent (E or e, optional sign, digits), with spaces
// allowed around it. The full-width forms a Japanese input method types
// (digits, + - . E e and the ideographic space) count as their ASCII forms.
// Texts are UTF-8.
bool isNumeric(std::string_view text);

// The double nearest to a numeric text. A value beyond the double range raises
// OverflowError; one too small for the smallest subnormal gives a signed zero.
// A text that is not numeric is a caller's mistake: std::invalid_argument.
double toDouble(std::string_view text);

// A numeric text rounded to the nearest integer, ties to even (2.5 -> 2,
// 99.5 -> 100); OverflowError outside -32768..32767.
std::int16_t toInt16(std::string_view text);

// A double rounded to the nearest integer, ties to even; OverflowError for
// values outside the 32-bit range and for a NaN.
std::int32_t toInt32(double value);

// Truncation toward zero; the result stays a double.
double fix(double value);

// Integer results of 16-bit and 32-bit arithmetic, done wider and then tested:
// OverflowError when the value leaves the type's range.
std::int16_t checkedInt16(long long value);
std::int32_t checkedInt32(long long value);

// The written form of a double: rounded to 15 significant digits, fixed
// notation for 0 and for magnitudes from 0.1 up to below 1E15, and below 0.1
// as long as the fixed form needs no more than 15 digits after the point;
// otherwise d.dddE+XX with a signed exponent of at least two digits.
// Negative zero is written "0". Non-finite values never reach a field: they
// raise FloatingPointError.
std::string formatDouble(double value);

namespace detail {

// Where the digits of a written double come from, when no shorter path finds
// them: to_chars where the standard library has it for doubles (not every
// one does, and the page never takes it: src/runtime/CMakeLists.txt), else
// printf. Both round the exact binary value, and the tests hold every source
// the build has to the same texts.
enum class DigitSource { ToChars, Printf };
inline constexpr DigitSource kDigitSource =
    MANACALC_HAVE_DOUBLE_TO_CHARS ? DigitSource::ToChars : DigitSource::Printf;

// formatDouble with the digits from source; std::logic_error for ToChars
// where the build has none.
std::string formatDouble(double value, DigitSource source);

}  // namespace detail

// Decimal text of a 16-bit integer, "-" for negatives.
std::string formatInt16(std::int16_t value);

// The floating-point check placed after the operations that can fail. With
// finite operands an operation signals invalid, divide-by-zero or overflow
// exactly when its result is a NaN or an infinity, and none of the chains
// between checks can turn a non-finite value back into a finite one, so
// testing the result is as exact as reading the status flags and cannot be
// reordered by the compiler.
double fpCheck(double value);

}  // namespace runtime
