#include "tests/mainwindow/mainwindowtesting.h"
#include "tests/support/modalanswer.h"

#include "gph/cdlload.h"
#include "graph/picturerecord.h"
#include "mainwindow/picturemenu.h"
#include "widgets/picturewidget.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

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
    QByteArray saved(const QString &name) const
    {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    QStringList offeredFilters;
};

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
                                          "Bild speichern unter... Ctrl+Shift+S"}));
            shown->close();
        });
    QApplication::sendEvent(window->picGraph, &request);
    EXPECT_TRUE(menu.answered());
}

TEST_F(PictureMenuTest, CopyPutsThePictureOnTheClipboard)
{
    draw("2*x^2+3*x-4");
    QTest::keyClick(window.get(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    const QImage copied = QGuiApplication::clipboard()->image();
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32),
              window->picGraph->surface().image().convertToFormat(QImage::Format_RGB32));
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

// The vector file holds what linienwerk-cli render writes for the same picture, and the PNG
// the picture's pixels.
TEST_F(PictureMenuTest, SavedFilesHoldThePicture)
{
    draw("2*x^2+3*x-4");
    save("bild.svg");
    save("bild.png");
    QProcess cli;
    cli.start(QStringLiteral(LW_CLI_PATH),
              {"render", "--size", "300", "-o", dir.filePath("cli.svg"), "2*x^2+3*x-4"});
    ASSERT_TRUE(cli.waitForFinished(120000));
    ASSERT_EQ(cli.exitCode(), 0);
    // Groups name the painter's default font, which the program has and the tool has not; every
    // text is painted as pixels.
    const QRegularExpression font(QStringLiteral(R"(font-family="[^"]*" font-size="[^"]*")"));
    const QString gui = QString::fromUtf8(saved("bild.svg")).remove(font);
    EXPECT_GT(gui.size(), 10000);
    EXPECT_EQ(gui, QString::fromUtf8(saved("cli.svg")).remove(font));
    EXPECT_EQ(QImage(dir.filePath("bild.png")).convertToFormat(QImage::Format_RGB32),
              window->picGraph->surface().image().convertToFormat(QImage::Format_RGB32));
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

// A picture past the record's limit goes into the vector files as an image.
TEST_F(PictureMenuTest, APictureWithTooManyStepsIsSavedAsAnImage)
{
    window->mnuPicture->record().setLimit(50);
    draw("x");
    save("bild.svg");
    const QByteArray svg = saved("bild.svg");
    EXPECT_TRUE(svg.contains("<image")) << svg.left(2000).toStdString();
    EXPECT_FALSE(svg.contains("<polyline"));
    EXPECT_TRUE(status().contains("bild.svg enthält das Bild als Rasterbild"))
        << status().toStdString();
    EXPECT_TRUE(messages.empty());
}

// Past its limit the record is dropped until the next clear; a repeat goes nowhere.
TEST(PictureRecordTest, KeepsStepsSinceTheLastClearUpToItsLimit)
{
    RecordingSurface picture;
    PictureRecord record(picture, 3);
    record.clear();
    record.line(0, 0, 1, 1, 5);
    record.line(0, 0, 1, 1, 5);
    record.point(2, 2, 5);
    EXPECT_TRUE(record.complete());
    EXPECT_EQ(record.recording().lines(), QStringList({"clear", "line 0 0 1 1 5", "point 2 2 5"}));
    record.point(3, 3, 5);
    EXPECT_FALSE(record.complete());
    EXPECT_TRUE(record.recording().operations().empty());
    // The picture gets every step past the limit too, but not the repeat.
    EXPECT_EQ(picture.lines(),
              QStringList({"clear", "line 0 0 1 1 5", "point 2 2 5", "point 3 3 5"}));
    record.clear();
    record.point(4, 4, 5);
    EXPECT_TRUE(record.complete());
    EXPECT_EQ(record.recording().lines(), QStringList({"clear", "point 4 4 5"}));
}

} // namespace
