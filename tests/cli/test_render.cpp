#include "clirun.h"

#include "formula/evaluator.h"
#include "formula/normalise.h"
#include "gph/gphcodec.h"
#include "graph/surfaceoperation.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using lw::testing::CliRun;
using lw::testing::RunCli;

namespace {

CliRun Render(const QStringList &arguments)
{
    return RunCli(QStringList{QStringLiteral("render")} + arguments);
}

std::string Shown(const QStringList &arguments)
{
    return arguments.join(QStringLiteral(" | ")).left(100).toStdString();
}

QStringList TraceLines(const CliRun &run)
{
    return run.out.split(u'\n', Qt::SkipEmptyParts);
}

// The curve's operations: everything drawn in the default LiveColor.
QStringList CurveOps(const CliRun &run)
{
    return TraceLines(run).filter(QRegularExpression(QStringLiteral(" 8388608$")));
}

struct Op {
    QString kind;
    QList<int> numbers;
};

Op Parse(const QString &line)
{
    const QStringList parts = line.split(u' ');
    Op op{parts.front(), {}};
    for (qsizetype i = 1; i < parts.size(); ++i)
        op.numbers << parts[i].toInt();
    return op;
}

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

    // The first sample lies on column 0: not drawn, but the line starts there.
    const QStringList curve = CurveOps(run);
    ASSERT_FALSE(curve.isEmpty());
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
    EXPECT_EQ(curve.size(), 199);
    for (const QString &line : curve) {
        const Op op = Parse(line);
        EXPECT_EQ(op.kind, QStringLiteral("point")) << line.toStdString();
        EXPECT_GT(op.numbers[0], 0) << line.toStdString();
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
        {{"--size", "1", "2"}, "clear"},
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
        {{"2*(x+1", "2"}, failed},
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
        {{"--set", "Nope=1", "2"}, "Nope"},
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

TEST(CliRender, APrecisionThatNeverEndsIsRefusedBeforeDrawing)
{
    const QString notPositive = QStringLiteral("Die Rechengenauigkeit muss größer als 0 sein.\n");
    const struct {
        QStringList settings;
        bool positive;
    } cases[] = {
        {{"Precision=0"}, false},
        {{"Precision=-1"}, false},
        {{"Precision=1E-9"}, true},
        {{"GraphScaleX=30000", "Precision=0,0001"}, true},
    };
    for (const auto &c : cases) {
        QStringList arguments{"--trace"};
        for (const QString &setting : c.settings)
            arguments << "--set" << setting;
        SCOPED_TRACE(Shown(arguments));
        const CliRun run = Render(arguments + QStringList{"2"});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.out.toStdString(), "");
        EXPECT_EQ(run.err.count(u'\n'), 1) << run.err.toStdString();
        EXPECT_EQ(run.err == notPositive, !c.positive) << run.err.toStdString();
    }
}

TEST(CliRender, AcceptsTheLimits)
{
    const QStringList calls[] = {
        {"--size", "1", "2"},
        {"--size", "10000", "2"},
        {"--set", "GraphScaleX=1", "--set", "Precision=0,001", "x"},
        {"--set", "Precision=20", "x"},
        {"--set", "GraphScaleX=-20", "x"},
    };
    for (const QStringList &arguments : calls) {
        SCOPED_TRACE(Shown(arguments));
        const CliRun run = Render(arguments);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out.toStdString(), "");
        EXPECT_EQ(run.err.toStdString(), "");
    }
}

TEST(CliRender, WritesAPngAsThePictureShowsIt)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("kurve.PNG"));
    const CliRun run = Render({"-o", file, "2"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.toStdString(), "");
    const QImage image(file, "PNG");
    ASSERT_EQ(image.size(), QSize(300, 300));
    EXPECT_EQ(image.pixel(150, 120) & 0xffffff, 0x000080u);
    EXPECT_EQ(image.pixel(100, 120) & 0xffffff, 0x000080u);
    EXPECT_EQ(image.pixel(40, 40) & 0xffffff, 0xf0f0f0u);
    EXPECT_EQ(image.pixel(40, 150) & 0xffffff, 0x808080u);

    const QString small = dir.filePath(QStringLiteral("klein.png"));
    EXPECT_EQ(Render({"--size", "120", "-o", small, "2"}).exitCode, 0);
    EXPECT_EQ(QImage(small).size(), QSize(120, 120));
}

lw::SurfaceOperation Operation(const QString &line)
{
    const Op op = Parse(line);
    const auto n = [&](qsizetype i) {
        return op.numbers.value(i);
    };
    if (op.kind == QStringLiteral("line"))
        return {lw::SurfaceOperation::Kind::Line, n(0), n(1), n(2), n(3), lw::Colour(n(4)), {}};
    if (op.kind == QStringLiteral("point"))
        return {lw::SurfaceOperation::Kind::Point, n(0), n(1), 0, 0, lw::Colour(n(2)), {}};
    return {};
}

// Without numbers the picture needs no fonts, so the test can paint the trace itself.
TEST(CliRender, ThePngShowsEveryTracedOperation)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("kurve.png"));
    for (const char *link : {"LinkPoints=True", "LinkPoints=False"}) {
        SCOPED_TRACE(link);
        const CliRun run =
            Render({"--trace", "-o", file, "--set", "PutNumberEachX=0", "--set", "PutNumberEachY=0",
                    "--set", "Precision=0,001", "--set", link, "2*x^2+3*x-4", "1/x"});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        QImage painted(300, 300, QImage::Format_RGB32);
        painted.fill(lw::PictureBackground());
        {
            QPainter painter(&painted);
            for (const QString &line : TraceLines(run))
                lw::PaintOperation(painter, Operation(line), lw::PictureBackground());
        }
        EXPECT_TRUE(QImage(file).convertToFormat(QImage::Format_RGB32) == painted);
    }
}

TEST(CliRender, TraceAndPictureTogether)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("kurve.png"));
    const CliRun both = Render({"--trace", "-o", file, "x"});
    EXPECT_EQ(both.exitCode, 0);
    EXPECT_EQ(both.out, Render({"--trace", "x"}).out);
    EXPECT_EQ(QImage(file).size(), QSize(300, 300));
}

TEST(CliRender, WritesVectorFiles)
{
    QTemporaryDir dir;
    const struct {
        QString name;
        QStringList starts;
    } cases[] = {
        {"kurve.svg", {"<?xml", "<svg"}},
        {"kurve.SVG", {"<?xml", "<svg"}},
        {"kurve.pdf", {"%PDF"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const QString file = dir.filePath(c.name);
        const CliRun run = Render({"-o", file, "--set", "AlwaysDeleteGraph=True", "2", "x"});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        QFile written(file);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        const QByteArray head = written.read(16);
        EXPECT_TRUE(head.startsWith(c.starts.front().toLatin1())
                    || head.startsWith(c.starts.back().toLatin1()))
            << head.toStdString();
    }
}

TEST(CliRender, AnUnwritableFileIsAFailure)
{
    QTemporaryDir dir;
    for (const char *name : {"fehlt/kurve.png", "fehlt/kurve.svg", "fehlt/kurve.pdf"}) {
        const QString file = dir.filePath(QLatin1String(name));
        const CliRun run = Render({"-o", file, "2"});
        EXPECT_EQ(run.exitCode, 1) << name;
        EXPECT_EQ(run.err.toStdString(),
                  QStringLiteral("Die Datei %1 kann nicht geschrieben werden.\n")
                      .arg(file)
                      .toStdString());
    }
}

// A graph file as the program writes it in Germany.
QString WriteGraphFile(const QTemporaryDir &dir, const lw::GraphSettingsRecord &settings,
                       const QString &equation, const char *name = "graph.GPH")
{
    const QString path = dir.filePath(QLatin1String(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(lw::WriteGph(settings, equation, QDateTime(QDate(2024, 3, 5), QTime(14, 5, 9)),
                            QLocale(QLocale::German, QLocale::Germany)));
    return path;
}

TEST(CliRender, AGraphFileGivesSettingsAndTheFirstEquation)
{
    QTemporaryDir dir;
    lw::GraphSettingsRecord settings;
    settings.LinkPoints = false;
    settings.ScreenCentralY = 2;
    settings.Precision = 0.5f;
    settings.LiveColor = 255; // not in the file
    const QString file = WriteGraphFile(dir, settings, QStringLiteral(" 1 + 1 "));
    const QStringList same{"--set", "LinkPoints=False", "--set", "Precision=0,5"};
    const struct {
        QStringList arguments;
        QStringList sameAs;
    } cases[] = {
        {{"--gph", file}, same + QStringList{"--set", "ScreenCentralY=2", "2"}},
        {{"--set", "ScreenCentralY=0", "--gph", file}, same + QStringList{"2"}},
        {{"--gph", file, "--set", "LinkPoints=True"},
         QStringList{"--set", "Precision=0,5", "--set", "ScreenCentralY=2", "2"}},
        {{"0", "--gph", file}, same + QStringList{"--set", "ScreenCentralY=2", "2", "0"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(Shown(c.arguments));
        const CliRun run = Render(QStringList{"--trace"} + c.arguments);
        const CliRun expected = Render(QStringList{"--trace"} + c.sameAs);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_FALSE(CurveOps(expected).isEmpty());
        EXPECT_EQ(run.out, expected.out);
    }
}

TEST(CliRender, ABadGraphFileNamesFileAndLineAndDrawsNothing)
{
    QTemporaryDir dir;
    const QString bad = WriteGraphFile(dir, {}, QStringLiteral("x"), "bad.GPH");
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    bytes.replace("True\r\n", "Wahr\r\n");
    file.resize(0);
    file.write(bytes);
    file.close();
    lw::GraphSettingsRecord flat;
    flat.GraphScaleY = 0;
    const QString neverDrawn = WriteGraphFile(dir, flat, QStringLiteral("x"), "flat.GPH");
    const struct {
        QString file;
        QString reason;
    } cases[] = {
        {bad, QStringLiteral("Zeile 17: erwartet wird True oder False (LinkPoints).")},
        {neverDrawn,
         QStringLiteral("Zeile 16: erwartet wird eine ganze Zahl von 1 bis 32767 (GraphScaleY).")},
        {dir.filePath(QStringLiteral("fehlt.GPH")), QStringLiteral("Die Datei gibt es nicht.")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        const CliRun run = Render({"--trace", "--gph", c.file, "x"});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out.toStdString(), "");
        EXPECT_EQ(run.err.toStdString(),
                  QStringLiteral("Die Datei %1 kann nicht geladen werden: %2\n")
                      .arg(c.file, c.reason)
                      .toStdString());
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
