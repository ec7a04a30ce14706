// SPDX-License-Identifier: GPL-3.0-or-later
// The picture files and graph files of linienwerk-cli render.

#include "clirun.h"

#include "gph/gphcodec.h"
#include "graph/surfaceoperation.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lw::testing;

namespace {

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

// Most lines of this parabola run far above the picture; the SVG keeps only those that reach it,
// and a line that crosses the edge whole. Its vertices lie on the parabola (15 pixels a unit, the
// origin in the middle), not on the pixels they round to.
TEST(CliRender, AnSvgHoldsTheCurveBetweenPixelsAndNothingOutside)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("kurve.svg"));
    const CliRun run = Render({"--set", "Precision=0,001", "-o", file, "2*x^2+3*x-4"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QString svg = QString::fromUtf8(written.readAll());
    const QRegularExpression polyline(QStringLiteral(R"re(<polyline[^>]* points="([^"]*)")re"));
    int above = 0;
    int crossing = 0;
    for (const QRegularExpressionMatch &line : polyline.globalMatch(svg)) {
        const QStringList vertices = line.captured(1).split(u' ', Qt::SkipEmptyParts);
        for (qsizetype i = 0; vertices.size() > 10 && i < vertices.size(); ++i) {
            const double u = (vertices[i].section(u',', 0, 0).toDouble() - 150) / 15;
            const double y = vertices[i].section(u',', 1).toDouble();
            EXPECT_NEAR(y, 150 - 15 * (2 * u * u + 3 * u - 4), 0.01) << u;
        }
        for (qsizetype i = 1; i < vertices.size(); ++i) {
            const double y1 = vertices[i - 1].section(u',', 1).toDouble();
            const double y2 = vertices[i].section(u',', 1).toDouble();
            above += y1 < -1 && y2 < -1;
            crossing += (y1 < 0) != (y2 < 0);
        }
    }
    EXPECT_EQ(above, 0);
    EXPECT_GE(crossing, 1);
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

} // namespace
