// SPDX-License-Identifier: GPL-3.0-or-later

#include "pixelfont.h"

#include <QPainter>
#include <QRect>
#include <QVarLengthArray>

#include <array>
#include <cstdint>

namespace lw {

namespace {

// Three columns by six rows a glyph, one row of bits each (bit 2 = left).
using Glyph = std::array<uint8_t, 6>;

constexpr std::array<Glyph, 10> Digits{{
    {0b010, 0b101, 0b101, 0b101, 0b101, 0b010}, // 0
    {0b010, 0b110, 0b010, 0b010, 0b010, 0b111}, // 1
    {0b110, 0b001, 0b001, 0b010, 0b100, 0b111}, // 2
    {0b110, 0b001, 0b010, 0b001, 0b001, 0b110}, // 3
    {0b101, 0b101, 0b101, 0b111, 0b001, 0b001}, // 4
    {0b111, 0b100, 0b110, 0b001, 0b001, 0b110}, // 5
    {0b011, 0b100, 0b110, 0b101, 0b101, 0b010}, // 6
    {0b111, 0b001, 0b001, 0b010, 0b010, 0b010}, // 7
    {0b010, 0b101, 0b010, 0b101, 0b101, 0b010}, // 8
    {0b010, 0b101, 0b101, 0b011, 0b001, 0b110}, // 9
}};
constexpr Glyph Minus{0b000, 0b000, 0b111, 0b000, 0b000, 0b000};
constexpr Glyph Comma{0b000, 0b000, 0b000, 0b000, 0b010, 0b100};

// Blank rows above the glyphs, as a font's leading.
constexpr int TopRows = 2;

const Glyph *glyphOf(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return &Digits[static_cast<std::size_t>(c.unicode() - u'0')];
    if (c == u'-')
        return &Minus;
    if (c == u',')
        return &Comma;
    return nullptr;
}

} // namespace

void PaintPixelText(QPainter &painter, int x, int y, const QString &text, const QColor &colour)
{
    // All pixels of a text in one fill: a vector file then holds one group for a number instead
    // of one for each of its pixels.
    QVarLengthArray<QRect, 64> pixels;
    for (const QChar c : text) {
        if (const Glyph *glyph = glyphOf(c)) {
            for (int row = 0; row < 6; ++row) {
                for (int column = 0; column < 3; ++column) {
                    if ((*glyph)[static_cast<std::size_t>(row)] & (0b100 >> column))
                        pixels.append(QRect(x + column, y + TopRows + row, 1, 1));
                }
            }
        }
        x += PixelFontAdvance;
    }
    if (pixels.isEmpty())
        return;
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRects(pixels.constData(), static_cast<int>(pixels.size()));
    painter.restore();
}

} // namespace lw
