// SPDX-License-Identifier: GPL-3.0-or-later

#include "help/datafile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace lw {

QString FindDataFile(const QString &name, const QString &programDir)
{
    const QDir dir(programDir);
    const QString beside = dir.filePath(name);
    const QString installed =
        QDir::cleanPath(dir.filePath(QStringLiteral("../share/linienwerk/") + name));
    for (const QString &path : {beside, installed}) {
        if (QFileInfo::exists(path))
            return path;
    }
    return beside;
}

QString FindDataFile(const QString &name)
{
    return FindDataFile(name, QCoreApplication::applicationDirPath());
}

} // namespace lw
