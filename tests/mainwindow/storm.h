// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The storm's machinery: seeded random user actions fired from inside the yields of long draws
// and conversions, answering whatever dialog comes up, and the settings store it watches.

#include "tests/support/windowtesting.h"

#include "settings/options.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <map>
#include <random>

namespace lw {
class FrmGraphOptions;
class FrmPrePrint;
struct PrintJob;
} // namespace lw

namespace lw::testing {

constexpr int FewestActions = 20;
constexpr int MostActions = 40;

// Many rounds of conversion, each ending in a yield: 400 parts take a quarter of a second.
inline QString longTerm(int parts)
{
    QStringList terms;
    for (int i = 1; i <= parts; ++i)
        terms << QStringLiteral("%1*SIN(x/%2)^2-(x+%3)/(x*x+1)").arg(i).arg(i + 1).arg(i);
    return terms.join(u'+');
}

// About three in four entries of each list are usable, so that most presses draw.
inline const QStringList Terms = {
    "2*x^2+3*x-4", "a*SIN(x)+b", "1/x",           "SQR(ABS(x))*COS(x)",
    "x",           "3",          longTerm(30),    longTerm(400),
    "x^3-2*x",     "SUM(x;1)",   "PRO(x;SIN(x))", "2*(x+1",
    "x+*2",        "   ",        "§$%&",          QString(33000, 'x'),
    longTerm(450), // converts for long, then fails: its formula would be too long
};
inline const QStringList Precisions = {"0,001", "0,0001", "0,00001", "0,0001", "0,00001",  "0,001",
                                       "0,01",  "0,1",    "0",       "abc",    "0,0000001"};
inline const QStringList Centres = {"0", "0", "1", "-2", "2,5", "100", "40000", "zwei"};
inline const QStringList VariableValues = {"2", "-1,5", "0,25", "10", "x", "", "99999999", "1E+30"};
inline const QStringList DialogNumbers = {"0,001", "5", "-3",     "20", "10",
                                          "32767", "0", "-40000", "abc"};

class WatchedStore : public MemorySettingsStore {
public:
    using Contents = std::map<std::pair<QString, QString>, QString>;

    void write(const QString &section, const QString &name, const QString &text) override
    {
        MemorySettingsStore::write(section, name, text);
        // The file dialogs keep the folder last used at every choice, the own windows their
        // places; those are no settings.
        if (section == QLatin1String("Dialogs") || section == QLatin1String("Windows"))
            return;
        contents[{section, name}] = text;
        if (!saving)
            strayWrites << section + u'/' + name;
    }

    Contents contents;
    bool saving = false;
    QStringList strayWrites;
};

struct StormCounts {
    int sequences = 0, actions = 0;
    int duringDraw = 0; // fired while a draw or conversion ran
    int drawPresses = 0, dialogsAnswered = 0;
    int saves = 0, prints = 0;
    int closes = 0, closesDuringDraw = 0;
};

class Storm : public lw::testing::WindowTest {
protected:
    void SetUp() override;
    void TearDown() override;

    void runSequence(unsigned seed);
    void checkIdleAndConsistent();

    StormCounts counts;
    QStringList trail; // the actions of the sequence, for the failure message

private:
    void writeGraphFiles();
    void print(const PrintJob &job);
    void buildActions();
    void buildPictureActions();
    void buildOtherWindowActions();
    void schedule(int ms);
    void step();
    void finish();
    void tick();
    void answer(QWidget *modal);
    void answerGraphOptions(FrmGraphOptions *dialog);
    void pressSave(FrmGraphOptions *dialog);
    void toolbarClick(const char *key);
    void act(int weight, const char *name, std::function<void()> action);
    void pressDraw();
    void close();
    QWidget *anyControl();
    FrmPrePrint *openSizingWindow();

    bool chance(int oneIn) { return rng() % oneIn == 0; }
    int between(int low, int high) { return low + int(rng() % unsigned(high - low + 1)); }
    template<typename List>
    typename List::value_type pick(const List &list)
    {
        return list[rng() % list.size()];
    }

    WatchedStore watched;
    WatchedStore::Contents expectedStore;
    QTemporaryDir files;
    QStringList graphPaths; // good, bad and missing files to load
    QStringList savePaths;
    std::mt19937 rng;
    QTimer answerer;
    struct Action {
        const char *name;
        int weight;
        std::function<void()> run;
    };
    std::vector<Action> actions;
    int totalWeight = 0;
    int left = 0;
    bool done = false;
    bool answering = false;
    bool closed = false;
};

} // namespace lw::testing
