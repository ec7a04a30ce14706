// SPDX-License-Identifier: GPL-3.0-or-later

#include "abouttext.h"

#include "help/datafile.h"

#include <QFile>
#include <QStringDecoder>

namespace lw {

namespace {
QString decodeWindows1252(const QByteArray &bytes)
{
    QStringDecoder decoder("Windows-1252");
    // Without ICU only Latin-1 is left, which differs in 0x80..0x9F alone.
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

QString withCrLfLineEnds(const QString &text)
{
    QString result;
    result.reserve(text.size() + text.size() / 16);
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        result += QStringView(text).sliced(start, i - start);
        result += u"\r\n";
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size()) {
        result += QStringView(text).sliced(start);
        result += u"\r\n";
    }
    return result;
}
} // namespace

QString ReadAboutText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {};
    return withCrLfLineEnds(decodeWindows1252(bytes));
}

QString AboutTextPath()
{
    return FindDataFile(QStringLiteral("about.txt"));
}

} // namespace lw
