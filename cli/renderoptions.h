// SPDX-License-Identifier: GPL-3.0-or-later
// What a render is asked for: its options and equations as read from the command line.

#pragma once

#include "formula/variables.h"
#include "settings/graphsettings.h"

#include <QString>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lw {

inline constexpr std::string_view RenderSyntax =
    "[--size N] [--kzn] [--var L=WERT]... [--set FELD=WERT]... [--gph DATEI | --sheet DATEI.lwa] "
    "[--family L=VON:BIS:SCHRITT] [-o DATEI.png|DATEI.svg|DATEI.pdf] [--legend] [--trace] [--] "
    "GLEICHUNG...";

// --family: which parameter runs through which values, as the panel shows them ("-2", "0,5").
struct RenderFamily {
    int row = 0;
    std::vector<std::u16string> valueTexts;
};

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
    // A worksheet in place of a graph file: its settings, and its curves drawn before the
    // equations.
    QString sheetFile;
    std::optional<RenderFamily> family;
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

// The names --set accepts, in the store's order: "GraphColor, GraphNumberColor, ...".
std::string SettingNamesText();

} // namespace lw
