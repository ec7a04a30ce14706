// SPDX-License-Identifier: GPL-3.0-or-later

#include "assistant/frmfassist.h"
#include "assistant/frmfassist2.h"
#include "assistanttesting.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace lw;
using namespace lw::assistanttest;

namespace {

const QString Welcome = QStringLiteral(
    "Willkommen zum Funktions-Assistenten.\r\nBitte wählen Sie eine Schaubildart aus:");

TEST_F(Assistant, PageOneOpensWithGeradeAndOnlyWeiterLeavesItForPageTwo)
{
    QWidget mainWindow;
    mainWindow.show();
    QSize pageOneSize;
    const auto equation =
        run({[&](QDialog &page) {
                 EXPECT_EQ(page.parentWidget(), &mainWindow);
                 expectButtonRow(page, false, true);
                 EXPECT_EQ(child<QLabel>(page, "lblWelcome")->text(), Welcome);
                 const char *captions[] = {"Gerade", "Parabel", "Hyperbel", "Sinuskurve"};
                 for (int i = 0; i < 4; ++i) {
                     EXPECT_EQ(option(page, i)->text(), captions[i]);
                     EXPECT_EQ(option(page, i)->isChecked(), i == 0);
                     EXPECT_EQ(option(page, i)->property("helpTopic").toInt(), 20);
                 }
                 option(page, 2)->click();
                 button(page, "cmdFinish")->click();
                 QTest::keyClick(option(page, 2), Qt::Key_Return);
                 EXPECT_TRUE(stillOpen(page));
                 EXPECT_EQ(FAGraphType, 0);
                 pageOneSize = page.size();
                 press("cmdNext")(page);
             },
             [&](QDialog &page) {
                 EXPECT_EQ(openPages(), QStringList{"frmFAssist2"});
                 EXPECT_EQ(page.size(), pageOneSize);
                 expectButtonRow(page, true, false);
                 page.activateWindow();
                 EXPECT_TRUE(QTest::qWaitForWindowActive(&page));
                 EXPECT_EQ(QApplication::focusWidget(), button(page, "cmdFinish"));
                 press("cmdCancel")(page);
             }},
            &mainWindow);
    EXPECT_EQ(equation, std::nullopt);
    EXPECT_EQ(pagesSeen, (QStringList{"frmFAssist", "frmFAssist2"}));
    EXPECT_EQ(FAGraphType, 3);
}

// Enter (Return, or the keypad's Enter) on the focused button, or on the one that holds the
// focus as the page opens (nullptr).
Step enterOn(const char *name, Qt::Key key)
{
    return [name, key](QDialog &page) {
        page.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
        if (name)
            button(page, name)->setFocus();
        QWidget *focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        QTest::keyClick(focused, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    };
}

TEST_F(Assistant, EnterPressesTheFocusedButton)
{
    const QString one = QStringLiteral("frmFAssist"), two = QStringLiteral("frmFAssist2");
    const struct {
        std::vector<Step> steps;
        std::optional<QString> equation;
        QStringList pages;
    } cases[] = {
        {{enterOn("cmdNext", Qt::Key_Return), enterOn(nullptr, Qt::Key_Return)},
         "a * x + b",
         {one, two}},
        {{enterOn("cmdNext", Qt::Key_Enter), enterOn(nullptr, Qt::Key_Enter)},
         "a * x + b",
         {one, two}},
        {{enterOn("cmdCancel", Qt::Key_Enter)}, std::nullopt, {one}},
        {{enterOn("cmdNext", Qt::Key_Return), enterOn("cmdBack", Qt::Key_Return),
          press("cmdCancel")},
         std::nullopt,
         {one, two, one}},
        {{enterOn("cmdNext", Qt::Key_Return), enterOn("cmdCancel", Qt::Key_Return)},
         std::nullopt,
         {one, two}},
        // Esc is "Abbrechen" on either page; Return in a value field is "Fertigstellen".
        {{enterOn(nullptr, Qt::Key_Escape)}, std::nullopt, {one}},
        {{enterOn("cmdNext", Qt::Key_Return), enterOn(nullptr, Qt::Key_Escape)},
         std::nullopt,
         {one, two}},
        {{enterOn("cmdNext", Qt::Key_Return),
          [](QDialog &page) { QTest::keyClick(field(page, 1), Qt::Key_Return); }},
         "a * x + b",
         {one, two}},
    };
    for (const auto &c : cases) {
        pagesSeen.clear();
        EXPECT_EQ(run(c.steps), c.equation);
        EXPECT_EQ(pagesSeen, c.pages);
    }
}

TEST_F(Assistant, EachTypeLabelsAndShowsItsRows)
{
    const struct {
        const char *prompt;
        const char *labels[4]; // nullptr: the row is hidden
    } types[] = {
        {"Gerade", {"Steigungsfaktor:", "Y-Achsenabschnitt:", nullptr, nullptr}},
        {"Parabel",
         {"Streckfaktor:", "Verschiebung an der Y-Achse:", "Verschiebung an der X-Achse:",
          nullptr}},
        {"Hyperbel",
         {"Streckfaktor:", "Verschiebung an der Y-Achse:", "Verschiebung an der X-Achse:",
          nullptr}},
        {"Sinuskurve",
         {"Streckung in Y-Richtung:", "Streckung in X-Richtung:", "Verschiebung an der Y-Achse:",
          "Verschiebung an der X-Achse:"}},
    };
    for (int t = 0; t < 4; ++t) {
        run({choose(t), [&](QDialog &page) {
                 auto *prompt = child<QLabel>(page, "lblEnterVals");
                 EXPECT_EQ(prompt->text(),
                           QStringLiteral("Bitte geben Sie die Werte zu Ihrer %1 ein.")
                               .arg(types[t].prompt));
                 EXPECT_GE(prompt->width(), prompt->sizeHint().width());
                 for (int row = 0; row < 4; ++row) {
                     const char *label = types[t].labels[row];
                     EXPECT_EQ(description(page, row)->isVisible(), label != nullptr) << t << row;
                     EXPECT_EQ(field(page, row)->isVisible(), label != nullptr) << t << row;
                     EXPECT_EQ(field(page, row)->text(), Initial[row]);
                     EXPECT_EQ(field(page, row)->property("helpTopic").toInt(), 25);
                     if (!label)
                         continue;
                     EXPECT_EQ(description(page, row)->text(), label) << t << row;
                     EXPECT_GE(description(page, row)->width(),
                               description(page, row)->sizeHint().width());
                 }
                 press("cmdCancel")(page);
             }});
        EXPECT_EQ(FAGraphType, t + 1);
    }
}

TEST_F(Assistant, FertigstellenReturnsTheTypedValuesInTheTemplate)
{
    const struct {
        int option;
        std::vector<QString> typed; // rows from the top; the rest keep their initial texts
        const char *equation;
    } cases[] = {
        {0, {}, "a * x + b"},           {1, {"2", "3", "1"}, "2 * (x - 1)^2 + 3"},
        {2, {}, "a / (x - c) + b"},     {3, {"2", "1", "0", "0"}, "2 * SIN(1 * (x - 0)) + 0"},
        {0, {"2", "-1"}, "2 * x + -1"},
    };
    for (const auto &c : cases) {
        const auto equation = run({choose(c.option), [&](QDialog &page) {
                                       for (std::size_t row = 0; row < c.typed.size(); ++row)
                                           type(page, int(row), c.typed[row]);
                                       press("cmdFinish")(page);
                                   }});
        EXPECT_EQ(equation, c.equation);
    }
}

TEST_F(Assistant, ZurueckOpensAFreshPageOneWithoutNestingTheLoops)
{
    const auto expectFreshPageOne = [](QDialog &page) {
        EXPECT_TRUE(option(page, 0)->isChecked());
        EXPECT_EQ(openPages(), QStringList{"frmFAssist"});
    };
    const auto equation = run({choose(1),
                               [](QDialog &page) {
                                   type(page, 0, "7");
                                   press("cmdBack")(page);
                               },
                               [&](QDialog &page) {
                                   expectFreshPageOne(page);
                                   EXPECT_EQ(FAGraphType, 2);
                                   choose(3)(page);
                               },
                               [](QDialog &page) {
                                   EXPECT_EQ(field(page, 0)->text(), "a");
                                   EXPECT_TRUE(field(page, 3)->isVisible());
                                   press("cmdBack")(page);
                               },
                               [&](QDialog &page) {
                                   expectFreshPageOne(page);
                                   press("cmdNext")(page);
                               },
                               press("cmdFinish")});
    EXPECT_EQ(equation, "a * x + b");
    EXPECT_EQ(pagesSeen, (QStringList{"frmFAssist", "frmFAssist2", "frmFAssist", "frmFAssist2",
                                      "frmFAssist", "frmFAssist2"}));
    ASSERT_EQ(loopLevels.size(), 6u);
    EXPECT_EQ(std::count(loopLevels.begin(), loopLevels.end(), loopLevels[0]), 6);
}

TEST_F(Assistant, AbbrechenAndTheWindowFrameEndWithoutAnEquationKeepingTheLastChoice)
{
    const Step frame = [](QDialog &page) {
        page.close();
    };
    const struct {
        std::vector<Step> steps;
        int graphTypeAfterwards;
    } cases[] = {
        {{press("cmdCancel")}, 4},
        {{frame}, 4},
        {{choose(1), press("cmdCancel")}, 2},
        {{choose(2), frame}, 3},
    };
    for (const auto &c : cases) {
        ASSERT_EQ(run({choose(3), press("cmdFinish")}), "a * SIN(b * (x - d)) + c");
        EXPECT_EQ(run(c.steps), std::nullopt);
        EXPECT_EQ(FAGraphType, c.graphTypeAfterwards);
    }
}

// Rows of the picture that hold dark ink, counted as separate bands.
int inkBands(const QImage &image)
{
    int bands = 0;
    bool inBand = false;
    for (int y = 0; y < image.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < image.width() && !ink; ++x)
            ink = qGray(image.pixel(x, y)) < 128;
        bands += ink && !inBand;
        inBand = ink;
    }
    return bands;
}

TEST_F(Assistant, WelcomeTextShowsTwoLinesAndNoGlyphForTheCarriageReturn)
{
    FrmFAssist page;
    page.Form_Load();
    page.show();
    EXPECT_EQ(page.lblWelcome->text(), Welcome);
    const QImage shown = page.lblWelcome->grab().toImage();
    EXPECT_EQ(inkBands(shown), 2);
    page.lblWelcome->setText(QString(Welcome).remove('\r'));
    EXPECT_EQ(page.lblWelcome->grab().toImage(), shown);
}

} // namespace
