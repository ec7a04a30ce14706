// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The character classes every reader of formula text shares: digits, letters,
// operators, and the typographic characters a pupil may type.

#include <string>
#include <string_view>

namespace lw::detail {

constexpr bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

constexpr bool isAsciiLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// A digit, "." or ",": what a number text is made of, its exponent aside.
constexpr bool isNumberCharacter(char16_t c)
{
    return isDigit(c) || c == u'.' || c == u',';
}

constexpr bool isParameter(char16_t c)
{
    return c >= u'a' && c <= u'h';
}

// x or a parameter: what a value is put in for.
constexpr bool isVariable(char16_t c)
{
    return c == u'x' || isParameter(c);
}

constexpr bool isSign(char16_t c)
{
    return c == u'+' || c == u'-';
}

constexpr bool isOperator(char16_t c)
{
    return isSign(c) || c == u'*' || c == u'/' || c == u'^';
}

// Where the run of ASCII letters from `from` ends.
constexpr std::size_t letterRunEnd(std::u16string_view text, std::size_t from)
{
    while (from < text.size() && isAsciiLetter(text[from]))
        ++from;
    return from;
}

// Where the run of number characters from `from` ends.
constexpr std::size_t numberRunEnd(std::u16string_view text, std::size_t from)
{
    while (from < text.size() && isNumberCharacter(text[from]))
        ++from;
    return from;
}

// The character at `i` as the user sees it: a surrogate pair whole.
constexpr std::u16string_view characterAt(std::u16string_view text, std::size_t i)
{
    const bool pair = i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF
                      && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
    return text.substr(i, pair ? 2 : 1);
}

// Separates what stands on either side and means nothing else.
constexpr bool isTypedBlank(char16_t c)
{
    switch (c) {
    case u' ':
    case u'\t':
    case u'\n':
    case u'\r':
    case u'\u00A0': // no-break space
    case u'\u202F': // narrow no-break space
    case u'\u205F':
    case u'\u3000': return true;
    default:
        return c >= u'\u2000' && c <= u'\u200A'; // en quad to hair space, thin space among them
    }
}

// Invisible marks a text may carry from a word processor; read as if not typed.
constexpr bool isIgnoredCharacter(char16_t c)
{
    switch (c) {
    case u'\u200B': // zero-width space
    case u'\u200C':
    case u'\u200D':
    case u'\u2060': // word joiner
    case u'\uFEFF': // byte order mark
    case u'\u00AD': // soft hyphen
        return true;
    default: return false;
    }
}

// The ASCII sign a typographic one stands for (− -> '-', · -> '*', ÷ -> '/'); the
// character itself when it stands for no other.
constexpr char16_t operatorSignOf(char16_t c)
{
    switch (c) {
    case u'\u2212': // minus sign
    case u'\u2013': // en dash
    case u'\u2014': // em dash
    case u'\u2010': // hyphen
    case u'\u2011': // non-breaking hyphen
    case u'\uFF0D': // fullwidth hyphen-minus
        return u'-';
    case u'\u00B7': // middle dot
    case u'\u22C5': // dot operator
    case u'\u00D7': // multiplication sign
    case u'\u2219': // bullet operator
    case u'\u2022': // bullet
        return u'*';
    case u'\u00F7':
    case u':': return u'/';
    default: return c;
    }
}

// ⁰ to ⁹ as 0 to 9; -1 for any other character.
constexpr int superscriptDigit(char16_t c)
{
    switch (c) {
    case u'\u2070': return 0;
    case u'\u00B9': return 1;
    case u'\u00B2': return 2;
    case u'\u00B3': return 3;
    default: return c >= u'\u2074' && c <= u'\u2079' ? c - u'\u2070' : -1;
    }
}

inline constexpr char16_t SuperscriptMinus = u'\u207B';
constexpr bool isSuperscript(char16_t c)
{
    return c == SuperscriptMinus || superscriptDigit(c) >= 0;
}

// ½ -> {1, 2}; {0, 0} for a character that is no fraction.
struct VulgarFraction {
    int numerator = 0;
    int denominator = 0;
};
constexpr VulgarFraction vulgarFraction(char16_t c)
{
    constexpr VulgarFraction Fractions[] = {
        {1, 7}, {1, 9}, {1, 10}, {1, 3}, {2, 3}, {1, 5}, {2, 5}, {3, 5},
        {4, 5}, {1, 6}, {5, 6},  {1, 8}, {3, 8}, {5, 8}, {7, 8},
    };
    switch (c) {
    case u'\u00BC': return {1, 4};
    case u'\u00BD': return {1, 2};
    case u'\u00BE': return {3, 4};
    default:
        if (c >= u'\u2150' && c <= u'\u215E')
            return Fractions[c - u'\u2150'];
        return {};
    }
}

// Whether a character the reader does not know is better named by its code
// point than shown: one that cannot be seen, or one that looks like a letter,
// digit or sign the reader knows (a Cyrillic х, a fullwidth ｘ).
bool isNamedByCodePoint(std::u16string_view character);
// "U+200B" for the character (a surrogate pair read as one).
std::u16string codePointName(std::u16string_view character);

} // namespace lw::detail
