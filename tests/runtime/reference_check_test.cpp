// The program's conversions against the plain ones in tests/reference, text
// for text, over every short decimal the calculator typically writes and over
// random values and texts everywhere else.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "reference/number_reference.h"
#include "runtime/errors.h"
#include "runtime/numeric.h"

namespace {

// std::bit_cast is missing from some standard libraries (emscripten's).
std::uint64_t bitsOf(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

double fromBits(std::uint64_t bits) {
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The first disagreement of a sweep, and how many there were.
struct Mismatches {
    long long count = 0;
    std::string first;

    void note(double value, const std::string& got, const std::string& want) {
        if (count++ == 0) {
            char bits[32];
            std::snprintf(bits, sizeof bits, "%a", value);
            first = std::string(bits) + ": got \"" + got + "\", want \"" + want + "\"";
        }
    }
    void add(const Mismatches& other) {
        if (count == 0) first = other.first;
        count += other.count;
    }
};

// Every source of digits this build has; the program uses the first.
std::vector<runtime::detail::DigitSource> digitSources() {
    using runtime::detail::DigitSource;
    if (runtime::detail::kDigitSource == DigitSource::ToChars) {
        return {DigitSource::ToChars, DigitSource::Printf};
    }
    return {DigitSource::Printf};
}

// A value and its negative, written from each source of digits (or only the
// program's own): the sign is written in front of the same digits.
void check(double value, Mismatches& m, bool everySource = true) {
    static const std::vector<runtime::detail::DigitSource> every = digitSources();
    static const std::vector<runtime::detail::DigitSource> own = {runtime::detail::kDigitSource};
    const auto& sources = everySource ? every : own;
    const std::string want = reference::writtenForm(value);
    std::string wantNegative = want;
    if (value != 0) wantNegative.insert(0, 1, '-');
    for (const auto source : sources) {
        const std::string got = runtime::detail::formatDouble(value, source);
        if (got != want) m.note(value, got, want);
        const std::string gotNegative = runtime::detail::formatDouble(-value, source);
        if (gotNegative != wantNegative) m.note(-value, gotNegative, wantNegative);
    }
}

// Splits [0, n) over the cores; each part runs body(first, last, mismatches).
template <typename Body>
Mismatches sweep(long long n, Body body) {
    const long long parts = std::clamp<long long>(std::thread::hardware_concurrency(), 1, 8);
    std::vector<Mismatches> found(static_cast<std::size_t>(parts));
    if (parts == 1) {  // also where there are no threads at all (WebAssembly)
        body(0, n, found[0]);
        return found[0];
    }
    std::vector<std::thread> threads;
    for (long long p = 0; p < parts; ++p) {
        threads.emplace_back([&, p] {
            body(n * p / parts, n * (p + 1) / parts, found[static_cast<std::size_t>(p)]);
        });
    }
    for (auto& t : threads) t.join();
    Mismatches all;
    for (const auto& m : found) all.add(m);
    return all;
}

// Under a sanitizer, or as WebAssembly on one thread, the sweep looks for
// that build's own faults (memory, the C library's printf), not for the
// digits the plain build checks in full: every 13th n there.
#if defined(__SANITIZE_ADDRESS__) || defined(__EMSCRIPTEN__)
#define MANACALC_SPARSE_SWEEP
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MANACALC_SPARSE_SWEEP
#endif
#endif
#ifdef MANACALC_SPARSE_SWEEP
constexpr long long kStride = 13;
#else
constexpr long long kStride = 1;
#endif

// Most results are short decimals (219.175, 13.4, 295.47): every n / 10^k
// below 10^7 with up to four decimals. For k > 0 a multiple of ten gives the
// same double as n / 10 with one decimal less, so it is left out. Their
// digits rarely come from a digit source at all, so only the program's own
// is asked; the tests below put every source to long digits.
TEST(ReferenceCheck, ShortDecimalsAreWrittenTextForText) {
    static constexpr double kPow10[] = {1, 10, 100, 1000, 10000};
    const Mismatches m = sweep(10'000'000, [](long long first, long long last, Mismatches& out) {
        for (long long n = first; n < last; n += kStride) {
            for (int k = 0; k < 5; ++k) {
                if (k > 0 && n % 10 == 0) continue;
                check(static_cast<double>(n) / kPow10[k], out, false);
            }
        }
    });
    EXPECT_EQ(m.count, 0) << m.first;
}

TEST(ReferenceCheck, RandomDoublesAreWrittenTextForText) {
    std::mt19937_64 rng(20261208);
    std::uniform_int_distribution<std::uint64_t> bits;
    std::uniform_int_distribution<std::uint64_t> mantissa(1, (std::uint64_t{1} << 52) - 1);
    Mismatches m;
    for (int i = 0; i < 300'000;) {
        // Uniform bits cover every exponent alike; every fourth is subnormal.
        const std::uint64_t b = i % 4 == 0 ? mantissa(rng) : bits(rng) & ~(std::uint64_t{1} << 63);
        const double v = fromBits(b);
        if (!std::isfinite(v)) continue;
        check(v, m);
        ++i;
    }
    // Quotients like the calculator's own, whose digits run past 15.
    std::uniform_int_distribution<int> small(1, 100000);
    for (int i = 0; i < 100'000; ++i) {
        const double a = small(rng) / 10.0;
        check(a / small(rng), m);
        check((a * 1.1) / 40 * 20 + small(rng), m);
        check(10.0 / small(rng), m);
    }
    // Short decimals beyond the sweep, up to the largest that keep four.
    std::uniform_int_distribution<long long> whole(1, 99'999'999'999'999LL);
    constexpr double kPow10[] = {1, 10, 100, 1000, 10000, 100000};
    for (int i = 0; i < 100'000; ++i) check(static_cast<double>(whole(rng)) / kPow10[i % 6], m);
    // Edges of the fixed form, and values whose shortest form is exactly a
    // rounding midpoint.
    for (double v : {std::numeric_limits<double>::max(), std::numeric_limits<double>::min(),
                     std::numeric_limits<double>::denorm_min(), 1e15, 999999999999999.5, 0.1,
                     0.09999999999999999, 1e-15, 1.5e-15, 0.1234567890123455, 1.000000000000005,
                     9.999999999999995, 2.5e-310}) {
        check(v, m);
    }
    EXPECT_EQ(m.count, 0) << m.first;
}

// Where the 16th digit is a 5 and nothing follows, rounding to 15 digits is a
// tie; a hair either side it is not. Both the values nearest such decimals and
// their neighbours, and the binary values that are exactly such decimals.
TEST(ReferenceCheck, ValuesNextToSixteenDigitTiesAreWrittenTextForText) {
    std::mt19937_64 rng(15);
    std::uniform_int_distribution<std::uint64_t> head(100'000'000'000'000ULL,
                                                      999'999'999'999'999ULL);
    std::uniform_int_distribution<int> exponent(-320, 300);
    Mismatches m;
    for (int i = 0; i < 100'000; ++i) {
        const std::string tie = std::to_string(head(rng)) + "5e" + std::to_string(exponent(rng));
        const double nearest = std::strtod(tie.c_str(), nullptr);
        if (!std::isfinite(nearest) || nearest == 0) continue;
        double v = nearest;
        for (int step = 0; step < 2; ++step) v = std::nextafter(v, 0.0);
        for (int step = 0; step < 5; ++step, v = std::nextafter(v, HUGE_VAL)) check(v, m);
    }
    // Exact ties: odd M / 2^j whose decimal M * 5^j has 16 digits.
    for (int j = 1; j <= 22; ++j) {
        const auto pow5 = static_cast<std::uint64_t>(std::pow(5.0, j));
        const std::uint64_t lowest = (1'000'000'000'000'000ULL + pow5 - 1) / pow5;
        const std::uint64_t highest = 9'999'999'999'999'999ULL / pow5;
        std::uniform_int_distribution<std::uint64_t> odd(lowest, highest);
        for (int i = 0; i < 2'000; ++i) {
            const std::uint64_t mOdd = odd(rng) | 1;
            if (mOdd > highest || mOdd >= (std::uint64_t{1} << 53)) continue;
            check(std::ldexp(static_cast<double>(mOdd), -j), m);
        }
    }
    EXPECT_EQ(m.count, 0) << m.first;
}

// Random texts from the numeric grammar and near it: what reads as a number,
// which value, and which overflows.
TEST(ReferenceCheck, RandomTextsAreReadAsTheReferenceReadsThem) {
    static const char* const kPieces[] = {"0",
                                          "1",
                                          "5",
                                          "9",
                                          "00",
                                          "123",
                                          "99999999999999999999",
                                          ".",
                                          ".",
                                          "e",
                                          "E",
                                          "+",
                                          "-",
                                          " ",
                                          " ",
                                          "e308",
                                          "e-330",
                                          "e999",
                                          "1e",
                                          "\xEF\xBC\x91",
                                          "\xEF\xBC\x8E",
                                          "\xEF\xBC\x8D",
                                          "\xEF\xBC\xA5",
                                          "\xE3\x80\x80",
                                          "x",
                                          "\t",
                                          ","};
    std::mt19937_64 rng(3);
    std::uniform_int_distribution<std::size_t> piece(0, std::size(kPieces) - 1);
    std::uniform_int_distribution<int> length(1, 8);
    std::uniform_int_distribution<int> digit(0, 9);
    std::uniform_int_distribution<int> exponent(-340, 340);
    int numeric = 0;
    int mismatches = 0;
    for (int i = 0; i < 200'000 && mismatches < 10; ++i) {
        std::string text;
        if (i % 2 == 0) {
            // Well-formed: sign, digits with a point somewhere, an exponent.
            if (i % 6 == 0) text += '-';
            const int n = length(rng) * 3;
            const int point = digit(rng) < 7 ? length(rng) * 3 % (n + 1) : -1;
            for (int k = 0; k < n; ++k) {
                if (k == point) text += '.';
                text += static_cast<char>('0' + digit(rng));
            }
            if (i % 4 == 0) text.append("e").append(std::to_string(exponent(rng)));
        } else {
            for (int k = length(rng); k > 0; --k) text += kPieces[piece(rng)];
        }

        const reference::Reading want = reference::read(text);
        const bool isNumeric = runtime::isNumeric(text);
        const bool wantNumeric = want.kind != reference::Reading::Kind::NotNumeric;
        bool agree = isNumeric == wantNumeric;
        if (agree && wantNumeric) {
            ++numeric;
            try {
                const double got = runtime::toDouble(text);
                agree = want.kind == reference::Reading::Kind::Value &&
                        bitsOf(got) == bitsOf(want.value);
            } catch (const runtime::OverflowError&) {
                agree = want.kind == reference::Reading::Kind::Overflow;
            }
        }
        if (!agree) {
            ++mismatches;
            ADD_FAILURE() << "\"" << text << "\"";
        }
    }
    EXPECT_GT(numeric, 100'000);  // the generator must mostly make numbers
}

}  // namespace
