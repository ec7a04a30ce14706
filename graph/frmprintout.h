// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "graph/graphdraw.h"
#include "widgets/picturewidget.h"

#include <QSize>
#include <QWidget>

namespace lw {

// A window's outer size in twips, frame and title bar included. The assumed
// chrome is no whole number of pixels, so not every size can be held in
// pixels: the size last set reads back as long as the window keeps the
// pixels it was given for it.
class OuterTwips {
public:
    explicit OuterTwips(QWidget *window) : m_window(window) {}

    QSize size() const;
    void setSize(QSize outer);
    void setWidth(int width) { setSize(QSize(width, size().height())); }
    void setHeight(int height) { setSize(QSize(size().width(), height)); }

private:
    QWidget *m_window;
    QSize m_set;
};

// frmPrintOut: the white window a print is drawn on, and the picture on it.
class FrmPrintOut : public PictureWidget {
    Q_OBJECT
public:
    explicit FrmPrintOut(QWidget *parent = nullptr);

    OuterTwips &outer() { return m_outer; }
    const QImage &image() const { return surface().image(); }
    Picture &picture() { return m_picture; }
    // A new, white picture of this many pixels.
    void setPicturePixels(QSize size);

private:
    OuterTwips m_outer{this};
    Picture m_picture;
};

} // namespace lw
