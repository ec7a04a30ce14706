// SPDX-License-Identifier: GPL-3.0-or-later

#include "facomplete.h"

namespace lw {

QString FAComplete(int graphType, const std::array<QString, 4> &rows)
{
    switch (graphType) {
    case 1: return rows[0] + " * x + " + rows[1];
    case 2: return rows[0] + " * (x - " + rows[2] + ")^2 + " + rows[1];
    case 3: return rows[0] + " / (x - " + rows[2] + ") + " + rows[1];
    // Each value acts as its label says: stretch in y, stretch in x, shift in y, shift in x.
    case 4: return rows[0] + " * SIN(" + rows[1] + " * (x - " + rows[3] + ")) + " + rows[2];
    default: return {};
    }
}

} // namespace lw
