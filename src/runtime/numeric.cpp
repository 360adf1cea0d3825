#include "runtime/numeric.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <limits>
#include <optional>
#include <stdexcept>
#include <system_error>

#include <fast_float/fast_float.h>

#include "runtime/errors.h"

namespace runtime {
namespace {

// The full-width forms of the numeric characters, as a Japanese input method
// types them, and the ideographic space.
char fullWidthToAscii(unsigned char b0, unsigned char b1, unsigned char b2) {
    if (b0 == 0xE3 && b1 == 0x80 && b2 == 0x80) return ' ';  // U+3000
    if (b0 != 0xEF) return 0;
    if (b1 == 0xBC && b2 >= 0x90 && b2 <= 0x99) return static_cast<char>('0' + (b2 - 0x90));
    if (b1 == 0xBC) {
        switch (b2) {
            case 0x8B:
                return '+';  // U+FF0B
            case 0x8D:
                return '-';  // U+FF0D
            case 0x8E:
                return '.';  // U+FF0E
            case 0xA5:
                return 'E';  // U+FF25
            default:
                return 0;
        }
    }
    return b1 == 0xBD && b2 == 0x85 ? 'e' : 0;  // U+FF45
}

// Writes the ASCII form of text into out; false when text holds anything else
// outside ASCII, which makes it non-numeric.
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
        const char mapped = fullWidthToAscii(c, static_cast<unsigned char>(text[i + 1]),
                                             static_cast<unsigned char>(text[i + 2]));
        if (mapped == 0) return false;
        out.push_back(mapped);
        i += 3;
    }
    return true;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A text read as a number.
struct Scan {
    bool numeric = false;
    bool overflow = false;  // numeric, but beyond the largest double
    double value = 0;
};

// Most texts the calculator reads are ones it wrote: few digits and a small
// exponent. Such a value is an integer below 2^53 times or divided by a power
// of ten up to 1e22, all exact doubles, so a single IEEE multiplication or
// division is the correctly rounded result (Clinger's fast path). Accepts only
// unsigned texts of that simple shape; anything else goes to fast_float.
bool exactSmall(std::string_view t, double& value) {
    static constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    constexpr std::uint64_t kExactLimit = std::uint64_t{1} << 53;
    std::uint64_t mantissa = 0;
    int scale = 0;
    bool point = false;
    bool digit = false;
    std::size_t i = 0;
    for (; i < t.size(); ++i) {
        const char c = t[i];
        if (isDigit(c)) {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
            if (mantissa > kExactLimit) return false;
            digit = true;
            if (point) --scale;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digit) return false;
    int exponent = 0;
    if (i < t.size()) {
        if (t[i] != 'e' && t[i] != 'E') return false;
        bool negative = false;
        if (++i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
        const std::size_t digits = t.size() - i;
        if (digits == 0 || digits > 3) return false;
        for (; i < t.size(); ++i) {
            if (!isDigit(t[i])) return false;
            exponent = exponent * 10 + (t[i] - '0');
        }
        if (negative) exponent = -exponent;
    }
    const int e10 = scale + exponent;
    if (e10 < -22 || e10 > 22) return false;
    const auto m = static_cast<double>(mantissa);
    value = e10 >= 0 ? m * kPow10[e10] : m / kPow10[-e10];
    return true;
}

// The numeric grammar is the one fast_float reads (strtod's, without a '+'),
// less its infinities and NaNs, which begin with a letter. So one pass checks
// the text and converts it: trim, let a '+' through by hand, insist on a digit
// or point after the sign, and require the reader to consume everything.
// fast_float rounds correctly on every standard library, where from_chars for
// double is missing from some (older libc++, emscripten's).
Scan scanAscii(std::string_view t) {
    while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
    while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
    Scan out;
    std::size_t first = 0;
    if (!t.empty() && t.front() == '+') {
        t.remove_prefix(1);
    } else if (!t.empty() && t.front() == '-') {
        first = 1;
    }
    if (first >= t.size() || !(isDigit(t[first]) || t[first] == '.')) return out;
    if (exactSmall(t.substr(first), out.value)) {
        if (first == 1) out.value = -out.value;
        out.numeric = true;
        return out;
    }

    const char* end = t.data() + t.size();
    const auto [ptr, ec] = fast_float::from_chars(t.data(), end, out.value);
    if (ptr != end || (ec != std::errc() && ec != std::errc::result_out_of_range)) return out;
    out.numeric = true;
    // Beyond the largest double it gives an infinity, the overflow; below the
    // smallest subnormal, a zero of the text's sign. Newer versions also say
    // result_out_of_range for both, and the value tells the two apart.
    if (std::isinf(out.value)) {
        out.overflow = true;
    } else if (ec == std::errc::result_out_of_range) {
        out.value = first == 1 ? -0.0 : 0.0;
    }
    return out;
}

// Reads text as a number. Nearly every text is plain ASCII, so full-width
// forms are only looked for, and mapped to ASCII in scratch, when the plain
// reading fails.
Scan scan(std::string_view text, std::string& scratch) {
    const Scan direct = scanAscii(text);
    if (direct.numeric) return direct;
    const bool ascii = std::all_of(text.begin(), text.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii || !toAscii(text, scratch)) return direct;
    return scanAscii(scratch);
}

}  // namespace

bool isNumeric(std::string_view text) {
    std::string scratch;
    return scan(text, scratch).numeric;
}

double toDouble(std::string_view text) {
    std::string scratch;
    const Scan s = scan(text, scratch);
    if (!s.numeric) throw std::invalid_argument("not a numeric text");
    if (s.overflow) throw OverflowError();
    return s.value;
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

double fix(double value) {
    return std::trunc(value);
}

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

namespace {

// A double's value rounded to 15 significant digits: the digits, and the
// decimal exponent of the first one.
struct Digits {
    std::array<char, 20> d{};
    int count = 0;
    int exponent = 0;

    char at(int i) const { return d[static_cast<std::size_t>(i)]; }
    char& at(int i) { return d[static_cast<std::size_t>(i)]; }
};

// Splits "d.dddde+xx" (sign already removed) into Digits. Whatever stands
// between the digits is skipped: printf writes the locale's decimal point.
Digits readScientific(const char* first, const char* last) {
    Digits out;
    const char* p = first;
    for (; p != last && *p != 'e'; ++p) {
        if (isDigit(*p)) out.at(out.count++) = *p;
    }
    if (p != last && *++p == '+') ++p;
    std::from_chars(p, last, out.exponent);
    return out;
}

// Both round the exact binary value to 15 significant digits, ties to even.
Digits roundTo15(double magnitude, detail::DigitSource source) {
    std::array<char, 40> buf{};
    const char* end = buf.data();
    if (source == detail::DigitSource::Printf) {
        const int n = std::snprintf(buf.data(), buf.size(), "%.14e", magnitude);
        end += std::clamp(n, 0, static_cast<int>(buf.size()) - 1);
    } else {
#if MANACALC_HAVE_DOUBLE_TO_CHARS
        end = std::to_chars(buf.data(), buf.data() + buf.size(), magnitude,
                            std::chars_format::scientific, 14)
                  .ptr;
#else
        throw std::logic_error("this build's library has no to_chars for double");
#endif
    }
    return readScientific(buf.data(), end);
}

// Most results have at most four decimals (219.175, 13.4, 0.5). If v times
// 10^k is a whole number s below 1E15 and s / 10^k gives v back, the decimal
// s·10^-k has at most 15 digits and rounds to v, so its digits are v's digits
// rounded to 15: no general digit generation needed.
std::optional<Digits> shortDecimal(double magnitude) {
    static constexpr double kScale[] = {1, 10, 100, 1000, 10000};
    for (int k = 0; k < static_cast<int>(std::size(kScale)); ++k) {
        const double scaled = magnitude * kScale[k];
        if (!(scaled < 1e15)) break;  // beyond 15 digits (or not finite)
        if (scaled != std::trunc(scaled) || scaled / kScale[k] != magnitude) continue;
        Digits out;
        const char* end =
            std::to_chars(out.d.data(), out.d.data() + out.d.size(), static_cast<long long>(scaled))
                .ptr;
        out.count = static_cast<int>(end - out.d.data());
        out.exponent = out.count - 1 - k;
        return out;
    }
    return std::nullopt;
}

}  // namespace

std::string formatDouble(double value) {
    return detail::formatDouble(value, detail::kDigitSource);
}

std::string detail::formatDouble(double value, DigitSource source) {
    fpCheck(value);
    if (value == 0) return "0";  // also for -0

    const double magnitude = std::fabs(value);
    std::optional<Digits> found = shortDecimal(magnitude);
    Digits digits = found ? *found : roundTo15(magnitude, source);
    // Whatever path gave them, zeros at the end are not written: 295.47 is
    // found as 295470 thousandths.
    while (digits.count > 1 && digits.at(digits.count - 1) == '0') --digits.count;
    const int exponent = digits.exponent;
    const int decimals = digits.count - 1 - exponent;  // digits after the point in fixed form

    // At most "-1.23456789012345E-308" or "-0.000000000000001".
    std::array<char, 32> buf{};
    std::size_t n = 0;
    const auto put = [&](char c) { buf[n++] = c; };
    if (value < 0) put('-');
    if (exponent < 15 && decimals <= 15) {
        // Every position from the first digit or the units, whichever is
        // higher, down to the last digit, with the point after the units.
        for (int position = std::max(exponent, 0); position >= std::min(-decimals, 0); --position) {
            const int i = exponent - position;
            put(i >= 0 && i < digits.count ? digits.at(i) : '0');
            if (position == 0 && decimals > 0) put('.');
        }
    } else {
        put(digits.at(0));
        if (digits.count > 1) put('.');
        for (int i = 1; i < digits.count; ++i) put(digits.at(i));
        put('E');
        put(exponent < 0 ? '-' : '+');
        const int e = exponent < 0 ? -exponent : exponent;
        if (e < 10) put('0');
        n = static_cast<std::size_t>(std::to_chars(buf.data() + n, buf.data() + buf.size(), e).ptr -
                                     buf.data());
    }
    return std::string(buf.data(), n);
}

std::string formatInt16(std::int16_t value) {
    return std::to_string(value);
}

double fpCheck(double value) {
    if (!std::isfinite(value)) throw FloatingPointError();
    return value;
}

}  // namespace runtime
