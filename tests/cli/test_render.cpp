// SPDX-License-Identifier: GPL-3.0-or-later
// What linienwerk-cli render draws, traced, and the calls it refuses.

#include "clirun.h"

#include "formula/normalise.h"
#include "gph/worksheet.h"
#include "graph/family.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>

using namespace lw::testing;

namespace {

const QString Usage = QStringLiteral("Aufruf: linienwerk-cli ");

TEST(CliRender, TraceOfAConstantOnTheDefaults)
{
    const CliRun run = Render({"--trace", "--", "2"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err.toStdString(), "");
    const QStringList lines = TraceLines(run);
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines.mid(0, 5),
              QStringList({"clear", "line 0 150 300 150 8421504", "line 150 0 150 300 8421504",
                           "line 165 150 165 155 8421504", "text 163 152 0 1"}));
    EXPECT_EQ(lines.count(QStringLiteral("clear")), 1);

    // The first sample lies on column 0 and starts the curve; the lines join on from there.
    QStringList curve = CurveOps(run);
    ASSERT_GE(curve.size(), 2);
    EXPECT_EQ(curve.takeFirst(), QStringLiteral("point 0 120 8388608"));
    EXPECT_EQ(curve.front(), QStringLiteral("line 0 120 2 120 8388608"));
    int column = 0;
    for (const QString &line : curve) {
        const Op op = Parse(line);
        ASSERT_EQ(op.kind, QStringLiteral("line")) << line.toStdString();
        EXPECT_EQ(op.numbers[0], column) << line.toStdString();
        EXPECT_EQ(op.numbers[1], 120);
        EXPECT_EQ(op.numbers[3], 120);
        column = op.numbers[2];
    }
    EXPECT_GE(column, 297);
    EXPECT_LE(column, 299);
}

TEST(CliRender, UnlinkedSamplesArePoints)
{
    const CliRun run = Render({"--trace", "--set", "LinkPoints=False", "--", "2"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList curve = CurveOps(run);
    EXPECT_EQ(curve.size(), 200);
    for (const QString &line : curve) {
        const Op op = Parse(line);
        EXPECT_EQ(op.kind, QStringLiteral("point")) << line.toStdString();
        EXPECT_GE(op.numbers[0], 0) << line.toStdString();
        EXPECT_EQ(op.numbers[1], 120) << line.toStdString();
    }
}

TEST(CliRender, SettingsAndSizeShapeTheCoordinateSystem)
{
    struct Case {
        QStringList arguments;
        QString expectedLine;
    };
    const Case cases[] = {
        {{"--size", "100", "2"}, "line 0 50 100 50 8421504"},
        {{"--size", "11", "2"}, "line 0 6 11 6 8421504"}, // 5,5 rounds to 6
        {{"--legend", "2", "--set", "LiveColor=255", "3"}, "text 4 15 255 3"}, // the second line
        {{"--set", "GraphColor=255", "2"}, "line 0 150 300 150 255"},
        {{"--set", "GraphNumberColor=65280", "2"}, "text 163 152 65280 1"},
        {{"--set", "GraphScaleX=10", "2"}, "line 180 150 180 155 8421504"},
        {{"--set", "ScreenCentralY=2", "2"}, "line 0 180 300 180 8421504"},
        {{"--set", "LiveColor=255", "2"}, "line 0 120 2 120 255"},
        {{"--set", "Precision=0,5", "--set", "LinkPoints=False", "2"}, "point 15 120 8388608"},
        {{"--set", "Precision=0.5", "--set", "LinkPoints=False", "2"}, "point 15 120 8388608"},
        {{"--set", "linkpoints=falsch", "2"}, "point 2 120 8388608"},
        {{"--set", "LinkPoints=False", "--set", "LinkPoints=True", "2"},
         "line 0 120 2 120 8388608"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(Shown(c.arguments));
        const CliRun run = Render(QStringList{"--trace"} + c.arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(TraceLines(run).contains(c.expectedLine)) << run.out.left(400).toStdString();
    }
}

TEST(CliRender, EquivalentCallsDrawTheSameCurve)
{
    struct Case {
        QStringList arguments;
        QStringList sameAs;
    };
    const Case cases[] = {
        {{"--kzn", "SUM(x;0)"}, {"x"}},
        {{"X"}, {"x"}},
        {{"--kzn", "PRO(x;1)"}, {"x"}},
        {{"--var", "a=2", "a*x"}, {"2*x"}},
        {{"a*x+b"}, {"0"}},
        {{"--var", "a=2", "a*x+b"}, {"2*x"}},
        {{"--var", "a=1", "--var", "a=2", "a*x"}, {"2*x"}},
        {{"--var", "a=2,5", "a*x"}, {"2.5*x"}},
        {{"--var", "a=10", "--var", "b=5", "a*x+b"}, {"10*x+5"}},
        {{"--kzn", "--var", "a=", "SUM(a;x)"}, {"x"}},
        {{"--", "-x"}, {"0-x"}},
        {{"SUM(2;0)", "--kzn"}, {"--kzn", "SUM(2;0)"}},
        {{"2 * x + 1"}, {"2*x+1"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(Shown(c.arguments));
        const CliRun run = Render(QStringList{"--trace"} + c.arguments);
        const CliRun expected = Render(QStringList{"--trace"} + c.sameAs);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(expected.exitCode, 0) << expected.err.toStdString();
        EXPECT_FALSE(CurveOps(expected).isEmpty());
        EXPECT_EQ(CurveOps(run), CurveOps(expected));
    }
}

TEST(CliRender, CurvesAccumulateUnlessAlwaysDeleted)
{
    const CliRun both = Render({"--trace", "2", "0"});
    const CliRun two = Render({"--trace", "2"});
    const CliRun zero = Render({"--trace", "0"});
    EXPECT_EQ(both.exitCode, 0);
    EXPECT_EQ(CurveOps(both), CurveOps(two) + CurveOps(zero));

    const CliRun deleting = Render({"--trace", "--set", "AlwaysDeleteGraph=True", "2", "0"});
    EXPECT_EQ(deleting.exitCode, 0);
    EXPECT_EQ(TraceLines(deleting).count(QStringLiteral("clear")), 3);
    const QStringList lines = TraceLines(deleting);
    EXPECT_EQ(lines.mid(lines.lastIndexOf(QStringLiteral("clear"))).filter(" 120 8388608"),
              QStringList());
}

TEST(CliRender, AFailedEquationIsReportedAndTheNextOneStillDrawn)
{
    const QString failed = QString::fromStdU16String(lw::ConversionFailedMessage()) + u'\n';
    const QString empty = QStringLiteral("Bitte geben Sie erst eine Funktionsgleichung ein.\n");
    struct Case {
        QStringList arguments;
        QString err; // empty: the line must start with "FEHLER: "
    };
    // Fits, but not once each x is a number text.
    const QString manyX = "SUM(x" + QStringLiteral(";x").repeated(9999) + ")";
    const Case cases[] = {
        {{"2*(x+1", "2"}, failed + "Zu '(' an Stelle 3 fehlt ')'\n"},
        {{"   ", "2"}, empty},
        {{"", "2"}, empty},
        {{"--kzn", " ", "SUM(2;0)"}, empty},
        {{"FOO(x)+1", "2"}, failed + "Unbekannter Name: 'FOO' an Stelle 1\n"},
        {{"--kzn", "SUM(1;FOO(x))", "SUM(2;0)"}, failed + "Unbekannter Name: 'FOO' an Stelle 7\n"},
        {{"--kzn", manyX, "SUM(2;0)"}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(Shown(c.arguments));
        const CliRun run = Render(QStringList{"--trace"} + c.arguments);
        EXPECT_EQ(run.exitCode, 1);
        if (c.err.isEmpty()) {
            EXPECT_TRUE(run.err.startsWith(QStringLiteral("FEHLER: "))) << run.err.toStdString();
            EXPECT_EQ(run.err.count(u'\n'), 1) << run.err.toStdString();
            EXPECT_TRUE(run.err.endsWith(u'\n'));
        } else {
            EXPECT_EQ(run.err.toStdString(), c.err.toStdString());
        }
        EXPECT_EQ(CurveOps(run).filter(QStringLiteral(" 120 8388608")).size(),
                  CurveOps(run).size());
        EXPECT_FALSE(CurveOps(run).isEmpty());
    }
}

TEST(CliRender, GapsAreNoFailure)
{
    const CliRun run = Render({"--trace", "--kzn", "SQR(DIF(0;x))"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err.toStdString(), "");
    const QStringList curve = CurveOps(run);
    ASSERT_FALSE(curve.isEmpty());
    for (const QString &line : curve) {
        const Op op = Parse(line);
        EXPECT_LE(op.numbers[op.kind == QStringLiteral("line") ? 2 : 0], 150) << line.toStdString();
    }
}

TEST(CliRender, WrongCallsNameTheReasonAndPrintTheUsage)
{
    const struct {
        QStringList arguments;
        QString named; // in the reason line before the usage
    } cases[] = {
        {{}, ""},
        {{"--"}, ""},
        {{"-x"}, "-x"},
        {{"--size", "0", "2"}, "0"},
        {{"--size", "10001", "2"}, "10001"},
        {{"--size", "abc", "2"}, "abc"},
        {{"--size", "2.5", "2"}, "2.5"},
        {{"2", "--size"}, "--size"},
        {{"--var", "z=1", "2"}, "z=1"},
        {{"--var", "A=1", "2"}, "A=1"},
        {{"--var", "a", "2"}, "a"},
        {{"--var", "ab=1", "2"}, "ab=1"},
        {{"--set", "Nope=1", "2"}, "Nope (bekannt sind: GraphColor, GraphNumberColor,"},
        {{"--set", "Precision", "2"}, "Precision"},
        {{"--set", "=1", "2"}, "=1"},
        {{"--set", "LinkPoints=vielleicht", "2"}, "LinkPoints"},
        {{"--set", "GraphScaleX=40000", "2"}, "GraphScaleX"},
        {{"--set", "Precision=abc", "2"}, "Precision"},
        {{"-o", "out.gif", "2"}, "out.gif"},
        {{"-o", "out", "2"}, "out"},
        {{"--bogus", "2"}, "--bogus"},
        {{"2", "--gph"}, "--gph"},
        {{"--size=300", "2"}, "--size=300"},
        {{"--family", "a=1:100:1", "x"}, "a=1:100:1"}, // more than 50 curves
        {{"--family", "a=1:2:-1", "x"}, "a=1:2:-1"},   // none
        {{"--family", "i=1:2:1", "x"}, "i=1:2:1"},
        {{"--family", "a=1:2", "x"}, "a=1:2"},
        {{"--family", "a=1:2:x", "x"}, "a=1:2:x"},
        {{"--family", "a=0:1:1", "--family", "b=0:1:1", "x"}, "b=0:1:1"},
        {{"--gph", "a.gph", "--sheet", "b.lwa", "x"}, "--sheet"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(Shown(c.arguments));
        const CliRun run = Render(QStringList{"--trace"} + c.arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.out.toStdString(), "");
        const qsizetype usage = run.err.indexOf(Usage);
        EXPECT_GT(usage, 0) << run.err.toStdString();
        EXPECT_TRUE(run.err.left(usage).contains(c.named)) << run.err.toStdString();
        EXPECT_TRUE(run.err.mid(usage).contains(QStringLiteral(" render ")));
    }
}

// The curves' steps of a trace, without the axes'.
QString CurveSteps(const QStringList &trace)
{
    return trace.filter(QRegularExpression("^(line|point) .* (?!8421504$)\\d+$")).join(u'\n');
}

// Each member is the curve of its value drawn alone, in the palette's colours in turn; the legend
// names the value.
TEST(CliRender, AFamilyDrawsOneCurveForEachValue)
{
    const std::pair<QString, QStringList> cases[] = {
        {"a=-2:2:1", {"-2", "-1", "0", "1", "2"}},
        {"b=0,5:1.5:0,5", {"0,5", "1", "1,5"}},
        {"c=12:1:-1", {"12", "11", "10", "9", "8", "7", "6", "5", "4", "3", "2", "1"}},
    };
    for (const auto &[family, values] : cases) {
        SCOPED_TRACE(family.toStdString());
        const QStringList run =
            TraceLines(Render({"--trace", "--legend", "--family", family, "a*x+b+c"}));
        QStringList legend;
        QStringList alone;
        for (qsizetype i = 0; i < values.size(); ++i) {
            const QString colour = QString::number(lw::FamilyPalette[i % 10]);
            legend << QStringLiteral("text 4 %1 %2 %3 = %4")
                          .arg(4 + 11 * i)
                          .arg(colour, family.left(1), values[i]);
            alone << CurveSteps(
                TraceLines(Render({"--trace", "--set", "LiveColor=" + colour, "--var",
                                   family.left(1) + '=' + values[i], "a*x+b+c"})));
        }
        EXPECT_EQ(run.filter(QRegularExpression("^text 4 ")), legend);
        EXPECT_EQ(CurveSteps(run).toStdString(), alone.join(u'\n').toStdString());
    }
}

// A sheet's own settings and legend, its visible curves in their colours and ways, then the
// equations of the call.
TEST(CliRender, ASheetDrawsItsVisibleCurvesBeforeTheEquations)
{
    QTemporaryDir dir;
    lw::Worksheet sheet;
    sheet.settings.ScreenCentralY = 2;
    sheet.settings.Legend = true;
    sheet.curves = {{.typed = u"x^2", .colour = 255, .precision = 0.5f, .linkPoints = false},
                    {.typed = u"SUM(x;1)", .notation = lw::Notation::Kzn, .colour = 65280},
                    {.typed = u"2", .colour = 16711680, .visible = false}};
    QString error;
    const QString file = dir.filePath(QStringLiteral("blatt.lwa"));
    ASSERT_TRUE(lw::SaveWorksheetFile(sheet, file, &error)) << error.toStdString();
    const CliRun run = Render({"--trace", "--sheet", file, "--", "-3"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(
        TraceLines(run).filter(QRegularExpression("^text 4 ")),
        QStringList({"text 4 4 255 x^2", "text 4 15 65280 SUM(x;1)", "text 4 26 8388608 -3"}));
    const QStringList view{"--trace", "--set", "ScreenCentralY=2"};
    const QStringList alone[] = {
        {"--set", "LiveColor=255", "--set", "Precision=0,5", "--set", "LinkPoints=False", "x^2"},
        {"--set", "LiveColor=65280", "--kzn", "SUM(x;1)"},
        {"--", "-3"},
    };
    QStringList steps;
    for (const QStringList &curve : alone)
        steps << CurveSteps(TraceLines(Render(view + curve)));
    EXPECT_EQ(CurveSteps(TraceLines(run)).toStdString(), steps.join(u'\n').toStdString());

    const QString missing = dir.filePath(QStringLiteral("fehlt.lwa"));
    const CliRun failed = Render({"--trace", "--sheet", missing, "x"});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.out + failed.err,
              QStringLiteral("Die Datei %1 kann nicht geladen werden: Die Datei gibt es nicht.\n")
                  .arg(missing));
}

TEST(CliRender, SettingsThatWouldDrawNothingOrNeverEndAreRefusedBeforeDrawing)
{
    const struct {
        QStringList arguments;
        const char *starts;
    } cases[] = {
        {{"--set", "Precision=0"}, "Die Rechengenauigkeit muss größer als 0 sein."},
        {{"--set", "Precision=-1"}, "Die Rechengenauigkeit muss größer als 0 sein."},
        {{"--set", "Precision=1E-9"}, "Die Rechengenauigkeit ist zu fein"},
        {{"--size", "10000", "--set", "GraphScaleX=16000", "--set", "Precision=0,0001"},
         "Die Rechengenauigkeit ist zu fein"},
        {{"--set", "GraphScaleX=0"}, "Der Anzeigebereich muss mindestens 1 sein."},
        {{"--set", "GraphScaleY=-20"}, "Der Anzeigebereich muss mindestens 1 sein."},
        {{"--size", "9"}, "Das Bild ist mit 9 Pixeln zu klein für den Anzeigebereich"},
    };
    for (const auto &c : cases) {
        const QStringList arguments = QStringList{"--trace"} + c.arguments + QStringList{"2"};
        SCOPED_TRACE(Shown(arguments));
        const CliRun run = Render(arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.out.toStdString(), "");
        EXPECT_EQ(run.err.count(u'\n'), 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.startsWith(QString::fromUtf8(c.starts))) << run.err.toStdString();
    }
}

TEST(CliRender, AcceptsTheLimits)
{
    const QStringList calls[] = {
        {"--size", "1", "--set", "GraphScaleX=1", "--set", "GraphScaleY=1", "2"},
        {"--size", "11", "2"}, // 0,55 pixels a unit round to 1; 10 would give 0
        {"--size", "10000", "2"},
        {"--set", "GraphScaleX=1", "--set", "Precision=0,001", "x"},
        {"--set", "Precision=20", "x"},
    };
    for (const QStringList &arguments : calls) {
        SCOPED_TRACE(Shown(arguments));
        const CliRun run = Render(arguments);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out.toStdString(), "");
        EXPECT_EQ(run.err.toStdString(), "");
    }
}

TEST(CliRender, HelpAndUsageIncludeRender)
{
    const CliRun help = RunCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("linienwerk-cli render [--size N]")));
    EXPECT_TRUE(help.out.contains(QStringLiteral("\nrender\n")));
    for (const QStringList &arguments :
         {QStringList{"render", "--help"}, {"--help", "render"}, {"render", "2", "--help"}}) {
        const CliRun run = RunCli(arguments);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out, help.out);
    }
    const CliRun usage = RunCli({"-x"});
    EXPECT_TRUE(usage.err.contains(QStringLiteral("\n        linienwerk-cli render ")));
    EXPECT_EQ(RunCli({"--", "render", "2"}).err, usage.err);
}

} // namespace
