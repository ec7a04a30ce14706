// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "clicommands.h"

#include <string_view>

namespace lw {

inline constexpr std::string_view AnalyseSyntax =
    "[--from A] [--to B] [--var L=WERT]... [--kzn] [--] GLEICHUNG";
inline constexpr std::string_view DeriveSyntax = "[--var L=WERT]... [--kzn] [--] GLEICHUNG";
inline constexpr std::string_view TableSyntax =
    "--from A --to B --step S [--var L=WERT]... [--kzn] [--] GLEICHUNG";

int RunAnalyse(const CliCall &call);
int RunDerive(const CliCall &call);
int RunTable(const CliCall &call);

} // namespace lw
