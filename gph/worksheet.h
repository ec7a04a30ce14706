// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "formula/variables.h"
#include "graph/curveentry.h"
#include "settings/graphsettings.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace lw {

// A worksheet (.lwa) holds the whole picture as the pupil left it, where a graph file holds one
// equation with its values put in: the view and settings, the equation field, the parameter rows
// with their ranges, and every curve of the list with its equation as typed.
inline constexpr int WorksheetFormatVersion = 1;
inline constexpr qsizetype WorksheetMaximumSize = 8 * 1024 * 1024;
inline constexpr std::size_t WorksheetMaximumCurves = 10000;

struct Worksheet {
    GraphSettingsRecord settings; // every field, the colours, the legend and the centre's fraction
    std::u16string equation;      // the equation field
    Notation notation = Notation::Mathematical;
    bool autoConvert = false;
    VariableValues parameters;                           // the panel: edit mode, ticks, values
    std::array<ParameterRange, ParameterCount> ranges{}; // each row's slider range
    // Each entry's typed equation, notation, parameters, colour, precision, joining, visibility
    // and legend; the reader fills kznFormula and formula from them.
    std::vector<CurveEntry> curves;
};

struct WorksheetReadResult {
    std::optional<Worksheet> sheet;
    // German, naming the field by a path of German names: "Kurve 3, Farbe: ...", and a missing
    // one by its key as well: "Kurve 3, Farbe: fehlt (Eintrag „colour“)."
    QString error;
    bool ok() const { return sheet.has_value(); }
};

// UTF-8 JSON, indented, with the format's name and version.
QByteArray WriteWorksheet(const Worksheet &sheet);
// Checks every field before it returns anything: all of the sheet or an error, never a part.
WorksheetReadResult ReadWorksheet(const QByteArray &bytes);
// Opens and size-checks a file, then ReadWorksheet.
WorksheetReadResult ReadWorksheetFile(const QString &path);
// Writes atomically (QSaveFile): the old file stays whole when writing fails. Writes nothing that
// ReadWorksheetFile would refuse (too large, a field out of range). False after a failure, with
// the German reason in `error`.
bool SaveWorksheetFile(const Worksheet &sheet, const QString &path, QString *error);

// Equal in everything a file holds, and in the formulas read from it: whether a sheet has
// changed since it was saved or opened.
bool SameWorksheet(const Worksheet &a, const Worksheet &b);

} // namespace lw
