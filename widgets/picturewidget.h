// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "graph/imagesurface.h"
#include "graph/surfaceoperation.h"

#include <QWidget>

#include <optional>

namespace lw {

// Shows a persistent picture the coordinate system and the curves are drawn
// on (picGraph, and the print-out window). Drawing marks areas dirty; the
// widget repaints them at most about sixty times a second, so a long draw is
// not slowed by painting.
class PictureWidget : public QWidget {
    Q_OBJECT
public:
    explicit PictureWidget(QWidget *parent = nullptr,
                           const QColor &background = PictureBackground(),
                           Qt::WindowFlags flags = {});

    ImageSurface &surface() { return m_surface; }
    const ImageSurface &surface() const { return m_surface; }
    // A new, empty picture of this many pixels.
    void setPictureSize(QSize size);
    // A small cross over the picture, not in it, where the trace stands on a curve; none
    // without a position.
    void setCross(std::optional<QPoint> at, const QColor &colour = {});
    std::optional<QPoint> cross() const { return m_cross; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void scheduleRepaint();

    QColor m_background;
    ImageSurface m_surface;
    bool m_repaintScheduled = false;
    std::optional<QPoint> m_cross;
    QColor m_crossColour;
};

} // namespace lw
