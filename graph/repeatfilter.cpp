// SPDX-License-Identifier: GPL-3.0-or-later

#include "repeatfilter.h"

namespace lw {

void RepeatFilter::clear()
{
    m_last = {};
    m_target.clear();
}

void RepeatFilter::line(int x1, int y1, int x2, int y2, Colour colour)
{
    if (!repeats({1, x1, y1, x2, y2, colour}))
        m_target.line(x1, y1, x2, y2, colour);
}

void RepeatFilter::point(int x, int y, Colour colour)
{
    if (!repeats({2, x, y, 0, 0, colour}))
        m_target.point(x, y, colour);
}

void RepeatFilter::text(const QString &text)
{
    m_last = {};
    passTextOn(m_target, text);
}

} // namespace lw
