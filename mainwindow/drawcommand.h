#pragma once

#include <cstdint>

namespace lw {

// The draw command's two flags. DrawInProgress: a draw runs and the button
// reads "Stop". StopRequested: "Stop" was pressed; the converter, the draw
// command and the plotter read it after their yields. Written by the draw
// command and the stop press only (and the window's close, which stops).
extern bool DrawInProgress;
extern bool StopRequested;

// The quick options as the draw command reads them from the main window,
// before any of them is stored.
struct QuickOptions {
    int16_t centreX = 0;
    int16_t centreY = 0;
    bool centreChanged = false; // the centre differs from the stored one
    float precision = 0;
};

// The event-loop yield of a running draw: processes pending events at most
// every few milliseconds, so a draw of millions of samples is not slowed by
// the event loop while a click on "Stop" is still seen within that time.
void InstallDrawYield();

} // namespace lw
