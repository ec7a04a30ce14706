// SPDX-License-Identifier: GPL-3.0-or-later

#include "formula/converter.h"
#include "formula/equation.h"
#include "formula/evaluator.h"
#include "formula/eventhook.h"
#include "formula/normalise.h"
#include "formula/texthelpers.h"

#include <gtest/gtest.h>

using namespace lw;

namespace {

std::string ascii(std::u16string_view text)
{
    return std::string(text.begin(), text.end());
}

// Counts yields and can stop the conversion after a number of them.
class HookFixture : public ::testing::Test {
protected:
    static inline int yields = 0;
    static inline int stopAfter = -1;
    void SetUp() override
    {
        yields = 0;
        stopAfter = -1;
        InstallEventHook({[] { ++yields; },
                          [] {
                              return stopAfter >= 0 && yields >= stopAfter;
                          }});
    }
    void TearDown() override { InstallEventHook({}); }
};

using ConvertTermTest = HookFixture;

TEST_F(ConvertTermTest, ConvertsMathematicalNotation)
{
    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u"x*1", u"PRO(x;1)"},
        {u"2*x+1", u"SUM(PRO(2;x);1)"},
        {u"x^2-3*x", u"DIF(POT(x;2);PRO(3;x))"},
        {u"-x", u"DIF(;x)"},
        {u"+x", u"SUM(;x)"},
        {u"-x^2", u"DIF(;POT(x;2))"},
        {u"-(x+1)", u"DIF(;SUM(x;1))"},
        {u"a-b-c", u"DIF(DIF(a;b);c)"},
        {u"a/b*c", u"PRO(DIV(a;b);c)"},
        {u"2^3^2", u"POT(POT(2;3);2)"},
        {u"2*(x+1)", u"PRO(2;SUM(x;1))"},
        {u"(x+1)*(x-1)", u"PRO(SUM(x;1);DIF(x;1))"},
        {u"((x+1))*2", u"PRO(SUM(x;1);2)"},
        {u"SIN(x)^2", u"POT(SIN(x);2)"},
        {u"2*SIN(x)+1", u"SUM(PRO(2;SIN(x));1)"},
        {u"x*SIN(x+1)", u"PRO(x;SIN(SUM(x;1)))"},
        {u"2*x^2+3*x-4", u"DIF(SUM(PRO(2;POT(x;2));PRO(3;x));4)"},
        {u"SIN(x+1)*2", u"PRO(SIN(SUM(x;1));2)"},
        {u"a*SIN(x*d-c)+b", u"SUM(PRO(a;SIN(DIF(PRO(x;d);c)));b)"},
        {u"-2*x", u"DIF(;PRO(2;x))"},
        {u"5", u"5"},
        {u"SIN(x)", u"SIN(x)"},
        {u"AMI(1;x*2;3)", u"AMI(1;PRO(x;2);3)"},
        {u"SIN()", u"SIN()"},
        // A sign after an operator belongs to its operand.
        {u"x*-1", u"PRO(x;DIF(;1))"},
        {u"x/-2", u"DIV(x;DIF(;2))"},
        {u"2^-1", u"POT(2;DIF(;1))"},
        {u"x--1", u"DIF(x;DIF(;1))"},
        {u"x*+-1", u"PRO(x;SUM(;DIF(;1)))"},
        // Exponent notation is one number.
        {u"1E-3*x", u"PRO(1E-3;x)"},
        {u"2.5E+4-x", u"DIF(2.5E+4;x)"},
        {u".5E-1*x", u"PRO(.5E-1;x)"},
        {u"5,E-1*x", u"PRO(5,E-1;x)"},
        {u"SINE-3", u"DIF(SINE;3)"},
        // Calls inside groups and operators after calls.
        {u"x+SIN(x)*2", u"SUM(x;PRO(SIN(x);2))"},
        {u"SIN(x)^2*3", u"PRO(POT(SIN(x);2);3)"},
        {u"2*(SIN(x)+1)", u"PRO(2;SUM(SIN(x);1))"},
        {u"(SIN(x)+1)*2", u"PRO(SUM(SIN(x);1);2)"},
        {u"a*(SIN(x*d)-c)+b", u"SUM(PRO(a;DIF(SIN(PRO(x;d));c));b)"},
        {u"SIN(COS(x)*2)+1", u"SUM(SIN(PRO(COS(x);2));1)"},
        // A term that is one group.
        {u"(x+1)", u"SUM(x;1)"},
        {u"((x+1))", u"SUM(x;1)"},
    };
    for (const auto &[term, formula] : cases) {
        const ConvertResult r = ConvertTerm(term);
        EXPECT_EQ(r.status, ConvertStatus::Converted) << ascii(term);
        EXPECT_EQ(ascii(r.formula), ascii(formula)) << ascii(term);
    }
}

TEST_F(ConvertTermTest, FailsAtOnceOnTermsThatCannotConvert)
{
    const std::u16string_view terms[] = {
        u"2*(x)(x)", u"x(x)",         u"sin(x)", u"2*(x+1", u"x)",     u")(",      u"1;2",
        u"2*(1;2)",  u"SUM((1;2)*x)", u"2*()",   u"()",     u"2*",     u"*2",      u"2+",
        u"x-",       u"/x",           u"^2",     u"2*-",    u"2*(3+)", u"SIN(x+)",
    };
    for (std::u16string_view term : terms) {
        yields = 0;
        const ConvertResult r = ConvertTerm(term);
        EXPECT_EQ(r.status, ConvertStatus::Failed) << ascii(term);
        EXPECT_TRUE(r.formula.empty()) << ascii(term);
        EXPECT_LE(yields, 3) << ascii(term);
    }
}

TEST_F(ConvertTermTest, YieldsEveryRoundAndStopsWhenAsked)
{
    EXPECT_EQ(ConvertTerm(u"2*x+1").status, ConvertStatus::Converted);
    EXPECT_EQ(yields, 2); // one rewriting round, one round that finds nothing

    SetUp();
    stopAfter = 1;
    const ConvertResult stopped = ConvertTerm(u"2*x+1");
    EXPECT_EQ(stopped.status, ConvertStatus::Stopped);
    EXPECT_TRUE(stopped.formula.empty());

    // Asked also in a round that found nothing.
    SetUp();
    stopAfter = 1;
    EXPECT_EQ(ConvertTerm(u"SIN(x)").status, ConvertStatus::Stopped);
}

TEST_F(ConvertTermTest, OverlongTermsFail)
{
    EXPECT_EQ(ConvertTerm(std::u16string(MaxTextLength + 1, u'1')).status, ConvertStatus::Failed);
    // Fits as typed, but its formula would not.
    std::u16string sum = u"x";
    while (sum.size() < 9600)
        sum += u"+x";
    EXPECT_EQ(ConvertTerm(sum).status, ConvertStatus::Failed);
}

TEST(SplitTerm, SplitsAtTheLoosestRightmostOperator)
{
    const std::pair<std::u16string_view, std::optional<std::u16string_view>> cases[] = {
        {u"a-b-c", u"DIF(a-b;c)"},
        {u"2^3^2", u"POT(2^3;2)"},
        {u"a*b+c*d", u"SUM(a*b;c*d)"},
        {u"x*-1", u"PRO(x;-1)"},
        {u"-x", u"DIF(;x)"},
        {u"+x", u"SUM(;x)"},
        {u"1E-3*x", u"PRO(1E-3;x)"},
        {u"(x+1)", u"(x+1)"},
        {u"5", u"5"},
        {u"", u""},
        {u"2*", std::nullopt},
        {u"*2", std::nullopt},
        {u"2-", std::nullopt},
    };
    for (const auto &[text, expected] : cases) {
        const auto r = SplitTerm(text);
        ASSERT_EQ(r.has_value(), expected.has_value()) << ascii(text);
        if (r) {
            EXPECT_EQ(ascii(*r), ascii(*expected)) << ascii(text);
        }
    }
}

TEST(FindMathNotation, ReportsTheArgumentTheNotationStandsIn)
{
    const std::pair<std::u16string_view, std::optional<NotationPlace>> cases[] = {
        {u"DIF(x^2;3*x)", NotationPlace{1, 1, 1}},
        {u"DIF(POT(x;2);3*x)", NotationPlace{1, 2, 4}},
        {u"SUM(x;SIN(x)*2)", NotationPlace{1, 2, 2}},
        {u"PRO(SIN(x)^2;3)", NotationPlace{1, 1, 1}},
        {u"(x+1)", NotationPlace{0, 0, 0}},
        {u"x(x)", NotationPlace{0, 0, 0}},
        {u"SUM(1;SIN(2;x+1))", NotationPlace{2, 2, 4}},
        {u"PRO(x;1)", std::nullopt},
        {u"PRO(1E-3;x)", std::nullopt},
        {u"sin(x)", NotationPlace{0, 0, 0}},
        {u"ABCD(x+1)", NotationPlace{1, 1, 1}},
        {u"AB(x+1)", NotationPlace{0, 0, 0}},
    };
    for (const auto &[text, expected] : cases) {
        const auto place = FindMathNotation(text);
        ASSERT_EQ(place.has_value(), expected.has_value()) << ascii(text);
        if (place) {
            EXPECT_EQ(place->level, expected->level) << ascii(text);
            EXPECT_EQ(place->argument, expected->argument) << ascii(text);
            EXPECT_EQ(place->slot, expected->slot) << ascii(text);
        }
    }
}

TEST(ConvertArgument, RewritesTheArgumentAtThePlace)
{
    EXPECT_EQ(ConvertArgument(u"DIF(x^2;3*x)", {1, 1, 1}), u"DIF(POT(x;2);3*x)");
    EXPECT_EQ(ConvertArgument(u"DIF(POT(x;2);3*x)", {1, 2, 4}), u"DIF(POT(x;2);PRO(3;x))");
    EXPECT_EQ(ConvertArgument(u"PRO(2;(SIN(x)+1))", {1, 2, 2}), u"PRO(2;SUM(SIN(x);1))");
    EXPECT_EQ(ConvertArgument(u"(x+1)", {0, 0, 0}), u"SUM(x;1)");
    EXPECT_EQ(ConvertArgument(u"DIF(x^2;3*x)", {1, 3, 9}), std::nullopt);
    EXPECT_EQ(ConvertArgument(u"PRO(x;2*)", {1, 2, 2}), std::nullopt);
}

TEST(StripOuterBrackets, RemovesOneEnclosingPair)
{
    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u"((x))", u"(x)"}, {u"(x+1)", u"x+1"}, {u"(a)+(b)", u"(a)+(b)"},
        {u"x", u"x"},       {u"", u""},         {u"()", u""},
        {u"(()", u"(()"},   {u")(", u")("},     {u"(a)(b)", u"(a)(b)"},
    };
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(ascii(StripOuterBrackets(text)), ascii(expected)) << ascii(text);
}

TEST(NormaliseMathTerm, LoneOperandsDrawAsThemselves)
{
    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u"x", u"PRO(x;1)"},     {u"X", u"PRO(x;1)"},
        {u"5", u"PRO(5;1)"},     {u"a", u"PRO(a;1)"},
        {u"2.5", u"PRO(2.5;1)"}, {u"1E-3", u"PRO(1E-3;1)"},
        {u"-5", u"DIF(;5)"},     {u"SIN(x)", u"SIN(x)"},
        {u"ä", u"PRO(ä;1)"},     {u"2*x+a", u"SUM(PRO(2;x);a)"},
        {u"(x)", u"PRO(x;1)"},   {u"((5))", u"PRO(5;1)"},
    };
    for (const auto &[term, formula] : cases) {
        const ConvertResult r = NormaliseMathTerm(term);
        EXPECT_EQ(r.status, ConvertStatus::Converted) << ascii(term);
        EXPECT_EQ(r.formula, formula) << ascii(term);
    }
    EXPECT_EQ(NormaliseMathTerm(u"").status, ConvertStatus::Failed);
    EXPECT_EQ(NormaliseMathTerm(u"1;2").status, ConvertStatus::Failed);
}

// The draw command and linienwerk-cli take every typed equation through here.
TEST_F(ConvertTermTest, FormulaOfEquationByNotation)
{
    using enum Notation;
    const std::u16string overlong(MaxTextLength + 1, u'1');
    const std::u16string tooLongText =
        u"FEHLER: " + FormulaErrorDescription(FormulaError::Overflow);
    const struct {
        std::u16string_view typed;
        Notation notation;
        EquationFault fault;
        std::u16string formulaOrMessage;
    } cases[] = {
        {u" 2 * x ", Mathematical, EquationFault::None, u"PRO(2;x)"},
        {u"x", Mathematical, EquationFault::None, u"PRO(x;1)"},
        {u" SUM( a ;x)", Kzn, EquationFault::None, u"SUM(a;x)"},
        {u"2*x", Kzn, EquationFault::Refused,
         ConversionFailedMessage() + u"\nKeine KZN-Formel: '2*x'"},
        {u"   ", Mathematical, EquationFault::Empty, EmptyEquationMessage()},
        {u"\t\u00A0\u200B", Mathematical, EquationFault::Empty, EmptyEquationMessage()},
        {u"", Kzn, EquationFault::Empty, EmptyEquationMessage()},
        {u"1;2", Mathematical, EquationFault::Refused,
         ConversionFailedMessage() + u"\nÜberzählig: ';' an Stelle 2"},
        {overlong, Mathematical, EquationFault::Unconvertible, ConversionFailedMessage()},
        {overlong, Kzn, EquationFault::TooLong, tooLongText},
    };
    for (const auto &c : cases) {
        const EquationFormula result = FormulaOfEquation(c.typed, c.notation);
        const std::string label = ascii(c.typed.substr(0, 20));
        EXPECT_EQ(result.fault, c.fault) << label;
        EXPECT_EQ(result.fault == EquationFault::None ? result.formula : result.message,
                  c.formulaOrMessage)
            << label;
        EXPECT_EQ(IsEmptyEquation(c.typed), c.fault == EquationFault::Empty) << label;
    }
    stopAfter = 1;
    EXPECT_EQ(FormulaOfEquation(u"2*x+1", Mathematical).fault, EquationFault::Stopped);
}

} // namespace
