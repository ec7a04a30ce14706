// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A KZN formula in the notation pupils type, such that converting it gives the formula back.

#include "analysis/kzntree.h"

#include <string>

namespace lw {

// The formula as the converter reads it (FormulaOfEquation with Notation::Mathematical): with
// the brackets its precedence needs and no others, "*" for every product, "." as decimal
// point, sin, cos, tan, sqrt, |u|, exp, ln, lg, arcsin, arccos, arctan and sgn; a fold that is
// no binary operator (SUM of one or three arguments, AMI) as its KZN call, which the converter
// keeps. Converting the text gives exactly ToKzn(node) for every shape the converter writes,
// and for everything Simplify writes. Other shapes print to the same value: a negative number
// (-2 reads back as DIF(;2)), a -0 first argument of a sign, a call without arguments (0), a
// function called with more than one argument (of its last one), an Unknown keyword (no
// value: 0/0).
std::u16string ToMathematical(const KznNode &node);

} // namespace lw
