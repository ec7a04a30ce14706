// SPDX-License-Identifier: GPL-3.0-or-later

#include "imagesurface.h"

#include "pixelfont.h"
#include "surfaceoperation.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace lw {

namespace {

// The line walk keeps positions in 16.16 fixed point in an int.
constexpr int MaxDirectSide = 16384;

// Minor-axis step per major-axis pixel in 16.16 fixed point, rounded toward zero.
int fixedStep(int minor, int major)
{
    return static_cast<int>(static_cast<qint64>(minor) * 65536 / major);
}

} // namespace

ImageSurface::ImageSurface(QSize size, qreal devicePixelRatio, QColor background)
    : m_background(background)
{
    resize(size, devicePixelRatio);
}

ImageSurface::~ImageSurface() = default;

void ImageSurface::resize(QSize size, qreal devicePixelRatio)
{
    m_painter.reset();
    m_pixels = nullptr;
    m_size = size.expandedTo(QSize(1, 1));
    m_image = QImage(m_size * devicePixelRatio, QImage::Format_RGB32);
    m_image.setDevicePixelRatio(devicePixelRatio);
    m_image.fill(m_background);
    m_dirtyLeft = 0;
    m_dirtyTop = 0;
    m_dirtyRight = m_size.width() - 1;
    m_dirtyBottom = m_size.height() - 1;
}

QPainter &ImageSurface::painter()
{
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>(&m_image);
        m_painter->setRenderHint(QPainter::Antialiasing, false);
        m_penValid = false;
        // While the painter is open the image never shares its pixels (a copy is a deep one),
        // so they stay where they are until the painter closes.
        const bool direct = m_image.devicePixelRatio() == 1.0 && m_size.width() <= MaxDirectSide
                            && m_size.height() <= MaxDirectSide;
        m_pixels = direct ? reinterpret_cast<quint32 *>(m_image.bits()) : nullptr;
        m_pixelsPerLine = m_image.bytesPerLine() / 4;
    }
    return *m_painter;
}

quint32 *ImageSurface::directPixels()
{
    painter();
    return m_pixels;
}

void ImageSurface::touch(int left, int top, int right, int bottom)
{
    if (m_dirtyLeft > m_dirtyRight) {
        m_dirtyLeft = left;
        m_dirtyTop = top;
        m_dirtyRight = right;
        m_dirtyBottom = bottom;
    } else {
        m_dirtyLeft = std::min(m_dirtyLeft, left);
        m_dirtyTop = std::min(m_dirtyTop, top);
        m_dirtyRight = std::max(m_dirtyRight, right);
        m_dirtyBottom = std::max(m_dirtyBottom, bottom);
    }
    if (!m_announced && m_changed) {
        m_announced = true;
        m_changed();
    }
}

void ImageSurface::clear()
{
    painter().fillRect(QRect(QPoint(0, 0), m_size), m_background);
    touch(0, 0, m_size.width() - 1, m_size.height() - 1);
}

void ImageSurface::showShifted(const ImageSurface &source, QPoint offset)
{
    quint32 *to = directPixels();
    if (!to || source.m_image.size() != m_image.size()
        || source.m_image.devicePixelRatio() != 1.0) {
        // From itself, a copy first: the painter would read what it has just overwritten.
        const QImage picture = &source == this ? m_image.copy() : source.image();
        QPainter &p = painter();
        p.fillRect(QRect(QPoint(0, 0), m_size), m_background);
        p.drawImage(offset, picture);
    } else {
        // Row by row: a drag moves the picture at every pointer move, and the painter's copy
        // of a megapixel costs several milliseconds of the frame.
        const int width = m_size.width();
        const int height = m_size.height();
        const int dx = offset.x();
        const int dy = offset.y();
        const int left = std::clamp(dx, 0, width);
        const int right = std::clamp(width + dx, 0, width);
        const quint32 fill = m_background.rgb();
        const auto *from = reinterpret_cast<const quint32 *>(source.m_image.constBits());
        const auto row = [&](int y) {
            quint32 *line = to + y * m_pixelsPerLine;
            const int sourceRow = y - dy;
            if (sourceRow < 0 || sourceRow >= height || left >= right) {
                std::fill_n(line, width, fill);
                return;
            }
            std::memmove(line + left, from + sourceRow * m_pixelsPerLine + left - dx,
                         std::size_t(right - left) * sizeof(quint32));
            std::fill(line, line + left, fill);
            std::fill(line + right, line + width, fill);
        };
        // On itself, each row is read before the rows moved onto it are written.
        if (dy > 0)
            for (int y = height - 1; y >= 0; --y)
                row(y);
        else
            for (int y = 0; y < height; ++y)
                row(y);
    }
    touch(0, 0, m_size.width() - 1, m_size.height() - 1);
}

// Sets the pixels QPainter's raster engine sets for a 1-pixel aliased line with square caps
// between integer end points, untransformed: the major axis runs over every pixel from end to
// end, the minor coordinate steps in 16.16 fixed point from the upper or left end, starting
// half a step on where it grows. Saves the painter's set-up per line, which costs far more
// than a short step's few pixels. The engine first clips end points lying more than a pixel
// outside the image, which moves the walk: such lines are left to the painter unless they lie
// wholly beside the image. False where the painter has to draw the line.
bool ImageSurface::plotLine(int x1, int y1, int x2, int y2, Colour colour)
{
    quint32 *pixels = directPixels();
    if (!pixels)
        return false;
    const int width = m_size.width();
    const int height = m_size.height();
    if ((x1 < 0 && x2 < 0) || (x1 >= width && x2 >= width) || (y1 < 0 && y2 < 0)
        || (y1 >= height && y2 >= height))
        return true;
    const auto unclipped = [](int v, int size) {
        return v >= -1 && v <= size + 1;
    };
    if (!unclipped(x1, width) || !unclipped(x2, width) || !unclipped(y1, height)
        || !unclipped(y2, height))
        return false;
    const quint32 value = ToQColor(colour).rgb();
    const qsizetype perLine = m_pixelsPerLine;
    const auto plot = [=](int x, int y) {
        if (static_cast<unsigned>(x) < static_cast<unsigned>(width)
            && static_cast<unsigned>(y) < static_cast<unsigned>(height))
            pixels[y * perLine + x] = value;
    };
    if (std::abs(x2 - x1) < std::abs(y2 - y1)) {
        if (y1 > y2) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        const int step = fixedStep(x2 - x1, y2 - y1);
        int x = x1 * 65536 + (step > 0 ? step - (step >> 1) : 0);
        for (int y = y1; y <= y2; ++y, x += step)
            plot(x >> 16, y);
    } else {
        if (x1 > x2) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        if (x1 == x2) {
            plot(x1, y1);
            return true;
        }
        const int step = fixedStep(y2 - y1, x2 - x1);
        int y = y1 * 65536 + (step > 0 ? step - (step >> 1) : 0);
        for (int x = x1; x <= x2; ++x, y += step)
            plot(x, y >> 16);
    }
    return true;
}

void ImageSurface::line(int x1, int y1, int x2, int y2, Colour colour)
{
    if (!plotLine(x1, y1, x2, y2, colour)) {
        QPainter &p = painter();
        // A curve is drawn in one colour: build its pen once, not per segment.
        if (!m_penValid || m_penColour != colour) {
            p.setPen(QPen(ToQColor(colour), 1));
            m_penColour = colour;
            m_penValid = true;
        }
        p.drawLine(x1, y1, x2, y2);
    }
    touch(std::min(x1, x2) - 1, std::min(y1, y2) - 1, std::max(x1, x2) + 1, std::max(y1, y2) + 1);
}

void ImageSurface::point(int x, int y, Colour colour)
{
    if (quint32 *pixels = directPixels()) {
        if (x >= 0 && y >= 0 && x < m_size.width() && y < m_size.height())
            pixels[y * m_pixelsPerLine + x] = ToQColor(colour).rgb();
    } else {
        // One logical pixel, whatever the device pixel ratio.
        painter().fillRect(QRect(x, y, 1, 1), ToQColor(colour));
    }
    touch(x - 1, y - 1, x + 1, y + 1);
}

void ImageSurface::text(const QString &text)
{
    PaintPixelText(painter(), textX(), textY(), text, ToQColor(textColour()));
    touch(textX() - 1, textY() - 1, textX() + PixelFontAdvance * static_cast<int>(text.size()),
          textY() + PixelFontHeight);
}

QRect ImageSurface::takeDirtyRect()
{
    m_announced = false;
    if (m_dirtyLeft > m_dirtyRight)
        return {};
    const QRect dirty = QRect(QPoint(m_dirtyLeft, m_dirtyTop), QPoint(m_dirtyRight, m_dirtyBottom))
                        & QRect(QPoint(0, 0), m_size);
    m_dirtyLeft = 0;
    m_dirtyRight = -1;
    return dirty;
}

} // namespace lw
