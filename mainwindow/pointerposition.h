#pragma once

#include <QPointF>
#include <QString>

namespace lw {

// The fewest decimals that still tell neighbouring pixels apart at this many
// pixels per graph unit: 10^-decimals must not exceed one pixel's width.
int PointerDecimals(int pixelsPerUnit);

// "x = 2,35   y = -1,2" for a point on the picture, in pixels, at the
// geometry in effect and in the user's number format; empty while no
// coordinate system could be laid out.
QString PointerPositionText(QPointF position);

} // namespace lw
