// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace lw {

// The text of about.txt as the about box shows it: each line of the file,
// whatever its line end, followed by CR LF. A missing or unreadable file
// gives an empty text.
QString ReadAboutText(const QString &path);

// about.txt where FindDataFile finds it.
QString AboutTextPath();

} // namespace lw
