// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <array>

namespace lw {

// The equation of the assistant's template for the kind of graph (1 to 4),
// the rows' texts put in verbatim; an empty text for any other kind.
QString FAComplete(int graphType, const std::array<QString, 4> &rows);

} // namespace lw
