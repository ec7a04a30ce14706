#pragma once

#include "gph/cdlload.h"
#include "graph/exportsurface.h"
#include "graph/picturerecord.h"

#include <QObject>
#include <QString>

#include <utility>

class QAction;
class QStatusBar;

namespace lw {

class PictureWidget;

// Gets the picture out: its context menu copies it to the clipboard or saves
// it as PNG (its pixels), SVG or PDF (its drawing steps as vectors).
class PictureMenu : public QObject {
    Q_OBJECT
public:
    PictureMenu(PictureWidget *picture, QStatusBar *statusBar);

    // What the program draws the picture on: the picture itself and the record for the vectors.
    DrawingSurface &surface() { return m_record; }
    PictureRecord &record() { return m_record; }

    void CopyPicture();
    void SavePicture();

    QAction *actCopyPicture = nullptr;
    QAction *actSavePicture = nullptr;

private:
    PictureWidget *m_picture;
    QStatusBar *m_statusBar;
    PictureRecord m_record;
    QString m_fileName; // the name chosen last, offered again
    QString m_filter;
};

// The offered filters, PNG first.
QStringList PictureFileFilters();

// The file a choice names and its format: the typed extension in any case
// decides; without one of ours the chosen filter does, and its extension is added.
std::pair<QString, PictureFormat> PictureFileOf(const FileDialogChoice &choice);

} // namespace lw
