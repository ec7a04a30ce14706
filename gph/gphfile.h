#pragma once

#include "gph/gphcodec.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace lw {

// Writes to a temporary file beside `path` and puts it in place of the old file only once
// everything was written, so a failure leaves the old file whole. The reason is German.
bool SaveGphFile(const QString &path, const QByteArray &bytes, QString *error);
// nullopt with a German reason naming the file and its first bad line.
std::optional<GphContent> LoadGphFile(const QString &path, QString *error);

// The main window's save: the file in the user's formats, then the "Hinweis" after a save or the
// "Fehler" with the reason. `equation` already has the variables put in.
bool SaveGraph(const QString &path, const GraphSettingsRecord &settings, const QString &equation);
// The main window's load: the content, or nullopt after the "Fehler" message.
std::optional<GphContent> LoadGraph(const QString &path);

struct FileDialogRequest {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QString title;
    QString directory;
    QString selectedFile; // the name chosen last, offered again; empty before the first choice
    QStringList nameFilters;
};

// The file dialog for opening and saving graphs, shared by both so that each offers the name
// chosen last in either.
class CdlLoad : public QObject {
    Q_OBJECT
public:
    // Tests install a function that answers in place of the user; nullopt is a cancel.
    using Answer = std::function<std::optional<QString>(const FileDialogRequest &)>;
    static Answer TestAnswer;

    CdlLoad(QWidget *window, const QString &programFolder);

    std::optional<QString> ShowOpen();
    std::optional<QString> ShowSave();

    QString FileName() const { return m_fileName; }
    QString InitDir() const { return m_initDir; }
    // The program's folder when the user may write there, otherwise the home folder.
    static QString StartFolder(const QString &programFolder);

private:
    std::optional<QString> show(FileDialogRequest::Mode mode, const QString &title);
    FileDialogRequest request(FileDialogRequest::Mode mode, const QString &title) const;
    std::optional<QString> ask(const FileDialogRequest &request) const;

    QWidget *m_window = nullptr;
    QString m_initDir;
    QString m_fileName;
};

} // namespace lw
