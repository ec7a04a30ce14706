// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace lw {

// A data file of the program (about.txt, LW20.hlp): beside the program file,
// where the build folder has it, else in ../share/linienwerk from there, where
// an installation puts it. When neither holds it, the path beside the program,
// so a message about the missing file names the first place looked at.
QString FindDataFile(const QString &name, const QString &programDir);

// The same from the folder of the running program file.
QString FindDataFile(const QString &name);

} // namespace lw
