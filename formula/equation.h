// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>

namespace lw {

enum class Notation { Mathematical, Kzn };

enum class EquationFault {
    None,
    Empty,         // nothing but blanks
    TooLong,       // a KZN formula longer than any formula text may be
    Unconvertible, // mathematical notation that does not convert (too long included)
    Refused,       // would not draw what was typed: an unknown name, a misread number, ...
    Stopped,       // the user stopped the conversion; nothing to say
};

struct EquationFormula {
    EquationFault fault = EquationFault::None;
    std::u16string formula; // the KZN formula, the parameters a to h not yet put in
    std::u16string message; // what to tell the user of a fault, in German
};

// What the draw command and linienwerk-cli make of an equation as typed:
// blanks removed, mathematical notation spelled and converted (yielding to the
// event loop as the converter does), the formula checked in both notations.
// The caller puts the parameters in, so that the draw command reads the panel
// only once the conversion's yields are over.
EquationFormula FormulaOfEquation(std::u16string_view typed, Notation notation);

// True when nothing but blanks was typed; the draw command refuses that
// before it reads its options.
bool IsEmptyEquation(std::u16string_view typed);

} // namespace lw
