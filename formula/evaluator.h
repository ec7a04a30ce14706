// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <string_view>

namespace lw {

// A structural failure of a formula text (not an arithmetic fault).
enum class FormulaError {
    None,
    InvalidArgument, // a call whose first "(" is its last character
    Overflow,        // a text longer than MaxTextLength
    TooDeep,         // nesting beyond MaxFormulaDepth
};

// Calls nested deeper than this are a formula error instead of a stack
// overflow. A formula within MaxTextLength nests at most 6553 deep.
inline constexpr int MaxFormulaDepth = 6600;

// The German description shown after "FEHLER: ".
std::u16string FormulaErrorDescription(FormulaError error);
// The whole message for a formula error: "FEHLER: " and the description.
std::u16string FormulaErrorMessage(FormulaError error);

// Evaluates a KZN formula text. Arithmetic faults set CalcError to -1 and
// freeze the result; a structural failure sets CalcError to -1 and is
// reported through `error` (the returned value is then meaningless).
float CalcFormula(std::u16string_view formula, FormulaError *error = nullptr);

bool IsFunctionTerm(std::u16string_view text);

} // namespace lw
