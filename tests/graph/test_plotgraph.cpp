#include "graphtesting.h"

#include "graph/curvelist.h"
#include "graph/plotgraph.h"

#include <QRegularExpression>

#include <functional>
#include <limits>

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
    // The first sample lies on column 0 and is not drawn; the line from it
    // to the second (column value 1.5000057) is.
    EXPECT_EQ(ops().front(), "line 0 300 2 298 8388608");
}

TEST_F(Plot, AConstantLiesOnOneRow)
{
    GraphSettings.LinkPoints = false;
    plot(u"SUM(2)");
    const QStringList points = kinds("point");
    EXPECT_EQ(points.size(), 199);
    EXPECT_EQ(points.front(), "point 2 120 8388608");
    EXPECT_EQ(ops().filter(QRegularExpression("^point \\d+ 120 8388608$")).size(), 199);

    SetUp();
    plot(u"SUM(2)");
    const QStringList lines = ops();
    EXPECT_EQ(lines.size(), 199);
    EXPECT_EQ(lines.front(), "line 0 120 2 120 8388608");
    EXPECT_EQ(lines.back(), "line 297 120 299 120 8388608");
}

TEST_F(Plot, SizeFilterAndUnusableValuesMakeGaps)
{
    const struct {
        const char16_t *formula;
        int drawn;
    } cases[] = {
        {u"SUM(1234.5)", 0},                            // four places before the point, one after
        {u"SUM(-123.45)", 0}, {u"SUM(-123.4567)", 199}, // four after the point pass
        {u"SUM(999.5)", 199}, {u"SUM(-99.5)", 199},     // three before the point pass
        {u"SUM(1000.5)", 0},  {u"SUM(2401)", 0},        // no point passes, but lies beyond 16 bits
        {u"SQR(-1)", 0},                                // CalcError
        {u"DIV(1;0)", 0},
    };
    for (const auto &c : cases) {
        SetUp();
        GraphSettings.LinkPoints = false;
        plot(c.formula);
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

TEST_F(Plot, APointBeyondSixteenBitsStillStartsTheNextLine)
{
    // 2401 at x = -10, then 1.49 at x = -9.9: the line starts at (0, 0).
    plot(u"SUM(PRO(SUM(x;10);-23995);2401)");
    ASSERT_FALSE(ops().isEmpty());
    EXPECT_EQ(ops().front(), "line 0 0 2 128 8388608");
}

TEST_F(Plot, PrecisionZeroRepeatsUntilStoppedAndNegativeDrawsNothing)
{
    GraphSettings.Precision = 0;
    stopAfter = 25;
    EXPECT_EQ(plot(u"SUM(x;0)").outcome, PlotOutcome::Stopped);
    EXPECT_EQ(samples, 25);
    EXPECT_TRUE(ops().isEmpty()); // every sample sits on column 0

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
    EXPECT_EQ(ops().size(), 9);
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
            PlotGraph(entry.formula, one.geometry, SettingsForEntry(entry, GraphSettings), expected);
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
