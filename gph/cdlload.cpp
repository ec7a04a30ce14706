#include "cdlload.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QWidget>

namespace lw {

CdlLoad::Answer CdlLoad::TestAnswer;
const QString CdlLoad::WorksheetFilter = QStringLiteral("Linienwerk-Arbeitsblatt (*.lwa)");

CdlLoad::CdlLoad(QWidget *window, const QString &programFolder)
    : QObject(window), m_window(window), m_initDir(StartFolder(programFolder))
{
    setObjectName(QStringLiteral("cdlLoad"));
}

QString CdlLoad::StartFolder(const QString &programFolder)
{
    const QFileInfo folder(programFolder);
    return folder.isDir() && folder.isWritable() ? folder.absoluteFilePath() : QDir::homePath();
}

std::optional<QString> CdlLoad::ShowOpen()
{
    return show(FileDialogRequest::Mode::Open, QString::fromUtf16(u"Datei öffnen"));
}

std::optional<QString> CdlLoad::ShowSave()
{
    return show(FileDialogRequest::Mode::Save, QStringLiteral("Graph speichern"));
}

void CdlLoad::SetFileName(const QString &path)
{
    m_fileName = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
}

std::optional<QString> CdlLoad::show(FileDialogRequest::Mode mode, const QString &title)
{
    const std::optional<FileDialogChoice> chosen = AskFileName(m_window, request(mode, title));
    if (!chosen)
        return std::nullopt;
    QString path = chosen->path;
    // The worksheet filter decides the type of a name saved without an extension.
    if (mode == FileDialogRequest::Mode::Save && chosen->filter == WorksheetFilter
        && QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".lwa");
    SetFileName(path);
    return path;
}

FileDialogRequest CdlLoad::request(FileDialogRequest::Mode mode, const QString &title) const
{
    const QString directory =
        m_fileName.isEmpty() ? m_initDir : QFileInfo(m_fileName).absolutePath();
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
    // Replacing a file is what saving under its name means here, and a name stays as typed.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.selectedFile.isEmpty())
        dialog.selectFile(request.selectedFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return FileDialogChoice(dialog.selectedFiles().constFirst(), dialog.selectedNameFilter());
}

} // namespace lw
