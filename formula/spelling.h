#pragma once

#include "formulacheck.h"

#include <optional>
#include <string>
#include <string_view>

namespace lw {

struct SpelledTerm {
    std::u16string term;               // what the converter reads; empty after a fault
    std::optional<FormulaFault> fault; // its position indexes the term as given
};

// Reads a term in mathematical notation as pupils write it, blanks already
// removed, and writes it the way the converter reads it: function names in
// any case and their aliases as keywords (sin -> SIN, ln -> LGN), X as x, pi
// and π as 3.141593, the "*" that may be left out (2x -> 2*x), typographic
// signs as operators (x² -> x^2, √x -> SQR(x)). One pass; the first fault
// names what cannot be read.
SpelledTerm SpellTerm(std::u16string_view term);

} // namespace lw
