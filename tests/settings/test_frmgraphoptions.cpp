// The settings dialog on the offscreen platform, driven by its widgets' names.

#include "settingstesting.h"

#include "graph/drawingsurface.h"
#include "graph/graphdraw.h"
#include "graph/plotgraph.h"
#include "graph/recordingsurface.h"
#include "settings/frmgraphoptions.h"
#include "settings/graphsettings.h"
#include "settings/settingsstore.h"
#include "tests/support/messagerecorder.h"
#include "tests/support/modalanswer.h"
#include "widgets/colourchooser.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace lw;
using namespace lw::settingstest;
using lw::testing::MessageRecorder;

namespace {

// Every field away from its default, with fractions where the type allows them.
GraphSettingsRecord changedRecord()
{
    return {0x102030, 0x405060, 0x708090, 30, 40,    3,     -4,    5,     -6,
            2,        3,        4,        5,  -2.5f, 7.25f, 0.25f, false, true};
}

QStringList sinceLastClear(const QStringList &operations)
{
    return operations.mid(operations.lastIndexOf(QStringLiteral("clear")));
}

class GraphOptions : public ::testing::Test {
protected:
    void SetUp() override
    {
        GraphSettings = changedRecord();
        SetSettingsStore(&store);
        GraphWidth = GraphHeight = 200;
        SetPictureSurface(&picture);
        SetColourChooser([this](const QColor &preset, QWidget *) {
            presets.push_back(preset);
            return chooserAnswer;
        });
    }

    void TearDown() override
    {
        dialog.reset();
        SetColourChooser({});
        SetPictureSurface(nullptr);
        SetSettingsStore(nullptr);
        GraphSettings = GraphSettingsRecord{};
    }

    // A shown dialog driven without its own event loop.
    FrmGraphOptions &show()
    {
        dialog = std::make_unique<FrmGraphOptions>(nullptr, [this] { quickOptionsUpdated(); });
        dialog->Form_Load();
        dialog->show();
        return *dialog;
    }

    void quickOptionsUpdated()
    {
        ++updates;
        settingsAtUpdate = GraphSettings;
        pictureAtUpdate = picture.lines();
    }

    // Opens the dialog as the main window does and runs `act` once it is up.
    bool openAndAct(std::function<void(FrmGraphOptions &)> act)
    {
        lw::testing::ModalAnswer<FrmGraphOptions> answer([act](FrmGraphOptions *shown) {
            const QPointer<FrmGraphOptions> guard = shown;
            act(*shown);
            if (guard && guard->isVisible()) {
                ADD_FAILURE() << "the dialog is still open";
                guard->done(QDialog::Rejected);
            }
        });
        const bool accepted = FrmGraphOptions::open(nullptr, [this] { quickOptionsUpdated(); });
        EXPECT_TRUE(answer.answered());
        return accepted;
    }

    QLineEdit *field(const char *name) { return dialog->findChild<QLineEdit *>(name); }
    // The label or button showing `caption`.
    const QWidget *captioned(const QString &caption) const
    {
        for (const QLabel *label : dialog->findChildren<QLabel *>())
            if (label->text() == caption)
                return label;
        for (const QPushButton *button : dialog->findChildren<QPushButton *>())
            if (button->text() == caption)
                return button;
        return nullptr;
    }

    LocaleScope german{germanLocale()};
    MessageRecorder recorder;
    MemorySettingsStore store;
    RecordingSurface picture;
    std::unique_ptr<FrmGraphOptions> dialog;
    std::optional<QColor> chooserAnswer;
    std::vector<QColor> presets;
    int updates = 0;
    GraphSettingsRecord settingsAtUpdate;
    QStringList pictureAtUpdate;
};

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
        {"Rechenbreich:", 29, {"txtCalcFrom", "txtCalcTo"}},
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

TEST_F(GraphOptions, FocusGoesFromTheButtonsThroughTheRowsAndOkIsTheDefault)
{
    const QStringList expected = {"cmdOK",
                                  "cmdSave",
                                  "cmdCancel",
                                  "cmdStandard",
                                  "txtPrecision",
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
                                  "picColours_0",
                                  "picColours_1",
                                  "picColours_2"};
    show();
    EXPECT_EQ(dialog->focusWidget(), dialog->cmdOK);
    QStringList order;
    QWidget *w = dialog->cmdOK;
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            order << w->objectName();
        w = w->nextInFocusChain();
    } while (w != dialog->cmdOK && order.size() <= expected.size());
    EXPECT_EQ(order, expected);
    EXPECT_TRUE(dialog->cmdOK->isDefault());

    // Enter in a field presses "OK".
    field("txtOriginX")->setText("9");
    QTest::keyClick(field("txtOriginX"), Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(GraphSettings.OriginX, 9);
}

TEST_F(GraphOptions, OkWithoutChangesKeepsEveryField)
{
    show();
    EXPECT_EQ(field("txtPrecision")->text(), "0,25");
    EXPECT_EQ(field("txtCalcFrom")->text(), "-2,5");
    EXPECT_EQ(dialog->colourOf(2), 0x708090u);
    dialog->cmdOK->click();
    EXPECT_EQ(GraphSettings, changedRecord());
    EXPECT_TRUE(recorder.messages.empty());
}

TEST_F(GraphOptions, CancelKeepsTheSettingsAndTheNextOpeningShowsThem)
{
    EXPECT_FALSE(openAndAct([](FrmGraphOptions &d) {
        EXPECT_EQ(d.focusWidget(), d.cmdOK);
        d.txtScreenCentralX->setText("5");
        d.cmdCancel->click();
    }));
    EXPECT_EQ(GraphSettings, changedRecord());
    openAndAct([](FrmGraphOptions &d) {
        EXPECT_EQ(d.txtScreenCentralX->text(), "3");
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
        EXPECT_EQ(GraphSettings, changedRecord());
    }
    EXPECT_EQ(updates, 0);
    EXPECT_TRUE(picture.lines().isEmpty());
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
    EXPECT_EQ(GraphSettings, changedRecord());

    dialog->cmdCancel->click();
    EXPECT_EQ(GraphSettings, changedRecord());
    show();
    dialog->cmdStandard->click();
    dialog->cmdOK->click();
    EXPECT_EQ(GraphSettings, GraphSettingsRecord{});
}

TEST_F(GraphOptions, SaveStoresTheSettingsInEffectNotTheEntries)
{
    const auto storedCentre = [this] {
        return store.read("Options", "ScreenCentralX");
    };
    show();
    field("txtScreenCentralX")->setText("7");
    dialog->cmdSave->click();
    EXPECT_EQ(storedCentre(), "3");
    EXPECT_EQ(store.read("Options", "Check"), "1");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(field("txtScreenCentralX")->text(), "7");

    dialog->cmdOK->click();
    EXPECT_EQ(storedCentre(), "3");
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
    DrawCoordinateSystem();
    ASSERT_EQ(PlotGraph(u"x").outcome, PlotOutcome::Completed);
    show();
    field("txtGraphScaleX")->setText("10");
    dialog->cmdOK->click();
    EXPECT_FALSE(dialog->isVisible());

    RecordingSurface expected;
    SetPictureSurface(&expected);
    DrawCoordinateSystem();
    EXPECT_EQ(sinceLastClear(picture.lines()), expected.lines());
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(pictureAtUpdate, picture.lines()); // drawn before the quick options were refreshed
    EXPECT_EQ(settingsAtUpdate.GraphScaleX, 10);
}

TEST_F(GraphOptions, ColourChooserIsPresetAndCancellingKeepsTheColour)
{
    Colour GraphSettingsRecord::*const fields[] = {&GraphSettingsRecord::GraphColor,
                                                   &GraphSettingsRecord::GraphNumberColor,
                                                   &GraphSettingsRecord::LiveColor};
    for (int i = 0; i < 3; ++i) {
        GraphSettings = changedRecord();
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
        {"txtCalcFrom", "abc", number.arg("Rechenbreich:")},
        {"txtCalcTo", "1e99", number.arg("Rechenbreich:")},
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
        EXPECT_EQ(GraphSettings, changedRecord()) << c.field << " " << c.text;
    }
    EXPECT_EQ(updates, 0);
    EXPECT_TRUE(picture.lines().isEmpty());
}

} // namespace
