// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "analysis/curvepoints.h"
#include "analysis/kzntree.h"
#include "formula/formulaprogram.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lw {

// A formula prepared once for the many values asked of it: the engine's program for what the
// plotter computes, and the tree for the values in double. Its derivatives are derived when first
// asked for, so a table or a search that needs no f'' never pays for one. Not for two threads.
class PreparedFormula {
public:
    explicit PreparedFormula(std::u16string_view formula);

    const std::u16string &formula() const { return m_formula; }
    // The plotter's value at x; none where it draws no point.
    std::optional<double> engine(double x) const;
    // Without a tree, the engine's value stands in; NaN where there is none.
    double value(double x) const;
    // f' and f''; none where the formula has no derivative here.
    const std::optional<KznNode> &first() const;
    const std::optional<KznNode> &second() const;
    // What the search for points calls, with the derivatives up to the order given (0 to 2);
    // the object must outlive it.
    CurveFunctions functions(int derivatives) const;

private:
    std::u16string m_formula;
    FormulaProgram m_program;
    std::optional<KznNode> m_tree;
    mutable std::optional<std::optional<KznNode>> m_first;
    mutable std::optional<std::optional<KznNode>> m_second;
};

// The prepared formulas of the few curves a window works on, one per formula text, so that
// asking again for the same curve reuses what was prepared; the oldest go first.
class PreparedFormulas {
public:
    static constexpr std::size_t Kept = 8;
    std::shared_ptr<const PreparedFormula> of(std::u16string_view formula);

private:
    std::vector<std::shared_ptr<const PreparedFormula>> m_recent; // the newest last
};

} // namespace lw
