// SPDX-License-Identifier: GPL-3.0-or-later

#include "cdlload.h"

#include "gph/gphfile.h"
#include "settings/settingsstore.h"
#include "widgets/messagebox.h"
#include "widgets/messages.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QWidget>

namespace lw {

CdlLoad::Answer CdlLoad::TestAnswer;
const QString CdlLoad::WorksheetFilter = QStringLiteral("Linienwerk-Arbeitsblatt (*.lwa)");

CdlLoad::CdlLoad(QWidget *window, const QString &programFolder)
    : QObject(window), m_window(window), m_programFolder(programFolder)
{
    setObjectName(QStringLiteral("cdlLoad"));
}

namespace {
const QString DialogsSection = QStringLiteral("Dialogs");
const QString LastFolderName = QStringLiteral("LastFolder");

QString shownName(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}
} // namespace

QString StartFolderFor(const QString &lastUsed, const QString &programFolder,
                       const QString &documents)
{
    if (QFileInfo::exists(QDir(programFolder).filePath(QStringLiteral("CMakeCache.txt"))))
        return programFolder;
    if (!lastUsed.isEmpty() && QFileInfo(lastUsed).isDir())
        return lastUsed;
    return documents;
}

QString DialogStartFolder(const QString &programFolder)
{
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty() || !QFileInfo(documents).isDir())
        documents = QDir::homePath();
    return StartFolderFor(
        CurrentSettingsStore().read(DialogsSection, LastFolderName).value_or(QString()),
        programFolder, documents);
}

void RememberDialogFolder(const QString &path)
{
    CurrentSettingsStore().write(DialogsSection, LastFolderName, QFileInfo(path).absolutePath());
}

bool MayReplace(const QString &path, const QString &current)
{
    if (!QFileInfo::exists(path) || QFileInfo(path) == QFileInfo(current))
        return true;
    return AskQuestion(NoticeTitle,
                       QStringLiteral("Die Datei %1 gibt es schon. Ersetzen?").arg(shownName(path)));
}

std::optional<QString> CdlLoad::ShowOpen()
{
    return show(request(FileDialogRequest::Mode::Open, QString::fromUtf16(u"Datei öffnen")));
}

std::optional<QString> CdlLoad::ShowSave()
{
    return show(request(FileDialogRequest::Mode::Save, QStringLiteral("Graph speichern")));
}

std::optional<QString> CdlLoad::ShowSaveWorksheet()
{
    FileDialogRequest asked =
        request(FileDialogRequest::Mode::Save, QStringLiteral("Arbeitsblatt speichern"));
    asked.nameFilters = {WorksheetFilter};
    asked.selectedFilter = WorksheetFilter;
    if (!asked.selectedFile.isEmpty() && !IsWorksheetName(asked.selectedFile)) {
        const QFileInfo graph(asked.selectedFile);
        asked.selectedFile =
            graph.dir().filePath(graph.completeBaseName() + QStringLiteral(".lwa"));
    }
    return show(asked, true);
}

void CdlLoad::SetFileName(const QString &path)
{
    m_fileName = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
}

std::optional<QString> CdlLoad::show(const FileDialogRequest &asked, bool worksheetOnly)
{
    const std::optional<FileDialogChoice> chosen = AskFileName(m_window, asked);
    if (!chosen)
        return std::nullopt;
    QString path = chosen->path;
    if (asked.mode == FileDialogRequest::Mode::Save) {
        // The filter decides the type of a name saved without an extension.
        if (worksheetOnly && !IsWorksheetName(path))
            path += QStringLiteral(".lwa");
        else if (QFileInfo(path).suffix().isEmpty())
            path += chosen->filter == WorksheetFilter ? QStringLiteral(".lwa")
                                                      : QStringLiteral(".gph");
        if (!MayReplace(path, m_fileName))
            return std::nullopt;
    }
    RememberDialogFolder(path);
    SetFileName(path);
    return path;
}

FileDialogRequest CdlLoad::request(FileDialogRequest::Mode mode, const QString &title) const
{
    const QString directory = m_fileName.isEmpty() ? DialogStartFolder(m_programFolder)
                                                   : QFileInfo(m_fileName).absolutePath();
    // "*.*" would hide names without a dot here, such as a graph saved as "kurve".
    return {mode,
            title,
            directory,
            m_fileName,
            {QStringLiteral("Graph-Dateien (*.GPH)"), WorksheetFilter,
             QStringLiteral("Alle Dateien (*)")},
            {}};
}

std::optional<FileDialogChoice> AskFileName(QWidget *window, const FileDialogRequest &request)
{
    if (CdlLoad::TestAnswer)
        return CdlLoad::TestAnswer(request);
    const bool opening = request.mode == FileDialogRequest::Mode::Open;
    QFileDialog dialog(window, request.title, request.directory);
    dialog.setAcceptMode(opening ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(opening ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(request.nameFilters);
    if (!request.selectedFilter.isEmpty())
        dialog.selectNameFilter(request.selectedFilter);
    // The caller asks before replacing, once it knows the name with its extension.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.selectedFile.isEmpty())
        dialog.selectFile(request.selectedFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return FileDialogChoice(dialog.selectedFiles().constFirst(), dialog.selectedNameFilter());
}

} // namespace lw
