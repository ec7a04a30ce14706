// SPDX-License-Identifier: GPL-3.0-or-later

#include "mainwindowtesting.h"

#include "graph/viewsteps.h"
#include "settings/settingsfields.h"
#include "tests/support/modalanswer.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QTest>

#include <cmath>

using namespace lw;
using lw::testing::MainWindow;
using lw::testing::waitUntil;

namespace {

int16_t pictureWidth()
{
    return ScreenPicture().geometry.GraphWidth;
}

TEST_F(MainWindow, AZoomedViewIsSpacedAnewWhenThePictureGrows)
{
    openWindow();
    window->resize(400, 200); // the smallest picture the layout gives
    ASSERT_TRUE(waitUntil([] { return pictureWidth() < 150; }, "a small picture"));
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(window->picGraph, Qt::Key_Plus);
    ASSERT_EQ(GraphSettings.GraphScaleX, 8);
    EXPECT_EQ(GraphSettings.PutNumberEachX, 2); // 12 to 18 pixels a unit

    window->resize(900, 700);
    ASSERT_TRUE(waitUntil([] { return pictureWidth() > 240; }, "a large picture"));
    ASSERT_GE(ScreenPicture().geometry.PixelsPerUnitX, 24);
    EXPECT_EQ(GraphSettings.PutNumberEachX, 1);
    EXPECT_EQ(GraphSettings.PutNumberEachY, 1);
    // The finest of 1, 0.5, 0.2 ... at least 24 pixels apart.
    const double apart = GraphSettings.ZoomSpacingX * ScreenPicture().geometry.PixelsPerUnitX;
    EXPECT_TRUE(apart >= 24 && apart < 60) << apart;

    // A view given by the settings dialog (a record of its own, as its OK assigns) keeps its
    // spacing at any size.
    GraphSettingsRecord set;
    set.GraphScaleX = set.GraphScaleY = 8;
    set.PutNumberEachX = set.PutMarkEachX = 2;
    GraphSettings = set;
    window->resize(400, 200);
    ASSERT_TRUE(waitUntil([] { return pictureWidth() < 150; }, "a small picture again"));
    window->resize(900, 700);
    ASSERT_TRUE(waitUntil([] { return pictureWidth() > 240; }, "a large picture again"));
    EXPECT_EQ(GraphSettings, set);
}

// Whether the field shows its whole text: the start and the end of the text are as far apart on
// the screen as the text is wide, so nothing scrolled out of sight.
bool showsWhole(QLineEdit *field)
{
    const int advance = field->fontMetrics().horizontalAdvance(field->text());
    field->setCursorPosition(0);
    field->grab(); // the scroll is settled when the field is painted
    const int start = field->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
    field->setCursorPosition(int(field->text().size()));
    field->grab();
    const int end = field->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
    field->setCursorPosition(0);
    return std::abs(end - start - advance) <= 1;
}

TEST_F(MainWindow, CentreFieldsShowTheWholeCentreAndReadBackUnchanged)
{
    const struct {
        int zoomSteps; // from the default range 20; 10 reach range 1
        ViewCentre centre;
    } rows[] = {
        {0, {-10.5231, 3.25}},           {0, {-32767.4999, 32766.9}}, {10, {-10.5231, -0.0004}},
        {10, {-32767.4321, 12345.6789}}, {6, {-1234.5678, 0.5}},
    };
    openWindow();
    for (const auto &r : rows) {
        SCOPED_TRACE(::testing::Message() << r.zoomSteps << " " << r.centre.x);
        QTest::keyClick(window->picGraph, Qt::Key_Home);
        for (int i = 0; i < r.zoomSteps; ++i)
            QTest::keyClick(window->picGraph, Qt::Key_Plus);
        ASSERT_TRUE(PlaceCentre(GraphSettings, r.centre));
        RedrawAxes(ScreenPicture(), GraphSettings);
        window->QuickOptionsUpdate();
        const PlotGeometry &g = ScreenPicture().geometry;
        const std::pair<QLineEdit *, double> fields[] = {
            {window->txtScreenCentralX, CentreOf(GraphSettings).x * g.PixelsPerUnitX},
            {window->txtScreenCentralY, CentreOf(GraphSettings).y * g.PixelsPerUnitY}};
        for (const auto &[field, pixels] : fields) {
            EXPECT_TRUE(showsWhole(field)) << field->text().toStdString();
            const auto read = ReadNumberTextLenient(field->text());
            ASSERT_TRUE(read);
            const int16_t perUnit =
                field == window->txtScreenCentralX ? g.PixelsPerUnitX : g.PixelsPerUnitY;
            // Within a pixel of the centre where the field has room for that.
            EXPECT_LE(std::abs(*read * perUnit - pixels), std::max(1.0, 0.5 * perUnit))
                << field->text().toStdString();
        }
        // Drawn as the fields stand, the view stays where it is.
        const GraphSettingsRecord before = GraphSettings;
        window->txtTerm->setText("x");
        window->cmdDraw->click();
        EXPECT_EQ(CentreOf(GraphSettings).x, CentreOf(before).x);
        EXPECT_EQ(CentreOf(GraphSettings).y, CentreOf(before).y);
    }
}

} // namespace
