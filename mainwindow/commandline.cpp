#include "commandline.h"

#include <cstdio>

namespace lw {

namespace {

const char Usage[] = "Aufruf: linienwerk [DATEI]\n";

const char Help[] =
    "\n"
    "Linienwerk 2.0 zeichnet Schaubilder von Funktionen.\n"
    "Eine angegebene Graph-Datei (*.GPH) wird nach dem Start geladen wie mit\n"
    "\"Datei öffnen\": Einstellungen und Funktionsgleichung, noch ohne Schaubild.\n"
    "\n"
    "Optionen:\n"
    "  --help     zeigt diese Hilfe\n"
    "  --version  zeigt die Version\n"
    "  --         alles Weitere ist ein Dateiname, auch wenn es mit \"-\" beginnt\n";

const char Version[] = "Linienwerk 2.0\n";

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
