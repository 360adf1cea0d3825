#include "runtime/numeric.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <stdexcept>
#include <system_error>

#include "runtime/errors.h"

namespace runtime {
namespace {

// Full-width forms map onto their ASCII counterparts; anything else outside
// ASCII makes the text non-numeric. Writes the ASCII form into out.
bool toAscii(std::string_view text, std::string& out) {
    out.clear();
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        if (i + 3 > text.size()) return false;
        const auto b1 = static_cast<unsigned char>(text[i + 1]);
        const auto b2 = static_cast<unsigned char>(text[i + 2]);
        char mapped = 0;
        if (c == 0xEF && b1 == 0xBC && b2 >= 0x90 && b2 <= 0x99) {
            mapped = static_cast<char>('0' + (b2 - 0x90));  // U+FF10..U+FF19
        } else if (c == 0xEF && b1 == 0xBC && b2 == 0x8B) {
            mapped = '+';  // U+FF0B
        } else if (c == 0xEF && b1 == 0xBC && b2 == 0x8D) {
            mapped = '-';  // U+FF0D
        } else if (c == 0xEF && b1 == 0xBC && b2 == 0x8E) {
            mapped = '.';  // U+FF0E
        } else if (c == 0xEF && b1 == 0xBC && b2 == 0xA5) {
            mapped = 'E';  // U+FF25
        } else if (c == 0xEF && b1 == 0xBD && b2 == 0x85) {
            mapped = 'e';  // U+FF45
        } else if (c == 0xE3 && b1 == 0x80 && b2 == 0x80) {
            mapped = ' ';  // U+3000, the ideographic space
        } else {
            return false;
        }
        out.push_back(mapped);
        i += 3;
    }
    return true;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The parts of a numeric text once its spaces are gone.
struct Number {
    std::string_view body;  // the number without spaces and without a leading '+'
    bool negative = false;
    std::string_view mantissa;  // digits and at most one point
    std::string_view exponent;  // optional sign and digits; empty when absent
};

std::optional<Number> parse(std::string_view ascii) {
    while (!ascii.empty() && ascii.front() == ' ') ascii.remove_prefix(1);
    while (!ascii.empty() && ascii.back() == ' ') ascii.remove_suffix(1);

    Number n;
    std::size_t i = 0;
    if (i < ascii.size() && (ascii[i] == '+' || ascii[i] == '-')) {
        n.negative = ascii[i] == '-';
        ++i;
    }
    // from_chars takes a '-' but no '+'.
    n.body = ascii.substr(ascii.size() > 0 && ascii[0] == '+' ? 1 : 0);

    const std::size_t mantissaStart = i;
    bool point = false;
    bool digit = false;
    for (; i < ascii.size(); ++i) {
        if (isDigit(ascii[i])) {
            digit = true;
        } else if (ascii[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digit) return std::nullopt;
    n.mantissa = ascii.substr(mantissaStart, i - mantissaStart);

    if (i < ascii.size() && (ascii[i] == 'E' || ascii[i] == 'e')) {
        const std::size_t exponentStart = ++i;
        if (i < ascii.size() && (ascii[i] == '+' || ascii[i] == '-')) ++i;
        const std::size_t digitsStart = i;
        while (i < ascii.size() && isDigit(ascii[i])) ++i;
        if (i == digitsStart) return std::nullopt;
        n.exponent = ascii.substr(exponentStart, i - exponentStart);
    }
    if (i != ascii.size()) return std::nullopt;
    return n;
}

// Decimal order of the value's leading digit plus one, saturated: > 0 means
// the value is at least 1. Only its sign matters, to tell an out-of-range
// result that is too large from one that is too small.
long long decimalOrder(const Number& n) {
    long long exponent = 0;
    bool negativeExponent = false;
    for (char c : n.exponent) {
        if (c == '-') {
            negativeExponent = true;
        } else if (isDigit(c) && exponent < 1'000'000'000) {
            exponent = exponent * 10 + (c - '0');
        }
    }
    if (negativeExponent) exponent = -exponent;

    long long leading = 0;  // digits before the point from the first non-zero one
    bool seenNonZero = false;
    bool afterPoint = false;
    for (char c : n.mantissa) {
        if (c == '.') {
            afterPoint = true;
        } else if (c != '0' || seenNonZero) {
            seenNonZero = true;
            if (!afterPoint) ++leading;
            else break;
        } else if (afterPoint) {
            --leading;  // a zero between the point and the first non-zero digit
        }
    }
    return leading + exponent;
}

std::optional<Number> numericParts(std::string_view text, std::string& scratch) {
    if (!toAscii(text, scratch)) return std::nullopt;
    return parse(scratch);
}

}  // namespace

bool isNumeric(std::string_view text) {
    std::string scratch;
    return numericParts(text, scratch).has_value();
}

double toDouble(std::string_view text) {
    std::string scratch;
    const auto n = numericParts(text, scratch);
    if (!n) throw std::invalid_argument("not a numeric text");

    double value = 0;
    const auto* first = n->body.data();
    const auto* last = first + n->body.size();
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        if (decimalOrder(*n) > 0) throw OverflowError();
        return n->negative ? -0.0 : 0.0;
    }
    if (ec != std::errc() || ptr != last) {
        throw std::invalid_argument("not a numeric text");  // unreachable after parse()
    }
    return value;
}

std::int16_t toInt16(std::string_view text) {
    // Through the double first, then rounded: 99.5 becomes 100, 98.5 becomes 98.
    const double rounded = std::nearbyint(toDouble(text));
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) throw OverflowError();
    return static_cast<std::int16_t>(rounded);
}

std::int32_t toInt32(double value) {
    const double rounded = std::nearbyint(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) throw OverflowError();
    return static_cast<std::int32_t>(rounded);
}

double fix(double value) { return std::trunc(value); }

std::int16_t checkedInt16(long long value) {
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max()) {
        throw OverflowError();
    }
    return static_cast<std::int16_t>(value);
}

std::int32_t checkedInt32(long long value) {
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        throw OverflowError();
    }
    return static_cast<std::int32_t>(value);
}

std::string formatDouble(double value) {
    fpCheck(value);
    if (value == 0) return "0";  // also for -0

    // d.dddddddddddddde±X: the value correctly rounded to 15 significant digits.
    std::array<char, 32> buf{};
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value,
                                   std::chars_format::scientific, 14);
    const std::string_view sci(buf.data(), static_cast<std::size_t>(res.ptr - buf.data()));

    const bool negative = sci.front() == '-';
    const std::size_t ePos = sci.find('e');
    std::string digits;  // the significant digits, no point, no trailing zeros
    for (char c : sci.substr(negative ? 1 : 0, ePos - (negative ? 1 : 0))) {
        if (c != '.') digits.push_back(c);
    }
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    int exponent = 0;
    const auto* expFirst = sci.data() + ePos + 1;
    if (*expFirst == '+') ++expFirst;
    std::from_chars(expFirst, sci.data() + sci.size(), exponent);

    const auto count = static_cast<int>(digits.size());
    const int decimals = count - 1 - exponent;  // digits after the point in fixed form
    std::string out;
    if (negative) out.push_back('-');
    if (exponent < 15 && decimals <= 15) {
        if (exponent < 0) {
            out += "0.";
            out.append(static_cast<std::size_t>(-exponent - 1), '0');
            out += digits;
        } else if (decimals <= 0) {
            out += digits;
            out.append(static_cast<std::size_t>(-decimals), '0');
        } else {
            const auto whole = static_cast<std::size_t>(exponent + 1);
            out.append(digits, 0, whole);
            out.push_back('.');
            out.append(digits, whole);
        }
        return out;
    }
    out.push_back(digits.front());
    if (count > 1) {
        out.push_back('.');
        out.append(digits, 1);
    }
    out.push_back('E');
    out.push_back(exponent < 0 ? '-' : '+');
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude < 10) out.push_back('0');
    out += std::to_string(magnitude);
    return out;
}

std::string formatInt16(std::int16_t value) { return std::to_string(value); }

double fpCheck(double value) {
    if (!std::isfinite(value)) throw FloatingPointError();
    return value;
}

}  // namespace runtime
