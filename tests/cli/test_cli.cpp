// SPDX-License-Identifier: GPL-3.0-or-later

#include "analysis/analysis.h"
#include "clirun.h"

#include "formula/evaluator.h"
#include "formula/normalise.h"
#include "formula/texthelpers.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

using lw::testing::CliRun;
using lw::testing::RunCli;

namespace {

QString Line(const std::u16string &text)
{
    return QString::fromStdU16String(text) + u'\n';
}

QString U8(const char *text)
{
    return QString::fromUtf8(text);
}

struct CliCase {
    QStringList arguments;
    int exitCode;
    QString out;
    QString err;
};

void ExpectRun(const CliCase &c)
{
    const CliRun run = RunCli(c.arguments);
    SCOPED_TRACE(c.arguments.join(QStringLiteral(" | ")).left(80).toStdString());
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.out.toStdString(), c.out.toStdString());
    EXPECT_EQ(run.err.toStdString(), c.err.toStdString());
}

const QString EmptyTerm = QStringLiteral("Bitte geben Sie erst eine Funktionsgleichung ein.\n");

TEST(CliConvert, PrintsTheFormulaOrTheMessage)
{
    const QString failed = Line(lw::ConversionFailedMessage());
    const CliCase cases[] = {
        {{"convert", "2*x^2+3*x-4"}, 0, "DIF(SUM(PRO(2;POT(x;2));PRO(3;x));4)\n", ""},
        {{"convert", "x"}, 0, "PRO(x;1)\n", ""},
        {{"convert", "5"}, 0, "PRO(5;1)\n", ""},
        {{"convert", "2 * x + 1"}, 0, "SUM(PRO(2;x);1)\n", ""},
        {{"convert", "--", "-x^2"}, 0, "DIF(;POT(x;2))\n", ""},
        {{"convert", "sin(x)"}, 0, "SIN(x)\n", ""},
        {{"convert", "2x"}, 0, "PRO(2;x)\n", ""},
        {{"convert", U8("x²")}, 0, "POT(x;2)\n", ""},
        {{"convert", "ln(x)"}, 0, "LGN(x)\n", ""},
        {{"convert", "FOO(x)+1"}, 1, "", failed + "Unbekannter Name: 'FOO' an Stelle 1\n"},
        {{"convert", U8("ä*x")}, 1, "", failed + U8("Unbekanntes Zeichen: 'ä' an Stelle 1\n")},
        {{"convert", "2*(x+1"}, 1, "", failed + "Zu '(' an Stelle 3 fehlt ')'\n"},
        {{"convert", "   "}, 1, "", EmptyTerm},
        {{"convert", ""}, 1, "", EmptyTerm},
        {{"convert", QString(lw::MaxTextLength + 1, u'1')}, 1, "", failed},
    };
    for (const CliCase &c : cases)
        ExpectRun(c);
}

QString Nested(int depth)
{
    return QStringLiteral("ABS(").repeated(depth) + u'1' + QString(depth, u')');
}

TEST(CliEval, PrintsValueAndCalcError)
{
    const QString overflow =
        "FEHLER: " + Line(lw::FormulaErrorDescription(lw::FormulaError::Overflow));
    // The deepest nesting that still fits into a formula text.
    const int depth = static_cast<int>(lw::MaxTextLength - 1) / 5;
    const CliCase cases[] = {
        {{"eval", "SUM(1;PRO(2;3);4)"}, 0, "11 0\n", ""},
        {{"eval", "PRO(1E30;1E30)"}, 0, "1E+30 -1\n", ""},
        {{"eval", "DIV(1;0)"}, 0, "1 -1\n", ""},
        {{"eval", "SUM(.5;-.625)"}, 0, "-.125 0\n", ""},
        {{"eval", "--", "-5"}, 0, "0 0\n", ""},
        {{"eval", "EXP(1)"}, 0, "2.718282 0\n", ""},
        {{"eval", "LGN(0)"}, 0, "0 -1\n", ""},
        {{"eval", "SGN(-2)"}, 0, "-1 0\n", ""},
        {{"eval", Nested(depth)}, 0, "1 0\n", ""},
        {{"eval", Nested(depth + 1)}, 2, "", overflow},
    };
    for (const CliCase &c : cases)
        ExpectRun(c);
}

TEST(CliEval, StructuralErrorGoesToStandardError)
{
    const CliRun run = RunCli({"eval", "SUM)("});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("FEHLER: "))) << run.err.toStdString();
    EXPECT_TRUE(run.err.endsWith(u'\n'));
}

TEST(CliCall, WrongCallsPrintTheUsage)
{
    const CliRun bare = RunCli({});
    EXPECT_TRUE(bare.err.startsWith(QStringLiteral("Aufruf: linienwerk-cli ")))
        << bare.err.toStdString();
    const QStringList calls[] = {
        {},
        {"frobnicate"},
        {"convert"},
        {"convert", "a", "b"},
        {"convert", "-x"},
        {"convert", "--bogus", "x"},
        {"eval"},
        {"eval", "--"},
        {"-x"},
        {"frobnicate", "--help"},
    };
    for (const QStringList &arguments : calls)
        ExpectRun({arguments, 2, "", bare.err});
}

TEST(CliCall, HelpDescribesBothCommands)
{
    const CliRun help = RunCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("convert")));
    EXPECT_TRUE(help.out.contains(QStringLiteral("eval")));
    for (const QStringList &arguments : {QStringList{"convert", "--help"}, {"eval", "--help"}})
        ExpectRun({arguments, 0, help.out, ""});
}

// What scripts read of the curve analysis: one line a point or row, exit codes as for convert.
TEST(CliAnalysis, Points)
{
    const QString failed = Line(lw::ConversionFailedMessage());
    const CliCase cases[] = {
        {{"analyse", "x^2-4"},
         0,
         "Nullstelle -2 0\ny-Achsenabschnitt 0 -4\nTiefpunkt 0 -4\nNullstelle 2 0\n",
         ""},
        {{"analyse", "--from", "-5", "--to", "5", "1/x"}, 0, "Polstelle 0 -\n", ""},
        {{"analyse", "--var", "a=2", "--kzn", "--", "DIF(PRO(a;x);4)"},
         0,
         "y-Achsenabschnitt 0 -4\nNullstelle 2 0\n",
         ""},
        {{"analyse", "sqrt(-1-x^2)"}, 0, "", ""},
        // A scan too wide to vouch for every point says so, and gives no false one.
        {{"analyse", "--from", "-1e6", "--to", "1e6", "x^2-1"},
         0,
         "Nullstelle -1 0\ny-Achsenabschnitt 0 -1\nTiefpunkt 0 -1\nNullstelle 1 0\n",
         Line(lw::RangeNote(-1e6, 1e6))},
        {{"analyse", "--from", "-1e300", "--to", "1e300", "x^2+1"},
         0,
         "y-Achsenabschnitt 0 1\n",
         Line(lw::RangeNote(-1, 1e300))},
        {{"analyse", "FOO(x)"}, 1, "", failed + "Unbekannter Name: 'FOO' an Stelle 1\n"},
        // Parameters without --var count as 0, and the note says which, as the window's does.
        {{"analyse", "a*x^2"},
         0,
         "y-Achsenabschnitt 0 0\n",
         "Hinweis: a ist nicht gesetzt und zählt als 0.\n"},
    };
    for (const CliCase &c : cases)
        ExpectRun(c);
}

TEST(CliAnalysis, DerivativeAndTable)
{
    const QString failed = Line(lw::ConversionFailedMessage());
    const CliCase cases[] = {
        {{"derive", "2*x^2+3*x-4"}, 0, "4*x+3\nSUM(PRO(4;x);3)\n", ""},
        {{"derive", "FOO(x)"}, 1, "", failed + "Unbekannter Name: 'FOO' an Stelle 1\n"},
        {{"table", "--from", "-1", "--to", "1", "--step", "0.5", "x^2"},
         0,
         "-1\t1\n-0.5\t0.25\n0\t0\n0.5\t0.25\n1\t1\n",
         ""},
        {{"table", "--step", "1", "--from", "-1", "--to", "1", "--", "sqrt(x)"},
         0,
         "-1\t-\n0\t0\n1\t1\n",
         ""},
        {{"derive", "--var", "a=2", "a*x^2+b*x"},
         0,
         "4*x\nPRO(4;x)\n",
         "Hinweis: b ist nicht gesetzt und zählt als 0.\n"},
        {{"table", "--var", "a=3", "--from", "0", "--to", "1", "--step", "1", "a*x+e"},
         0,
         "0\t0\n1\t3\n",
         "Hinweis: e ist nicht gesetzt und zählt als 0. e ist ein Parameter; für die Eulersche "
         "Zahl schreiben Sie exp(x).\n"},
        // Beyond 10^15 the integer digits would be noise.
        {{"table", "--from", "15", "--to", "16", "--step", "1", "--", "-10^x"},
         0,
         "15\t-1000000000000000\n16\t-1E+16\n",
         ""},
        {{"table", "--from", "1001", "--to", "1001", "--step", "1", "--", "-2^x"},
         0,
         "1001\t-2.143017E+301\n",
         ""},
    };
    for (const CliCase &c : cases)
        ExpectRun(c);
}

TEST(CliAnalysis, WrongCallsExitWith2AndTheUsage)
{
    const QStringList wrong[] = {
        {"analyse"},
        {"analyse", "x", "x"},
        {"analyse", "--from", "x", "x"},
        {"analyse", "--from", "1", "--to", "1", "x"},
        {"analyse", "--step", "1", "x"},
        {"derive", "--from", "1", "x"},
        {"table", "x"},
        {"table", "--from", "0", "--to", "1", "--step", "0", "x"},
        {"table", "--from", "0", "--to", "1000000", "--step", "1", "x"},
    };
    for (const QStringList &arguments : wrong) {
        const CliRun run = RunCli(arguments);
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains(QStringLiteral("Aufruf: linienwerk-cli")));
    }
}

} // namespace
