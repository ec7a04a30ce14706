// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "graph/viewsteps.h"

#include <cstdint>

namespace lw {

// Where the draw command is in its life. Only one draw is ever on the stack:
// a press while one runs stops it, and a press while one is on its way out
// waits for it.
enum class DrawPhase {
    Idle,
    Converting, // the equation becomes a formula; the button reads "Stop"
    Plotting,   // from the formula to the curve's end; the button reads "Stop"
    Stopping,   // "Stop" was pressed; the converter and the plotter end at their next check
    Reporting,  // the draw ends with a message (a refused entry, a fault) and runs no more
};

// What is due once the draw on the stack has returned.
enum class AfterDraw { Nothing, DrawAgain, Close };

struct DrawState {
    DrawPhase phase = DrawPhase::Idle;
    AfterDraw then = AfterDraw::Nothing;
};

// The program's one draw command state; written by the draw command, its stop
// press and the window's close.
extern DrawState TheDraw;

// A draw runs and the button reads "Stop".
inline bool DrawInProgress()
{
    return TheDraw.phase == DrawPhase::Converting || TheDraw.phase == DrawPhase::Plotting;
}
// "Stop" was pressed and the running draw has not noticed yet.
inline bool StopRequested()
{
    return TheDraw.phase == DrawPhase::Stopping;
}

// The quick options as the draw command reads them from the main window,
// before any of them is stored.
struct QuickOptions {
    ViewCentre centre{};
    bool centreChanged = false; // the centre differs from the stored one
    float precision = 0;
};

// The event-loop yield of a running draw: processes pending events at most
// every few milliseconds, so a draw of millions of samples is not slowed by
// the event loop while a click on "Stop" is still seen within that time.
void InstallDrawYield();

} // namespace lw
