#pragma once

#include <memory>

namespace lw {

class FrmMain;

// The start: the title screen, the settings (with their notice over the
// title screen), the main window shown, the title screen closed.
std::unique_ptr<FrmMain> Main();

} // namespace lw
