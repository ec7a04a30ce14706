// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "formulacheck.h"

#include <optional>
#include <string>
#include <string_view>

namespace lw {

struct SpelledTerm {
    std::u16string term;               // what the converter reads; empty after a fault
    std::optional<FormulaFault> fault; // its position indexes the typed text
};

// Reads an equation in mathematical notation as pupils type it, blanks and
// all, and writes its term the way the converter reads it: a leading "y =" or
// "f(x) =" dropped, function names in any case and their aliases as keywords
// (sin -> SIN, ln -> LGN, log10 -> LGD), with or without brackets (sin x),
// X as x, pi and π as 3.141593, the "*" that may be left out (2x -> 2*x),
// |x| as ABS(x), typographic signs as operators (x² -> x^2, √x -> SQR(x),
// ½ -> (1/2)). One pass; the first fault names what would not draw what was
// typed, and where. An equation of nothing but blanks gives an empty term.
SpelledTerm SpellTerm(std::u16string_view typed);

} // namespace lw
