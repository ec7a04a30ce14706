// SPDX-License-Identifier: GPL-3.0-or-later

#include "formula/formulaprogram.h"
#include "formula/numbertext.h"
#include "formula/numeric.h"
#include "formula/texthelpers.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <random>

using namespace lw;

namespace {

std::string ascii(std::u16string_view text)
{
    return std::string(text.begin(), text.end());
}

struct Outcome {
    uint32_t bits;
    int16_t calcError;
    FormulaError error;
    bool operator==(const Outcome &) const = default;
};

// What the plotter's text procedure gives for one sample.
Outcome viaText(std::u16string_view formula, std::u16string_view xText, int16_t startError)
{
    CalcError = startError;
    const auto text = ReplaceText(u'x', xText, formula);
    if (!text)
        return {0, -1, FormulaError::Overflow};
    FormulaError error = FormulaError::None;
    const float v = CalcFormula(*text, &error);
    return {std::bit_cast<uint32_t>(error == FormulaError::None ? v : 0.0f), CalcError, error};
}

Outcome viaProgram(const FormulaProgram &program, std::u16string_view xText, int16_t startError)
{
    CalcError = startError;
    FormulaError error = FormulaError::None;
    const float v = program.evaluate(xText, &error);
    return {std::bit_cast<uint32_t>(error == FormulaError::None ? v : 0.0f), CalcError, error};
}

const std::u16string_view XTexts[] = {
    u"0",
    u"1",
    u"-1",
    u".5",
    u"-.5",
    u"2.5",
    u"-9.9",
    u"1E-05",
    u"-1.234568E+07",
    u"1.862645E-06",
    u"INF",
    u"-INF",
    u"NAN",
    u"",
    u"--5", // x alone as an argument reads as a leaf: the "--" is dropped
};

const float XValues[] = {0.0f,
                         -0.0f,
                         1.0f,
                         -2.5f,
                         0.1f,
                         1e-5f,
                         -12345678.0f,
                         1.862645e-6f,
                         std::numeric_limits<float>::infinity(),
                         std::numeric_limits<float>::quiet_NaN()};

void expectSameEverywhere(std::u16string_view formula)
{
    const FormulaProgram program(formula);
    for (float x : XValues) {
        const std::u16string xText = NumberText(x);
        const Outcome expected = viaText(formula, xText, 0);
        CalcError = 0;
        FormulaError error = FormulaError::None;
        const float v = program.evaluate(x, &error);
        const Outcome actual{std::bit_cast<uint32_t>(error == FormulaError::None ? v : 0.0f),
                             CalcError, error};
        ASSERT_EQ(actual, expected) << ascii(formula) << " with x = " << ascii(xText);
    }
    for (std::u16string_view xText : XTexts) {
        for (int16_t startError : {int16_t(0), int16_t(-1)}) {
            const Outcome expected = viaText(formula, xText, startError);
            const Outcome actual = viaProgram(program, xText, startError);
            ASSERT_EQ(actual, expected) << ascii(formula) << " with x = " << ascii(xText)
                                        << ", CalcError before " << startError;
        }
    }
}

TEST(FormulaProgram, AgreesWithTheTextProcedure)
{
    const std::u16string_view formulas[] = {
        u"DIF(SUM(PRO(2;POT(x;2));PRO(3;x));4)",
        u"DIV(1;x)",
        u"SQR(x)",
        u"POT(x;x)",
        u"AMI(x;x;3)",
        u"SUM(x;1;)",
        u"SUM(-x;1)",
        u"DIF(3;--x)",
        u"SUM(1x;2)",
        u"SUM(x5;1)",
        u"SUM(2E-x;1)",
        u"x(1)",
        u"xSUM(1;2)",
        u"SUM(xx(1);2)",
        u"SUM(x(1);2)",
        u"SUM(ABx(1);2)",
        u"SUM(ABC(x;1))",
        u"SUM(A)C(;x)",
        u"SUM(1;SUM(x;x)",
        u"SUM(1;(x;2))",
        u"SIN(x;x)",
        u"TAN(PRO(x;1E30))",
        u"ABS(DIV(x;1E-30))",
        u"SUM(DIV(x;0);SQR(-1))",
        u"SUM(EXP(x);LGN(x);LGD(x))",
        u"SUM(ASN(x);ACS(x);ATN(x);SGN(x))",
        u"SGN(-x;LGN(x))",
        u"PRO(x;SGN(SIN(x)))",
        u"LGN(x;)",
        u"DIF(SUM(DIV(1;x);2);3)", // a fault inside the first call leaves the result 0
        u"DIF(SUM(2;DIV(1;x));3)", // ... one after its first step leaves that step's value
        u"SUM(PRO(x;1E30);PRO(x;1E30);DIV(x;0))",
        u"DIF(5;PRO(x;1E38);SQR(-1))",
        u"SUM(POT(x;3);POT(-x;1);POT(x;0);POT(x;-1);POT(x;.5))",
        u"PRO(POT(PRO(x;1E13);3);1E30)",
        u"POT(POT(x;0);3)",
        u"DIF(PRO(2;SUM(x;ABC(DIV(1;0))));1)",
        u"5",
        u"",
        u"x",
        u"x)",
        u"(x",
        u"SUM)(",
        u"SUM(x",
    };
    for (std::u16string_view formula : formulas)
        expectSameEverywhere(formula);
    CalcError = 0;
}

TEST(FormulaProgram, CompilesOrdinaryFormulas)
{
    EXPECT_TRUE(FormulaProgram(u"DIF(SUM(PRO(2;POT(x;2));PRO(3;x));4)").isCompiled());
    EXPECT_TRUE(FormulaProgram(u"SUM(1x;-x;x)").isCompiled());
    EXPECT_FALSE(FormulaProgram(u"SUM(x(1);2)").isCompiled());
}

TEST(FormulaProgram, ALongXTextOverflowsWhereTheSubstitutedTextWould)
{
    std::u16string formula = u"SUM(";
    for (int i = 0; i < 3000; ++i)
        formula += u"x;";
    formula += u"1)";
    expectSameEverywhere(formula);
    const FormulaProgram program(formula);
    FormulaError error = FormulaError::None;
    program.evaluate(u"-1.234568E+07", &error);
    EXPECT_EQ(error, FormulaError::Overflow);
    program.evaluate(u"1", &error);
    EXPECT_EQ(error, FormulaError::None);
    CalcError = 0;
}

TEST(FormulaProgram, ManyConstantsAndDeepNestingAgree)
{
    std::u16string wide = u"SUM(";
    std::u16string deep = u"x";
    for (int i = 0; i < 400; ++i) {
        wide += NumberText(static_cast<float>(i) / 7.0f) + u";";
        deep = (i % 2 == 0 ? u"PRO(1.0001;" : u"DIF(") + deep + u";.5)";
    }
    expectSameEverywhere(wide + u"x)");
    expectSameEverywhere(deep);
    CalcError = 0;
}

// Random texts built from formula pieces, well-formed or not.
std::u16string randomFormula(std::mt19937 &random)
{
    static const std::u16string_view pieces[] = {
        u"SUM(", u"DIF(", u"PRO(", u"DIV(", u"POT(", u"AMI(", u"SQR(", u"SIN(", u"ABS(",
        u"TAN(", u"EXP(", u"LGN(", u"LGD(", u"ASN(", u"ACS(", u"ATN(", u"SGN(", u"x",
        u"-x",   u"--x",  u"2",    u".5",   u"0",    u";",    u";",    u")",    u")",
        u"(",    u"1E30", u"AB(",  u"xx",   u"x(",   u"-",    u"3x",   u"3",    u"1",
    };
    std::u16string text = u"SUM(";
    const int length = 1 + static_cast<int>(random() % 14);
    for (int i = 0; i < length; ++i)
        text += pieces[random() % std::size(pieces)];
    if (random() % 4 != 0)
        text += u")";
    return text;
}

TEST(FormulaProgram, AgreesOnRandomFormulaTexts)
{
    std::mt19937 random(2026);
    for (int round = 0; round < 3000; ++round)
        expectSameEverywhere(randomFormula(random));
    CalcError = 0;
}

} // namespace
