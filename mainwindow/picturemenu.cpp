#include "picturemenu.h"

#include "graph/surfaceoperation.h"
#include "widgets/messages.h"
#include "widgets/named.h"
#include "widgets/picturewidget.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QStatusBar>

#include <array>

namespace lw {

namespace {

struct FileKind {
    PictureFormat format;
    const char *filter;
    const char *extension;
};

constexpr std::array<FileKind, 3> FileKinds{{
    {PictureFormat::Png, "PNG-Bild (*.png)", ".png"},
    {PictureFormat::Svg, "SVG-Grafik (*.svg)", ".svg"},
    {PictureFormat::Pdf, "PDF-Dokument (*.pdf)", ".pdf"},
}};

QAction *pictureAction(QWidget *picture, const QString &text, const char *name,
                       const QKeySequence &keys)
{
    auto *action = named(new QAction(text, picture), name);
    action->setShortcut(keys);
    picture->addAction(action);
    return action;
}

} // namespace

QStringList PictureFileFilters()
{
    QStringList filters;
    for (const FileKind &kind : FileKinds)
        filters << QLatin1String(kind.filter);
    return filters;
}

std::pair<QString, PictureFormat> PictureFileOf(const FileDialogChoice &choice)
{
    if (const std::optional<PictureFormat> typed = PictureFormatOf(choice.path))
        return {choice.path, *typed};
    const FileKind *chosen = &FileKinds.front();
    for (const FileKind &kind : FileKinds) {
        if (choice.filter == QLatin1String(kind.filter))
            chosen = &kind;
    }
    return {choice.path + QLatin1String(chosen->extension), chosen->format};
}

PictureMenu::PictureMenu(PictureWidget *picture, QStatusBar *statusBar)
    : QObject(picture), m_picture(picture), m_statusBar(statusBar), m_record(picture->surface())
{
    setObjectName(QStringLiteral("mnuPicture"));
    actCopyPicture = pictureAction(picture, QStringLiteral("Bild kopieren"), "actCopyPicture",
                                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    actSavePicture =
        pictureAction(picture, QStringLiteral("Bild speichern unter..."), "actSavePicture",
                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    connect(actCopyPicture, &QAction::triggered, this, &PictureMenu::CopyPicture);
    connect(actSavePicture, &QAction::triggered, this, &PictureMenu::SavePicture);
    picture->setContextMenuPolicy(Qt::ActionsContextMenu);
    // A click gives the picture the focus, so the menu key opens its menu.
    picture->setFocusPolicy(Qt::ClickFocus);
}

void PictureMenu::CopyPicture()
{
    QGuiApplication::clipboard()->setImage(m_picture->surface().image());
}

void PictureMenu::SavePicture()
{
    const QString directory = m_fileName.isEmpty()
                                  ? CdlLoad::StartFolder(QCoreApplication::applicationDirPath())
                                  : QFileInfo(m_fileName).absolutePath();
    const std::optional<FileDialogChoice> choice = AskFileName(
        m_picture->window(), {FileDialogRequest::Mode::Save, QStringLiteral("Bild speichern unter"),
                              directory, m_fileName, PictureFileFilters(), m_filter});
    if (!choice)
        return;
    const auto [fileName, format] = PictureFileOf(*choice);
    m_fileName = QFileInfo(fileName).absoluteFilePath();
    m_filter = choice->filter;

    const QImage &image = m_picture->surface().image();
    const QSize size = m_picture->surface().size();
    bool saved = false;
    QString status;
    if (format == PictureFormat::Png) {
        saved = SavePng(image, fileName);
    } else if (m_record.complete()) {
        saved = ExportRecording(m_record.recording(), size, PictureBackground(), fileName, format);
    } else {
        saved = SaveVectorPicture(fileName, format, size, [&](QPainter &painter) {
            painter.drawImage(QRect(QPoint(0, 0), size), image);
        });
        status = QStringLiteral("Zu viele Zeichenschritte für Vektoren: %1 enthält das Bild als "
                                "Rasterbild.")
                     .arg(QFileInfo(fileName).fileName());
    }
    if (!saved)
        ShowError(PictureNotSavedMessage(QDir::toNativeSeparators(fileName)));
    else if (!status.isEmpty())
        m_statusBar->showMessage(status);
}

} // namespace lw
