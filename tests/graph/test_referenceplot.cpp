// SPDX-License-Identifier: GPL-3.0-or-later

#include "graphtesting.h"
#include "referenceplot.h"

#include "graph/plotgraph.h"
#include "tests/formula/seededrandom.h"

using namespace lw;

namespace {

struct PlotCase {
    GraphSettingsRecord settings;
    int width = 0, height = 0;
    std::u16string formula;
};

PlotCase randomCase(uint64_t seed)
{
    static const std::u16string formulas[] = {
        u"SUM(PRO(2;x);1)",
        u"POT(x;2)",
        u"DIV(1;x)",
        u"SQR(x)",
        u"SIN(x)",
        u"PRO(100;x)",
        u"SUM(2)",
        u"DIF(PRO(.5;x;x;x);3)",
        // Falling out of the picture: below it on both sides of 0, down across a pole, steeply.
        u"DIF(0;DIV(1;POT(x;2)))",
        u"DIV(DIF(0;1);x)",
        u"TAN(x)",
        u"DIF(0;TAN(x))",
        u"DIF(0;PRO(50;POT(x;4)))",
    };
    static const float precisions[] = {0.1f, 0.05f, 0.37f, 1, 0.3f, 0.01f,
                                       0.7f, 0.25f, 2.5f,  7, -0.5f};
    test::SeededRandom random(seed);
    const auto between = [&](int low, int high) {
        return low + random.below(high - low + 1);
    };
    PlotCase c;
    c.width = between(50, 1000);
    c.height = random.chance(50) ? c.width : between(50, 1000);
    // Mostly a few units across, sometimes so many that a unit is one or two pixels.
    const auto scale = [&](int size) {
        return int16_t(random.chance(70) ? between(1, 40) : between(41, 2 * size - 1));
    };
    GraphSettingsRecord &s = c.settings;
    s.GraphScaleX = scale(c.width);
    s.GraphScaleY = scale(c.height);
    // Often a whole number of pixels per unit, as 300 pixels for 20 units are.
    const auto whole = [&](int &size, int16_t units) {
        if (units <= 40 && random.chance(40))
            size = units * between((units + 49) / units, 1000 / units);
    };
    whole(c.width, s.GraphScaleX);
    whole(c.height, s.GraphScaleY);
    s.ScreenCentralX = int16_t(between(-30, 30));
    s.ScreenCentralY = int16_t(between(-30, 30));
    if (random.chance(30)) { // a view moved by the wheel or a drag
        s.CentreFractionX = between(-4999, 4999) / 1e4;
        s.CentreFractionY = between(-4999, 4999) / 1e4;
    }
    // Origins from a little beyond the left or bottom edge to a little beyond the right or top.
    s.OriginX = int16_t(s.ScreenCentralX + between(-s.GraphScaleX / 2 - 3, s.GraphScaleX / 2 + 3));
    s.OriginY = int16_t(s.ScreenCentralY + between(-s.GraphScaleY / 2 - 3, s.GraphScaleY / 2 + 3));
    for (int16_t *spacing :
         {&s.PutMarkEachX, &s.PutMarkEachY, &s.PutNumberEachX, &s.PutNumberEachY})
        *spacing = int16_t(between(-1, 4));
    do
        s.Precision = precisions[random.below(std::size(precisions))];
    while (s.GraphScaleX / s.Precision > 3000);
    s.LinkPoints = random.chance(50);
    for (Colour *colour : {&s.GraphColor, &s.GraphNumberColor, &s.LiveColor})
        *colour = Colour(random.next() & 0xffffff);
    c.formula = formulas[random.below(std::size(formulas))];
    return c;
}

using ReferencePlot = lw::testing::DrawingTest;

TEST_F(ReferencePlot, ProgramDrawsWhatTheStepsGiveForRandomPicturesAndCurves)
{
    int differing = 0;
    int visible = 0;
    for (uint64_t seed = 1; seed <= 1000; ++seed) {
        const PlotCase c = randomCase(seed);
        GraphSettings = c.settings;
        setSize(c.width, c.height);
        picture.forget();
        drawAxes();
        const bool anyVisible = plot(c.formula).anyVisible;
        const QStringList actual = ops();
        const test::ReferenceDrawing expected =
            test::ReferencePicture(c.settings, c.width, c.height, c.formula);
        visible += expected.curveVisible;
        if (actual == expected.steps && anyVisible == expected.curveVisible)
            continue;
        // The seed reproduces the case; the first differing step says what went wrong.
        if (++differing <= 3)
            ADD_FAILURE() << "seed " << seed << ": expected visible " << expected.curveVisible
                          << "\n"
                          << expected.steps.join(u'\n').toStdString() << "\ndrawn, visible "
                          << anyVisible << "\n"
                          << actual.join(u'\n').left(4000).toStdString();
    }
    EXPECT_EQ(differing, 0) << "seeds whose picture differs";
    // Both answers of the visibility occur, or the comparison of it proves little.
    EXPECT_GT(visible, 0);
    EXPECT_LT(visible, 1000);
}

} // namespace
