// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <string>
#include <string_view>

namespace lw {

// The text that stands for a value inside a formula: 7 significant digits,
// "." as decimal point, ".5", "-.125", "1E-05", "1.234568E+07", "INF", "NAN".
std::string NumberTextAscii(float value);
std::u16string NumberText(float value);

// The number text without a heap allocation, and the value that text reads
// back as through TextToNumber: what a formula sees in place of x.
struct NumberTextResult {
    char16_t chars[16];
    uint8_t length = 0;
    float readBack = 0;
    std::u16string_view text() const { return {chars, length}; }
};
NumberTextResult NumberTextWithValue(float value);

// A number for people rather than formulas: rounded to `decimals` places, without trailing zeros,
// with `separator` as the decimal sign ("-0" comes out as "0").
std::u16string FixedDecimalText(double value, int decimals, char16_t separator);

namespace detail {
// The formatter by exact decimal expansion; the fast one must agree with it.
std::string numberTextExact(float value);

// digits / 10^p rounded once, as reading the text rounds it.
double digitsOverPowerOfTen(uint64_t digits, int p);
float numberTextValueBeyondIntegers(float value);

inline constexpr std::array<double, 18> InversePowers = {
    1e0,  1e-1,  1e-2,  1e-3,  1e-4,  1e-5,  1e-6,  1e-7,  1e-8,
    1e-9, 1e-10, 1e-11, 1e-12, 1e-13, 1e-14, 1e-15, 1e-16, 1e-17,
};

inline constexpr std::array<uint64_t, 18> PowersOfFive = [] {
    std::array<uint64_t, 18> p{};
    uint64_t v = 1;
    for (uint64_t &x : p) {
        x = v;
        v *= 5;
    }
    return p;
}();

// The value the number text of a normal float from 2^-35 up to 2^16 reads back as, by
// integers: the seven digits are the float's exact value m / 2^s times 10^p rounded half to
// even, that is m * 5^p / 2^(s - p), which stays below 2^64 for p <= 17; the text's value is
// digits / 10^p, both exact in double, so one division rounds it as reading the text does
// (a multiplication stands in for it where that cannot change the float).
// bench/exhaustive_check compares it with reading the text for every float with |x| < 2^16.
// Inline and without a branch on the digits: the plotter asks it for every sample.
inline bool readBackByIntegers(float value, float &readBack)
{
    const auto bits = std::bit_cast<uint32_t>(value);
    const int biased = static_cast<int>((bits >> 23) & 0xff);
    if (biased < 127 - 35 || biased >= 127 + 16)
        return false;
    const uint64_t mantissa = (bits & 0x7fffff) | 0x800000;
    const int shift = 150 - biased; // value = mantissa / 2^shift
    // floor(log10(2^e)): the first guess of the leading digit's power of ten.
    int k = ((biased - 127) * 1233) >> 12;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int p = 6 - k;
        if (p < 0 || p > 17)
            return false;
        const uint64_t scaled = mantissa * PowersOfFive[static_cast<std::size_t>(p)];
        const int drop = shift - p;
        uint64_t digits = scaled >> drop;
        if (digits >= 10000000) {
            ++k;
            continue;
        }
        if (digits < 1000000) {
            --k;
            continue;
        }
        const uint64_t rest = scaled & ((uint64_t{1} << drop) - 1);
        const uint64_t half = uint64_t{1} << (drop - 1);
        digits +=
            static_cast<uint64_t>(rest > half) | (static_cast<uint64_t>(rest == half) & digits);
        // A carry to 10000000 names the same number as 1000000 at the next power. The product
        // with the rounded 10^-p lies within 3 ulps of the quotient; unless a float's rounding
        // boundary (low 29 bits 0x10000000) is that near, both convert to one float.
        double magnitude = static_cast<double>(digits) * InversePowers[static_cast<std::size_t>(p)];
        const uint64_t low = std::bit_cast<uint64_t>(magnitude) & 0x1fffffff;
        if (low - (0x10000000 - 3) <= 6) [[unlikely]]
            magnitude = digitsOverPowerOfTen(digits, p);
        // Rounding is symmetric, so the sign goes on after it.
        readBack = std::bit_cast<float>(std::bit_cast<uint32_t>(static_cast<float>(magnitude))
                                        | (bits & 0x80000000u));
        return true;
    }
    return false;
}

} // namespace detail

// Only the value the number text reads back as, without forming the text.
inline float NumberTextValue(float value)
{
    float readBack = 0;
    if (detail::readBackByIntegers(value, readBack)) [[likely]]
        return readBack;
    return detail::numberTextValueBeyondIntegers(value);
}

} // namespace lw
