// SPDX-License-Identifier: GPL-3.0-or-later

#include "surfaceoperation.h"

#include "pixelfont.h"

#include <QPainter>

#include <algorithm>
#include <utility>

namespace lw {

QString SurfaceOperation::toString() const
{
    switch (kind) {
    case Kind::Clear: return QStringLiteral("clear");
    case Kind::Line:
        return QStringLiteral("line %1 %2 %3 %4 %5").arg(x1).arg(y1).arg(x2).arg(y2).arg(colour);
    case Kind::Point: return QStringLiteral("point %1 %2 %3").arg(x1).arg(y1).arg(colour);
    case Kind::Text:
        return QStringLiteral("text %1 %2 %3 %4").arg(x1).arg(y1).arg(colour).arg(text);
    }
    return {};
}

namespace {

// Whether the segment from (x1, y1) to (x2, y2) meets the rectangle from (left, top) to
// (right, bottom), edges included: the part of the segment's parameter range 0..1 inside each
// pair of edges, narrowed edge by edge (Liang and Barsky's clipping).
bool segmentMeets(double x1, double y1, double x2, double y2, double left, double top, double right,
                  double bottom)
{
    double enter = 0.0;
    double leave = 1.0;
    const auto within = [&](double start, double delta, double low, double high) {
        if (delta == 0.0)
            return start >= low && start <= high;
        double a = (low - start) / delta;
        double b = (high - start) / delta;
        if (a > b)
            std::swap(a, b);
        enter = std::max(enter, a);
        leave = std::min(leave, b);
        return enter <= leave;
    };
    return within(x1, x2 - x1, left, right) && within(y1, y2 - y1, top, bottom);
}

} // namespace

// The picture paints a pixel to the right of and below its position; a vector file's viewer
// centres it on the position, half a pixel further up and left, and smooths its edges. What
// lies outside must paint nothing in either.
bool LineLiesWhollyOutside(QPointF from, QPointF to, QSizeF picture)
{
    // A 1-pixel pen reaches less than a pixel beyond its line, square caps and diagonals
    // included, so a line that keeps one pixel away from the picture paints nothing.
    return !segmentMeets(from.x(), from.y(), to.x(), to.y(), -1.0, -1.0, picture.width() + 1.0,
                         picture.height() + 1.0);
}

// A point is a pixel's square, half a pixel each way from its position in a vector file.
bool PointLiesWhollyOutside(QPointF at, QSizeF picture)
{
    return at.x() < -0.5 || at.y() < -0.5 || at.x() > picture.width() + 0.5
           || at.y() > picture.height() + 0.5;
}

bool LiesWhollyOutside(const SurfaceOperation &op, QSize picture)
{
    switch (op.kind) {
    case SurfaceOperation::Kind::Point:
        return PointLiesWhollyOutside(QPointF(op.x1, op.y1), picture);
    case SurfaceOperation::Kind::Line:
        return LineLiesWhollyOutside(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2), picture);
    case SurfaceOperation::Kind::Clear:
    case SurfaceOperation::Kind::Text: return false;
    }
    return false;
}

void PaintOperation(QPainter &painter, const SurfaceOperation &op, const QColor &background)
{
    switch (op.kind) {
    case SurfaceOperation::Kind::Clear: painter.fillRect(painter.window(), background); break;
    case SurfaceOperation::Kind::Line:
        painter.setPen(QPen(ToQColor(op.colour), 1));
        painter.drawLine(op.x1, op.y1, op.x2, op.y2);
        break;
    case SurfaceOperation::Kind::Point:
        painter.setPen(QPen(ToQColor(op.colour), 1));
        painter.drawPoint(op.x1, op.y1);
        break;
    case SurfaceOperation::Kind::Text:
        PaintPixelText(painter, op.x1, op.y1, op.text, ToQColor(op.colour));
        break;
    }
}

} // namespace lw
