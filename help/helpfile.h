// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

#include <map>
#include <optional>
#include <vector>

namespace lw {

// One topic of the help file: the number the controls carry, a title and the
// explanation, its paragraphs separated by "\n".
struct HelpTopic {
    int number = 0;
    QString title;
    QString text;
};

// A malformed entry of the help file, by its line (1 for the first; 0 for the whole file).
struct HelpProblem {
    int line = 0;
    QString description;
};

struct HelpFile {
    std::map<int, HelpTopic> topics;
    std::vector<HelpProblem> problems;

    std::optional<HelpTopic> FindTopic(int number) const;
};

// Reads the text of LW20.hlp (UTF-8; its format is documented in its first
// lines). Malformed entries are left out and listed in `problems`.
HelpFile ParseHelpFile(const QByteArray &utf8);

enum class HelpFileStatus { Read, Missing, Unreadable };

struct HelpFileRead {
    HelpFileStatus status = HelpFileStatus::Missing;
    HelpFile file;
};

HelpFileRead ReadHelpFile(const QString &path);

// LW20.hlp where FindDataFile finds it, unless a test has set another path.
QString HelpFilePath();
// An empty path restores the default.
void SetHelpFilePath(const QString &path);

} // namespace lw
