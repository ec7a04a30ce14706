// SPDX-License-Identifier: GPL-3.0-or-later

#include "functionnames.h"

#include "formulacheck.h"

namespace lw::detail {

namespace {

constexpr std::size_t LongestName = 6;

struct Alias {
    std::u16string_view name; // in lower case; matches in any case
    std::u16string_view keyword;
};

constexpr Alias Aliases[] = {
    {u"sin", u"SIN"},    {u"cos", u"COS"},    {u"tan", u"TAN"},    {u"sqr", u"SQR"},
    {u"sqrt", u"SQR"},   {u"wurzel", u"SQR"}, {u"abs", u"ABS"},    {u"betrag", u"ABS"},
    {u"exp", u"EXP"},    {u"ln", u"LGN"},     {u"lg", u"LGD"},     {u"log", u"LGD"},
    {u"arcsin", u"ASN"}, {u"asin", u"ASN"},   {u"arccos", u"ACS"}, {u"acos", u"ACS"},
    {u"arctan", u"ATN"}, {u"atan", u"ATN"},   {u"sgn", u"SGN"},    {u"sign", u"SGN"},
};

} // namespace

bool equalsIgnoringCase(std::u16string_view text, std::u16string_view lower)
{
    if (text.size() != lower.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i] >= u'A' && text[i] <= u'Z' ? text[i] + (u'a' - u'A') : text[i];
        if (c != lower[i])
            return false;
    }
    return true;
}

std::u16string_view functionKeyword(std::u16string_view name)
{
    if (name.size() > LongestName)
        return {};
    if (isKnownKeyword(name))
        return name;
    for (const Alias &alias : Aliases) {
        if (equalsIgnoringCase(name, alias.name))
            return alias.keyword;
    }
    return {};
}

std::u16string_view functionNamePrefix(std::u16string_view text)
{
    std::u16string_view longest;
    for (std::size_t n = 1; n <= LongestName && n <= text.size(); ++n) {
        if (!functionKeyword(text.substr(0, n)).empty())
            longest = text.substr(0, n);
    }
    return longest;
}

} // namespace lw::detail
