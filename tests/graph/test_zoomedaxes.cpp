// SPDX-License-Identifier: GPL-3.0-or-later

#include "graph/plotgraph.h"
#include "graph/recordingsurface.h"
#include "graph/viewsteps.h"
#include "tests/formula/seededrandom.h"

#include <QRect>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace lw;

namespace {

struct Drawn {
    PlotGeometry geometry;
    QStringList ops;
};

Drawn drawn(const GraphSettingsRecord &view, int width, int height)
{
    RecordingSurface surface;
    const PlotGeometry g = ComputeGeometry(view, int16_t(width), int16_t(height));
    DrawCoordinateSystem(g, view, surface);
    return {g, surface.lines()};
}

struct Label {
    QRect box;
    double value;
    bool xAxis;
};

// Axis numbers by where they stand: below the x axis or left of the y axis.
std::vector<Label> labelsOf(const Drawn &d)
{
    std::vector<Label> labels;
    static const QRegularExpression number(QStringLiteral("^-?\\d+(,\\d*[1-9])?$"));
    for (const QString &op : d.ops) {
        const QStringList parts = op.split(u' ');
        if (parts[0] != QLatin1String("text"))
            continue;
        const QString text = parts[4];
        EXPECT_TRUE(number.match(text).hasMatch()) << text.toStdString();
        const QRect box(parts[1].toInt(), parts[2].toInt(), 4 * int(text.size()), 8);
        const bool xAxis = box.y() == d.geometry.OriginPixelY + 2;
        EXPECT_TRUE(xAxis || box.right() + 1 == d.geometry.OriginPixelX - 6) << op.toStdString();
        labels.push_back({box, QString(text).replace(u',', u'.').toDouble(), xAxis});
    }
    return labels;
}

// Close up at the crossing point, or anywhere, then zoomed in and out (the wheel's way too).
GraphSettingsRecord randomZoomedView(test::SeededRandom &random, int width, int height)
{
    GraphSettingsRecord view;
    const bool near = random.chance(50);
    view.GraphScaleX = int16_t(1 + random.below(near ? 6 : 30));
    view.GraphScaleY = int16_t(1 + random.below(near ? 6 : 30));
    view.OriginX = int16_t(near ? 0 : random.below(7) - 3);
    EXPECT_TRUE(PlaceCentre(view, {random.below(4001) / (near ? 4000.0 : 13.0) - (near ? 0.5 : 150),
                                   random.below(401) / (near ? 400.0 : 17.0) - (near ? 0.5 : 10)}));
    for (int i = 1 + random.below(12); i > 0; --i) {
        if (random.chance(50))
            ZoomViewAbout(view, random.chance(30), width, height, random.below(width),
                          random.below(height));
        else
            ZoomView(view, random.chance(near ? 10 : 30), width, height);
    }
    return view;
}

// Random views reached by zooming in and out (the wheel's way too), drawn and read back: every
// number is a multiple of the spacing written with the decimal comma, stands at its value to the
// pixel, lies whole inside the picture and clear of every other, and close up (range 1 or 2)
// both axes carry numbers.
TEST(ZoomedAxes, NumbersStandAtTheirValuesWholeAndApart)
{
    test::SeededRandom random(7);
    int closeUps = 0;
    for (int round = 0; round < 1500; ++round) {
        const int width = 80 + random.below(900);
        const int height = 80 + random.below(900);
        const GraphSettingsRecord view = randomZoomedView(random, width, height);
        const Drawn d = drawn(view, width, height);
        // A view set by hand keeps the spacing it was given, whatever it shows.
        if (!d.geometry.OriginPlaced || view.ZoomSpacingX == 0)
            continue;
        const PlotGeometry &g = d.geometry;
        const std::vector<Label> labels = labelsOf(d);
        int onX = 0;
        int onY = 0;
        for (std::size_t i = 0; i < labels.size(); ++i) {
            const Label &l = labels[i];
            SCOPED_TRACE(testing::Message() << "round " << round << " value " << l.value);
            EXPECT_TRUE(QRect(0, 0, width, height).contains(l.box));
            const double spacing = l.xAxis ? view.ZoomSpacingX : view.ZoomSpacingY;
            const double steps = (l.value - (l.xAxis ? view.OriginX : view.OriginY)) / spacing;
            EXPECT_NEAR(steps, std::round(steps), 1e-6);
            if (l.xAxis) {
                ++onX;
                const double column = g.OriginPixelX + (l.value - view.OriginX) * g.PixelsPerUnitX;
                const double centre =
                    l.box.x() + l.box.width() / 2.0 + (l.value < view.OriginX ? 2 : 0);
                EXPECT_NEAR(centre, column, 1.0);
            } else {
                ++onY;
                const double row = g.OriginPixelY - (l.value - view.OriginY) * g.PixelsPerUnitY;
                EXPECT_NEAR(l.box.y() + 5, row, 1.0);
            }
            for (std::size_t j = i + 1; j < labels.size(); ++j)
                EXPECT_FALSE(l.box.intersects(labels[j].box)) << labels[j].value;
        }
        // Close up, with the crossing point in the middle of the picture, no axis goes bare.
        const bool middle = std::abs(g.OriginPixelX - width / 2) < width / 5
                            && std::abs(g.OriginPixelY - height / 2) < height / 5;
        if (middle && view.GraphScaleX <= 2 && width >= 150) {
            ++closeUps;
            EXPECT_GE(onX, 2) << "round " << round;
        }
        if (middle && view.GraphScaleY <= 2 && height >= 150) {
            EXPECT_GE(onY, 2) << "round " << round;
        }
        if (HasFailure())
            return;
    }
    EXPECT_GT(closeUps, 20); // the rows the fault lay in were reached
}

TEST(ZoomedAxes, ANarrowerViewSamplesFiner)
{
    const struct {
        float precision;
        int16_t stepRange, range, centre;
        float step;
    } rows[] = {
        {0.1f, 20, 1, 0, 0.005f},      // twenty times narrower
        {0.1f, 20, 20, 0, 0.1f},       // back at the range the step belongs to
        {0.1f, 20, 40, 0, 0.1f},       // wider: never coarser than the user's step
        {0.1f, 0, 1, 0, 0.1f},         // a view set, not zoomed
        {0.1f, 32767, 1, 30000, 0.1f}, // a finer walk would not advance at 30000
    };
    for (const auto &r : rows) {
        GraphSettingsRecord view;
        view.Precision = r.precision;
        view.StepRangeX = r.stepRange;
        view.GraphScaleX = r.range;
        view.ScreenCentralX = r.centre;
        EXPECT_FLOAT_EQ(SampleStep(view), r.step) << r.stepRange << " " << r.range;
    }
    // As many samples across the zoomed view as across the view the step belongs to.
    const auto samples = [](const GraphSettingsRecord &view) {
        RecordingSurface surface;
        PlotGraph(u"x*x", ComputeGeometry(view, 300, 300), view, surface);
        return surface.lines().size();
    };
    GraphSettingsRecord view;
    view.LinkPoints = false;
    const auto stored = samples(view);
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(ZoomView(view, false, 300, 300));
    EXPECT_EQ(view.GraphScaleX, 1);
    EXPECT_NEAR(double(samples(view)), double(stored), 2.0);
}

} // namespace
