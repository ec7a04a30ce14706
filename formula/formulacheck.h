// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lw {

// Why a typed equation or a formula would not draw the curve of what was typed.
enum class FormulaFaultKind {
    UnknownName,        // a name that is no function: FOO(x)
    NotANumber,         // an operand that does not read as a whole number: 1.2.3
    MissingOpening,     // a function name without its "(": sin x
    UnknownCharacter,   // a character that stands for nothing: y
    MissingClosing,     // a call that never closes
    Surplus,            // text after a closed call, within its argument or the formula
    MissingArgument,    // SIN() or SUM(1;): a last argument that would not be read
    NotAFormula,        // a KZN formula that is no call at all: 2*x
    MissingOperand,     // an operator with nothing after it: 2x+
    OperandBefore,      // an operator or exponent with nothing before it: *2, ²x
    DoubleOperator,     // x**2, x+*2
    TwoNumbers,         // numbers side by side with only blanks between them: 2 3
    CommaWithoutDigit,  // x,5
    OneArgument,        // SIN(x;2): a second argument that would be ignored
    ChainedPower,       // x^2^3: grouped from the left, which nobody means
    AmbiguousInverse,   // sin^-1(x): the reciprocal or the inverse function?
    InvisibleCharacter, // a character better named by its code point
};

struct FormulaFault {
    FormulaFaultKind kind = FormulaFaultKind::UnknownCharacter;
    std::u16string part; // the offending part as written
    // Index of the part in the checked text; npos where it cannot be placed.
    std::size_t position = std::u16string_view::npos;
};

// Whether a KZN formula draws what it says: one call whose keywords are all
// known, each leaf empty (where it reads as 0), x, a parameter a to h, or a
// number text read to its last character. The first fault found, if any.
std::optional<FormulaFault> CheckFormula(std::u16string_view formula);

// The line that names the fault, "Unbekannter Name: 'FOO'", followed by
// " an Stelle N" when `place` (1-based) is given; a bracket that is never
// closed names its place inside: "Zu '(' an Stelle 1 fehlt ')'".
std::u16string FormulaFaultText(const FormulaFault &fault, std::optional<int> place);

// Keyword lookups shared with the spelling of typed terms.
namespace detail {
bool isKnownKeyword(std::u16string_view name);
// A keyword whose function takes one argument: SIN, SQR, ...
bool takesOneArgument(std::u16string_view keyword);
} // namespace detail

} // namespace lw
