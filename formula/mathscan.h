// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// How the converter scans mathematical notation, shared with the normalisation
// of a typed term.

#include "charclasses.h"

#include <string_view>

namespace lw::detail {

// The sign of an exponent (1E-3, 2.5E+4, 5,E-1) belongs to its number.
inline bool isExponentSign(std::u16string_view text, std::size_t i)
{
    if (!isSign(text[i]) || i < 2 || text[i - 1] != u'E')
        return false;
    const char16_t before = text[i - 2];
    return isNumberCharacter(before);
}

// A sign directly after another operator belongs to the operand after it (x*-1).
inline bool isSignAfterOperator(std::u16string_view text, std::size_t i)
{
    return isSign(text[i]) && i > 0 && isOperator(text[i - 1]);
}

inline int operatorPriority(char16_t c)
{
    return isSign(c) ? 3 : (c == u'*' || c == u'/') ? 2 : 1;
}

inline std::u16string_view operatorName(char16_t c)
{
    switch (c) {
    case u'+': return u"SUM";
    case u'-': return u"DIF";
    case u'*': return u"PRO";
    case u'/': return u"DIV";
    default: return u"POT";
    }
}

// The loosest, rightmost operator outside parentheses; npos when there is none.
inline std::size_t findSplitPoint(std::u16string_view text)
{
    int depth = 0;
    int best = 0;
    std::size_t position = std::u16string_view::npos;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            --depth;
        } else if (depth == 0 && isOperator(c) && !isSignAfterOperator(text, i)
                   && !isExponentSign(text, i) && operatorPriority(c) >= best) {
            best = operatorPriority(c);
            position = i;
        }
    }
    return position;
}

} // namespace lw::detail
