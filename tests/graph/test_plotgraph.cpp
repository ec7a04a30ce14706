// SPDX-License-Identifier: GPL-3.0-or-later

#include "graphtesting.h"

#include "graph/curvelist.h"
#include "graph/plotgraph.h"
#include "graph/repeatfilter.h"

#include <QRegularExpression>

#include <functional>
#include <limits>
#include <random>

using namespace lw;

namespace {

class Plot : public lw::testing::DrawingTest {
protected:
    void SetUp() override
    {
        DrawingTest::SetUp();
        drawAxes();
        picture.forget();
        samples = 0;
        stopAfter = -1;
        onSample = nullptr;
        InstallEventHook({[this] {
                              ++samples;
                              if (onSample)
                                  onSample(samples);
                          },
                          [this] {
                              return stopAfter >= 0 && samples >= stopAfter;
                          }});
    }

    QStringList kinds(const QString &prefix) const
    {
        return ops().filter(QRegularExpression("^" + prefix + " "));
    }

    int samples = 0;
    int stopAfter = -1;
    std::function<void(int)> onSample;
};

TEST_F(Plot, TwoHundredSamplesAcrossTheDefaultRange)
{
    EXPECT_EQ(plot(u"SUM(x;0)").outcome, PlotOutcome::Completed);
    EXPECT_EQ(samples, 200);
    // The first sample lies on column 0 and starts the curve; the second has the column value
    // 1.5000057.
    EXPECT_EQ(ops().mid(0, 2), QStringList({"point 0 300 8388608", "line 0 300 2 298 8388608"}));
}

TEST_F(Plot, AConstantLiesOnOneRow)
{
    GraphSettings.LinkPoints = false;
    plot(u"SUM(2)");
    const QStringList points = kinds("point");
    EXPECT_EQ(points.size(), 200);
    EXPECT_EQ(points.front(), "point 0 120 8388608");
    EXPECT_EQ(ops().filter(QRegularExpression("^point \\d+ 120 8388608$")).size(), 200);

    SetUp();
    plot(u"SUM(2)");
    const QStringList lines = ops();
    EXPECT_EQ(lines.size(), 200);
    EXPECT_EQ(lines[1], "line 0 120 2 120 8388608");
    EXPECT_EQ(lines.back(), "line 297 120 299 120 8388608");
}

TEST_F(Plot, SizeFilterUnusableValuesAndWhatReachesThePicture)
{
    const struct {
        const char16_t *formula;
        int drawn;
        bool visible = false;
    } cases[] = {
        {u"SUM(1234.5)", 0}, // four places before the point, one after
        {u"SUM(-123.45)", 0},    {u"SUM(-123.4567)", 200}, // four after the point pass
        {u"SUM(999.5)", 200},    {u"SUM(-99.5)", 200},     // three before the point pass
        {u"SUM(1000.5)", 0},     {u"SUM(2401)", 0}, // no point passes, but lies beyond 16 bits
        {u"SQR(-1)", 0},                            // CalcError
        {u"DIV(1;0)", 0},        {u"SQR(SUM(x;-100))", 0}, // no value in the range
        {u"SUM(10)", 200, true},                           // on row 0
        {u"SUM(-9.99)", 200},                              // on row 300, just below the picture
    };
    for (const auto &c : cases) {
        SetUp();
        GraphSettings.LinkPoints = false;
        EXPECT_EQ(plot(c.formula).anyVisible, c.visible)
            << QString::fromUtf16(c.formula).toStdString();
        EXPECT_EQ(ops().size(), c.drawn) << QString::fromUtf16(c.formula).toStdString();
    }
}

TEST_F(Plot, AfterAGapTheCurveStartsWithASinglePoint)
{
    plot(u"SQR(x)");
    const QStringList lines = ops();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.front(), "point 150 150 8388608"); // x = 1.862645E-06 after 100 gaps
    EXPECT_EQ(lines.size(), 100);
    EXPECT_EQ(lines.filter(QRegularExpression("^line ")).size(), 99);
}

TEST_F(Plot, APointBeyondSixteenBitsIsAGap)
{
    // 2401 at x = -10, then 1.49 at x = -9.9: the curve starts at the second.
    plot(u"SUM(PRO(SUM(x;10);-23995);2401)");
    ASSERT_FALSE(ops().isEmpty());
    EXPECT_EQ(ops().front(), "point 2 128 8388608");
}

// The picture's rows are 0 to 299; each SGN formula jumps at x = 0 between the rows noted. A jump
// that is not joined starts a new run with a point.
TEST_F(Plot, AJumpFromBelowThePictureToAboveItIsNotJoined)
{
    const struct {
        const char16_t *formula;
        int points;
    } cases[] = {
        {u"SUM(PRO(SGN(x);10.035);0.015)", 2}, // row 300 to row -1
        {u"SUM(PRO(SGN(x);10);0.05)", 1},      // row 299 to row -1: joined
        {u"SUM(PRO(SGN(x);10);-0.02)", 1},     // row 300 to row 0: joined
        {u"TAN(x)", 7},                        // six poles
    };
    for (const auto &c : cases) {
        SetUp();
        plot(c.formula);
        EXPECT_EQ(ops().filter("point ").size(), c.points)
            << QString::fromUtf16(c.formula).toStdString();
    }
}

TEST_F(Plot, PrecisionZeroRepeatsUntilStoppedAndNegativeDrawsNothing)
{
    GraphSettings.Precision = 0;
    stopAfter = 25;
    EXPECT_EQ(plot(u"SUM(x;0)").outcome, PlotOutcome::Stopped);
    EXPECT_EQ(samples, 25);
    EXPECT_EQ(ops().size(), 25); // every sample sits on column 0
    EXPECT_EQ(ops().back(), "line 0 300 0 300 8388608");

    SetUp();
    GraphSettings.Precision = -0.1f;
    EXPECT_EQ(plot(u"SUM(x;0)").outcome, PlotOutcome::Completed);
    EXPECT_EQ(samples, 0);
}

TEST_F(Plot, StopEndsTheCurveAfterTheCurrentSample)
{
    stopAfter = 10;
    EXPECT_EQ(plot(u"SUM(2)").outcome, PlotOutcome::Stopped);
    EXPECT_EQ(samples, 10);
    EXPECT_EQ(ops().size(), 10);
}

TEST_F(Plot, ASecondPictureDrawnWhileTheCurvePausesLeavesTheCurveAsItWas)
{
    plot(u"SUM(PRO(x;x);-3)");
    const QStringList alone = ops();
    SetUp();
    RecordingSurface other;
    onSample = [&other](int n) {
        if (n != 100)
            return;
        Picture second = BlankPicture(other, 413, 413);
        RedrawAxes(second, GraphSettings);
        PlotGraph(u"SUM(x;1)", second.geometry, GraphSettings, other);
    };
    plot(u"SUM(PRO(x;x);-3)");
    EXPECT_EQ(ops(), alone);
    EXPECT_TRUE(other.lines().contains("line 0 206 413 206 8421504"));
    EXPECT_EQ(other.lines().filter("line 0 ").size(), 2); // the axis, and the curve's first step
}

TEST_F(Plot, ARedrawnListDrawsItsVisibleCurvesAsDrawnAndSurvivesChangesDuringItsYields)
{
    const CurveEntry entries[] = {
        {.formula = u"SUM(x;0)", .colour = 255, .precision = 0.5f, .linkPoints = true},
        {.formula = u"PRO(x;x)", .colour = 65280, .precision = 0.1f, .linkPoints = false},
        {.formula = u"SUM(3)", .visible = false},
        {.formula = u"SUM)(", .colour = 1},
    };
    RecordingSurface expected;
    Picture one = BlankPicture(expected, 300, 300);
    RedrawAxes(one, GraphSettings);
    for (const CurveEntry &entry : entries) {
        AddCurve(screen, entry);
        if (entry.visible)
            PlotGraph(entry.formula, one.geometry, SettingsForEntry(entry, GraphSettings),
                      expected);
    }
    EXPECT_TRUE(RedrawPicture(screen, GraphSettings));
    EXPECT_EQ(ops(), expected.lines());
    EXPECT_TRUE(screen.curves.back().failed);
    // Erased during a yield: the redraw ends with the list; stopped: it says so.
    samples = 0;
    onSample = [this](int n) {
        if (n == 50)
            ErasePicture(screen, GraphSettings);
    };
    EXPECT_TRUE(RedrawPicture(screen, GraphSettings));
    EXPECT_TRUE(screen.curves.empty());
    AddCurve(screen, entries[0]);
    stopAfter = samples + 10;
    EXPECT_FALSE(RedrawPicture(screen, GraphSettings));
}

// Helper threads plot, this one draws their steps in order: the same steps as one thread's, and
// the same curves marked failed, whatever the list and however many helpers.
TEST_F(Plot, CurvesPlottedAlongsideDrawWhatOneThreadDraws)
{
    const char16_t *pool[] = {u"PRO(x;x)", u"DIV(1;x)", u"SQR(SUM(x;-3))", u"SUM)(",
                              u"TAN(x)",   u"EXP(x)",   u"SUM(5)"};
    std::mt19937 random(20);
    for (int round = 0; round < 40; ++round) {
        GraphSettings.Legend = round % 2;
        std::vector<CurveEntry> list;
        for (int n = int(random() % 12); n > 0; --n)
            list.push_back({.typed = u"f",
                            .formula = pool[random() % std::size(pool)],
                            .colour = Colour(random() & 0xffffff),
                            .precision = 0.01f * float(1 + random() % 20),
                            .linkPoints = random() % 2 == 0,
                            .visible = random() % 5 != 0,
                            .id = list.size() + 1});
        std::vector<CurveEntry> alongside = list;
        RecordingSurface oneRecord, alongsideRecord;
        RepeatFilter oneSteps(oneRecord), alongsideSteps(alongsideRecord);
        Picture one = BlankPicture(oneSteps, 300, 300),
                other = BlankPicture(alongsideSteps, 300, 300);
        ASSERT_TRUE(RedrawPicture(one, list, GraphSettings));
        ASSERT_TRUE(RedrawPictureAlongside(other, alongside, GraphSettings, 1 + round % 3, [] {}));
        ASSERT_EQ(alongsideRecord.lines(), oneRecord.lines()) << "round " << round;
        for (std::size_t i = 0; i < list.size(); ++i)
            EXPECT_EQ(alongside[i].failed, list[i].failed) << "round " << round;
    }
    stopAfter = 0;
    std::vector<CurveEntry> list(3, CurveEntry{.formula = u"PRO(x;x)", .precision = 1e-5f});
    EXPECT_FALSE(RedrawPictureAlongside(screen, list, GraphSettings, 2, [] {}));
}

TEST_F(Plot, RangeAndStepAreFixedButGeometryIsReadPerPoint)
{
    onSample = [this](int n) {
        if (n == 100) {
            GraphSettings.GraphScaleX = 40;
            GraphSettings.GraphScaleY = 40;
            setSize(600, 600);
            drawAxes();
        }
    };
    plot(u"SUM(2)");
    EXPECT_EQ(samples, 200);
    // After the redraw the points follow the new centre pixel (300, 300).
    EXPECT_TRUE(picture.lines().contains("clear"));
    EXPECT_EQ(picture.lines().back(), "line 447 270 449 270 8388608");
}

TEST_F(Plot, FailuresEndTheCurveWithTheirMessage)
{
    const struct {
        const char16_t *formula;
        int16_t centreX;
        const char *text;
    } cases[] = {
        {u"SUM)(", 0, "FEHLER: Ungültiger Prozeduraufruf oder ungültiges Argument"},
        {u"SUM(2)", 3000, "FEHLER: Überlauf"}, // 3000 x 15 pixels does not fit 16 bits
    };
    for (const auto &c : cases) {
        SetUp();
        GraphSettings.ScreenCentralX = c.centreX;
        const PlotResult result = plot(c.formula);
        EXPECT_EQ(result.outcome, PlotOutcome::Failed);
        EXPECT_EQ(result.message.toStdString(), c.text);
        EXPECT_EQ(samples, 0);
    }
}

TEST(WalkAdvances, RefusesStepsThatCannotMoveX)
{
    EXPECT_TRUE(WalkAdvances(-10, 10, 0.1f));
    EXPECT_TRUE(WalkAdvances(-10, 10, 1e-6f));
    EXPECT_FALSE(WalkAdvances(-10, 10, 1e-7f));
    EXPECT_FALSE(WalkAdvances(-10, 10, 0));
    EXPECT_FALSE(WalkAdvances(-10, 10, -1));
    EXPECT_FALSE(WalkAdvances(-10, 10, std::numeric_limits<float>::quiet_NaN()));
}

} // namespace
