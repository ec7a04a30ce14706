// SPDX-License-Identifier: GPL-3.0-or-later

#include "recordingsurface.h"

#include <QStringList>

namespace lw {

void RecordingSurface::add(SurfaceOperation operation)
{
    if (m_listener)
        m_listener(operation);
    m_operations.push_back(std::move(operation));
}

void RecordingSurface::clear()
{
    add({SurfaceOperation::Kind::Clear, 0, 0, 0, 0, 0, {}});
}

void RecordingSurface::line(int x1, int y1, int x2, int y2, Colour colour)
{
    add({SurfaceOperation::Kind::Line, x1, y1, x2, y2, colour, {}});
}

void RecordingSurface::point(int x, int y, Colour colour)
{
    add({SurfaceOperation::Kind::Point, x, y, 0, 0, colour, {}});
}

void RecordingSurface::text(const QString &text)
{
    add({SurfaceOperation::Kind::Text, textX(), textY(), 0, 0, textColour(), text});
}

QStringList RecordingSurface::lines() const
{
    QStringList result;
    for (const SurfaceOperation &op : m_operations)
        result << op.toString();
    return result;
}

void RecordingSurface::setListener(std::function<void(const SurfaceOperation &)> listener)
{
    m_listener = std::move(listener);
}

} // namespace lw
