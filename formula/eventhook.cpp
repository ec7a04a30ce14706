// SPDX-License-Identifier: GPL-3.0-or-later

#include "eventhook.h"

#include <utility>

namespace lw {

namespace detail {
constinit thread_local EventHook *InstalledEventHook = nullptr;
} // namespace detail

void InstallEventHook(EventHook hook)
{
    thread_local EventHook installed;
    installed = std::move(hook);
    detail::InstalledEventHook = &installed;
}

} // namespace lw
