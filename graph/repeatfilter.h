// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "drawingsurface.h"

namespace lw {

// Passes operations on to another surface but leaves out a line or point that
// repeats the one just before it: it paints nothing new, and a fine Precision
// draws the same pixel many thousand times, which a vector file would keep.
class RepeatFilter final : public DrawingSurface {
public:
    explicit RepeatFilter(DrawingSurface &target) : m_target(target) {}

    void clear() override;
    void line(int x1, int y1, int x2, int y2, Colour colour) override;
    void point(int x, int y, Colour colour) override;
    void text(const QString &text) override;

private:
    // Kind (1 line, 2 point, 0 none), coordinates and colour of the last figure passed on.
    struct Figure {
        int kind = 0;
        int x1 = 0, y1 = 0;
        int x2 = 0, y2 = 0;
        Colour colour = 0;
    };
    // Asked once for every sample of a walk: inline, and one test for all six fields.
    bool repeats(const Figure &f)
    {
        const Figure &l = m_last;
        const bool same = ((f.kind ^ l.kind) | (f.x1 ^ l.x1) | (f.y1 ^ l.y1) | (f.x2 ^ l.x2)
                           | (f.y2 ^ l.y2) | static_cast<int>(f.colour ^ l.colour))
                          == 0;
        m_last = f;
        return same;
    }

    DrawingSurface &m_target;
    Figure m_last{};
};

} // namespace lw
