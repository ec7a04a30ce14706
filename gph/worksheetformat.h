// SPDX-License-Identifier: GPL-3.0-or-later
// The names the worksheet's reader and writer share.

#pragma once

#include "formula/equation.h"

#include <QLatin1StringView>
#include <QString>

#include <cstddef>

namespace lw::worksheetformat {

inline constexpr auto FormatName = QLatin1StringView("Linienwerk-Arbeitsblatt");

inline QString notationName(Notation notation)
{
    return notation == Notation::Kzn ? QStringLiteral("kzn") : QStringLiteral("mathematisch");
}

inline QString letterOf(std::size_t row)
{
    return QString(QChar(static_cast<char16_t>(u'a' + row)));
}

} // namespace lw::worksheetformat
