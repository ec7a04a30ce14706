// SPDX-License-Identifier: GPL-3.0-or-later

#include "graphsettings.h"

namespace lw {

GraphSettingsRecord GraphSettings;

} // namespace lw
