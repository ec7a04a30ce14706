#include "frmprintout.h"

#include "mainwindow/layoutpass.h"
#include "mainwindow/twips.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

namespace lw {

namespace {
constexpr int RepaintIntervalMs = 16;
} // namespace

QSize OuterTwips::size() const
{
    const QSize pixels = m_window->size();
    if (m_set.isValid()
        && ClientPixelsForOuter(m_set, TwipsPerPixelX(), TwipsPerPixelY()) == pixels)
        return m_set;
    return OuterForClientPixels(pixels, TwipsPerPixelX(), TwipsPerPixelY());
}

void OuterTwips::setSize(QSize outer)
{
    m_set = outer;
    m_window->resize(ClientPixelsForOuter(outer, TwipsPerPixelX(), TwipsPerPixelY()));
}

FrmPrintOut::FrmPrintOut(QWidget *parent)
    : QWidget(parent, Qt::Window), m_surface(QSize(1, 1), 1.0, Qt::white)
{
    setObjectName(QStringLiteral("frmPrintOut"));
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_surface.setChangeListener([this] { scheduleRepaint(); });
    SetPrintSurface(&m_surface);
}

FrmPrintOut::~FrmPrintOut()
{
    SetPrintSurface(nullptr);
}

void FrmPrintOut::setPictureSize(QSize size)
{
    m_surface.resize(size, devicePixelRatioF());
    scheduleRepaint();
}

void FrmPrintOut::scheduleRepaint()
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

void FrmPrintOut::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    painter.setClipRect(event->rect());
    painter.drawImage(QPoint(0, 0), m_surface.image());
}

} // namespace lw
