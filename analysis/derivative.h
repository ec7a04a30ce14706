// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Derivatives of KZN formulas, written the way a pupil would write them down.

#include "analysis/kzntree.h"

#include <cstddef>
#include <optional>

namespace lw {

// The formula so that a pupil recognises it, with the same value wherever the given one has
// one (it may have a value where the given one has none: x/x is 1). Sums and products are
// flattened to collect like terms (2x + 3x is 5x) and the powers of one base (x·x² is x³);
// numbers are folded exactly as fractions of decimals (0.1·3 is 0.3, x/3 stays x/3); a sign
// goes in front (-2x, not x·(-2)) or into a bracket that starts with a minus; a number or power
// of x before a bracket of a polynomial is multiplied out (2x(x+1) is 2x²+2x), other brackets
// stay; a power that all terms of a fraction's top share cancels against the bottom; an
// exponential that all terms of a sum share is taken out, (1-x)·e^(-x). A polynomial standing
// alone is written in falling powers (-2x+1), any other sum with a positive term first (1-ln(x)).
// The result has only the shapes the converter writes, so that ToMathematical prints it
// exactly: binary operators, a sign as DIF(;u), no negative numbers. Simplifying it again
// changes nothing.
KznNode Simplify(const KznNode &node);

// d/dx, simplified. nullopt for the Unknown keyword, which has no derivative, and for a
// derivative too big to show: deeper than MaxKznTreeDepth (a sum of more terms than that
// included), or one whose unsimplified form outgrows MaxDerivativeNodes (the chain rule copies
// the inner functions, so nesting makes it grow with the square of the depth). Where the formula
// is not differentiable the result may still have a value: |x|' is sgn(x), 0 at 0. f^g with
// both depending on x is derived through ln(f), as pupils do for f > 0; where f < 0 the
// derivative has no value.
inline constexpr std::size_t MaxDerivativeNodes = 20'000;
std::optional<KznNode> Derive(const KznNode &node);

} // namespace lw
