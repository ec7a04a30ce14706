// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/mainwindow/mainwindowtesting.h"
#include "tests/support/modalanswer.h"

#include "gph/cdlload.h"
#include "mainwindow/picturemenu.h"
#include "widgets/picturewidget.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace lw;

namespace {

class PictureMenuTest : public lw::testing::MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        openWindow();
    }
    void TearDown() override
    {
        CdlLoad::TestAnswer = nullptr;
        MainWindow::TearDown();
    }
    // Saves the picture through the menu, answering the file dialog with `typed` and `filter`.
    void save(const QString &typed, const QString &filter = {})
    {
        CdlLoad::TestAnswer = [&](const FileDialogRequest &request) {
            offeredFilters = request.nameFilters;
            return std::optional<FileDialogChoice>(FileDialogChoice(dir.filePath(typed), filter));
        };
        QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    }
    // The same through "Bild speichern in Größe...", answering its size dialog with width x height.
    void saveSized(int width, int height, const QString &typed)
    {
        lw::testing::ModalAnswer<QDialog> size([&](QDialog *dialog) {
            dialog->findChild<QSpinBox *>(QStringLiteral("txtPictureWidth"))->setValue(width);
            dialog->findChild<QSpinBox *>(QStringLiteral("txtPictureHeight"))->setValue(height);
            dialog->findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
        });
        CdlLoad::TestAnswer = [&](const FileDialogRequest &) {
            return std::optional<FileDialogChoice>(FileDialogChoice(dir.filePath(typed), {}));
        };
        // By name, not by its keys: once a dialog has closed, the offscreen window is not active.
        window->findChild<QAction *>(QStringLiteral("actSavePictureSized"))->trigger();
    }
    QByteArray saved(const QString &name) const
    {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    QStringList offeredFilters;
};

// What linienwerk-cli render writes for the default settings; an SVG's grey ground becomes white.
QByteArray Rendered(const QString &file, const QStringList &equations)
{
    QProcess cli;
    cli.start(QStringLiteral(LW_CLI_PATH),
              QStringList{"render", "--size", "300", "-o", file} + equations);
    EXPECT_TRUE(cli.waitForFinished(120000));
    EXPECT_EQ(cli.exitCode(), 0);
    QFile written(file);
    return written.open(QIODevice::ReadOnly) ? written.readAll().replace("#f0f0f0", "#ffffff")
                                             : QByteArray();
}

TEST_F(PictureMenuTest, ContextMenuOffersCopyAndSave)
{
    // What the window gives the picture on a right click or the menu key.
    QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(50, 50),
                              window->picGraph->mapToGlobal(QPoint(50, 50)));
    lw::testing::WhenReady menu(
        "the picture's context menu",
        [] { return qobject_cast<QMenu *>(QApplication::activePopupWidget()); },
        [] {
            auto *shown = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            QStringList texts;
            for (QAction *action : shown->actions())
                texts << action->text() + u' ' + action->shortcut().toString();
            EXPECT_EQ(texts, QStringList({"Bild kopieren Ctrl+Shift+C",
                                          "Bild speichern unter... Ctrl+Shift+S",
                                          "Bild speichern in Größe... Ctrl+Shift+G",
                                          "Spur Ctrl+Shift+T"}));
            shown->close();
        });
    QApplication::sendEvent(window->picGraph, &request);
    EXPECT_TRUE(menu.answered());
}

// The typed extension decides in any case; without one the chosen filter does and adds its own.
TEST_F(PictureMenuTest, FormatFollowsTheTypedExtensionOrTheFilter)
{
    const QStringList filters = PictureFileFilters();
    const struct {
        const char *typed;
        int filter;
        const char *file;
        QByteArray start;
    } rows[] = {
        {"a.PNG", 1, "a.PNG", "\x89PNG"}, {"b", 1, "b.svg", "<?xml"},
        {"c.pdf", 0, "c.pdf", "%PDF"},    {"d.txt", 2, "d.txt.pdf", "%PDF"},
        {"e", -1, "e.png", "\x89PNG"},    {"f.Svg", 2, "f.Svg", "<?xml"},
    };
    draw("x");
    for (const auto &row : rows) {
        save(QString::fromLatin1(row.typed), row.filter < 0 ? QString() : filters[row.filter]);
        EXPECT_TRUE(saved(QString::fromLatin1(row.file)).startsWith(row.start)) << row.typed;
    }
    EXPECT_EQ(offeredFilters,
              QStringList({"PNG-Bild (*.png)", "SVG-Grafik (*.svg)", "PDF-Dokument (*.pdf)"}));
    EXPECT_TRUE(messages.empty());
}

// Files and clipboard hold the picture's curves drawn anew on white, just as linienwerk-cli render
// draws the same equations (on the screen's grey), not the screen's pixels.
TEST_F(PictureMenuTest, FilesAndClipboardHoldTheCurvesDrawnAnew)
{
    draw("2*x^2+3*x-4");
    draw("x");
    const QStringList equations{"2*x^2+3*x-4", "x"};
    save("bild.png");
    save("bild.svg");
    saveSized(300, 300, "gross.svg");
    window->findChild<QAction *>(QStringLiteral("actCopyPicture"))->trigger();
    const QImage png(dir.filePath("bild.png"));
    // The tool's PNG has a palette: its grey becomes white there.
    QImage rendered = QImage::fromData(Rendered(dir.filePath("cli.png"), equations));
    QList<QRgb> colours = rendered.colorTable();
    std::replace(colours.begin(), colours.end(), PictureBackground().rgb(), qRgb(255, 255, 255));
    rendered.setColorTable(colours);
    EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32),
              rendered.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
              png.convertToFormat(QImage::Format_RGB32));
    const QByteArray svg = Rendered(dir.filePath("cli.svg"), equations);
    EXPECT_GT(svg.size(), 5000);
    EXPECT_EQ(saved("bild.svg"), svg);
    EXPECT_EQ(saved("gross.svg"), svg);
    EXPECT_TRUE(messages.empty());
}

// A size too small for a unit to span a pixel is refused, and no file is asked for.
TEST_F(PictureMenuTest, SavesAtTheSizeAskedFor)
{
    const struct {
        int width;
        int height;
        const char *file;
        QString refusal; // part of the message; empty when saved
    } rows[] = {
        {640, 200, "breit.png", {}},
        {9, 9, "klein.png", "mit 9 Pixeln zu klein"},
        {8000, 8, "flach.png", "mit 8000 x 8 Pixeln zu klein"},
    };
    draw("x");
    for (const auto &row : rows) {
        SCOPED_TRACE(row.file);
        messages.clear();
        saveSized(row.width, row.height, QString::fromLatin1(row.file));
        const bool saves = row.refusal.isEmpty();
        EXPECT_EQ(QImage(dir.filePath(QString::fromLatin1(row.file))).size(),
                  saves ? QSize(row.width, row.height) : QSize(0, 0));
        ASSERT_EQ(messages.size(), saves ? 0u : 1u);
        EXPECT_TRUE(saves || messages[0].text.contains(row.refusal)) << row.refusal.toStdString();
    }
}

TEST_F(PictureMenuTest, AFailedSaveNamesTheFile)
{
    draw("x");
    save("fehlt/bild.png");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, "Fehler");
    EXPECT_TRUE(messages[0].text.contains(QDir::toNativeSeparators(dir.filePath("fehlt/bild.png"))))
        << messages[0].text.toStdString();
}

} // namespace
