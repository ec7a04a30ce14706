// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <utility>

class QWidget;

namespace lw {

struct FileDialogRequest {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QString title;
    QString directory;
    QString selectedFile; // the name chosen last, offered again; empty before the first choice
    QStringList nameFilters;
    QString selectedFilter; // the filter offered first; empty: the first of nameFilters
};

// What the user chose: a file name and the filter in effect when they did.
struct FileDialogChoice {
    FileDialogChoice(QString chosenPath, QString chosenFilter = {})
        : path(std::move(chosenPath)), filter(std::move(chosenFilter))
    {}
    QString path;
    QString filter;
};

// Asks with the program's file dialog, or with the tests' answer when one is installed;
// nullopt is a cancel.
std::optional<FileDialogChoice> AskFileName(QWidget *window, const FileDialogRequest &request);

// The file dialog for opening and saving graphs, shared by both so that each offers the name
// chosen last in either.
class CdlLoad : public QObject {
    Q_OBJECT
public:
    // Tests install a function that answers in place of the user; nullopt is a cancel.
    using Answer = std::function<std::optional<FileDialogChoice>(const FileDialogRequest &)>;
    static Answer TestAnswer;
    // A name saved under this filter without an extension gets ".lwa".
    static const QString WorksheetFilter;

    CdlLoad(QWidget *window, const QString &programFolder);

    std::optional<QString> ShowOpen();
    std::optional<QString> ShowSave();
    // The save dialog for a worksheet only: any name chosen ends in ".lwa".
    std::optional<QString> ShowSaveWorksheet();

    QString FileName() const { return m_fileName; }
    // As if the user had chosen `path`: the dialogs offer it next. Empty: no name chosen yet.
    void SetFileName(const QString &path);

private:
    std::optional<QString> show(const FileDialogRequest &asked, bool worksheetOnly = false);
    FileDialogRequest request(FileDialogRequest::Mode mode, const QString &title) const;

    QWidget *m_window = nullptr;
    QString m_programFolder;
    QString m_fileName;
};

// Where a file dialog starts when no name was chosen yet: `lastUsed` while it exists, else
// `documents`. The program's own folder only when the program runs from its build folder, as in
// development: installed, it is the system's program folder, where a pupil's files do not belong.
QString StartFolderFor(const QString &lastUsed, const QString &programFolder,
                       const QString &documents);
// That folder for this program: the folder last used, kept in the settings store, and the user's
// documents folder.
QString DialogStartFolder(const QString &programFolder);
// Keeps the folder of a chosen file in the settings store, for the next dialog and start.
void RememberDialogFolder(const QString &path);
// Whether a save may go to `path`: a file that is not there yet or is `current` (the one the
// user last loaded or saved), or one the user agrees to replace.
bool MayReplace(const QString &path, const QString &current);

} // namespace lw
