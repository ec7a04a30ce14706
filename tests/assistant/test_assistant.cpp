#include "assistant/facomplete.h"
#include "assistant/frmfassist.h"
#include "assistant/frmfassist2.h"
#include "formula/formulaprogram.h"
#include "formula/normalise.h"
#include "formula/texthelpers.h"
#include "tests/support/modalanswer.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

using namespace lw;

namespace {

const std::array<QString, 4> Initial{"a", "b", "c", "d"};
const QString Welcome = QStringLiteral(
    "Wilkommen zum Funktions-Assistenten.\r\nBitte wählen Sie eine Schaubildart aus:");

std::u16string normalised(const QString &equation)
{
    const std::optional<std::u16string> compact = RemoveSpaces(equation.toStdU16String());
    const ConvertResult result = NormaliseMathTerm(compact.value());
    return result.status == ConvertStatus::Converted ? result.formula : u"(not converted)";
}

TEST(FAComplete, JoinsTheRowsVerbatimIntoTheTemplate)
{
    const struct {
        int type;
        std::array<QString, 4> rows;
        QString equation;
    } cases[] = {
        {1, Initial, "a * x + b"},
        {2, Initial, "a * (x - c)^2 + b"},
        {3, Initial, "a / (x - c) + b"},
        {4, Initial, "a * SIN(b * (x - d)) + c"},
        {2, {"2", "3", "1", "d"}, "2 * (x - 1)^2 + 3"},
        {3, {"-2", "0,5", "+1", ""}, "-2 / (x - +1) + 0,5"},
        {4, {"2", "1", "0", "0"}, "2 * SIN(1 * (x - 0)) + 0"},
        {1, {"2", "-1", "c", "d"}, "2 * x + -1"},
        {1, {"", "b", "", ""}, " * x + b"},
        {1, {" 0,5 ", "b ", "", ""}, " 0,5  * x + b "},
        {0, Initial, ""},
        {5, Initial, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FAComplete(c.type, c.rows), c.equation)
            << c.type << " " << c.equation.toStdString();
}

TEST(FAComplete, EveryTemplateConvertsAndTheSineKeepsItsLabelsMeaning)
{
    for (int type = 1; type <= 3; ++type)
        EXPECT_NE(normalised(FAComplete(type, Initial)), u"(not converted)") << type;
    EXPECT_EQ(normalised(FAComplete(4, Initial)), u"SUM(PRO(a;SIN(PRO(b;DIF(x;d))));c)");
}

TEST(FAComplete, SineWithStretchTwoDrawsTwiceSinX)
{
    const std::u16string formula = normalised(FAComplete(4, {"2", "1", "0", "0"}));
    const FormulaProgram program(formula);
    for (const float x : {-3.0f, -1.5f, 0.0f, 0.25f, 1.0f, 2.5f})
        EXPECT_NEAR(program.evaluate(x), 2 * std::sin(x), 1e-5) << x;
}

using Step = std::function<void(QDialog &page)>;

template<typename Widget>
Widget *child(QDialog &page, const QString &name)
{
    Widget *widget = page.findChild<Widget *>(name);
    EXPECT_NE(widget, nullptr) << name.toStdString();
    return widget;
}

QPushButton *button(QDialog &page, const char *name)
{
    return child<QPushButton>(page, QString::fromLatin1(name));
}

QLineEdit *field(QDialog &page, int row)
{
    return child<QLineEdit>(page, QStringLiteral("txtValue_%1").arg(row));
}

QLabel *description(QDialog &page, int row)
{
    return child<QLabel>(page, QStringLiteral("lblDescription_%1").arg(row));
}

QRadioButton *option(QDialog &page, int index)
{
    return child<QRadioButton>(page, QStringLiteral("optGType_%1").arg(index));
}

bool stillOpen(QDialog &page)
{
    return page.isVisible() && QApplication::activeModalWidget() == &page;
}

// Typed as a user would: the old text selected and overwritten.
void type(QDialog &page, int row, const QString &text)
{
    QLineEdit *edit = field(page, row);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

Step press(const char *name)
{
    return [name](QDialog &page) {
        button(page, name)->click();
    };
}

Step choose(int index)
{
    return [index](QDialog &page) {
        option(page, index)->click();
        button(page, "cmdNext")->click();
    };
}

QStringList openPages()
{
    QStringList names;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName().startsWith("frmFAssist"))
            names << w->objectName();
    }
    return names;
}

class Assistant : public ::testing::Test {
protected:
    void SetUp() override { FAGraphType = 0; }
    void TearDown() override { FAGraphType = 0; }

    // Runs the assistant; each step plays the user on the next page that comes up.
    std::optional<QString> run(std::vector<Step> steps, QWidget *parent = nullptr)
    {
        std::size_t next = 0;
        QPointer<QWidget> acted;
        QDeadlineTimer leaving;
        bool stuck = false;
        QTimer user;
        user.setInterval(1);
        QObject::connect(&user, &QTimer::timeout, [&] {
            auto *page = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!page)
                return;
            if (page == acted) {
                // A step that left its page open would otherwise wait forever.
                if (leaving.hasExpired()) {
                    stuck = true;
                    page->reject();
                }
                return;
            }
            leaving.setRemainingTime(lw::testing::WaitDeadlineMs);
            acted = page;
            pagesSeen << page->objectName();
            loopLevels.push_back(QThread::currentThread()->loopLevel());
            if (next < steps.size()) {
                steps[next++](*page);
            } else {
                stuck = true;
                page->reject();
            }
        });
        user.start();
        const std::optional<QString> equation = RunFunctionAssistant(parent);
        EXPECT_FALSE(stuck) << "a page stayed open or came up unexpectedly";
        EXPECT_EQ(next, steps.size()) << "the assistant ended early";
        EXPECT_TRUE(openPages().isEmpty()) << openPages().join(' ').toStdString();
        return equation;
    }

    QStringList pagesSeen;
    std::vector<int> loopLevels;
};

void expectButtonRow(QDialog &page, bool backEnabled, bool nextEnabled)
{
    const struct {
        const char *name;
        const char *caption;
        int helpTopic;
        bool enabled;
    } buttons[] = {
        {"cmdCancel", "Abbrechen", 21, true},
        {"cmdBack", "< Zurück", 22, backEnabled},
        {"cmdNext", "Weiter >", 23, nextEnabled},
        {"cmdFinish", "Fertigstellen", 24, true},
    };
    int left = -1;
    for (const auto &b : buttons) {
        QPushButton *control = button(page, b.name);
        EXPECT_EQ(control->text(), QString::fromUtf8(b.caption));
        EXPECT_EQ(control->property("helpTopic").toInt(), b.helpTopic) << b.name;
        EXPECT_EQ(control->isEnabled(), b.enabled) << b.name;
        EXPECT_FALSE(control->isDefault() || control->autoDefault()) << b.name;
        EXPECT_GT(control->x(), left) << b.name;
        left = control->x();
    }
    EXPECT_EQ(page.windowTitle(), "Funktions-Assistent");
    EXPECT_TRUE(page.isModal());
    EXPECT_EQ(page.font().family(), "Liberation Sans");
    EXPECT_EQ(page.font().pointSizeF(), 8);
}

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
                 QTest::keyClick(option(page, 2), Qt::Key_Escape);
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
                 QTest::keyClick(field(page, 0), Qt::Key_Return);
                 QTest::keyClick(field(page, 0), Qt::Key_Escape);
                 EXPECT_TRUE(stillOpen(page));
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
                           QStringLiteral("Bitte geben Sie die Werte zu ihrer %1 ein.")
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
