// SPDX-License-Identifier: GPL-3.0-or-later

#include "analysis/analysis.h"
#include "analysis/preparedformula.h"
#include "formula/equation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

using namespace lw;

namespace {

std::u16string kzn(std::u16string_view equation)
{
    const EquationFormula typed = FormulaOfEquation(equation, Notation::Mathematical);
    EXPECT_EQ(typed.fault, EquationFault::None);
    return typed.formula;
}

// Poles and gaps have a NaN for y, which equals nothing.
auto fields(const CurvePoint &p)
{
    return std::tuple(p.kind, p.x, std::isnan(p.y) ? std::optional<double>() : p.y);
}

void expectSamePoints(const std::vector<CurvePoint> &a, const std::vector<CurvePoint> &b)
{
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        EXPECT_EQ(fields(a[i]), fields(b[i])) << i;
}

std::u16string kznOf(const std::optional<DerivedFormula> &derived)
{
    return derived ? derived->kzn : std::u16string();
}

} // namespace

// Asked twice, a prepared formula answers as the text does, whichever derivative it made first.
TEST(PreparedFormula, AnswersAsItsTextDoesHoweverOftenAsked)
{
    const std::u16string other = kzn(u"x/2+1");
    for (const char16_t *equation :
         {u"x^3-3x", u"1/(x-2)", u"sqrt(x+4)", u"|x-2|", u"(x^2-1)/(x-1)", u"sin(x)*x"}) {
        const std::u16string formula = kzn(equation);
        SCOPED_TRACE(std::string(formula.begin(), formula.end()));
        const PreparedFormula prepared(formula), partner(other);
        for (int round = 0; round < 2; ++round) {
            const auto table = ValueTable(prepared, -3, 3, 0.25, true);
            const auto want = ValueTable(formula, -3, 3, 0.25, true);
            ASSERT_EQ(table.size(), want.size());
            for (std::size_t i = 0; i < table.size(); ++i)
                EXPECT_EQ(std::tie(table[i].y, table[i].slope), std::tie(want[i].y, want[i].slope));
            expectSamePoints(IntersectFormulas(prepared, partner, -5, 5),
                             IntersectFormulas(formula, other, -5, 5));
            const FormulaAnalysis got = AnalyseFormula(prepared, -5, 5);
            const FormulaAnalysis text = AnalyseFormula(formula, -5, 5);
            expectSamePoints(got.points, text.points);
            EXPECT_EQ(kznOf(got.first), kznOf(text.first));
            EXPECT_EQ(kznOf(got.second), kznOf(text.second));
        }
    }
}
