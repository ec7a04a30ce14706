#include "picturerecord.h"

namespace lw {

PictureRecord::PictureRecord(DrawingSurface &picture, std::size_t limit)
{
    m_recording.keepSinceLastClear(limit);
    m_both.add(&picture);
    m_both.add(&m_recording);
}

void PictureRecord::clear()
{
    m_filter.clear();
}

void PictureRecord::line(int x1, int y1, int x2, int y2, Colour colour)
{
    m_filter.line(x1, y1, x2, y2, colour);
}

void PictureRecord::point(int x, int y, Colour colour)
{
    m_filter.point(x, y, colour);
}

void PictureRecord::text(const QString &text)
{
    passTextOn(m_filter, text);
}

} // namespace lw
