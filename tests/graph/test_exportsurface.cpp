// SPDX-License-Identifier: GPL-3.0-or-later

#include "formula/eventhook.h"
#include "graph/exportsurface.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lw;

namespace {

// Draws the curve anew into the file and gives its text.
QString Saved(const QString &fileName, const CurveEntry &curve, QSize size = QSize(300, 300),
              GraphSettingsRecord settings = {})
{
    InstallEventHook({});
    EXPECT_EQ(SaveCurves({curve}, settings, size, Qt::white, fileName, *PictureFormatOf(fileName)),
              SaveOutcome::Saved);
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
}

// Five million samples were more than the screen's record kept; a file has no limit, and what a
// fine walk puts on one spot is left out.
TEST(ExportSurface, ALongDrawIsVectorsStill)
{
    QTemporaryDir dir;
    const QString svg = Saved(dir.filePath("lang.svg"),
                              {.formula = u"DIV(x;2)", .colour = 255, .precision = 4e-6f});
    EXPECT_FALSE(svg.contains(QStringLiteral("<image")));
    EXPECT_GT(svg.count(u','), 500); // the vertices
    EXPECT_LT(svg.size(), 100'000);
}

// A point marked on the screen goes out with its curve, its label as text in vector files.
TEST(ExportSurface, MarkedPointsGoOutWithTheirCurves)
{
    const CurveEntry curve{.formula = u"PRO(x;x)", .id = 7};
    const std::vector<PointMark> marks{{.curve = 7, .x = 1, .y = 1, .colour = 255, .label = u"P"}};
    EXPECT_NE(DrawCurvesImage({curve}, {}, QSize(100, 100), Qt::white, marks),
              DrawCurvesImage({curve}, {}, QSize(100, 100), Qt::white));
    QTemporaryDir dir;
    const QString file = dir.filePath("mark.svg");
    ASSERT_EQ(SaveCurves({curve}, {}, QSize(100, 100), Qt::white, file, PictureFormat::Svg, marks),
              SaveOutcome::Saved);
    QFile svg(file);
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    EXPECT_TRUE(svg.readAll().contains(">P<"));
}

// Every format states 96 pixels an inch; numbers and legend are text.
TEST(ExportSurface, FilesStateTheirSizeAlikeAndHoldText)
{
    QTemporaryDir dir;
    GraphSettingsRecord legend;
    legend.Legend = true;
    const CurveEntry curve{.typed = u"sin(x)", .formula = u"SIN(x)", .colour = 255};
    const QSize size(480, 240);
    const QString svg = Saved(dir.filePath("a.svg"), curve, size, legend);
    EXPECT_TRUE(svg.contains(QStringLiteral(R"(width="127mm" height="63.5mm")")));
    EXPECT_TRUE(Saved(dir.filePath("a.pdf"), curve, size)
                    .contains(QRegularExpression(
                        QStringLiteral(R"(/MediaBox \[0 0 360(\.0*)? 180(\.0*)?\])"))));
    Saved(dir.filePath("a.png"), curve, size);
    EXPECT_NEAR(QImage(dir.filePath("a.png")).dotsPerMeterX() * 0.127, 480, 0.1);

    for (const char *shown : {"sin(x)", "-5", "5", "-1"})
        EXPECT_TRUE(svg.contains(QStringLiteral(">%1</text>").arg(QLatin1String(shown)))) << shown;
    EXPECT_FALSE(svg.contains(QStringLiteral(R"(font-size="-1")")));
}

} // namespace
