// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QString>

class QPainter;

namespace lw {

// The axis numbers' font: a pixel font of the size the picture was designed
// for (four pixels a character, six high), so the numbers sit where their
// fixed offsets put them, stay crisp, and need no font files.
inline constexpr int PixelFontAdvance = 4;
inline constexpr int PixelFontHeight = 8;

// Draws digits, "-" and the decimal comma with the top-left corner of the text at (x, y); other
// characters leave a gap.
void PaintPixelText(QPainter &painter, int x, int y, const QString &text, const QColor &colour);

} // namespace lw
