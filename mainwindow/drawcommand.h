#pragma once

namespace lw {

// The draw command's two flags. DrawInProgress: a draw runs and the button
// reads "Stop". StopRequested: "Stop" was pressed; the converter, the draw
// command and the plotter read it after their yields. Written by the draw
// command and the stop press only (and the window's close, which stops).
extern bool DrawInProgress;
extern bool StopRequested;

// The event-loop yield of a running draw: processes pending events at most
// every few milliseconds, so a draw of millions of samples is not slowed by
// the event loop while a click on "Stop" is still seen within that time.
void InstallDrawYield();

} // namespace lw
