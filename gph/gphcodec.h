// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "settings/graphsettings.h"

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>

#include <optional>

namespace lw {

inline constexpr qsizetype GphMaximumSize = 64 * 1024;
inline constexpr int GphMinimumLines = 19;
inline constexpr int GphEquationLine = 19;

// What a graph file holds: fifteen fields of the settings and the equation.
struct GphContent {
    GraphSettingsRecord settings; // the colours are not in the file and stay at their defaults
    QString equation;
};

struct GphError {
    int line = 0;   // the first bad line; 0 when the file as a whole is refused
    QString reason; // German, naming the line and what it should hold
};

// Either the whole content or the first error; never a part of a file.
struct GphReadResult {
    std::optional<GphContent> content;
    GphError error;

    bool ok() const { return content.has_value(); }
};

// The first character of `equation` that a graph file cannot hold: one Windows-1252 lacks, or a
// control character other than the tab. nullopt when every character can be written.
std::optional<char32_t> FirstCharacterGphCannotHold(const QString &equation);

// The 20 lines with CR LF, in Windows-1252. `equation` goes into line 19 as it is, so the caller
// puts the variables in first and checks it with FirstCharacterGphCannotHold; a character that
// fails that check would be written as "?".
QByteArray WriteGph(const GraphSettingsRecord &settings, const QString &equation,
                    const QDateTime &now, const QLocale &locale);

// Checks every line before it returns anything; numbers in `locale`'s format, failing that with
// "." or "," as the decimal point.
GphReadResult ReadGph(const QByteArray &bytes, const QLocale &locale);

// Opens, size-checks and reads a file, then ReadGph; a file that cannot be read is an error of
// line 0.
GphReadResult ReadGphFile(const QString &path, const QLocale &locale);

// Copies the fifteen fields a file holds into `settings`; its colours stay.
void ApplyGphSettings(const GphContent &content, GraphSettingsRecord &settings);

// The time of saving in the user's time format: the long one, with seconds, without time zone.
QString GphTimeText(const QTime &time, const QLocale &locale);

} // namespace lw
