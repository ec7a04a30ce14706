#pragma once

#include "graphsettings.h"

#include <QColor>

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

} // namespace lw
