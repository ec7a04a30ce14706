// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <ostream>

// Readable QStrings in failure messages; found by argument-dependent lookup.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
