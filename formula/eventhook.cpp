#include "eventhook.h"

#include <utility>

namespace lw {

namespace {
EventHook &installedHook()
{
    static EventHook hook;
    return hook;
}
} // namespace

void InstallEventHook(EventHook hook)
{
    installedHook() = std::move(hook);
}

void YieldToEvents()
{
    if (installedHook().yield)
        installedHook().yield();
}

bool IsStopRequested()
{
    const auto &stop = installedHook().stopRequested;
    return stop && stop();
}

} // namespace lw
