// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "settings/colour.h"

#include <QColor>
#include <QPointF>
#include <QSize>
#include <QString>

#include <vector>

class QPainter;

namespace lw {

// One drawing operation as the recording surface keeps it.
struct SurfaceOperation {
    enum class Kind { Clear, Line, Point, Text };
    Kind kind = Kind::Clear;
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    Colour colour = 0;
    QString text;

    // "clear", "line X1 Y1 X2 Y2 COLOR", "point X Y COLOR", "text X Y COLOR TEXT"
    QString toString() const;
};

// The picture area has no colour of its own: it shows the standard face
// colour of windows. The print-out is white.
inline QColor PictureBackground()
{
    return QColor(240, 240, 240);
}

// What a picture goes out on: white, as paper is.
inline QColor PaperBackground()
{
    return QColor(Qt::white);
}

// True for a line or point that paints no pixel of a picture of this size, so a vector file
// may leave it out. A line that crosses the picture, and every other operation, paints.
bool LiesWhollyOutside(const SurfaceOperation &operation, QSize picture);
// The same for a line and a point between pixels, as a vector file draws a curve.
bool LineLiesWhollyOutside(QPointF from, QPointF to, QSizeF picture);
bool PointLiesWhollyOutside(QPointF at, QSizeF picture);

// Paints operations as the picture would show them: aliased 1-pixel lines,
// texts with their top-left corner at the position.
void PaintOperation(QPainter &painter, const SurfaceOperation &operation, const QColor &background);

} // namespace lw
