// SPDX-License-Identifier: GPL-3.0-or-later

#include "savefile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace lw {

namespace {
QString openFailure(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return QStringLiteral("Unter diesem Namen gibt es einen Ordner.");
    if (!info.absoluteDir().exists())
        return QStringLiteral("Den Ordner %1 gibt es nicht.")
            .arg(QDir::toNativeSeparators(info.absolutePath()));
    return QStringLiteral("Die Datei kann dort nicht angelegt werden; es fehlt die Berechtigung.");
}
} // namespace

bool SaveFileAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = openFailure(path);
        return false;
    }
    // commit() would put a partly flushed file (a full disk) in place, so the flush is checked.
    if (file.write(bytes) != bytes.size() || !file.flush() || !file.commit()) {
        file.cancelWriting();
        *error = QStringLiteral("Die Datei kann nicht vollständig geschrieben werden "
                                "(ist der Datenträger voll?).");
        return false;
    }
    return true;
}

} // namespace lw
