// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The graph file of a fresh program, and lines of it changed, for the codec and file tests.

#include "gph/gphcodec.h"
#include "tests/settings/settingstesting.h"
#include "tests/support/qstringprint.h"

#include <QByteArrayList>
#include <QDateTime>
#include <QLocale>

namespace lw::gphtest {

inline const QLocale German = settingstest::germanLocale();
inline const QLocale English = settingstest::englishLocale();
inline const QDateTime Saved(QDate(2024, 3, 5), QTime(14, 5, 9));

// The file a fresh program writes for the equation x in Germany.
inline const QByteArrayList DefaultLines{
    "DLinienwerk20==V2.00.00",
    "05.03.24",
    "14:05:09",
    " 0,1 ",
    " 0 ",
    " 0 ",
    " 0 ",
    " 0 ",
    " 1 ",
    " 1 ",
    " 1 ",
    " 1 ",
    "-20 ",
    " 20 ",
    " 20 ",
    " 20 ",
    "True",
    "False",
    "x",
    "",
};

inline QByteArray joined(QByteArrayList lines, const QByteArray &end = "\r\n")
{
    return lines.join(end) + end;
}

inline QByteArray withLine(int line, const QByteArray &text)
{
    QByteArrayList lines = DefaultLines;
    lines[line - 1] = text;
    return joined(lines);
}

} // namespace lw::gphtest
