// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "formula/variables.h"

#include <QString>

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace lw {

// Other programs rely on these exit codes.
enum CliExitCode : int {
    CliSuccess = 0,
    CliFailed = 1,
    CliWrongCall = 2,
    CliFormulaError = 2,
    CliRefused = 2, // settings under which a render would never finish
};

struct CliCall {
    std::vector<std::u16string> operands;
    std::ostream &out;
    std::ostream &err;
};

// One command of linienwerk-cli; a new command is one more entry in the table in clicommands.cpp.
struct CliCommand {
    std::string_view name;
    std::string_view operandSyntax; // shown in the usage after the name
    std::size_t operandCount;
    std::string_view help; // German, lines indented for the help text
    int (*run)(const CliCall &call);
    // Gets every argument after its name, options included, instead of operandCount operands.
    bool parsesOwnOptions = false;
    // Text drawn with fonts needs a QGuiApplication: render starts an offscreen one for SVG and
    // PDF files, whose numbers are text in a real font; the other commands and outputs need none.
    bool drawsText = false;
};

const CliCommand *FindCliCommand(std::string_view name);

int RunConvert(const CliCall &call);
int RunEval(const CliCall &call);

std::string CliUsage();
std::string CliHelp();

std::u16string ArgumentText(const char *argument);
// "--var L=WERT" as the panel takes it: the row ticked, edit mode on; false with the German
// reason when it names no parameter.
bool ApplyVariableOption(VariableValues &variables, const QString &value, QString &reason);
std::string Utf8Text(std::u16string_view text);

} // namespace lw
