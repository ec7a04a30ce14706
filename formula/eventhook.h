#pragma once

#include <functional>

namespace lw {

// The converter, the draw command and the plotter let the event loop run at
// fixed points and then ask whether the user pressed Stop. The program
// installs both; without them the yield does nothing and no stop comes.
struct EventHook {
    std::function<void()> yield;
    std::function<bool()> stopRequested;
};

void InstallEventHook(EventHook hook);
void YieldToEvents();
bool IsStopRequested();

} // namespace lw
