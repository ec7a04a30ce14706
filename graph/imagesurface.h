// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "drawingsurface.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>

#include <functional>
#include <memory>

namespace lw {

// A persistent picture: what is drawn stays until it is cleared. Sized in
// logical pixels and kept at the screen's device pixel ratio, so it is sharp
// on high-density screens while every position stays a logical pixel.
class ImageSurface : public DrawingSurface {
public:
    ImageSurface(QSize size, qreal devicePixelRatio, QColor background);
    ~ImageSurface() override;

    void clear() override;
    void line(int x1, int y1, int x2, int y2, Colour colour) override;
    void point(int x, int y, Colour colour) override;
    void text(const QString &text) override;

    // Shows what `source` (this surface too) shows, moved by `offset` logical pixels, the
    // background where it does not reach.
    void showShifted(const ImageSurface &source, QPoint offset);
    // A new, cleared picture of another size.
    void resize(QSize size, qreal devicePixelRatio);
    QSize size() const { return m_size; }
    // The picture with every operation so far applied. The painter stays open between
    // operations; a copy taken meanwhile is a deep one (QImage sees the active painter), so it
    // keeps what it shows while drawing goes on.
    const QImage &image() const { return m_image; }
    // The logical area changed since the last call, for coalesced repaints.
    QRect takeDirtyRect();
    // Called on the first change after the last takeDirtyRect(): whoever repaints takes the
    // rest of the changes with the dirty rect, so a long walk costs one call, not one a step.
    void setChangeListener(std::function<void()> listener) { m_changed = std::move(listener); }

private:
    QPainter &painter();
    // The first pixel of the image, or null where QPainter must place the pixels (a device
    // pixel ratio other than 1, a size beyond the line walk's fixed point).
    quint32 *directPixels();
    bool plotLine(int x1, int y1, int x2, int y2, Colour colour);
    void touch(int left, int top, int right, int bottom);

    QSize m_size;
    QColor m_background;
    QImage m_image;
    std::unique_ptr<QPainter> m_painter;
    quint32 *m_pixels = nullptr;
    qsizetype m_pixelsPerLine = 0;
    // Dirty area in logical pixels, inclusive; empty while m_dirtyLeft > m_dirtyRight.
    int m_dirtyLeft = 0, m_dirtyTop = 0, m_dirtyRight = -1, m_dirtyBottom = -1;
    bool m_announced = false;
    std::function<void()> m_changed;
    Colour m_penColour = 0;
    bool m_penValid = false;
};

} // namespace lw
