// SPDX-License-Identifier: GPL-3.0-or-later

#include "teesurface.h"

namespace lw {

void TeeSurface::add(DrawingSurface *surface)
{
    m_surfaces.push_back(surface);
}

void TeeSurface::clear()
{
    for (DrawingSurface *surface : m_surfaces)
        surface->clear();
}

void TeeSurface::line(int x1, int y1, int x2, int y2, Colour colour)
{
    for (DrawingSurface *surface : m_surfaces)
        surface->line(x1, y1, x2, y2, colour);
}

void TeeSurface::point(int x, int y, Colour colour)
{
    for (DrawingSurface *surface : m_surfaces)
        surface->point(x, y, colour);
}

void TeeSurface::text(const QString &text)
{
    for (DrawingSurface *surface : m_surfaces)
        passTextOn(*surface, text);
}

} // namespace lw
