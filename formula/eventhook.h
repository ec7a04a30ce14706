#pragma once

#include <functional>

namespace lw {

// The converter and the plotter call the yield at fixed points and then ask
// whether the user pressed Stop; the program's yield lets the event loop run
// at most every few milliseconds, however often it is called. The draw command
// does not yield through here: it runs the event loop once itself, before
// plotting. Without a hook the yield does nothing and no stop comes.
struct EventHook {
    std::function<void()> yield;
    std::function<bool()> stopRequested;
};

void InstallEventHook(EventHook hook);
void YieldToEvents();
bool IsStopRequested();

} // namespace lw
