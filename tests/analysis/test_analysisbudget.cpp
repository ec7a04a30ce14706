// SPDX-License-Identifier: GPL-3.0-or-later
// The analysis's time budget on a clock the test moves.

#include "analysis/analysis.h"
#include "analysis/preparedformula.h"
#include "formula/equation.h"
#include "tests/formula/seededrandom.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

using namespace lw;

namespace {

// The answer comes with this much of the budget to spare.
constexpr long Spare = 10;

bool byPlace(const CurvePoint &a, const CurvePoint &b)
{
    return std::tie(a.x, a.kind) < std::tie(b.x, b.kind);
}

class AnalysisBudget : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetAnalysisClock([this] { return now; });
    }
    void TearDown() override { SetAnalysisClock({}); }

    // The analysis asks the clock, then the caller's stop, which moves the clock on by a
    // millisecond every `asksPerMs` asks; 0 leaves it standing.
    FormulaAnalysis analyse(long asksPerMs)
    {
        asks = 0;
        return AnalyseFormula(formula, -1000, 1000, [&] {
            ++asks;
            if (asksPerMs > 0 && asks % asksPerMs == 0)
                ++now;
            return false;
        });
    }

    // Far denser than any grid: the search alone ends at its evaluation cap.
    const PreparedFormula formula{
        FormulaOfEquation(u"tan(1000*x)", Notation::Mathematical).formula};
    long long now = 1'000'000;
    long asks = 0;
};

TEST_F(AnalysisBudget, EndsOnceTheClockPassesItAndKeepsWhatItFound)
{
    long cappedAsks = 0;
    const std::vector<CurvePoint> all =
        FindCurvePoints(formula.functions(2), -1000, 1000, [&] { return ++cappedAsks, false; });

    const FormulaAnalysis still = analyse(0);
    EXPECT_EQ(asks, cappedAsks) << "a clock standing still leaves the evaluation cap to end it";
    EXPECT_EQ(still.points.size(), all.size());

    test::SeededRandom random(7);
    bool someFound = false;
    for (int round = 0; round < 12; ++round) {
        const long asksPerMs = 1 + random.below(150);
        SCOPED_TRACE(asksPerMs);
        const FormulaAnalysis part = analyse(asksPerMs);
        // The first reading at or past the budget less its margin ends it, and no later one.
        EXPECT_EQ(asks, std::min(cappedAsks, (AnalysisBudgetMs - Spare) * asksPerMs));
        EXPECT_TRUE(std::ranges::includes(all, part.points, byPlace));
        someFound |= !part.points.empty() && part.points.size() < all.size();
    }
    EXPECT_TRUE(someFound);
}

} // namespace
