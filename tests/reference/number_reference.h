#pragma once

#include <string>
#include <string_view>

// Deliberately plain versions of the number conversions, for checking the
// program's own text for text. Nothing here is tuned: the digits come from
// standard library's exact conversions, the rest is the rule written out.
namespace reference {

// The written form of a finite double: 15 significant digits, correctly
// rounded, without trailing zeros; fixed notation when the magnitude is below
// 1E15 and needs at most 15 digits after the point, else d.ddddE+XX.
std::string writtenForm(double value);

// True when text looks like a written form at all: no "+", no trailing zero
// after a point, no trailing point, no leading zero except in "0.", one
// exponent of at least two digits in the exponent form.
bool canonicalShape(std::string_view text);

// What reading a text gives.
struct Reading {
    enum class Kind { NotNumeric, Overflow, Value } kind = Kind::NotNumeric;
    double value = 0;
};

// The numeric grammar checked step by step over the text with its
// full-width characters mapped to ASCII, and strtod for the value.
Reading read(std::string_view text);

}  // namespace reference
