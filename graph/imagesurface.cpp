#include "imagesurface.h"

#include "pixelfont.h"
#include "surfaceoperation.h"

namespace lw {

ImageSurface::ImageSurface(QSize size, qreal devicePixelRatio, QColor background)
    : m_background(background)
{
    resize(size, devicePixelRatio);
}

ImageSurface::~ImageSurface() = default;

void ImageSurface::resize(QSize size, qreal devicePixelRatio)
{
    m_painter.reset();
    m_size = size.expandedTo(QSize(1, 1));
    m_image = QImage(m_size * devicePixelRatio, QImage::Format_RGB32);
    m_image.setDevicePixelRatio(devicePixelRatio);
    m_image.fill(m_background);
    m_dirty = QRect(QPoint(0, 0), m_size);
}

QPainter &ImageSurface::painter()
{
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>(&m_image);
        m_painter->setRenderHint(QPainter::Antialiasing, false);
        m_penValid = false;
    }
    return *m_painter;
}

void ImageSurface::touch(const QRect &area)
{
    m_dirty |= area.normalized().adjusted(-1, -1, 1, 1);
    if (m_changed)
        m_changed();
}

void ImageSurface::clear()
{
    painter().fillRect(QRect(QPoint(0, 0), m_size), m_background);
    touch(QRect(QPoint(0, 0), m_size));
}

void ImageSurface::line(int x1, int y1, int x2, int y2, Colour colour)
{
    QPainter &p = painter();
    // A curve is drawn in one colour: build its pen once, not per segment.
    if (!m_penValid || m_penColour != colour) {
        p.setPen(QPen(ToQColor(colour), 1));
        m_penColour = colour;
        m_penValid = true;
    }
    p.drawLine(x1, y1, x2, y2);
    touch(QRect(QPoint(x1, y1), QPoint(x2, y2)));
}

void ImageSurface::point(int x, int y, Colour colour)
{
    // One logical pixel, whatever the device pixel ratio.
    painter().fillRect(QRect(x, y, 1, 1), ToQColor(colour));
    touch(QRect(x, y, 1, 1));
}

void ImageSurface::text(const QString &text)
{
    PaintPixelText(painter(), textX(), textY(), text, ToQColor(textColour()));
    touch(
        QRect(textX(), textY(), PixelFontAdvance * static_cast<int>(text.size()), PixelFontHeight));
}

QRect ImageSurface::takeDirtyRect()
{
    const QRect dirty = m_dirty & QRect(QPoint(0, 0), m_size);
    m_dirty = QRect();
    return dirty;
}

} // namespace lw
