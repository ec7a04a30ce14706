#include "graph/imagesurface.h"
#include "graph/surfaceoperation.h"

#include <gtest/gtest.h>

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
    surface.line(5, 5, 10, 5, 0);
    EXPECT_TRUE(surface.takeDirtyRect().contains(QRect(5, 5, 6, 1)));
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

} // namespace
