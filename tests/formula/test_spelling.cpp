// Typed equations as pupils write them, and the refusal of every one whose
// curve would not be the curve of what was typed.

#include "referenceterm.h"

#include "formula/equation.h"
#include "formula/formulacheck.h"
#include "formula/normalise.h"
#include "formula/spelling.h"

#include <QString>

#include <gtest/gtest.h>

using namespace lw;

namespace {

std::string Utf8(std::u16string_view text)
{
    return QString::fromStdU16String(std::u16string(text)).toStdString();
}

// The second line of the refusal; the formula when the equation is accepted.
std::u16string Outcome(std::u16string_view typed, Notation notation)
{
    const EquationFormula result = FormulaOfEquation(typed, notation);
    if (result.fault == EquationFault::None)
        return result.formula;
    const std::u16string head = ConversionFailedMessage() + u"\n";
    EXPECT_EQ(result.fault, EquationFault::Refused) << Utf8(typed);
    EXPECT_TRUE(result.message.starts_with(head)) << Utf8(result.message);
    return result.message.substr(std::min(head.size(), result.message.size()));
}

using Row = std::pair<std::u16string_view, std::u16string_view>;

void ExpectOutcomes(std::initializer_list<Row> rows, Notation notation)
{
    for (const auto &[typed, expected] : rows)
        EXPECT_EQ(Utf8(Outcome(typed, notation)), Utf8(expected)) << Utf8(typed);
}

TEST(Spelling, TypedTermsConvertAsMeant)
{
    ExpectOutcomes(
        {
            // Function names in any case, with their aliases.
            {u"sin(x)", u"SIN(x)"},
            {u"Sin(x)", u"SIN(x)"},
            {u"2*sin(x)", u"PRO(2;SIN(x))"},
            {u"COS(x)+tan(x)", u"SUM(COS(x);TAN(x))"},
            {u"sqr(x)+Sqrt(x)+WURZEL(x)", u"SUM(SUM(SQR(x);SQR(x));SQR(x))"},
            {u"abs(x)*Betrag(x)", u"PRO(ABS(x);ABS(x))"},
            {u"EXP(x)-exp(1)", u"DIF(EXP(x);EXP(1))"},
            {u"ln(x)+LG(x)+log(x)", u"SUM(SUM(LGN(x);LGD(x));LGD(x))"},
            {u"arcsin(x)+asin(x)", u"SUM(ASN(x);ASN(x))"},
            {u"ARCCOS(x)+acos(x)", u"SUM(ACS(x);ACS(x))"},
            {u"arctan(x)+atan(x)", u"SUM(ATN(x);ATN(x))"},
            {u"sgn(x)*sign(x)", u"PRO(SGN(x);SGN(x))"},
            {u"AMI(1;LGN(x);3)", u"AMI(1;LGN(x);3)"},
            // x in either case, pi, and e as the parameter it is.
            {u"X*2", u"PRO(x;2)"},
            {u"PI*x", u"PRO(3.141593;x)"},
            {u"pi", u"PRO(3.141593;1)"},
            {u"π", u"PRO(3.141593;1)"},
            {u"e^x", u"POT(e;x)"},
            // The "*" that may be left out.
            {u"2x", u"PRO(2;x)"},
            {u"3x+1", u"SUM(PRO(3;x);1)"},
            {u"3ax", u"PRO(PRO(3;a);x)"},
            {u"2(x+1)", u"PRO(2;SUM(x;1))"},
            {u"(x+1)(x-1)", u"PRO(SUM(x;1);DIF(x;1))"},
            {u"x(x+1)", u"PRO(x;SUM(x;1))"},
            {u"2sin(x)", u"PRO(2;SIN(x))"},
            {u"sin(x)cos(x)", u"PRO(SIN(x);COS(x))"},
            {u"x2", u"PRO(x;2)"},
            {u"2πx", u"PRO(PRO(2;3.141593);x)"},
            {u"asin(x)", u"ASN(x)"}, // the alias, not a*SIN(x)
            {u"2 x", u"PRO(2;x)"},
            {u"2\tx", u"PRO(2;x)"},
            // A number's exponent is an upper-case E (or D); a lower-case e is the parameter.
            {u"1E-3x", u"PRO(1E-3;x)"},
            {u"2.5E+4*x", u"PRO(2.5E+4;x)"},
            {u"2E3", u"PRO(2E3;1)"},
            {u"2D-3x", u"PRO(2E-3;x)"},
            {u"2e", u"PRO(2;e)"},
            {u"2e3", u"PRO(PRO(2;e);3)"},
            {u"2e-3", u"DIF(PRO(2;e);3)"},
            {u"1,5x", u"PRO(1,5;x)"},
            // Typography.
            {u"x²", u"POT(x;2)"},
            {u"2x³-x²", u"DIF(PRO(2;POT(x;3));POT(x;2))"},
            {u"2·x", u"PRO(2;x)"},
            {u"2⋅x×3", u"PRO(PRO(2;x);3)"},
            {u"x−1", u"DIF(x;1)"},
            {u"x–1", u"DIF(x;1)"},
            {u"x÷2", u"DIV(x;2)"},
            {u"x:2", u"DIV(x;2)"},
            {u"6:2x", u"PRO(DIV(6;2);x)"}, // the "*" is an ordinary one
            {u"√x", u"SQR(x)"},
            {u"√(x+1)", u"SQR(SUM(x;1))"},
            {u"√2x", u"PRO(SQR(2);x)"},
            {u"√2D-3", u"SQR(2E-3)"},
            {u"√x²", u"POT(SQR(x);2)"},
            {u"√√x", u"SQR(SQR(x))"},
            {u"√sin(x)", u"SQR(SIN(x))"},
            {u"2√x", u"PRO(2;SQR(x))"},
        },
        Notation::Mathematical);
}

TEST(Spelling, RefusalsNameThePartAndItsPlace)
{
    ExpectOutcomes(
        {
            {u"FOO(x)+1", u"Unbekannter Name: 'FOO' an Stelle 1"},
            {u"2 * FOO(x)", u"Unbekannter Name: 'FOO' an Stelle 5"},
            {u"sinh(x)", u"Unbekannter Name: 'sinh' an Stelle 1"},
            {u"sum(1;x)", u"Unbekannter Name: 'sum' an Stelle 1"},
            {u"1.2.3", u"Keine Zahl: '1.2.3' an Stelle 1"},
            {u"x+1,2,3", u"Keine Zahl: '1,2,3' an Stelle 3"},
            {u"1.5E3.2", u"Keine Zahl: '1.5E3.2' an Stelle 1"},
            {u".", u"Keine Zahl: '.' an Stelle 1"},
            {u"sin x", u"Nach 'sin' fehlt '(' an Stelle 1"},
            {u"sin²(x)", u"Nach 'sin' fehlt '(' an Stelle 1"},
            {u"xsinx", u"Nach 'sin' fehlt '(' an Stelle 2"},
            {u"asinx", u"Nach 'asin' fehlt '(' an Stelle 1"},
            {u"SINE-3", u"Nach 'SIN' fehlt '(' an Stelle 1"},
            {u"√-x", u"Nach '√' fehlt '(' an Stelle 1"},
            {u"y=2x", u"Unbekanntes Zeichen: 'y' an Stelle 1"},
            {u"x + y", u"Unbekanntes Zeichen: 'y' an Stelle 5"},
            {u"2E", u"Unbekanntes Zeichen: 'E' an Stelle 2"},
            {u"A*x", u"Unbekanntes Zeichen: 'A' an Stelle 1"},
            {u"ä*x", u"Unbekanntes Zeichen: 'ä' an Stelle 1"},
            {u"x+😀", u"Unbekanntes Zeichen: '😀' an Stelle 3"},
            {u"[x]", u"Unbekanntes Zeichen: '[' an Stelle 1"},
            {u"SIN()", u"Nach 'SIN(' fehlt ein Argument an Stelle 1"},
            {u"AMI(1; )", u"Nach ';' fehlt ein Argument an Stelle 6"},
        },
        Notation::Mathematical);
}

TEST(FormulaCheck, KznFormulasDrawWhatTheySay)
{
    ExpectOutcomes(
        {
            {u"SUM(PRO(2;x);1)", u"SUM(PRO(2;x);1)"},
            {u"DIF(;x)", u"DIF(;x)"},
            {u"SUM(;;-x;--x;a;-h;1,5;-1.5E-02;+5;--2;---2)",
             u"SUM(;;-x;--x;a;-h;1,5;-1.5E-02;+5;--2;---2)"},
            {u"SIN(1;2)", u"SIN(1;2)"},
            {u"FOO(1;2)", u"Unbekannter Name: 'FOO' an Stelle 1"},
            {u"SUM(1;foo(2))", u"Unbekannter Name: 'foo' an Stelle 7"},
            {u"SUM(1;FOOO(2))", u"Unbekannter Name: 'FOOO' an Stelle 7"},
            {u" SUM( 1 ; y )", u"Unbekanntes Zeichen: 'y' an Stelle 11"},
            {u"PRO(X;1)", u"Unbekanntes Zeichen: 'X' an Stelle 5"},
            {u"PRO(pi;x)", u"Unbekannter Name: 'pi' an Stelle 5"},
            {u"PRO(2x;1)", u"Keine Zahl: '2x' an Stelle 5"},
            {u"SUM(1.2.3;1)", u"Keine Zahl: '1.2.3' an Stelle 5"},
            {u"SUM(-SIN(1);1)", u"Keine Zahl: '-SIN(1)' an Stelle 5"},
            // A value put in for x or a parameter brings its own sign.
            {u"SUM(+x;1)", u"Keine Zahl: '+x' an Stelle 5"},
            {u"SUM(---a;1)", u"Keine Zahl: '---a' an Stelle 5"},
            {u"SUM(----2;1)", u"Keine Zahl: '----2' an Stelle 5"},
            {u"PRO(1111111111111111111111111.1.1;1)",
             u"Keine Zahl: '111111111111111111111111…' an Stelle 5"},
            {u"x", u"Keine KZN-Formel: 'x'"},
            {u"SUM)(", u"Keine KZN-Formel: 'SUM)('"},
            {u"SUM(1;2", u"Zu 'SUM(' fehlt ')' an Stelle 1"},
            {u"SUM(1;SIN(2)", u"Zu 'SUM(' fehlt ')' an Stelle 1"},
            {u"SUM(1;2))", u"Überzählig: ')' an Stelle 9"},
            {u"SUM(1;2)x", u"Überzählig: 'x' an Stelle 9"},
            {u"SUM(SIN(1)2;3)", u"Überzählig: '2' an Stelle 11"},
            {u"SIN()", u"Nach 'SIN(' fehlt ein Argument an Stelle 1"},
            {u"PRO(2;)", u"Nach ';' fehlt ein Argument an Stelle 6"},
        },
        Notation::Kzn);
}

// What the converter made of a term before stays as it was: the spelling leaves
// the terms of ordinary notation alone, and the check refuses none of them.
TEST(FormulaCheck, AcceptsEveryConvertedGeneratedTerm)
{
    for (uint64_t seed = 1; seed <= 2000; ++seed) {
        const std::string text = test::TermText(test::GenerateTerm(seed));
        const std::u16string term(text.begin(), text.end());
        const SpelledTerm spelled = SpellTerm(term);
        ASSERT_FALSE(spelled.fault) << text;
        ASSERT_EQ(Utf8(spelled.term), text);
        const ConvertResult converted = NormaliseMathTerm(term);
        ASSERT_EQ(converted.status, ConvertStatus::Converted) << text;
        const auto fault = CheckFormula(converted.formula);
        ASSERT_FALSE(fault) << text << ": " << Utf8(FormulaFaultText(*fault, std::nullopt));
    }
}

} // namespace
