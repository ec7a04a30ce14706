// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

namespace lw {

// Writes to a temporary file beside `path` and puts it in place of the old file only once
// everything was written, so a failure leaves the old file whole. The reason is German.
bool SaveFileAtomically(const QString &path, const QByteArray &bytes, QString *error);

} // namespace lw
