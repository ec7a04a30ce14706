#pragma once

namespace lw {

// The pictures are compiled into the windows' static library, whose resource
// object the linker would drop unless something refers to it: every window
// that shows a picture calls this first (any number of times).
void InitUiResources();

} // namespace lw
