// SPDX-License-Identifier: GPL-3.0-or-later

#include "picturemenu.h"

#include "graph/curvelist.h"
#include "graph/graphdraw.h"
#include "graph/surfaceoperation.h"
#include "widgets/messages.h"
#include "widgets/named.h"
#include "widgets/picturewidget.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGuiApplication>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>

#include <algorithm>
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

QSpinBox *pixelField(QDialog &dialog, const char *name, int value)
{
    auto *field = named(new QSpinBox(&dialog), name);
    field->setRange(1, PictureSizeLimit);
    field->setValue(std::clamp(value, 1, PictureSizeLimit));
    field->setSuffix(QStringLiteral(" Pixel"));
    return field;
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

std::optional<QSize> AskPictureSize(QWidget *parent, QSize offered)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("frmPictureSize"));
    dialog.setWindowTitle(QStringLiteral("Bild speichern in Größe"));
    auto *form = new QFormLayout(&dialog);
    QSpinBox *width = pixelField(dialog, "txtPictureWidth", offered.width());
    QSpinBox *height = pixelField(dialog, "txtPictureHeight", offered.height());
    form->addRow(QStringLiteral("Breite:"), width);
    form->addRow(QStringLiteral("Höhe:"), height);
    auto *buttons = new QDialogButtonBox(&dialog);
    QPushButton *ok =
        named(buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole), "cmdOK");
    named(buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole),
          "cmdCancel");
    ok->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return QSize(width->value(), height->value());
}

PictureMenu::PictureMenu(PictureWidget *picture, QStatusBar *statusBar, const Picture &screen,
                         const GraphSettingsRecord &settings)
    : QObject(picture), m_picture(picture), m_statusBar(statusBar), m_screen(screen),
      m_settings(settings), m_repeats(picture->surface())
{
    setObjectName(QStringLiteral("mnuPicture"));
    actCopyPicture = pictureAction(picture, QStringLiteral("Bild kopieren"), "actCopyPicture",
                                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    actSavePicture =
        pictureAction(picture, QStringLiteral("Bild speichern unter..."), "actSavePicture",
                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    actSavePictureSized =
        pictureAction(picture, QStringLiteral("Bild speichern in Größe..."), "actSavePictureSized",
                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G));
    // The trace follows the newest curve under the pointer; Shift does the same while held.
    actTrace = pictureAction(picture, QStringLiteral("Spur"), "actTrace",
                             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
    actTrace->setCheckable(true);
    connect(actCopyPicture, &QAction::triggered, this, &PictureMenu::CopyPicture);
    connect(actSavePicture, &QAction::triggered, this, &PictureMenu::SavePicture);
    connect(actSavePictureSized, &QAction::triggered, this, &PictureMenu::SavePictureSized);
    picture->setContextMenuPolicy(Qt::ActionsContextMenu);
    // A click or Tab gives the picture the focus, so the menu key or Shift+F10 opens its menu.
    picture->setFocusPolicy(Qt::StrongFocus);
}

QSize PictureMenu::pictureSize() const
{
    return m_picture->surface().size();
}

void PictureMenu::CopyPicture()
{
    const std::optional<QImage> image =
        DrawCurvesImage(m_screen.curves, PaperSettings(m_settings), pictureSize(),
                        PaperBackground(), m_screen.marks);
    if (image)
        QGuiApplication::clipboard()->setImage(*image);
}

void PictureMenu::SavePicture()
{
    saveAt(pictureSize(), QStringLiteral("Bild speichern unter"));
}

void PictureMenu::SavePictureSized()
{
    const std::optional<QSize> size = AskPictureSize(m_picture->window(), pictureSize());
    if (!size)
        return;
    const QString refusal = PictureTooSmallReason(PaperSettings(m_settings), *size);
    if (!refusal.isEmpty()) {
        ShowError(refusal);
        return;
    }
    saveAt(*size, QStringLiteral("Bild speichern in Größe"));
}

void PictureMenu::saveAt(QSize size, const QString &title)
{
    const QString directory = m_fileName.isEmpty()
                                  ? DialogStartFolder(QCoreApplication::applicationDirPath())
                                  : QFileInfo(m_fileName).absolutePath();
    const std::optional<FileDialogChoice> choice =
        AskFileName(m_picture->window(), {FileDialogRequest::Mode::Save, title, directory,
                                          m_fileName, PictureFileFilters(), m_fileFilter});
    if (!choice)
        return;
    const auto [fileName, format] = PictureFileOf(*choice);
    if (!MayReplace(fileName, m_fileName))
        return;
    RememberDialogFolder(fileName);
    m_fileName = QFileInfo(fileName).absoluteFilePath();
    m_fileFilter = choice->filter;
    switch (SaveCurves(m_screen.curves, PaperSettings(m_settings), size, PaperBackground(),
                       fileName, format, m_screen.marks)) {
    case SaveOutcome::Saved: break;
    case SaveOutcome::NotWritten:
        ShowError(PictureNotSavedMessage(QDir::toNativeSeparators(fileName)));
        break;
    case SaveOutcome::Stopped:
        m_statusBar->showMessage(
            QStringLiteral("%1 wurde nicht gespeichert: Das Zeichnen wurde angehalten.")
                .arg(QFileInfo(fileName).fileName()));
        break;
    }
}

} // namespace lw
