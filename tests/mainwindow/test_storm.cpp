// SPDX-License-Identifier: GPL-3.0-or-later
// Seeded random user actions fired from inside the yields of long draws and
// conversions. After each sequence the window must be idle and consistent, and
// the settings store must hold only what "Speichern" wrote.

#include "tests/mainwindow/storm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWhatsThis>

#include <cstdio>

using namespace lw;
using lw::testing::HelpWindow;
using lw::testing::Storm;

namespace {

constexpr int Sequences = 100;
constexpr unsigned FirstSeed = 7001;

TEST_F(Storm, RandomUserActionsInsideTheYieldsOfLongDraws)
{
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < Sequences; ++i) {
        const unsigned seed = FirstSeed + unsigned(i);
        runSequence(seed);
        SCOPED_TRACE(::testing::Message()
                     << "seed " << seed << ": " << trail.join(u' ').toStdString());
        checkIdleAndConsistent();
        QWhatsThis::leaveWhatsThisMode();
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // Everything the sequence opened went with the main window, no surface is left behind.
        EXPECT_EQ(HelpWindow(), nullptr);
        EXPECT_EQ(ScreenPicture().surface, &NoSurface());
        for (QWidget *w : QApplication::topLevelWidgets())
            EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
        if (HasFailure())
            break;
    }
    // The storm must really have hit running draws, saves, prints and closes.
    EXPECT_GE(counts.duringDraw * 3, counts.actions);
    EXPECT_GT(counts.saves, 0);
    EXPECT_GT(counts.prints, 0);
    EXPECT_GT(counts.closes, 0);
    RecordProperty("sequences", counts.sequences);
    RecordProperty("actions", counts.actions);
    RecordProperty("actions_during_draw", counts.duringDraw);
    std::printf("[ storm    ] %d sequences, %d actions (%d during a draw), %d draw presses, "
                "%d dialog answers, %d saves, %d prints, %d closes (%d during a draw) in %lld ms\n",
                counts.sequences, counts.actions, counts.duringDraw, counts.drawPresses,
                counts.dialogsAnswered, counts.saves, counts.prints, counts.closes,
                counts.closesDuringDraw, static_cast<long long>(clock.elapsed()));
}

} // namespace
