// SPDX-License-Identifier: GPL-3.0-or-later

#include "clicommands.h"

#include <QGuiApplication>

#include <iostream>
#include <string_view>
#include <vector>

namespace {

struct ParsedArguments {
    std::vector<std::string_view> positional;
    bool help = false;
    bool unknownOption = false;
};

// Everything after "--" is positional, so terms may start with "-".
ParsedArguments ParseArguments(int argc, char **argv)
{
    ParsedArguments parsed;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (optionsEnded || !argument.starts_with('-'))
            parsed.positional.push_back(argument);
        else if (argument == "--")
            optionsEnded = true;
        else if (argument == "--help")
            parsed.help = true;
        else
            parsed.unknownOption = true;
    }
    return parsed;
}

int WrongCall()
{
    std::cerr << lw::CliUsage();
    return lw::CliWrongCall;
}

int Help()
{
    std::cout << lw::CliHelp();
    return lw::CliSuccess;
}

QtMessageHandler qtDefaultHandler = nullptr;

// Qt's notes on its set-up (a missing runtime directory and the like) would mix with the
// command's own messages, which other programs read.
void KeepQtQuiet(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        qtDefaultHandler(type, context, message);
}

// Qt would take arguments such as "-platform" out of argv, so the command gets its
// arguments before the application exists and the application sees none of them.
int RunWithOwnOptions(const lw::CliCommand &command, int argc, char **argv)
{
    lw::CliCall call{{}, std::cout, std::cerr};
    for (int i = 2; i < argc; ++i)
        call.operands.push_back(lw::ArgumentText(argv[i]));
    qtDefaultHandler = qInstallMessageHandler(KeepQtQuiet);
    if (!command.drawsText)
        return command.run(call);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int applicationArgc = 1;
    QGuiApplication application(applicationArgc, argv);
    return command.run(call);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1) {
        const lw::CliCommand *command = lw::FindCliCommand(argv[1]);
        if (command && command->parsesOwnOptions)
            return RunWithOwnOptions(*command, argc, argv);
    }

    const ParsedArguments parsed = ParseArguments(argc, argv);
    if (parsed.unknownOption)
        return WrongCall();
    if (parsed.positional.empty())
        return parsed.help ? Help() : WrongCall();

    const lw::CliCommand *command = lw::FindCliCommand(parsed.positional.front());
    if (!command)
        return WrongCall();
    if (parsed.help)
        return Help();
    if (command->parsesOwnOptions || parsed.positional.size() != command->operandCount + 1)
        return WrongCall();

    lw::CliCall call{{}, std::cout, std::cerr};
    for (auto it = parsed.positional.begin() + 1; it != parsed.positional.end(); ++it)
        call.operands.push_back(lw::ArgumentText(it->data()));
    return command->run(call);
}
