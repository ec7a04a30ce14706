// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "drawingsurface.h"

#include <vector>

namespace lw {

// Hands every operation on to several surfaces, so one draw can be traced and
// painted at once; with none it draws into nothing.
class TeeSurface : public DrawingSurface {
public:
    void add(DrawingSurface *surface);

    void clear() override;
    void line(int x1, int y1, int x2, int y2, Colour colour) override;
    void point(int x, int y, Colour colour) override;
    void text(const QString &text) override;

private:
    std::vector<DrawingSurface *> m_surfaces;
};

} // namespace lw
