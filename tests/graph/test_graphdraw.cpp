// SPDX-License-Identifier: GPL-3.0-or-later

#include "graphtesting.h"

using namespace lw;

namespace {

class CoordinateSystem : public lw::testing::DrawingTest {};

TEST_F(CoordinateSystem, DefaultsOnA300PixelSquare)
{
    drawAxes();
    EXPECT_EQ(geometry().PixelsPerUnitX, 15);
    EXPECT_EQ(geometry().PixelsPerUnitY, 15);
    EXPECT_EQ(geometry().CentralPixelX, 150);
    EXPECT_EQ(geometry().CentralPixelY, 150);
    EXPECT_EQ(geometry().HalfRangeX, 10.0f);
    EXPECT_EQ(geometry().OriginPixelX, 150);
    EXPECT_EQ(geometry().OriginPixelY, 150);

    const QStringList expectedStart = {
        "clear",
        "line 0 150 300 150 8421504",
        "line 150 0 150 300 8421504",
        "line 165 150 165 155 8421504",
        "text 163 152 0 1",
    };
    EXPECT_EQ(ops().mid(0, 5), expectedStart);
    for (const char *line : {
             "line 300 150 300 155 8421504", // the bound itself is reached exactly
             "text 283 152 0 9",
             "line 135 150 135 155 8421504",
             "text 129 152 0 -1",
             "line 0 150 0 155 8421504",
             "line 150 135 145 135 8421504",
             "text 140 130 0 1",
             "text 136 160 0 -1",
             "line 150 300 145 300 8421504",
         })
        EXPECT_TRUE(has(line)) << line;
    // The four tens would be cut by the edges, where "10" and "-10" would read "1" and "0".
    for (const char *line :
         {"text 296 152 0 10", "text -8 152 0 -10", "text 136 -5 0 10", "text 132 295 0 -10"})
        EXPECT_FALSE(has(line)) << line;
    // Four walks of ten marks and nine numbers, two axes, one clearing; no "0".
    EXPECT_EQ(ops().size(), 79);
    EXPECT_FALSE(ops().join('\n').contains(" 0\n"));
}

TEST_F(CoordinateSystem, RoundsHalvesToEven)
{
    const struct {
        int width;
        int16_t pixelsPerUnit;
        int16_t centre;
    } cases[] = {{250, 12, 125}, {270, 14, 135}, {301, 15, 150}, {303, 15, 152}, {300, 15, 150}};
    for (const auto &c : cases) {
        setSize(c.width, 300);
        drawAxes();
        EXPECT_EQ(geometry().PixelsPerUnitX, c.pixelsPerUnit) << c.width;
        EXPECT_EQ(geometry().CentralPixelX, c.centre) << c.width;
    }
}

TEST_F(CoordinateSystem, OriginShiftsTheNumbers)
{
    GraphSettings.OriginX = 3;
    drawAxes();
    EXPECT_EQ(geometry().OriginPixelX, 195);
    EXPECT_TRUE(has("text 208 152 0 4"));
    EXPECT_TRUE(has("text 176 152 0 2"));
}

TEST_F(CoordinateSystem, SpacingsOfMarksAndNumbers)
{
    GraphSettings.PutMarkEachX = 0;
    GraphSettings.PutNumberEachY = 2;
    drawAxes();
    const QStringList lines = ops();
    int xMarks = 0;
    int yNumbers = 0;
    for (const QString &line : lines) {
        if (line.startsWith("line") && line.endsWith(" 150 155 8421504"))
            ++xMarks;
        if (line.startsWith("text 14") || line.startsWith("text 136")
            || line.startsWith("text 132"))
            ++yNumbers;
    }
    EXPECT_EQ(xMarks, 0);
    EXPECT_TRUE(has("text 163 152 0 1")); // the x axis keeps its numbers
    // 2 to 8 and -2 to -8: the tens are cut by the edges.
    EXPECT_EQ(yNumbers, 8);
    EXPECT_TRUE(has("text 140 115 0 2"));
    EXPECT_FALSE(has("text 140 130 0 1"));
    EXPECT_TRUE(has("text 136 175 0 -2"));
}

TEST_F(CoordinateSystem, OriginBeyondTheRightEdgeLeavesThePictureEmpty)
{
    GraphSettings.OriginX = 11;
    drawAxes();
    EXPECT_EQ(ops(), QStringList{"clear"});

    GraphSettings.OriginX = -11;
    drawAxes();
    for (const char *line :
         {"line 0 150 300 150 8421504", "line -15 0 -15 300 8421504", "text 11 152 0 -9"})
        EXPECT_TRUE(has(line)) << line;
    EXPECT_FALSE(has("text -6 152 0 -10")); // cut by the left edge
}

TEST_F(CoordinateSystem, NumbersTakeTheirColour)
{
    GraphSettings.GraphNumberColor = 255;
    drawAxes();
    EXPECT_TRUE(has("text 163 152 255 1"));
}

TEST_F(CoordinateSystem, UnplaceableGeometryDrawsNothingOrStopsWhereItOverflows)
{
    const struct {
        int16_t scaleX;
        int width;
        int16_t originX;
        int16_t centreX;
    } empty[] = {
        {0, 300, 0, 0},       // no range
        {-20, 300, 0, 0},     // negative range
        {20, 5, 0, 0},        // less than a pixel a unit
        {20, 300, -32000, 0}, // crossing point beyond 16 bits
        {20, 300, 32767, -32768},
    };
    for (const auto &c : empty) {
        SetUp();
        GraphSettings.GraphScaleX = c.scaleX;
        GraphSettings.OriginX = c.originX;
        GraphSettings.ScreenCentralX = c.centreX;
        setSize(c.width, 300);
        drawAxes();
        EXPECT_EQ(ops(), QStringList{"clear"}) << c.scaleX << " " << c.width << " " << c.originX;
    }

    // The walk to the right runs out of 16 bits after its tenth mark, whose number the edge cuts.
    SetUp();
    setSize(32767, 300);
    drawAxes();
    EXPECT_EQ(geometry().PixelsPerUnitX, 1638);
    EXPECT_EQ(ops().size(), 22);
    EXPECT_TRUE(has("line 32764 150 32764 155 8421504"));
}

} // namespace
