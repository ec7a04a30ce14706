// SPDX-License-Identifier: GPL-3.0-or-later

#include "analysis/analysis.h"
#include "formula/equation.h"

#include <QtGlobal>

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

using namespace lw;

namespace {

std::string Shown(const std::vector<CurvePoint> &points)
{
    std::string text;
    for (const CurvePoint &p : points)
        text += std::to_string(int(p.kind)) + " " + std::to_string(p.x) + " " + std::to_string(p.y)
                + "\n";
    return text;
}

std::vector<CurvePoint> Analysed(const std::string &equation)
{
    const EquationFormula typed =
        FormulaOfEquation(std::u16string(equation.begin(), equation.end()), Notation::Mathematical);
    EXPECT_EQ(typed.fault, EquationFault::None) << equation;
    return AnalyseFormula(typed.formula, -5, 5).points;
}

// (x-a)^k (x-b) multiplied out, coefficients highest first; the products of halves are exact.
std::string Expanded(double a, int k, std::optional<double> b)
{
    std::vector<double> c{1};
    auto times = [&](double root) {
        std::vector<double> next(c.size() + 1, 0);
        for (std::size_t i = 0; i < c.size(); ++i) {
            next[i] += c[i];
            next[i + 1] -= root * c[i];
        }
        c = next;
    };
    for (int i = 0; i < k; ++i)
        times(a);
    if (b)
        times(*b);
    std::string text;
    for (std::size_t i = 0; i < c.size(); ++i) {
        char term[64];
        std::snprintf(term, sizeof term, "%+.17g*x^%zu", c[i], c.size() - 1 - i);
        text += term;
    }
    return text;
}

// A root of order three or more is a point however the polynomial is written: the expanded
// form has the points of the factored one, where single precision rounds it to noise.
TEST(MultipleRoots, ExpandedPolynomialsHaveThePointsOfTheirFactoredForm)
{
    std::mt19937 random(5);
    // LW_PROPERTY_ROUNDS runs it longer by hand.
    const int rounds = qEnvironmentVariableIntValue("LW_PROPERTY_ROUNDS");
    for (int round = 0; round < (rounds > 0 ? rounds : 400); ++round) {
        const double a = int(random() % 17) / 2.0 - 4;
        const int k = 3 + int(random() % 4);
        std::optional<double> b = int(random() % 17) / 2.0 - 4;
        if (*b == a || round % 2)
            b.reset();
        char factored[64];
        std::snprintf(factored, sizeof factored, "(x-(%g))^%d", a, k);
        std::string reference = factored;
        if (b)
            reference += "*(x-(" + std::to_string(*b) + "))";
        const std::string expanded = Expanded(a, k, b);
        const std::vector<CurvePoint> want = Analysed(reference), found = Analysed(expanded);
        const std::string context = expanded + "\nwant\n" + Shown(want) + "found\n" + Shown(found);
        if (found.size() != want.size()) {
            ADD_FAILURE() << context;
            continue;
        }
        for (std::size_t i = 0; i < want.size(); ++i) {
            EXPECT_EQ(found[i].kind, want[i].kind) << context;
            EXPECT_NEAR(found[i].x, want[i].x, 1e-6) << context;
            EXPECT_NEAR(found[i].y, want[i].y, 1e-6 * std::max(1.0, std::abs(want[i].y)))
                << context;
        }
    }
}

} // namespace
