// SPDX-License-Identifier: GPL-3.0-or-later
// The settings dialog's controls: captions, help topics, focus, "Standard" and the colours.

#include "graphoptionstesting.h"

#include <QCheckBox>
#include <QTest>

using namespace lw;
using namespace lw::settingstest;
using lw::testing::EveryFieldChanged;

namespace {

TEST_F(GraphOptions, RowsCarryTheirCaptionsAndHelpTopics)
{
    const struct {
        const char *caption;
        int topic;
        std::vector<const char *> controls;
    } rows[] = {
        {"Rechengenauigkeit:", 8, {"txtPrecision"}},
        {"Mittelpunkt des Graphen:", 9, {"txtScreenCentralX", "txtScreenCentralY"}},
        {"Ursprung:", 26, {"txtOriginX", "txtOriginY"}},
        {"Abstand der Marken:", 27, {"txtPutMarkEachX", "txtPutMarkEachY"}},
        {"Abstand der Zahlen:", 28, {"txtPutNumberEachX", "txtPutNumberEachY"}},
        {"Rechenbereich:", 29, {"txtCalcFrom", "txtCalcTo"}},
        {"Anzeigebereich:", 30, {"txtGraphScaleX", "txtGraphScaleY"}},
        {"Punkte verbinden:", 10, {"chkLinkPoints"}},
        {"Graph immer löschen:", 11, {"chkAlwaysDelete"}},
        {"Achsenfarbe:", 31, {"picColours_0"}},
        {"Beschriftungsfarbe:", 32, {"picColours_1"}},
        {"Schaubildfarbe:", 33, {"picColours_2"}},
        {"Speichern", 34, {"cmdSave"}},
        {"Standard", 35, {"cmdStandard"}},
        {"OK", 36, {"cmdOK"}},
    };
    show();
    EXPECT_EQ(dialog->windowTitle(), "Schaubild-Einstellungen");
    EXPECT_EQ(dialog->objectName(), "frmGraphOptions");
    EXPECT_TRUE(dialog->isModal());
    for (const auto &row : rows) {
        const QWidget *label = captioned(QString::fromUtf8(row.caption));
        ASSERT_NE(label, nullptr) << row.caption;
        EXPECT_EQ(label->property("helpTopic").toInt(), row.topic) << row.caption;
        EXPECT_GE(label->width(), label->sizeHint().width()) << row.caption;
        for (const char *name : row.controls) {
            const QWidget *control = dialog->findChild<QWidget *>(name);
            ASSERT_NE(control, nullptr) << name;
            EXPECT_EQ(control->property("helpTopic").toInt(), row.topic) << name;
        }
    }
    EXPECT_EQ(dialog->cmdCancel->text(), "Abbrechen");
    const QList<QWidget *> controls = dialog->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (const QWidget *a : controls) {
        for (const QWidget *b : controls)
            EXPECT_TRUE(a == b || !a->geometry().intersects(b->geometry()))
                << a->objectName().toStdString() << " overlaps " << b->objectName().toStdString();
    }
}

TEST_F(GraphOptions, FocusGoesFromTheFirstFieldThroughTheRowsToTheButtonsAndOkIsTheDefault)
{
    const QStringList expected = {"txtPrecision",
                                  "txtScreenCentralX",
                                  "txtScreenCentralY",
                                  "txtOriginX",
                                  "txtOriginY",
                                  "txtPutMarkEachX",
                                  "txtPutMarkEachY",
                                  "txtPutNumberEachX",
                                  "txtPutNumberEachY",
                                  "txtCalcFrom",
                                  "txtCalcTo",
                                  "txtGraphScaleX",
                                  "txtGraphScaleY",
                                  "chkLinkPoints",
                                  "chkAlwaysDelete",
                                  "chkLegend",
                                  "picColours_0",
                                  "picColours_1",
                                  "picColours_2",
                                  "cmdSave",
                                  "cmdStandard",
                                  "cmdOK",
                                  "cmdCancel"};
    show();
    EXPECT_EQ(dialog->focusWidget(), dialog->txtPrecision);
    QStringList order;
    QWidget *w = dialog->txtPrecision;
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            order << w->objectName();
        w = w->nextInFocusChain();
    } while (w != dialog->txtPrecision && order.size() <= expected.size());
    EXPECT_EQ(order, expected);
    EXPECT_TRUE(dialog->cmdOK->isDefault());

    // Enter in a field presses "OK".
    field("txtOriginX")->setText("9");
    QTest::keyClick(field("txtOriginX"), Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(GraphSettings.OriginX, 9);
}

TEST_F(GraphOptions, StandardFillsTheDefaultsButOnlyOkAppliesThem)
{
    const std::pair<const char *, const char *> texts[] = {
        {"txtPrecision", "0,1"},  {"txtScreenCentralX", "0"}, {"txtScreenCentralY", "0"},
        {"txtOriginX", "0"},      {"txtOriginY", "0"},        {"txtPutMarkEachX", "1"},
        {"txtPutMarkEachY", "1"}, {"txtPutNumberEachX", "1"}, {"txtPutNumberEachY", "1"},
        {"txtCalcFrom", "-20"},   {"txtCalcTo", "20"},        {"txtGraphScaleX", "20"},
        {"txtGraphScaleY", "20"},
    };
    show();
    dialog->cmdStandard->click();
    for (const auto &[name, text] : texts)
        EXPECT_EQ(field(name)->text(), text) << name;
    EXPECT_TRUE(dialog->chkLinkPoints->isChecked());
    EXPECT_FALSE(dialog->chkAlwaysDelete->isChecked());
    EXPECT_EQ(dialog->colourOf(0), 0x808080u);
    EXPECT_EQ(dialog->colourOf(1), 0u);
    EXPECT_EQ(dialog->colourOf(2), 0x800000u);
    EXPECT_EQ(GraphSettings, EveryFieldChanged());

    dialog->cmdCancel->click();
    EXPECT_EQ(GraphSettings, EveryFieldChanged());
    show();
    dialog->cmdStandard->click();
    dialog->cmdOK->click();
    EXPECT_EQ(GraphSettings, GraphSettingsRecord{});
}

TEST_F(GraphOptions, ColourChooserIsPresetAndCancellingKeepsTheColour)
{
    Colour GraphSettingsRecord::*const fields[] = {&GraphSettingsRecord::GraphColor,
                                                   &GraphSettingsRecord::GraphNumberColor,
                                                   &GraphSettingsRecord::LiveColor};
    for (int i = 0; i < 3; ++i) {
        GraphSettings = EveryFieldChanged();
        show();
        QWidget *box = dialog->findChild<QWidget *>(QStringLiteral("picColours_%1").arg(i));
        ASSERT_NE(box, nullptr);
        const Colour before = GraphSettings.*fields[i];
        presets.clear();
        chooserAnswer.reset();
        QTest::mouseDClick(box, Qt::LeftButton);
        ASSERT_EQ(presets.size(), 1u) << i;
        EXPECT_EQ(presets[0], QColor(before & 0xff, (before >> 8) & 0xff, before >> 16)) << i;
        EXPECT_EQ(dialog->colourOf(i), before) << i;

        chooserAnswer = QColor(1, 2, 3);
        QTest::mouseDClick(box, Qt::LeftButton);
        EXPECT_EQ(dialog->colourOf(i), 0x030201u) << i;
        EXPECT_EQ(box->palette().color(QPalette::Window), QColor(1, 2, 3)) << i;
        EXPECT_EQ(GraphSettings.*fields[i], before) << i;
        dialog->cmdOK->click();
        EXPECT_EQ(GraphSettings.*fields[i], 0x030201u) << i;
    }
}

} // namespace
