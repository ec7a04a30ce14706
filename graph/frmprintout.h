#pragma once

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

// frmPrintOut: the white window a print is drawn on. It is the print surface
// for as long as it exists.
class FrmPrintOut : public PictureWidget {
    Q_OBJECT
public:
    explicit FrmPrintOut(QWidget *parent = nullptr);
    ~FrmPrintOut() override;

    OuterTwips &outer() { return m_outer; }
    const QImage &image() const { return surface().image(); }

private:
    OuterTwips m_outer{this};
};

} // namespace lw
