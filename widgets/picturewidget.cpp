// SPDX-License-Identifier: GPL-3.0-or-later

#include "picturewidget.h"

#include "graph/surfaceoperation.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

namespace lw {

namespace {
constexpr int RepaintIntervalMs = 16;
constexpr int CrossArm = 4;
constexpr int FocusFrameWidth = 2;
} // namespace

PictureWidget::PictureWidget(QWidget *parent, const QColor &background, Qt::WindowFlags flags)
    : QWidget(parent, flags), m_background(background), m_surface(QSize(1, 1), 1.0, background)
{
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_surface.setChangeListener([this] { scheduleRepaint(); });
}

void PictureWidget::setPictureSize(QSize size)
{
    m_surface.resize(size, devicePixelRatioF());
    scheduleRepaint();
}

void PictureWidget::scheduleRepaint()
{
    if (m_repaintScheduled)
        return;
    m_repaintScheduled = true;
    QTimer::singleShot(RepaintIntervalMs, this, [this] {
        m_repaintScheduled = false;
        const QRect dirty = m_surface.takeDirtyRect();
        if (!dirty.isEmpty())
            update(dirty);
    });
}

void PictureWidget::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect area = event->rect();
    painter.fillRect(area, m_background);
    painter.setClipRect(area);
    painter.drawImage(QPoint(0, 0), m_surface.image());
    if (m_cross) {
        painter.setPen(QPen(m_crossColour, 1));
        const QPoint c = *m_cross;
        painter.drawLine(c - QPoint(CrossArm, 0), c + QPoint(CrossArm, 0));
        painter.drawLine(c - QPoint(0, CrossArm), c + QPoint(0, CrossArm));
    }
    // +, -, the arrows and Home act on the picture only while it has the focus: show that.
    if (hasFocus()) {
        const QColor frame = palette().color(QPalette::Highlight);
        const QRect all = rect();
        const int w = FocusFrameWidth;
        painter.setClipping(false);
        painter.fillRect(QRect(all.left(), all.top(), all.width(), w), frame);
        painter.fillRect(QRect(all.left(), all.bottom() - w + 1, all.width(), w), frame);
        painter.fillRect(QRect(all.left(), all.top(), w, all.height()), frame);
        painter.fillRect(QRect(all.right() - w + 1, all.top(), w, all.height()), frame);
    }
}

void PictureWidget::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void PictureWidget::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void PictureWidget::setCross(std::optional<QPoint> at, const QColor &colour)
{
    const auto area = [](QPoint c) {
        return QRect(c - QPoint(CrossArm, CrossArm), QSize(2 * CrossArm + 1, 2 * CrossArm + 1));
    };
    if (m_cross)
        update(area(*m_cross));
    m_cross = at;
    m_crossColour = colour;
    if (m_cross)
        update(area(*m_cross));
}

} // namespace lw
