#include "clicommands.h"

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

} // namespace

int main(int argc, char **argv)
{
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
    if (parsed.positional.size() != command->operandCount + 1)
        return WrongCall();

    lw::CliCall call{{}, std::cout, std::cerr};
    for (auto it = parsed.positional.begin() + 1; it != parsed.positional.end(); ++it)
        call.operands.push_back(lw::ArgumentText(it->data()));
    return command->run(call);
}
