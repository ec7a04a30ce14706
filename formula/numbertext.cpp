// SPDX-License-Identifier: GPL-3.0-or-later

#include "numbertext.h"

#include "texthelpers.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace lw {

namespace {

// The value rounded to seven significant digits: digits * 10^(exponent - 6),
// 1000000 <= digits <= 9999999.
struct Rounded {
    uint32_t digits;
    int exponent;
};

// Writes the rounded digits in the program's number form.
template<typename Char>
std::size_t formatRounded(bool negative, Rounded r, Char *out)
{
    char digits[8];
    for (int i = 6; i >= 0; --i) {
        digits[i] = static_cast<char>('0' + r.digits % 10);
        r.digits /= 10;
    }
    int count = 7;
    while (count > 1 && digits[count - 1] == '0')
        --count;
    std::size_t n = 0;
    if (negative)
        out[n++] = '-';
    const int e = r.exponent;
    if (e < -4 || e > 6) {
        out[n++] = digits[0];
        if (count > 1) {
            out[n++] = '.';
            for (int i = 1; i < count; ++i)
                out[n++] = digits[i];
        }
        out[n++] = 'E';
        out[n++] = e < 0 ? '-' : '+';
        const int magnitude = std::abs(e);
        out[n++] = static_cast<Char>('0' + magnitude / 10);
        out[n++] = static_cast<Char>('0' + magnitude % 10);
    } else if (e < 0) {
        out[n++] = '.';
        for (int i = 1; i < -e; ++i)
            out[n++] = '0';
        for (int i = 0; i < count; ++i)
            out[n++] = digits[i];
    } else {
        for (int i = 0; i <= e || i < count; ++i) {
            if (i == e + 1)
                out[n++] = '.';
            out[n++] = i < count ? digits[i] : '0';
        }
    }
    return n;
}

Rounded roundExactly(float value)
{
    // d.dddddde±x of the float's exact value; to_chars rounds ties to even.
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(static_cast<double>(value)),
                                   std::chars_format::scientific, 6);
    Rounded r{0, 0};
    const char *p = buf;
    for (; p < res.ptr && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            r.digits = r.digits * 10 + static_cast<uint32_t>(*p - '0');
    }
    std::from_chars(p + 1 + (p[1] == '+'), res.ptr, r.exponent);
    return r;
}

// base^0, base^1, ... base^(N-1), each exact for the tables below.
template<typename T, std::size_t N>
constexpr std::array<T, N> powersOf(T base)
{
    std::array<T, N> p{};
    T v = 1;
    for (T &x : p) {
        x = v;
        v *= base;
    }
    return p;
}

constexpr std::array<double, 23> Powers = powersOf<double, 23>(10);

double scaleByPowerOfTen(double value, int power)
{
    return power >= 0 ? value * Powers[static_cast<std::size_t>(power)]
                      : value / Powers[static_cast<std::size_t>(-power)];
}

// How far a guess of the leading digit's power of ten is off, from the value scaled by it, which
// must have seven digits before the point: 1 for eight or more, -1 for six or fewer.
template<typename Scaled>
constexpr int powerCorrection(Scaled scaled)
{
    return scaled >= Scaled{10000000} ? 1 : scaled < Scaled{1000000} ? -1 : 0;
}

// One exact power of ten and one correctly rounded product land within 2^-29
// of the true scaled value, so only near-ties need the exact expansion.
bool roundFast(float value, Rounded &r)
{
    const double magnitude = std::fabs(static_cast<double>(value));
    int binaryExponent = 0;
    std::frexp(magnitude, &binaryExponent);
    int k = static_cast<int>(std::floor((binaryExponent - 1) * 0.30102999566398120));
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (k < -16 || k > 28)
            return false;
        const double scaled = scaleByPowerOfTen(magnitude, 6 - k);
        if (const int move = powerCorrection(scaled)) {
            k += move;
            continue;
        }
        const double whole = std::floor(scaled);
        const double fraction = scaled - whole;
        if (std::fabs(fraction - 0.5) < 1e-6)
            return false;
        r.digits = static_cast<uint32_t>(whole) + (fraction > 0.5 ? 1 : 0);
        r.exponent = k;
        if (r.digits == 10000000) {
            r.digits = 1000000;
            ++r.exponent;
        }
        return true;
    }
    return false;
}

} // namespace

namespace detail {

std::string numberTextExact(float value)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0.0f)
        return "0";
    char out[24];
    return std::string(out, formatRounded(std::signbit(value), roundExactly(value), out));
}

} // namespace detail

NumberTextResult NumberTextWithValue(float value)
{
    NumberTextResult result;
    Rounded r{};
    if (value != 0.0f && std::isfinite(value) && roundFast(value, r)) {
        result.length = static_cast<uint8_t>(formatRounded(std::signbit(value), r, result.chars));
        // Both factors exact and one rounding: what reading the text gives.
        const double magnitude = scaleByPowerOfTen(r.digits, r.exponent - 6);
        result.readBack = static_cast<float>(std::signbit(value) ? -magnitude : magnitude);
        return result;
    }
    const std::string ascii = detail::numberTextExact(value);
    for (char c : ascii)
        result.chars[result.length++] = static_cast<char16_t>(c);
    result.readBack = TextToNumber(result.text());
    return result;
}

namespace detail {

double digitsOverPowerOfTen(uint64_t digits, int p)
{
    return scaleByPowerOfTen(static_cast<double>(digits), -p);
}

float numberTextValueBeyondIntegers(float value)
{
    Rounded r{};
    if (value != 0.0f && std::isfinite(value) && roundFast(value, r)) {
        const double magnitude = scaleByPowerOfTen(r.digits, r.exponent - 6);
        return static_cast<float>(std::signbit(value) ? -magnitude : magnitude);
    }
    return NumberTextWithValue(value).readBack;
}

} // namespace detail

std::string NumberTextAscii(float value)
{
    const NumberTextResult r = NumberTextWithValue(value);
    return std::string(r.chars, r.chars + r.length);
}

std::u16string NumberText(float value)
{
    return std::u16string(NumberTextWithValue(value).text());
}

std::u16string FixedDecimalText(double value, int decimals, char16_t separator)
{
    char buffer[400];
    const int written = std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    // A view on the buffer: GCC 12 misreads assignments to a std::string here as overlapping.
    std::string_view text(buffer, static_cast<std::size_t>(
                                      std::clamp(written, 0, static_cast<int>(sizeof buffer) - 1)));
    if (text.find('.') != std::string_view::npos) {
        text = text.substr(0, text.find_last_not_of('0') + 1);
        if (text.ends_with('.'))
            text.remove_suffix(1);
    }
    if (text == "-0")
        text.remove_prefix(1);
    std::u16string result(text.begin(), text.end());
    std::ranges::replace(result, u'.', separator);
    return result;
}

} // namespace lw
