// SPDX-License-Identifier: GPL-3.0-or-later

#include "texthelpers.h"

#include "charclasses.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace lw {

std::optional<std::u16string> RemoveSpaces(std::u16string_view text)
{
    if (text.size() > MaxTextLength)
        return std::nullopt;
    std::u16string result;
    result.reserve(text.size());
    for (char16_t c : text) {
        if (c != u' ')
            result.push_back(c);
    }
    return result;
}

std::optional<std::u16string> ReplaceText(char16_t find, std::u16string_view replacement,
                                          std::u16string_view text)
{
    if (text.size() > MaxTextLength)
        return std::nullopt;
    std::u16string result;
    result.reserve(text.size() + 8 * replacement.size());
    // One pass: a replacement is never scanned again, so a replacement that
    // holds the searched character cannot loop.
    for (char16_t c : text) {
        if (c == find)
            result.append(replacement);
        else
            result.push_back(c);
        if (result.size() > MaxTextLength)
            return std::nullopt;
    }
    return result;
}

namespace {

using detail::isDigit;

bool isSkipped(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

// Collects the characters of the leading number as ASCII, the way Val reads
// them, and the decimal exponent of its first significant digit (saturated),
// which tells an overflow from an underflow when the value is out of range.
struct NumberScan {
    std::string chars;
    bool negative = false;
    bool hasDigits = false;
    long magnitude = 0;
    std::size_t length = 0; // characters read, blanks among them
};

// The first character at or after i that is not skipped, with i moved to it; 0 at the end.
char16_t nextUnskipped(std::u16string_view text, std::size_t &i)
{
    while (i < text.size() && isSkipped(text[i]))
        ++i;
    return i < text.size() ? text[i] : u'\0';
}

// The exponent after the marker at `marker` (saturated), taken into the scan; 0 and the scan as it
// was when no digit follows the marker and its sign.
long scanExponent(std::u16string_view text, std::size_t marker, NumberScan &scan)
{
    std::size_t j = marker + 1;
    std::string expChars = "e";
    char16_t e = nextUnskipped(text, j);
    bool expNegative = false;
    if (e == u'+' || e == u'-') {
        expNegative = e == u'-';
        expChars.push_back(static_cast<char>(e));
        ++j;
        e = nextUnskipped(text, j);
    }
    long exponent = 0;
    bool expDigits = false;
    for (; isDigit(e); ++j, e = nextUnskipped(text, j)) {
        expDigits = true;
        expChars.push_back(static_cast<char>(e));
        exponent = std::min(exponent * 10 + (e - u'0'), 100000L);
    }
    if (!expDigits)
        return 0;
    scan.length = j;
    scan.chars += expChars;
    return expNegative ? -exponent : exponent;
}

NumberScan scanNumber(std::u16string_view text)
{
    NumberScan scan;
    std::size_t i = 0;
    const auto next = [&] {
        const char16_t c = nextUnskipped(text, i);
        return c == u',' ? u'.' : c;
    };
    char16_t c = next();
    if (c == u'+' || c == u'-') {
        scan.negative = c == u'-';
        ++i;
        c = next();
    }
    bool seenPoint = false;
    bool seenSignificant = false;
    long intDigits = 0;
    long leadingFractionZeros = 0;
    for (;; ++i, c = next()) {
        if (isDigit(c)) {
            scan.hasDigits = true;
            if (c != u'0')
                seenSignificant = true;
            if (!seenPoint && seenSignificant)
                ++intDigits;
            if (seenPoint && !seenSignificant)
                ++leadingFractionZeros;
            scan.chars.push_back(static_cast<char>(c));
        } else if (c == u'.' && !seenPoint) {
            seenPoint = true;
            scan.chars.push_back('.');
        } else {
            break;
        }
    }
    if (!scan.hasDigits)
        return scan;
    scan.length = i;
    const bool marker = c == u'E' || c == u'e' || c == u'D' || c == u'd';
    const long exponent = marker ? scanExponent(text, i, scan) : 0;
    scan.magnitude = (intDigits > 0 ? intDigits : -leadingFractionZeros) + exponent;
    return scan;
}

} // namespace

std::size_t NumberTextLength(std::u16string_view text)
{
    return scanNumber(text).length;
}

float TextToNumber(std::u16string_view text)
{
    const NumberScan scan = scanNumber(text);
    if (!scan.hasDigits)
        return 0.0f;
    double value = 0.0;
    const char *first = scan.chars.data();
    const char *last = first + scan.chars.size();
    const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range)
        value = scan.magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    else if (ec != std::errc())
        value = 0.0;
    (void)end;
    return static_cast<float>(scan.negative ? -value : value);
}

} // namespace lw
