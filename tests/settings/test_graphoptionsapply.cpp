// SPDX-License-Identifier: GPL-3.0-or-later
// What the settings dialog's OK, Cancel and Save do with the settings, the store and the picture,
// and the entries it refuses.

#include "graphoptionstesting.h"

#include "graph/plotgraph.h"

#include <QCheckBox>
#include <QTest>

using namespace lw;
using namespace lw::settingstest;
using lw::testing::EveryFieldChanged;

namespace {

QStringList sinceLastClear(const QStringList &operations)
{
    return operations.mid(operations.lastIndexOf(QStringLiteral("clear")));
}

TEST_F(GraphOptions, OkWithoutChangesKeepsEveryField)
{
    show();
    EXPECT_EQ(field("txtPrecision")->text(), "0,05");
    EXPECT_EQ(field("txtCalcFrom")->text(), "-3,25");
    EXPECT_EQ(dialog->colourOf(2), 255u);
    dialog->cmdOK->click();
    EXPECT_EQ(GraphSettings, EveryFieldChanged());
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(GraphOptions, CancelKeepsTheSettingsAndTheNextOpeningShowsThem)
{
    EXPECT_FALSE(openAndAct([](FrmGraphOptions &d) {
        EXPECT_EQ(d.focusWidget(), d.txtPrecision);
        d.txtScreenCentralX->setText("5");
        d.cmdCancel->click();
    }));
    EXPECT_EQ(GraphSettings, EveryFieldChanged());
    openAndAct([](FrmGraphOptions &d) {
        EXPECT_EQ(d.txtScreenCentralX->text(), "-7");
        d.cmdCancel->click();
    });
    EXPECT_EQ(updates, 0);
}

TEST_F(GraphOptions, WindowFrameAndEscapeActAsCancel)
{
    const std::function<void(FrmGraphOptions &)> closers[] = {
        [](FrmGraphOptions &d) { d.close(); },
        [](FrmGraphOptions &d) { QTest::keyClick(&d, Qt::Key_Escape); },
    };
    for (const auto &closeIt : closers) {
        EXPECT_FALSE(openAndAct([&](FrmGraphOptions &d) {
            d.txtScreenCentralX->setText("5");
            closeIt(d);
        }));
        EXPECT_EQ(GraphSettings, EveryFieldChanged());
    }
    EXPECT_EQ(updates, 0);
    EXPECT_TRUE(picture.lines().isEmpty());
}

TEST_F(GraphOptions, SaveStoresTheSettingsInEffectNotTheEntries)
{
    const auto storedCentre = [this] {
        return store.read("Options", "ScreenCentralX");
    };
    show();
    field("txtScreenCentralX")->setText("7");
    dialog->cmdSave->click();
    EXPECT_EQ(storedCentre(), "-7");
    EXPECT_EQ(store.read("Options", "Check"), "1");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(field("txtScreenCentralX")->text(), "7");

    dialog->cmdOK->click();
    EXPECT_EQ(storedCentre(), "-7");
    show();
    dialog->cmdSave->click();
    EXPECT_EQ(storedCentre(), "7");
}

TEST_F(GraphOptions, ASaveTheStoreRefusesIsReported)
{
    struct RefusingStore : MemorySettingsStore {
        bool flush() override { return false; }
    } refusing;
    SetSettingsStore(&refusing);
    show();
    dialog->cmdSave->click();
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].title, "Fehler");
    EXPECT_TRUE(dialog->isVisible());
    SetSettingsStore(&store);
}

TEST_F(GraphOptions, OkLeavesOnlyTheCoordinateSystemAndRefreshesTheQuickOptions)
{
    GraphSettings.AlwaysDeleteGraph = false;
    Picture &screen = ScreenPicture();
    RedrawAxes(screen, GraphSettings);
    ASSERT_EQ(PlotGraph(u"x", screen.geometry, GraphSettings, picture).outcome,
              PlotOutcome::Completed);
    show();
    field("txtGraphScaleX")->setText("10");
    dialog->cmdOK->click();
    EXPECT_FALSE(dialog->isVisible());

    RecordingSurface expected;
    DrawCoordinateSystem(screen.geometry, GraphSettings, expected);
    EXPECT_EQ(sinceLastClear(picture.lines()), expected.lines());
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(pictureAtUpdate, picture.lines()); // drawn before the quick options were refreshed
    EXPECT_EQ(settingsAtUpdate.GraphScaleX, 10);
}

TEST_F(GraphOptions, RefusedEntryNamesTheCaptionFocusesTheFieldAndChangesNothing)
{
    const QString number = "Bitte geben Sie bei '%1' eine Zahl ein.";
    const QString positive = "Bitte geben Sie bei '%1' eine Zahl größer als 0 ein.";
    const QString integer =
        "Bitte geben Sie bei '%1' eine ganze Zahl zwischen -32768 und 32767 ein.";
    const QString scale = "Bitte geben Sie bei 'Anzeigebereich:' eine ganze Zahl größer als 0 ein.";
    const QString fine =
        "Die Angabe bei 'Rechengenauigkeit:' ist zu fein: x käme beim Zeichnen nicht voran.";
    const struct {
        const char *field;
        const char *text;
        QString message;
        const char *centre = "0";
    } cases[] = {
        {"txtPrecision", "abc", number.arg("Rechengenauigkeit:")},
        {"txtPrecision", "0", positive.arg("Rechengenauigkeit:")},
        {"txtPrecision", "-1", positive.arg("Rechengenauigkeit:")},
        {"txtPrecision", "0,0000001", fine},
        // The centre typed beside it counts, not the one in effect.
        {"txtPrecision", "0,0005", fine, "30000"},
        {"txtScreenCentralX", "1,5", integer.arg("Mittelpunkt des Graphen:")},
        {"txtScreenCentralY", "40000", integer.arg("Mittelpunkt des Graphen:")},
        {"txtOriginY", "-40000", integer.arg("Ursprung:")},
        {"txtPutMarkEachX", "", integer.arg("Abstand der Marken:")},
        {"txtPutNumberEachY", "x", integer.arg("Abstand der Zahlen:")},
        {"txtCalcFrom", "abc", number.arg("Rechenbereich:")},
        {"txtCalcTo", "1e99", number.arg("Rechenbereich:")},
        {"txtGraphScaleX", "0", scale},
        {"txtGraphScaleX", "-5", scale},
        {"txtGraphScaleY", "0", scale},
        {"txtGraphScaleY", "abc",
         "Bitte geben Sie bei 'Anzeigebereich:' eine ganze Zahl zwischen 1 und 32767 ein."},
    };
    for (const auto &c : cases) {
        recorder.messages.clear();
        show();
        field("txtOriginX")->setText("9"); // a good entry that must not be applied either
        dialog->chkLinkPoints->setChecked(true);
        field("txtScreenCentralX")->setText(c.centre);
        field(c.field)->setText(c.text);
        dialog->cmdOK->click();
        ASSERT_EQ(recorder.messages.size(), 1u) << c.field << " " << c.text;
        EXPECT_EQ(recorder.messages[0].title, "Fehler");
        EXPECT_EQ(recorder.messages[0].text, c.message) << c.field << " " << c.text;
        EXPECT_EQ(recorder.messages[0].icon, MessageIcon::None);
        EXPECT_TRUE(dialog->isVisible()) << c.field << " " << c.text;
        EXPECT_EQ(dialog->focusWidget(), field(c.field)) << c.field << " " << c.text;
        EXPECT_EQ(GraphSettings, EveryFieldChanged()) << c.field << " " << c.text;
    }
    EXPECT_EQ(updates, 0);
    EXPECT_TRUE(picture.lines().isEmpty());
}

} // namespace
