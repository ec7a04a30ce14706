// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the benchmark programs print about the machine they ran on.

#include <fstream>
#include <string>

namespace lw::bench {

// The processor's name from /proc/cpuinfo, or "unknown".
inline std::string CpuModel()
{
    std::ifstream cpuinfo("/proc/cpuinfo");
    for (std::string line; std::getline(cpuinfo, line);) {
        if (line.rfind("model name", 0) == 0)
            return line.substr(line.find(':') + 2);
    }
    return "unknown";
}

} // namespace lw::bench
