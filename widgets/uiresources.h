// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFont>

namespace lw {

// The pictures are compiled into the windows' static library, whose resource
// object the linker would drop unless something refers to it: every window
// that shows a picture calls this first (any number of times).
void InitUiResources();

// The windows were laid out for an 8-point sans serif of narrow metrics;
// Liberation Sans has them, so every caption fits its designed width.
QFont DesignFont(qreal pointSize = 8, bool bold = false);

} // namespace lw
