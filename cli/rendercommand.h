#pragma once

#include "clicommands.h"
#include "formula/variables.h"
#include "settings/graphsettings.h"

#include <QString>

#include <string>
#include <string_view>
#include <vector>

namespace lw {

inline constexpr std::string_view RenderSyntax =
    "[--size N] [--kzn] [--var L=WERT]... [--set FELD=WERT]... [--gph DATEI] "
    "[-o DATEI.png|DATEI.svg|DATEI.pdf] [--legend] [--trace] [--] GLEICHUNG...";

struct RenderOptions {
    int size = 300;
    bool kzn = false;
    // Edit mode comes on with the first --var, as if the user had opened the panel.
    VariableValues variables;
    // The defaults of a fresh program with every --set applied in order.
    GraphSettingsRecord settings;
    // With a graph file, its fields take the place of the defaults and these apply after them.
    std::vector<QString> settingChanges;
    QString gphFile;
    QString outputFile;
    bool trace = false;
    bool legend = false;
    bool help = false;
    std::vector<std::u16string> equations;
};

// Options and equations in any order; "--" ends the options. An empty
// reason means the arguments were fine; otherwise it says in German which
// one was wrong.
struct ParsedRender {
    RenderOptions options;
    QString wrongCall;
};
ParsedRender ParseRenderArguments(const std::vector<std::u16string> &arguments);

int RunRender(const CliCall &call);

} // namespace lw
