// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "clicommands.h"
#include "renderoptions.h"

namespace lw {

int RunRender(const CliCall &call);

} // namespace lw
