// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "gph/cdlload.h"
#include "graph/exportsurface.h"
#include "graph/repeatfilter.h"

#include <QObject>
#include <QSize>
#include <QString>

#include <optional>
#include <utility>

class QAction;
class QStatusBar;
class QWidget;

namespace lw {

class PictureWidget;
struct GraphSettingsRecord;
struct Picture;

// Gets the picture out: its context menu copies it to the clipboard or saves it as PNG, SVG or
// PDF, at its size or at one asked for. Each draws the picture's curves anew on white, as the
// print-out does, so that a file holds the whole picture, vectors without any limit.
class PictureMenu : public QObject {
    Q_OBJECT
public:
    // `screen` and `settings` are the picture whose curves go out and the settings it shows.
    PictureMenu(PictureWidget *picture, QStatusBar *statusBar, const Picture &screen,
                const GraphSettingsRecord &settings);

    // What the program draws the picture on.
    DrawingSurface &surface() { return m_repeats; }

    void CopyPicture();
    void SavePicture();
    void SavePictureSized();

    QAction *actCopyPicture = nullptr;
    QAction *actSavePicture = nullptr;
    QAction *actSavePictureSized = nullptr;
    QAction *actTrace = nullptr;

private:
    QSize pictureSize() const;
    void saveAt(QSize size, const QString &title);

    PictureWidget *m_picture;
    QStatusBar *m_statusBar;
    const Picture &m_screen;
    const GraphSettingsRecord &m_settings;
    // A step that repeats the one before would paint the same pixels again.
    RepeatFilter m_repeats;
    QString m_fileName; // the name chosen last, offered again
    QString m_fileFilter;
};

// The offered filters, PNG first.
QStringList PictureFileFilters();

// The file a choice names and its format: the typed extension in any case
// decides; without one of ours the chosen filter does, and its extension is added.
std::pair<QString, PictureFormat> PictureFileOf(const FileDialogChoice &choice);

inline constexpr int PictureSizeLimit = 8000;
// Asks for a picture's width and height in pixels, at most PictureSizeLimit each, offering
// `offered`; nullopt when cancelled.
std::optional<QSize> AskPictureSize(QWidget *parent, QSize offered);

} // namespace lw
