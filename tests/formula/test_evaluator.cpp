// SPDX-License-Identifier: GPL-3.0-or-later

#include "formula/evaluator.h"
#include "formula/kznsteps.h"
#include "formula/numeric.h"
#include "formula/texthelpers.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

using namespace lw;

namespace {

constexpr float Inf = std::numeric_limits<float>::infinity();

std::string ascii(std::u16string_view text)
{
    return std::string(text.begin(), text.end());
}

struct EvalCase {
    std::u16string_view formula;
    float value;
    int16_t calcError;
};

// Each formula from a cleared flag: its value by the bits, so that a -0 and a +0 tell apart, and
// the flag after it.
void ExpectEvaluations(std::initializer_list<EvalCase> cases)
{
    for (const EvalCase &c : cases) {
        CalcError = 0;
        FormulaError error = FormulaError::Overflow;
        const float value = CalcFormula(c.formula, &error);
        EXPECT_EQ(std::bit_cast<uint32_t>(value), std::bit_cast<uint32_t>(c.value))
            << ascii(c.formula) << " gives " << value;
        EXPECT_EQ(CalcError, c.calcError) << ascii(c.formula);
        EXPECT_EQ(error, FormulaError::None) << ascii(c.formula);
    }
    CalcError = 0;
}

TEST(CalcFormula, ValuesAndErrorFlag)
{
    ExpectEvaluations({
        // Not a call.
        {u"5", 0, 0},
        {u"", 0, 0},
        {u"x*1", 0, 0},
        // Argument lists.
        {u"SUM()", 0, 0},
        {u"SUM(;)", 0, 0},
        {u"SUM(3)", 3, 0},
        {u"SUM(1;)", 1, 0},
        {u"COS()", 0, 0},
        {u"SUM(1;2;3)", 6, 0},
        {u"DIF(10;1;2)", 7, 0},
        {u"DIF(1;2;3)", -4, 0},
        {u"DIV(8;2;2)", 2, 0},
        {u"POT(2;3;2)", 64, 0},
        {u"AMI(1;2;6)", 3, 0},
        {u"AMI(4)", 4, 0},
        {u"POT(2;10)", 1024, 0},
        {u"SUM(5)", 5, 0},
        {u"PRO(7)", 7, 0},
        {u"DIV(0)", 0, 0},
        {u"SUM(1;PRO(2;3);4)", 11, 0},
        {u"DIV(1;0.5)", 2, 0},
        {u"DIF(;1.5)", -1.5f, 0},
        // Leaves.
        {u"PRO(--2;3)", 6, 0},
        {u"SUM(----2)", 0, 0},
        {u"SUM(1,5;1)", 2.5f, 0},
        {u"SUM(-SIN(1);1)", 1, 0},
        {u"SUM(1;SIN(x))", 1, 0},
        {u"SUM(1E39)", Inf, 0},
        // One-argument functions.
        {u"SIN(0)", 0, 0},
        {u"ABS(-2.5)", 2.5f, 0},
        {u"SQR(0)", 0, 0},
        {u"POT(-8;3)", -512, 0},
        {u"POT(10;39)", Inf, 0},
        // Keywords are exact.
        {u"sum(1;2)", 0, 0},
        {u"FOO(1;2)", 0, 0},
    });
}

TEST(CalcFormula, AFaultKeepsTheAccumulatorFromBeforeTheFaultingStep)
{
    ExpectEvaluations({
        {u"SQR(-1)", 0, -1},
        {u"SQR(DIF(0;1))", 0, -1},
        {u"SUM(SQR(-1);5)", 0, -1},
        {u"PRO(1E30;1E30)", 1e30f, -1},
        {u"SUM(POT(10;39);1)", Inf, -1},
        {u"POT(-8;0.5)", -8, -1},
        {u"ABS(1E39)", 0, -1},
        {u"SUM(0;1E39)", 0, -1},
        {u"SUM(1;PRO(1E30;1E30);5)", 1, -1},
        // A zero divisor is a fault, not a result of 0.
        {u"DIV(1;0)", 1, -1},
        {u"DIV(6;0;2)", 6, -1},
        {u"DIV(0;0)", 0, -1},
    });
}

TEST(CalcFormula, OneArgumentFunctionsTakeTheLastArgument)
{
    CalcError = 0;
    EXPECT_EQ(CalcFormula(u"SIN(1;2)"), static_cast<float>(std::sin(2.0)));
    EXPECT_TRUE(std::isnan(CalcFormula(u"SIN(1E39)"))); // unchecked
    EXPECT_EQ(CalcError, 0);
}

TEST(CalcFormula, FunctionsOfOneArgumentGapLikeANegativeRoot)
{
    ExpectEvaluations({
        // Computed in double, rounded to float.
        {u"EXP(1)", 2.71828175f, 0},
        {u"EXP(-1E39)", 0, 0},
        {u"LGN(10)", 2.30258512f, 0},
        {u"LGN(1E-45)", -103.278931f, 0},
        {u"LGD(1000)", 3, 0},
        {u"LGD(0.001)", -3, 0},
        {u"ASN(1)", 1.57079637f, 0},
        {u"ASN(-0)", -0.0f, 0},
        {u"ACS(-1)", 3.14159274f, 0},
        {u"ATN(1)", 0.785398185f, 0},
        {u"ATN(-1E39)", -1.57079637f, 0},
        {u"SGN(-2)", -1, 0},
        {u"SGN(1E-45)", 1, 0},
        {u"SGN(1E39)", 1, 0},
        {u"SGN(-0)", 0, 0},
        // Outside the domain, or no finite float: a gap with the result 0.
        {u"SQR(-1)", 0, -1},
        {u"EXP(89)", 0, -1},
        {u"LGN(0)", 0, -1},
        {u"LGN(-0)", 0, -1},
        {u"LGD(-1)", 0, -1},
        {u"LGN(1E39)", 0, -1},
        {u"ASN(1.0000001)", 0, -1},
        {u"ACS(-2)", 0, -1},
        {u"SGN(SIN(1E39))", 0, -1},
        {u"SUM(1;EXP(89))", 1, -1},
        // Each argument replaces the result, a gap's 0 too; an empty one reads as 0.
        {u"SQR(4;-1)", 0, -1},
        {u"LGN(4;-1)", 0, -1},
        {u"LGN(0;4)", 0, -1},
        {u"ATN(5;1)", 0.785398185f, 0},
        {u"EXP()", 0, 0},
        {u"EXP(;)", 1, 0},
        {u"LGN(;)", 0, -1},
        {u"SGN(-2;)", -1, 0},
    });
}

TEST(CalcFormula, StructuralFailuresAreFormulaErrors)
{
    std::u16string deepest;
    for (int i = 0; i < 6553; ++i)
        deepest += u"SUM(";
    deepest += u"1" + std::u16string(6553, u')');
    ASSERT_LE(deepest.size(), MaxTextLength);

    const std::pair<std::u16string, FormulaError> cases[] = {
        {u"SUM)(", FormulaError::InvalidArgument},
        {u"SUM(A)C(;1)", FormulaError::InvalidArgument}, // in a nested call
        {u"SUM(1;2" + std::u16string(MaxTextLength, u'0') + u")", FormulaError::Overflow},
        {u"SUM(" + deepest + u")", FormulaError::Overflow},
        {deepest, FormulaError::None},
    };
    for (const auto &[formula, expected] : cases) {
        CalcError = 0;
        FormulaError error = FormulaError::None;
        CalcFormula(formula, &error);
        EXPECT_EQ(error, expected) << ascii(formula.substr(0, 40));
        EXPECT_EQ(CalcError, expected == FormulaError::None ? 0 : -1);
    }
    CalcError = 0;
    EXPECT_EQ(CalcFormula(deepest), 1.0f);
}

TEST(CalcFormula, EveryErrorHasAGermanDescription)
{
    for (auto e : {FormulaError::InvalidArgument, FormulaError::Overflow, FormulaError::TooDeep})
        EXPECT_FALSE(FormulaErrorDescription(e).empty());
}

TEST(IsFunctionTerm, FourthCharacterOpensAndAParenthesisCloses)
{
    EXPECT_TRUE(IsFunctionTerm(u"SIN(x)"));
    EXPECT_TRUE(IsFunctionTerm(u"A)C("));
    EXPECT_FALSE(IsFunctionTerm(u"-SIN(1)"));
    EXPECT_FALSE(IsFunctionTerm(u"SIN(1"));
    EXPECT_FALSE(IsFunctionTerm(u"AB("));
    EXPECT_FALSE(IsFunctionTerm(u""));
}

// The argument k as the original scan finds it: start again at the front of
// the list for every argument.
std::optional<std::u16string_view> locateLiterally(std::u16string_view list, int k)
{
    int level = 0;
    std::size_t start = 0;
    int n = 1;
    const std::size_t last = list.size() - 1;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const char16_t c = list[i];
        if (c == u'(') {
            ++level;
        } else if (c == u')') {
            --level;
            if (i == last && level == 0)
                return list.substr(start, i + 1 - start);
        } else if (c == u';') {
            if (level != 0)
                continue;
            if (n == k)
                return list.substr(start, i - start);
            if (++n == k)
                start = i + 1;
        } else if (i == last) {
            return list.substr(start, i + 1 - start);
        }
    }
    return std::nullopt;
}

TEST(ArgumentWalk, FindsWhatTheArgumentByArgumentScanFinds)
{
    std::mt19937 random(7);
    const std::u16string alphabet = u"();;1x";
    for (int round = 0; round < 20000; ++round) {
        std::u16string list;
        const int length = static_cast<int>(random() % 12);
        for (int i = 0; i < length; ++i)
            list += alphabet[random() % alphabet.size()];
        detail::ArgumentWalk walk(list);
        for (int k = 1; static_cast<float>(k) <= walk.count(); ++k) {
            std::u16string_view found;
            const bool ok = walk.next(k, found);
            const auto expected = locateLiterally(list, k);
            ASSERT_EQ(ok, expected.has_value()) << ascii(list) << " k=" << k;
            if (ok) {
                ASSERT_EQ(ascii(found), ascii(*expected)) << ascii(list) << " k=" << k;
            }
        }
    }
}

} // namespace
