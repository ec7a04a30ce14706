// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph/imagesurface.h"
#include "graph/surfaceoperation.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <array>
#include <random>

using namespace lw;

namespace {

class ImageSurfaceTest : public ::testing::Test {};

const QColor Background = PictureBackground();

TEST_F(ImageSurfaceTest, LinesAndPointsLandOnTheirPixelsWithoutAntialiasing)
{
    ImageSurface surface(QSize(300, 300), 1.0, Background);
    surface.clear();
    surface.line(0, 150, 300, 150, 8421504);
    surface.line(150, 0, 150, 300, 8421504);
    surface.point(20, 30, 8388608);
    const QImage &image = surface.image();
    EXPECT_EQ(image.size(), QSize(300, 300));
    EXPECT_EQ(image.pixelColor(10, 150), QColor(128, 128, 128));
    EXPECT_EQ(image.pixelColor(10, 149), Background);
    EXPECT_EQ(image.pixelColor(10, 151), Background);
    EXPECT_EQ(image.pixelColor(150, 10), QColor(128, 128, 128));
    EXPECT_EQ(image.pixelColor(20, 30), QColor(0, 0, 128));
    EXPECT_EQ(image.pixelColor(21, 30), Background);
}

TEST_F(ImageSurfaceTest, DevicePixelRatioKeepsLogicalPositions)
{
    ImageSurface surface(QSize(100, 100), 2.0, Background);
    surface.point(10, 20, 255);
    const QImage &image = surface.image();
    EXPECT_EQ(image.size(), QSize(200, 200));
    EXPECT_EQ(image.pixelColor(20, 40), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(21, 41), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(22, 40), Background);
}

TEST_F(ImageSurfaceTest, KeepsItsPictureUntilClearedAndReportsWhatChanged)
{
    ImageSurface surface(QSize(50, 50), 1.0, Background);
    EXPECT_EQ(surface.takeDirtyRect(), QRect(0, 0, 50, 50));
    EXPECT_TRUE(surface.takeDirtyRect().isEmpty());
    int announced = 0;
    surface.setChangeListener([&] { ++announced; });
    surface.line(5, 5, 10, 5, 0);
    surface.line(7, 40, 7, 45, 0);
    EXPECT_TRUE(surface.takeDirtyRect().contains(QRect(5, 5, 6, 41)));
    EXPECT_EQ(announced, 1); // the rest waits for the taker
    const QImage copy = surface.image();
    surface.point(40, 40, 0);
    EXPECT_EQ(copy.pixelColor(40, 40), Background); // a copy keeps what it showed
    EXPECT_EQ(surface.image().pixelColor(40, 40), QColor(0, 0, 0));
    EXPECT_EQ(surface.image().pixelColor(5, 5), QColor(0, 0, 0)); // still there
    surface.clear();
    EXPECT_EQ(surface.image().pixelColor(5, 5), Background);
}

TEST_F(ImageSurfaceTest, TextHangsBelowAndRightOfItsPosition)
{
    ImageSurface surface(QSize(60, 40), 1.0, Background);
    surface.setTextPosition(10, 10);
    surface.setTextColour(255);
    surface.text(QStringLiteral("10"));
    const QImage &image = surface.image();
    bool inked = false;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 60; ++x) {
            if (image.pixelColor(x, y) != Background) {
                inked = true;
                EXPECT_GE(x, 10);
                EXPECT_GE(y, 10);
                EXPECT_LT(y, 22); // a 6-point face stays within about 8 pixels
            }
        }
    }
    EXPECT_TRUE(inked);
}

// QPainter itself is the reference, on random figures in every octant, of zero length, on, just
// beyond and far beyond the edges, at both device pixel ratios.
TEST_F(ImageSurfaceTest, PaintsTheSamePixelsAsQPainter)
{
    std::mt19937 random(1906);
    for (int round = 0; round < 4000; ++round) {
        const qreal ratio = round % 8 ? 1.0 : 2.0;
        const int reach = std::array{0, 1, 3, 40, 3000}[round % 5];
        std::uniform_int_distribution<int> x(-reach, 36 + reach), y(-reach, 22 + reach),
            near(-4, 4);
        ImageSurface surface(QSize(37, 23), ratio, Background);
        QImage expected(QSize(37, 23) * ratio, QImage::Format_RGB32);
        expected.setDevicePixelRatio(ratio);
        expected.fill(Background);
        QPainter painter(&expected);
        QString figures;
        for (int figure = 0; figure < 4; ++figure) {
            const auto colour = static_cast<Colour>(random() & 0xffffff);
            const int x1 = x(random), y1 = y(random);
            const bool step = random() % 2; // as a walk draws: a few pixels on
            const int x2 = step ? x1 + near(random) : x(random);
            const int y2 = step ? y1 + near(random) : y(random);
            figures += QStringLiteral(" (%1,%2)-(%3,%4)").arg(x1).arg(y1).arg(x2).arg(y2);
            if (figure == 3) {
                surface.point(x1, y1, colour);
                painter.fillRect(QRect(x1, y1, 1, 1), ToQColor(colour));
            } else {
                surface.line(x1, y1, x2, y2, colour);
                painter.setPen(QPen(ToQColor(colour), 1));
                painter.drawLine(x1, y1, x2, y2);
            }
        }
        painter.end();
        ASSERT_EQ(surface.image(), expected) << "ratio " << ratio << qPrintable(figures);
    }
}

// Moved by rows, on itself or from another, as QPainter moves it.
TEST_F(ImageSurfaceTest, ShowsAPictureMovedAsQPainterDoes)
{
    std::mt19937 random(8);
    std::uniform_int_distribution<int> coordinate(-3, 40), shift(-45, 45);
    for (int round = 0; round < 200; ++round) {
        ImageSurface source(QSize(37, 23), 1.0, Background), moved(QSize(37, 23), 1.0, Background);
        for (int figure = 0; figure < 6; ++figure)
            source.line(coordinate(random), coordinate(random), coordinate(random),
                        coordinate(random), Colour(random() & 0xffffff));
        const QPoint offset(shift(random), shift(random) / 2);
        QImage expected(source.image().size(), QImage::Format_RGB32);
        expected.fill(Background);
        QPainter(&expected).drawImage(offset, source.image());
        moved.showShifted(source, offset);
        source.showShifted(source, offset);
        ASSERT_EQ(moved.image(), expected) << offset.x() << "," << offset.y();
        ASSERT_EQ(source.image(), expected) << offset.x() << "," << offset.y();
    }
}

} // namespace
