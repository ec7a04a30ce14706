// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPoint>
#include <QPointF>
#include <QString>

#include <optional>
#include <string_view>

namespace lw {

// The fewest decimals that still tell neighbouring pixels apart at this many
// pixels per graph unit: 10^-decimals must not exceed one pixel's width.
int PointerDecimals(int pixelsPerUnit);

// "x = 2,35   y = -1,2" for a point on the picture, in pixels, at the
// geometry in effect and in the user's number format; empty while no
// coordinate system could be laid out.
QString PointerPositionText(QPointF position);

// The trace on a curve: "f(2,35) = 4,52" at the pointer's x, the value as the plotter computes
// it, and the pixel where that point lies (none where the formula has no value there).
struct TracePoint {
    QString text;
    std::optional<QPoint> at;
};
TracePoint TraceAt(QPointF position, std::u16string_view formula);

} // namespace lw
