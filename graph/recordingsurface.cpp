#include "recordingsurface.h"

#include <QPainter>
#include <QStringList>

namespace lw {

void RecordingSurface::add(SurfaceOperation operation)
{
    if (m_listener)
        m_listener(operation);
    if (m_sinceLastClear && operation.kind == SurfaceOperation::Kind::Clear) {
        drop();
        m_complete = true;
    }
    if (!m_complete)
        return;
    if (m_operations.size() >= m_limit) {
        drop();
        m_complete = false;
        return;
    }
    m_operations.push_back(std::move(operation));
}

void RecordingSurface::drop()
{
    // A fresh vector gives the memory of a long record back.
    std::vector<SurfaceOperation>().swap(m_operations);
}

void RecordingSurface::keepSinceLastClear(std::size_t limit)
{
    m_sinceLastClear = true;
    m_limit = limit;
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

void RecordingSurface::paint(QPainter &painter, const QColor &background, QSize picture) const
{
    auto from = m_operations.begin();
    for (auto it = m_operations.begin(); it != m_operations.end(); ++it) {
        if (it->kind == SurfaceOperation::Kind::Clear)
            from = it;
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (from == m_operations.end() || from->kind != SurfaceOperation::Kind::Clear)
        painter.fillRect(painter.window(), background);
    for (auto it = from; it != m_operations.end(); ++it) {
        if (!LiesWhollyOutside(*it, picture))
            PaintOperation(painter, *it, background);
    }
}

} // namespace lw
