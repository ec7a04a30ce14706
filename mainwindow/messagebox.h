#pragma once

namespace lw {

// Shows the program's messages as message boxes with one OK button.
void InstallMessageBoxes();

} // namespace lw
