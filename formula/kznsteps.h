// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Shared by the text evaluator and the compiled formula, so both fold alike.

#include "numeric.h"

#include <string_view>

namespace lw::detail {

enum class Keyword {
    Sum,
    Dif,
    Pro,
    Div,
    Pot,
    Ami,
    Sqr,
    Sin,
    Cos,
    Tan,
    Abs,
    Exp,
    Lgn,
    Lgd,
    Asn,
    Acs,
    Atn,
    Sgn,
    Unknown
};

Keyword keywordOf(std::u16string_view name);

// A function of one argument (SIN, SQR, ...), not one that folds any number of them (SUM, ...).
inline bool TakesOneArgument(Keyword keyword)
{
    switch (keyword) {
    case Keyword::Sum:
    case Keyword::Dif:
    case Keyword::Pro:
    case Keyword::Div:
    case Keyword::Pot:
    case Keyword::Ami:
    case Keyword::Unknown: return false;
    default: return true;
    }
}

// One operation step of argument `index`; an arithmetic fault sets CalcError
// and keeps the accumulator.
inline float applyStep(Keyword keyword, float acc, float value, int index, float count)
{
    StepResult r;
    switch (keyword) {
    case Keyword::Sum: r = CalcSum(acc, value, index); break;
    case Keyword::Dif: r = CalcDif(acc, value, index); break;
    case Keyword::Pro: r = CalcPro(acc, value, index); break;
    case Keyword::Div: r = CalcDiv(acc, value, index); break;
    case Keyword::Pot: r = CalcPot(acc, value, index); break;
    case Keyword::Ami: r = CalcAmi(acc, value, index, count); break;
    case Keyword::Sqr: return CalcSqr(value);
    // The functions of one argument are computed in double. Outside their domains log, log10, asin
    // and acos give NaN or -inf, so the check of the result covers the domain too.
    case Keyword::Sin: return static_cast<float>(std::sin(static_cast<double>(value)));
    case Keyword::Cos: return static_cast<float>(std::cos(static_cast<double>(value)));
    case Keyword::Tan: return static_cast<float>(std::tan(static_cast<double>(value)));
    case Keyword::Abs: r = CalcAbs(value); break;
    case Keyword::Exp: return checkedFunction(std::exp(static_cast<double>(value)));
    case Keyword::Lgn: return checkedFunction(std::log(static_cast<double>(value)));
    case Keyword::Lgd: return checkedFunction(std::log10(static_cast<double>(value)));
    case Keyword::Asn: return checkedFunction(std::asin(static_cast<double>(value)));
    case Keyword::Acs: return checkedFunction(std::acos(static_cast<double>(value)));
    case Keyword::Atn: return checkedFunction(std::atan(static_cast<double>(value)));
    case Keyword::Sgn: return CalcSgn(value);
    case Keyword::Unknown: return acc;
    }
    if (!r) {
        CalcError = -1;
        return acc;
    }
    return *r;
}

// The argument list of one call: how many arguments it counts, and a walk
// that hands out each argument's text, or nothing where the scan of the
// argument list finds none (an empty list, a trailing ";", an open "(").
class ArgumentWalk {
public:
    explicit ArgumentWalk(std::u16string_view list);
    float count() const { return m_count; }
    // Argument k (1-based, called for k = 1, 2, ... in order).
    bool next(int k, std::u16string_view &argument);

private:
    std::u16string_view m_list;
    float m_count = 1;
    bool m_lastFound = false;
    std::size_t m_pos = 0;
    int m_level = 0;
};

// A leaf argument's value: a leading "--" (a minus before a substituted
// negative number) is dropped, the rest read as a number.
float leafValue(std::u16string_view text);

} // namespace lw::detail
