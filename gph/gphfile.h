// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "gph/gphcodec.h"
#include "gph/worksheet.h"

#include <QString>

#include <optional>

namespace lw {

// nullopt with a German reason naming the file and its first bad line.
std::optional<GphContent> LoadGphFile(const QString &path, QString *error);

// The main window's save: the file in the user's formats, then the "Hinweis" after a save or the
// "Fehler" with the reason. `equation` already has the variables put in.
bool SaveGraph(const QString &path, const GraphSettingsRecord &settings, const QString &equation);
// The main window's load: the content, or nullopt after the "Fehler" message.
std::optional<GphContent> LoadGraph(const QString &path);

// A worksheet's name ends in ".lwa", in any case.
bool IsWorksheetName(const QString &path);
// The main window's save and load of a worksheet, with their messages as for graph files.
bool SaveSheet(const QString &path, const Worksheet &sheet);
std::optional<Worksheet> LoadSheet(const QString &path);

} // namespace lw
