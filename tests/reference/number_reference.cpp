#include "reference/number_reference.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <utility>

namespace reference {

std::string writtenForm(double value) {
    if (!std::isfinite(value)) throw std::domain_error("not finite");
    if (value == 0) return "0";

    // "d.dddddddddddddde+XX": the exact binary value rounded to 15
    // significant digits, ties to even.
    char sci[40];
#if MANACALC_HAVE_DOUBLE_TO_CHARS
    const char* end =
        std::to_chars(sci, sci + sizeof sci, std::fabs(value), std::chars_format::scientific, 14)
            .ptr;
#else
    const char* end = sci + std::snprintf(sci, sizeof sci, "%.14e", std::fabs(value));
#endif
    const char* e = sci;
    while (*e != 'e') ++e;
    char digits[15];
    int count = 0;
    for (const char* c = sci; c != e; ++c) {
        if (*c != '.') digits[count++] = *c;
    }
    int exponent = 0;
    std::from_chars(e[1] == '+' ? e + 2 : e + 1, end, exponent);
    while (count > 1 && digits[count - 1] == '0') --count;

    std::string out;
    if (value < 0) out += '-';
    const int decimals = count - 1 - exponent;
    if (exponent < 15 && decimals <= 15) {
        if (exponent < 0) {  // 0.000ddd
            out.append("0.").append(static_cast<std::size_t>(-exponent - 1), '0');
            out.append(digits, digits + count);
        } else if (decimals <= 0) {  // ddd000
            out.append(digits, digits + count).append(static_cast<std::size_t>(-decimals), '0');
        } else {  // ddd.ddd
            out.append(digits, digits + exponent + 1).append(".");
            out.append(digits + exponent + 1, digits + count);
        }
        return out;
    }
    out += digits[0];
    if (count > 1) {
        out += '.';
        out.append(digits + 1, digits + count);
    }
    out += exponent < 0 ? "E-" : "E+";
    if (std::abs(exponent) < 10) out += '0';
    out += std::to_string(std::abs(exponent));
    return out;
}

bool canonicalShape(std::string_view text) {
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (text.starts_with('-')) text.remove_prefix(1);
    const std::size_t e = text.find('E');
    const std::string_view mantissa = text.substr(0, e);
    const std::size_t point = mantissa.find('.');
    const std::string_view whole = mantissa.substr(0, point);
    if (whole.empty() || !std::all_of(whole.begin(), whole.end(), isDigit)) return false;
    if (whole.size() > 1 && whole.front() == '0') return false;  // leading zero
    if (point != std::string_view::npos) {
        const std::string_view fraction = mantissa.substr(point + 1);
        if (fraction.empty() || fraction.back() == '0') return false;  // trailing point or zero
        if (!std::all_of(fraction.begin(), fraction.end(), isDigit)) return false;
    }
    if (e == std::string_view::npos) return true;
    // d.dddE+XX: one non-zero digit before the point, a sign, two digits or more.
    const std::string_view exponent = text.substr(e + 1);
    return whole.size() == 1 && whole != "0" && exponent.size() >= 3 &&
           (exponent[0] == '+' || exponent[0] == '-') &&
           std::all_of(exponent.begin() + 1, exponent.end(), isDigit);
}

Reading read(std::string_view text) {
    static const std::pair<std::string_view, char> kFullWidth[] = {
        {"\xEF\xBC\x90", '0'}, {"\xEF\xBC\x91", '1'}, {"\xEF\xBC\x92", '2'}, {"\xEF\xBC\x93", '3'},
        {"\xEF\xBC\x94", '4'}, {"\xEF\xBC\x95", '5'}, {"\xEF\xBC\x96", '6'}, {"\xEF\xBC\x97", '7'},
        {"\xEF\xBC\x98", '8'}, {"\xEF\xBC\x99", '9'}, {"\xEF\xBC\x8B", '+'}, {"\xEF\xBC\x8D", '-'},
        {"\xEF\xBC\x8E", '.'}, {"\xEF\xBC\xA5", 'E'}, {"\xEF\xBD\x85", 'e'}, {"\xE3\x80\x80", ' '},
    };
    std::string ascii;
    for (std::size_t i = 0; i < text.size();) {
        bool mapped = false;
        for (const auto& [wide, narrow] : kFullWidth) {
            if (static_cast<unsigned char>(text[i]) < 0x80) break;
            if (text.substr(i).starts_with(wide)) {
                ascii += narrow;
                i += wide.size();
                mapped = true;
                break;
            }
        }
        if (!mapped) ascii += text[i++];
    }

    // Spaces, a sign, digits with at most one point and at least one digit,
    // an exponent with at least one digit, spaces; nothing else.
    std::size_t i = 0;
    const auto skip = [&](auto accepted) {
        std::size_t n = 0;
        while (i < ascii.size() && accepted(ascii[i])) ++i, ++n;
        return n;
    };
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    Reading out;
    skip([](char c) { return c == ' '; });
    if (i < ascii.size() && (ascii[i] == '+' || ascii[i] == '-')) ++i;
    std::size_t digits = skip(isDigit);
    if (i < ascii.size() && ascii[i] == '.') {
        ++i;
        digits += skip(isDigit);
    }
    if (digits == 0) return out;
    if (i < ascii.size() && (ascii[i] == 'e' || ascii[i] == 'E')) {
        ++i;
        if (i < ascii.size() && (ascii[i] == '+' || ascii[i] == '-')) ++i;
        if (skip(isDigit) == 0) return out;
    }
    skip([](char c) { return c == ' '; });
    if (i != ascii.size()) return out;
    errno = 0;
    out.value = std::strtod(ascii.c_str(), nullptr);
    const bool overflow = errno == ERANGE && std::isinf(out.value);
    out.kind = overflow ? Reading::Kind::Overflow : Reading::Kind::Value;
    return out;
}

}  // namespace reference
