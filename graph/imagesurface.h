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

    // A new, cleared picture of another size.
    void resize(QSize size, qreal devicePixelRatio);
    QSize size() const { return m_size; }
    // The picture with every operation so far applied. The painter stays open between
    // operations; a copy taken meanwhile is a deep one (QImage sees the active painter), so it
    // keeps what it shows while drawing goes on.
    const QImage &image() const { return m_image; }
    // The logical area changed since the last call, for coalesced repaints.
    QRect takeDirtyRect();
    // Called after every change of the picture.
    void setChangeListener(std::function<void()> listener) { m_changed = std::move(listener); }

private:
    QPainter &painter();
    void touch(const QRect &area);

    QSize m_size;
    QColor m_background;
    QImage m_image;
    std::unique_ptr<QPainter> m_painter;
    QRect m_dirty;
    std::function<void()> m_changed;
    Colour m_penColour = 0;
    bool m_penValid = false;
};

} // namespace lw
