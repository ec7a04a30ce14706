// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace lw {

// What `linienwerk [DATEI]` was asked for.
struct CommandLine {
    enum class Action { Start, Help, Version, Usage };
    Action action = Action::Start;
    QString file;    // Start: the graph file to load after start-up; empty for none
    QString problem; // Usage: what was wrong, in German
};

// `arguments` as QCoreApplication::arguments() gives them, the program first.
// Read in order: --help or --version answers at once, a second file or an
// unknown option is a usage error, and after "--" every word is a file name.
CommandLine ParseCommandLine(const QStringList &arguments);

// The arguments without Qt's own options (-platform offscreen, -style=fusion, --reverse and the
// like, up to "--"), as QApplication would take them out; so that the program can answer its
// own options before it needs a display.
QStringList WithoutQtOptions(const QStringList &arguments);

// Prints the help or the version on stdout, a usage error on stderr, and
// returns the exit code; nullopt when the program is to start.
std::optional<int> AnswerCommandLine(const CommandLine &line);

} // namespace lw
