// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lw::test {

// A term in mathematical notation, kept as a tree so that a failing case can be shrunk.
struct TermItem;
using Term = std::vector<TermItem>; // operands joined left to right by binary operators

struct TermOperand {
    enum class Kind { Number, Variable, Group, Call };
    Kind kind = Kind::Number;
    std::string text; // the number text or the call's name
    Term inner;       // the group's contents or the call's argument
};

struct TermItem {
    char op = 0;   // the binary operator before the operand; 0 for the first
    char sign = 0; // a unary '+' or '-' before the operand, or 0
    TermOperand operand;
};

std::string TermText(const Term &term);

// A well-formed term without blanks; the same seed always gives the same term.
Term GenerateTerm(uint64_t seed);

// Terms one simplification smaller than `term`, biggest cuts first.
std::vector<Term> ShrinkCandidates(const Term &term);

struct Reference {
    enum class Outcome {
        Value,     // `value` within `bound` of what float evaluation gives
        Fault,     // float evaluation must fail
        Unclear,   // some step lies within rounding of a failure boundary
        Malformed, // the text is no term of the generator's grammar
    };
    Outcome outcome = Outcome::Value;
    double value = 0;
    double bound = 0;
    std::string why; // the fault or the boundary met
};

// Evaluates a term in double precision with ordinary precedence (power left-associative and
// tighter than a sign), bounding the distance to a float evaluation of the same term.
Reference EvaluateReference(std::string_view term, double x);

std::string OutcomeText(const Reference &reference);

} // namespace lw::test
