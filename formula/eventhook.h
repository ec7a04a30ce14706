// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>

namespace lw {

// The converter and the plotter call the yield at fixed points and then ask
// whether the user pressed Stop; the program's yield lets the event loop run
// at most every few milliseconds, however often it is called. The draw command
// does not yield through here: it runs the event loop once itself, before
// plotting. Without a hook the yield does nothing and no stop comes. A hook holds for the
// thread that installs it: a thread that plots beside the window's has its own or none.
struct EventHook {
    std::function<void()> yield;
    std::function<bool()> stopRequested;
};

void InstallEventHook(EventHook hook);

namespace detail {
// Set by InstallEventHook; null before the first. Read inline: the plotter asks after every
// sample.
extern constinit thread_local EventHook *InstalledEventHook;
} // namespace detail

inline void YieldToEvents()
{
    if (const EventHook *hook = detail::InstalledEventHook; hook && hook->yield)
        hook->yield();
}

inline bool IsStopRequested()
{
    const EventHook *hook = detail::InstalledEventHook;
    return hook && hook->stopRequested && hook->stopRequested();
}

} // namespace lw
