#pragma once

#include "graph/imagesurface.h"

#include <QWidget>

namespace lw {

// picGraph: shows the persistent picture the coordinate system and the
// curves are drawn on. Drawing marks areas dirty; the widget repaints them at
// most about sixty times a second, so a long draw is not slowed by painting.
class PictureWidget : public QWidget {
    Q_OBJECT
public:
    explicit PictureWidget(QWidget *parent = nullptr);

    ImageSurface &surface() { return m_surface; }
    // A new, empty picture of this many pixels.
    void setPictureSize(QSize size);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void scheduleRepaint();

    ImageSurface m_surface;
    bool m_repaintScheduled = false;
};

} // namespace lw
