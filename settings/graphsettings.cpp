#include "graphsettings.h"

namespace lw {

GraphSettingsRecord GraphSettings;

} // namespace lw
