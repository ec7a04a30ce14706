// SPDX-License-Identifier: GPL-3.0-or-later
// Typed equations as pupils write them, and the refusal of every one whose
// curve would not be the curve of what was typed.

#include "formula/equation.h"
#include "formula/normalise.h"

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

// Each of these drew a wrong curve without a word.
TEST(Spelling, SilentWrongCurvesAreMended)
{
    ExpectOutcomes(
        {
            // A letter before a function name and a blank is a factor.
            {u"a sin(x)", u"PRO(a;SIN(x))"},
            {u"2a cos(b x)", u"PRO(PRO(2;a);COS(PRO(b;x)))"},
            {u"a sin(b(x-d))+c", u"SUM(PRO(a;SIN(PRO(b;DIF(x;d))));c)"},
            {u"asin(x)", u"ASN(x)"},
            // A superscript binds to the operand before it; a run is one exponent.
            {u"e^-x²", u"POT(e;DIF(;POT(x;2)))"},
            {u"2^x²", u"POT(2;POT(x;2))"},
            {u"x²³-x⁻¹", u"DIF(POT(x;23);POT(x;DIF(;1)))"},
            {u"√x²", u"SQR(POT(x;2))"},
            // Brackets or bars end a root's argument; the superscript takes the root.
            {u"√(x)²", u"POT(SQR(x);2)"},
            {u"2^√|x|²", u"POT(2;POT(SQR(ABS(x));2))"},
            {u"√sin(x)²", u"SQR(POT(SIN(x);2))"},
            {u"(x+1)²", u"POT(SUM(x;1);2)"},
        },
        Notation::Mathematical);
}

// Each of these was refused although its meaning is clear.
TEST(Spelling, ClearMeaningsAreAccepted)
{
    ExpectOutcomes(
        {
            {u"2|x+1|-ln|x|", u"DIF(PRO(2;ABS(SUM(x;1)));LGN(ABS(x)))"},
            {u"||x|-1||x|", u"PRO(ABS(DIF(ABS(x);1));ABS(x))"},
            {u" f ( x ) = x", u"PRO(x;1)"},
            {u"Y=2x", u"PRO(2;x)"},
            {u"sin 2x²", u"SIN(PRO(2;POT(x;2)))"},
            {u"sin²(x)+cos^2 x", u"SUM(POT(SIN(x);2);POT(COS(x);2))"},
            {u"log10(x)", u"LGD(x)"},
            // Typography.
            {u"2½", u"SUM(2;DIV(1;2))"},
            {u"2\u00A0x\u2009+\u200B1\u00AD", u"SUM(PRO(2;x);1)"},
            // A lower-case e is the parameter, not an exponent.
            {u"2e-3", u"DIF(PRO(2;e);3)"},
        },
        Notation::Mathematical);
}

TEST(Spelling, RefusalsNameThePartAndItsPlace)
{
    auto chained = [](std::u16string_view place) {
        return u"Mehrdeutige Potenz an Stelle " + std::u16string(place)
               + u": Bitte Klammern setzen, z. B. x^(2^3) oder (x^2)^3";
    };
    ExpectOutcomes(
        {
            {u"2 3", u"Zwei Zahlen ohne Operator: '2 3' an Stelle 1"},
            {u"x^2 3x", u"Zwei Zahlen ohne Operator: '2 3' an Stelle 3"},
            {u"½ 3", u"Zwei Zahlen ohne Operator: '½ 3' an Stelle 1"},
            {u"x,5", u"Vor ',' fehlt eine Ziffer an Stelle 2"},
            {u"sin(x;2)", u"'sin' nimmt nur ein Argument an Stelle 1"},
            {u"x^2^3", chained(u"4")},
            {u"2^x^-2", chained(u"4")},
            {u"x²^3", chained(u"3")},
            {u"x^2 ²", chained(u"5")},
            {u"2x+", u"Nach '+' fehlt ein Operand an Stelle 3"},
            {u"(x^2-)", u"Nach '-' fehlt ein Operand an Stelle 5"},
            {u"x*()", u"Nach '(' fehlt ein Operand an Stelle 3"},
            {u"2*(x+1", u"Zu '(' an Stelle 3 fehlt ')'"},
            {u"sin (x", u"Zu 'sin (' an Stelle 1 fehlt ')'"},
            {u"|x+(1|", u"Zu '(' an Stelle 4 fehlt ')'"},
            {u"(|x)", u"Zu '|' an Stelle 2 fehlt '|'"},
            {u"2x+1)", u"Überzählig: ')' an Stelle 5"},
            {u"x;2", u"Überzählig: ';' an Stelle 2"},
            {u"x* *2", u"Doppelter Operator: '* *' an Stelle 2"},
            {u"x---1", u"Doppelter Operator: '---' an Stelle 2"},
            {u"²x", u"Vor '²' fehlt ein Operand an Stelle 1"},
            {u"x⁻", u"Nach '⁻' fehlt ein Operand an Stelle 2"},
            {u"sin⁻¹(x)", u"Mehrdeutig: 'sin⁻¹' (Kehrwert oder Umkehrfunktion?) an Stelle 1"},
            {u"sin x^2", u"Nach 'sin' fehlt '(' an Stelle 1"},
            {u"√-x", u"Nach '√' fehlt '(' an Stelle 1"},
            {u"SUM x", u"Nach 'SUM' fehlt '(' an Stelle 1"},
            {u"x\u2062x", u"Unbekanntes Zeichen U+2062 an Stelle 2"},
            {u"2*\u0445", u"Unbekanntes Zeichen U+0445 an Stelle 3"},
            {u"x+😀+y", u"Unbekanntes Zeichen: '😀' an Stelle 3"},
            {u"x + y", u"Unbekanntes Zeichen: 'y' an Stelle 5"},
            {u"x = 2", u"Unbekanntes Zeichen: '=' an Stelle 3"},
            {u"2E", u"Unbekanntes Zeichen: 'E' an Stelle 2"},
            {u"sinh(x)", u"Unbekannter Name: 'sinh' an Stelle 1"},
            {u"2 * FOO(x)", u"Unbekannter Name: 'FOO' an Stelle 5"},
            {u"log2(x)", u"Unbekannter Name: 'log2' an Stelle 1"},
            {u"x+1,2,3", u"Keine Zahl: '1,2,3' an Stelle 3"},
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
            {u"SIN(1;2)", u"'SIN' nimmt nur ein Argument an Stelle 1"},
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
            {u"SUM(1;2", u"Zu 'SUM(' an Stelle 1 fehlt ')'"},
            {u"SUM(1;SIN(2)", u"Zu 'SUM(' an Stelle 1 fehlt ')'"},
            {u"SUM(1;2))", u"Überzählig: ')' an Stelle 9"},
            {u"SUM(1;2)x", u"Überzählig: 'x' an Stelle 9"},
            {u"SUM(SIN(1)2;3)", u"Überzählig: '2' an Stelle 11"},
            {u"SIN()", u"Nach 'SIN(' fehlt ein Argument an Stelle 1"},
            {u"PRO(2;)", u"Nach ';' fehlt ein Argument an Stelle 6"},
        },
        Notation::Kzn);
}

} // namespace
