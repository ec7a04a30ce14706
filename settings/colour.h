// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "graphsettings.h"

#include <QColor>
#include <QString>

#include <array>
#include <utility>

namespace lw {

// A stored colour as Qt paints it, and back; alpha is not stored.
inline QColor ToQColor(Colour colour)
{
    return QColor(static_cast<int>(colour & 0xff), static_cast<int>((colour >> 8) & 0xff),
                  static_cast<int>((colour >> 16) & 0xff));
}

inline Colour FromQColor(const QColor &colour)
{
    return static_cast<Colour>(colour.red()) | static_cast<Colour>(colour.green()) << 8
           | static_cast<Colour>(colour.blue()) << 16;
}

// What a screen reader says for a colour: the German name of the nearest of a few colours
// everyone can name ("dunkelblau", "grau").
inline QString ColourName(Colour colour)
{
    static const std::array<std::pair<const char16_t *, QColor>, 17> Named = {{
        {u"schwarz", QColor(0, 0, 0)},        {u"weiß", QColor(255, 255, 255)},
        {u"grau", QColor(128, 128, 128)},     {u"hellgrau", QColor(192, 192, 192)},
        {u"dunkelgrau", QColor(64, 64, 64)},  {u"rot", QColor(255, 0, 0)},
        {u"dunkelrot", QColor(128, 0, 0)},    {u"grün", QColor(0, 192, 0)},
        {u"dunkelgrün", QColor(0, 100, 0)},   {u"blau", QColor(0, 0, 255)},
        {u"dunkelblau", QColor(0, 0, 128)},   {u"gelb", QColor(255, 255, 0)},
        {u"orange", QColor(255, 140, 0)},     {u"violett", QColor(128, 0, 128)},
        {u"türkis", QColor(0, 192, 192)},     {u"braun", QColor(139, 69, 19)},
        {u"rosa", QColor(255, 160, 192)},
    }};
    const QColor c = ToQColor(colour);
    const auto distance = [&c](const QColor &n) {
        const int r = c.red() - n.red(), g = c.green() - n.green(), b = c.blue() - n.blue();
        return r * r + g * g + b * b;
    };
    const auto *nearest = &Named[0];
    for (const auto &named : Named) {
        if (distance(named.second) < distance(nearest->second))
            nearest = &named;
    }
    return QString::fromUtf16(nearest->first);
}

} // namespace lw
