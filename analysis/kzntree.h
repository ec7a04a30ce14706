// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A KZN formula as a tree, for the parts of a curve analysis that work on the formula itself
// (derivatives, the printed form) rather than on its values at points.

#include "formula/kznsteps.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lw {

struct KznNode {
    using Keyword = detail::Keyword;
    enum class Kind { Number, X, Call };

    Kind kind = Kind::Number;
    double value = 0;                   // a Number's
    Keyword keyword = Keyword::Unknown; // a Call's
    std::vector<KznNode> arguments;     // a Call's, in order

    static KznNode number(double value);
    static KznNode x();
    static KznNode call(Keyword keyword, std::vector<KznNode> arguments);

    friend bool operator==(const KznNode &, const KznNode &) = default;
};

// Every function here recurses along the tree. The evaluator takes calls nested up to
// MaxFormulaDepth, but no equation a pupil types comes near this, and the derivative of a tree
// this deep is simplified within some 300 KB of stack (optimised build), which any thread has.
inline constexpr int MaxKznTreeDepth = 200;

// The keyword as a formula writes it ("SIN"); empty for Unknown.
std::u16string_view KeywordName(KznNode::Keyword keyword);
// SIN, SQR, ...: the keywords of a function of one argument, as opposed to the folding ones.
bool IsFunctionKeyword(KznNode::Keyword keyword);

// The tree of a formula, read as CalcFormula reads it: an empty argument is 0, an empty last
// argument is skipped, a leaf is x, -x, --x or a number text (read as TextToNumber reads it,
// but kept in double). "-x" becomes DIF(;x). nullopt for what the tree cannot hold faithfully:
// an unknown keyword, a letter other than x (put the parameters in first), malformed text,
// a call without argument, a function called with more than one, AMI with an empty last
// argument (the engine then never divides), nesting deeper than MaxKznTreeDepth, a text longer
// than MaxTextLength.
std::optional<KznNode> ParseKzn(std::u16string_view formula);

// The value at x in double precision, folded as the engine folds (DIF(a;b;c) = a-b-c, POT from
// the left, AMI the mean); NaN where there is no real value: a division by 0, the root or
// logarithm of a negative number, the logarithm of 0, arcsin outside [-1; 1], a negative base
// with an exponent that is no whole number, 0 to a negative power. Unlike the engine it knows
// no float range: exp(100) is a value here.
double EvaluateDouble(const KznNode &node, double x);

// The formula text. Numbers are written as the shortest text that reads back as the same
// double ("." as decimal point, "E" before an exponent, which both the evaluator and the
// converter read), infinity as 1E999; a number that is no number (NaN) as DIV(0;0), which has
// no value either. A +0 first argument of a SUM or DIF of two is left empty, as the converter
// writes a sign: DIF(;x). A lone number or x is written times 1, as the draw command converts
// a lone operand, since the evaluator reads only calls.
std::u16string ToKzn(const KznNode &node);

// The text a number (no NaN) is written with, in either notation: "2.5", "1E-7", "-3", 1E999
// for infinity.
std::u16string KznNumberText(double value);

// How deep the calls nest: 0 for a leaf.
int KznTreeDepth(const KznNode &node);

} // namespace lw
