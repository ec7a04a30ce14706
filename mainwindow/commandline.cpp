// SPDX-License-Identifier: GPL-3.0-or-later

#include "commandline.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

namespace lw {

namespace {

const char Usage[] = "Aufruf: linienwerk [--] [DATEI]\n";

const char Help[] =
    "\n"
    "Linienwerk 2.0 zeichnet Schaubilder von Funktionen.\n"
    "Eine angegebene Graph-Datei (*.GPH) wird nach dem Start geladen wie mit\n"
    "\"Datei öffnen\": Einstellungen und Funktionsgleichung, noch ohne Schaubild.\n"
    "Ein Arbeitsblatt (*.lwa) bringt das ganze Schaubild mit allen Kurven zurück.\n"
    "\n"
    "Optionen:\n"
    "  --help     zeigt diese Hilfe\n"
    "  --version  zeigt die Version\n"
    "  --         alles Weitere ist ein Dateiname, auch wenn es mit \"-\" beginnt\n";

const char Version[] = "Linienwerk 2.0\n";

// Qt's options for every program and those of its X11 and Wayland platforms.
constexpr std::array<std::string_view, 21> QtOptionsWithValue{"platform",
                                                              "platformpluginpath",
                                                              "platformtheme",
                                                              "plugin",
                                                              "qwindowgeometry",
                                                              "qwindowicon",
                                                              "qwindowtitle",
                                                              "session",
                                                              "style",
                                                              "stylesheet",
                                                              "display",
                                                              "geometry",
                                                              "title",
                                                              "name",
                                                              "icon",
                                                              "visual",
                                                              "ncols",
                                                              "cmap",
                                                              "im",
                                                              "inputstyle",
                                                              "qmljsdebugger"};
constexpr std::array<std::string_view, 6> QtFlags{"reverse", "widgetcount", "nograb",
                                                  "dograb",  "sync",        "testability"};

template<std::size_t N>
bool isOneOf(const QString &name, const std::array<std::string_view, N> &names)
{
    return std::any_of(names.begin(), names.end(), [&](std::string_view known) {
        return name == QLatin1String(known.data(), static_cast<qsizetype>(known.size()));
    });
}

CommandLine usage(const QString &problem)
{
    return {CommandLine::Action::Usage, {}, problem};
}

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

} // namespace

CommandLine ParseCommandLine(const QStringList &arguments)
{
    CommandLine line;
    bool options = true;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &word = arguments[i];
        if (options && word == QLatin1String("--")) {
            options = false;
        } else if (options && word == QLatin1String("--help")) {
            return {CommandLine::Action::Help, {}, {}};
        } else if (options && word == QLatin1String("--version")) {
            return {CommandLine::Action::Version, {}, {}};
        } else if (options && word.startsWith(u'-')) {
            return usage(QStringLiteral("unbekannte Option \"%1\"").arg(word));
        } else if (!line.file.isEmpty()) {
            return usage(QStringLiteral("nur eine Datei, nicht auch \"%1\"").arg(word));
        } else if (word.isEmpty()) {
            return usage(QStringLiteral("leerer Dateiname"));
        } else {
            line.file = word;
        }
    }
    return line;
}

QStringList WithoutQtOptions(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return {};
    QStringList kept{arguments.front()};
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &word = arguments[i];
        if (word == QLatin1String("--")) {
            kept << arguments.mid(i);
            break;
        }
        // Qt takes "-name" and "--name"; a value follows in the same word after "=" or as the
        // next word.
        QString name = word.startsWith(QLatin1String("--")) ? word.mid(2)
                       : word.startsWith(u'-')              ? word.mid(1)
                                                            : QString();
        const qsizetype equals = name.indexOf(u'=');
        const bool valueHere = equals >= 0;
        if (valueHere)
            name.truncate(equals);
        if (isOneOf(name, QtOptionsWithValue)) {
            if (!valueHere)
                ++i;
        } else if (!isOneOf(name, QtFlags) || valueHere) {
            kept << word;
        }
    }
    return kept;
}

std::optional<int> AnswerCommandLine(const CommandLine &line)
{
    switch (line.action) {
    case CommandLine::Action::Start: return std::nullopt;
    case CommandLine::Action::Help:
        print(stdout, QString::fromUtf8(Usage) + QString::fromUtf8(Help));
        return 0;
    case CommandLine::Action::Version: print(stdout, QString::fromUtf8(Version)); return 0;
    case CommandLine::Action::Usage:
        print(stderr, QStringLiteral("linienwerk: %1\n").arg(line.problem)
                          + QString::fromUtf8(Usage)
                          + QStringLiteral("Mehr dazu: linienwerk --help\n"));
        return 2;
    }
    return std::nullopt;
}

} // namespace lw
