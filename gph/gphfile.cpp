// SPDX-License-Identifier: GPL-3.0-or-later

#include "gphfile.h"

#include "gph/savefile.h"
#include "widgets/messages.h"

#include <QDir>
#include <QFileInfo>

namespace lw {

namespace {

QString shownName(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// "U+221A" alone for a character that would not show.
QString characterName(char32_t code)
{
    const QString number = QStringLiteral("U+%1").arg(
        QString::number(static_cast<uint>(code), 16).toUpper().rightJustified(4, u'0'));
    const QString character = QString::fromUcs4(&code, 1);
    if (!QChar::isPrint(code))
        return number;
    return QString::fromUtf16(u"„%1“ (%2)").arg(character, number);
}

void showSaveFailure(const QString &path, const QString &reason)
{
    ShowError(GraphNotSavedMessage(shownName(path), reason));
}

} // namespace

std::optional<GphContent> LoadGphFile(const QString &path, QString *error)
{
    GphReadResult result = ReadGphFile(path, QLocale());
    if (!result.ok()) {
        *error = GraphNotLoadedMessage(shownName(path), result.error.reason);
        return std::nullopt;
    }
    return std::move(result.content);
}

bool SaveGraph(const QString &path, const GraphSettingsRecord &settings, const QString &equation)
{
    // A "?" in its place would load back as another equation.
    if (const std::optional<char32_t> code = FirstCharacterGphCannotHold(equation)) {
        showSaveFailure(path, QStringLiteral("Die Funktionsgleichung enthält das Zeichen %1, das "
                                             "eine Graph-Datei nicht aufnehmen kann.")
                                  .arg(characterName(*code)));
        return false;
    }
    const QByteArray bytes = WriteGph(settings, equation, QDateTime::currentDateTime(), QLocale());
    QString error;
    if (!SaveFileAtomically(path, bytes, &error)) {
        showSaveFailure(path, error);
        return false;
    }
    ShowNotice(GraphSavedMessage(shownName(path)));
    return true;
}

std::optional<GphContent> LoadGraph(const QString &path)
{
    QString error;
    std::optional<GphContent> content = LoadGphFile(path, &error);
    if (!content)
        ShowError(error);
    return content;
}

bool IsWorksheetName(const QString &path)
{
    return path.endsWith(QStringLiteral(".lwa"), Qt::CaseInsensitive);
}

bool SaveSheet(const QString &path, const Worksheet &sheet)
{
    QString error;
    if (!SaveWorksheetFile(sheet, path, &error)) {
        ShowError(QStringLiteral("Das Arbeitsblatt kann nicht unter %1 gespeichert werden.\n%2\n"
                                 "Eine vorhandene Datei dieses Namens ist unverändert.")
                      .arg(shownName(path), error));
        return false;
    }
    ShowNotice(QStringLiteral("Gespeichert unter %1.").arg(shownName(path)));
    return true;
}

std::optional<Worksheet> LoadSheet(const QString &path)
{
    WorksheetReadResult read = ReadWorksheetFile(path);
    if (!read.ok()) {
        ShowError(GraphNotLoadedMessage(shownName(path), read.error));
        return std::nullopt;
    }
    return std::move(read.sheet);
}

} // namespace lw
