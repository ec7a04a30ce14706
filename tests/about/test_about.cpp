// SPDX-License-Identifier: GPL-3.0-or-later

#include "about/abouttext.h"
#include "about/frmabout.h"
#include "about/frmtitlescreen.h"
#include "tests/support/modalanswer.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace lw {
namespace {

using lw::testing::ModalAnswer;

class AboutFile {
public:
    explicit AboutFile(const QByteArray &bytes)
    {
        QFile file(path());
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }
    QString path() const { return m_dir.filePath(QStringLiteral("about.txt")); }

private:
    QTemporaryDir m_dir;
};

struct ReadCase {
    const char *name;
    QByteArray bytes;
    QString expected;
};

TEST(ReadAboutText, GivesEveryLineWithCrLf)
{
    const ReadCase cases[] = {
        {"CR LF", "a\r\nb\r\nc\r\n", "a\r\nb\r\nc\r\n"},
        {"CR alone", "a\rb\rc\r", "a\r\nb\r\nc\r\n"},
        {"LF alone", "a\nb\nc\n", "a\r\nb\r\nc\r\n"},
        {"mixed", "a\r\nb\rc\nd\r\n", "a\r\nb\r\nc\r\nd\r\n"},
        {"LF before CR ends two lines", "a\n\rb", "a\r\n\r\nb\r\n"},
        {"last line without line end", "a\r\nlast", "a\r\nlast\r\n"},
        {"single line without line end", "only", "only\r\n"},
        {"empty lines kept", "\r\n\r\nx\r\n\r\n", "\r\n\r\nx\r\n\r\n"},
        {"empty file", "", ""},
        {"Windows-1252", "f\xfcr 5 \x80\r\n\xc4\xd6\xdc\xdf",
         QStringLiteral("f\u00fcr 5 \u20ac\r\n\u00c4\u00d6\u00dc\u00df\r\n")},
    };
    for (const ReadCase &c : cases) {
        const AboutFile file(c.bytes);
        EXPECT_EQ(ReadAboutText(file.path()), c.expected) << c.name;
    }
}

TEST(ReadAboutText, MissingOrUnreadableFileGivesNothing)
{
    QTemporaryDir dir;
    EXPECT_EQ(ReadAboutText(dir.filePath(QStringLiteral("about.txt"))), QString());
    EXPECT_EQ(ReadAboutText(dir.path()), QString());
}

TEST(ReadAboutText, ShippedTextReadsAsGerman)
{
    initResources();
    const QString text = ReadAboutText(QStringLiteral(":/about.txt"));
    EXPECT_TRUE(text.startsWith(
        QStringLiteral("ZERANTH Linienwerk 2.0\r\nFunktionsplotter f\u00fcr Schule")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("\r\n")));
}

template<typename T>
T *child(QWidget *window, const char *name)
{
    return window->findChild<T *>(QLatin1String(name));
}

QString shownText(FrmAbout &box)
{
    return child<QPlainTextEdit>(&box, "txtAboutBox")->toPlainText();
}

TEST(FrmAbout, FormLoadShowsTheLinesAndATrailingEmptyLine)
{
    const AboutFile file("eins\r\nzwei\r\ndrei\r\n");
    FrmAbout box(nullptr, file.path());
    auto *text = child<QPlainTextEdit>(&box, "txtAboutBox");
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->toPlainText().isEmpty());

    box.Form_Load();
    EXPECT_EQ(text->toPlainText(), QStringLiteral("eins\nzwei\ndrei\n"));
    EXPECT_EQ(text->blockCount(), 4);
    EXPECT_TRUE(text->isReadOnly());

    box.Form_Load();
    EXPECT_EQ(text->toPlainText(), QStringLiteral("eins\nzwei\ndrei\n"));
}

TEST(FrmAbout, EachOpeningReadsTheFileAnewAndIsDestroyedOnClosing)
{
    const AboutFile file("Zeile\r\n");
    for (int opening = 0; opening < 2; ++opening) {
        QString seen;
        QPointer<FrmAbout> opened;
        bool modal = false;
        ModalAnswer<FrmAbout> ok([&](FrmAbout *box) {
            opened = box;
            modal = box->isModal();
            seen = shownText(*box);
            child<QPushButton>(box, "cmdOK")->click();
        });
        FrmAbout::open(nullptr, file.path());
        ASSERT_TRUE(ok.answered());
        EXPECT_EQ(seen, QStringLiteral("Zeile\n")) << opening;
        EXPECT_TRUE(modal);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(opened.isNull()) << "box survived its closing";
    }
}

TEST(FrmAbout, MissingFileLeavesTheFieldEmptyAndTheBoxCloses)
{
    QTemporaryDir dir;
    QString seen = QStringLiteral("not opened");
    ModalAnswer<FrmAbout> closeBox([&](FrmAbout *box) {
        seen = shownText(*box);
        box->close();
    });
    FrmAbout::open(nullptr, dir.filePath(QStringLiteral("about.txt")));
    ASSERT_TRUE(closeBox.answered());
    EXPECT_EQ(seen, QString());
}

TEST(FrmAbout, EnterPressesTheDefaultButtonOK)
{
    const AboutFile file("x");
    bool isDefault = false;
    bool closed = false;
    FrmAbout box(nullptr, file.path());
    ModalAnswer<FrmAbout> pressEnter([&](FrmAbout *shown) {
        auto *ok = child<QPushButton>(shown, "cmdOK");
        isDefault = ok->isDefault();
        QObject::connect(ok, &QPushButton::clicked, [&] { closed = true; });
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(shown, &enter);
    });
    box.exec();
    ASSERT_TRUE(pressEnter.answered());
    EXPECT_TRUE(isDefault);
    EXPECT_TRUE(closed);
    EXPECT_FALSE(box.isVisible());
}

TEST(FrmAbout, ControlsAsDesigned)
{
    FrmAbout box(nullptr, QString());
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Info..."));
    EXPECT_EQ(box.minimumSize(), box.maximumSize()) << "the box has a fixed size";

    auto *label1 = child<QLabel>(&box, "Label1");
    auto *label2 = child<QLabel>(&box, "Label2");
    auto *icon = child<QLabel>(&box, "picIcon");
    auto *image = child<QLabel>(&box, "Image1");
    auto *text = child<QPlainTextEdit>(&box, "txtAboutBox");
    auto *ok = child<QPushButton>(&box, "cmdOK");
    ASSERT_TRUE(label1 && label2 && icon && image && text && ok);

    EXPECT_EQ(label1->text(), QStringLiteral("\u00dcber ZERANTH Linienwerk 2.0..."));
    EXPECT_TRUE(label1->font().bold());
    EXPECT_GT(label1->x(), icon->geometry().right());
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_EQ(text->palette().color(QPalette::Base), QColor(192, 192, 192));
    EXPECT_FALSE(icon->pixmap().isNull());
    EXPECT_FALSE(image->pixmap().isNull());

    // Top to bottom: icon, picture, text field, button near the middle.
    EXPECT_LT(icon->geometry().bottom(), image->y());
    EXPECT_LT(image->geometry().bottom(), text->y());
    EXPECT_LT(text->geometry().bottom(), ok->y());
    EXPECT_LE(qAbs(ok->geometry().center().x() - box.width() / 2), 2);
    EXPECT_GE(text->height(), 5 * text->fontMetrics().lineSpacing());
}

TEST(FrmAbout, VersionLabelSitsOnThePicturesLowerRightCorner)
{
    FrmAbout box(nullptr, QString());
    auto *label2 = child<QLabel>(&box, "Label2");
    auto *image = child<QLabel>(&box, "Image1");
    ASSERT_TRUE(label2 && image);
    EXPECT_EQ(label2->text(), QStringLiteral("Version 2.0"));
    EXPECT_TRUE(image->geometry().contains(label2->geometry()));
    EXPECT_GT(label2->x(), image->geometry().center().x());
    EXPECT_GT(label2->y(), image->y() + image->height() * 4 / 5);
    EXPECT_GT(label2->geometry().right(), image->geometry().right() - image->width() / 20);

    // The picture around the words continues under the label: its rim shows the picture.
    const QImage shot = box.grab().toImage();
    const QImage picture = image->pixmap().toImage();
    for (const QPoint corner : {QPoint(1, 1), QPoint(label2->width() - 2, 1)}) {
        const QPoint inBox = label2->pos() + corner;
        EXPECT_EQ(shot.pixelColor(inBox), picture.pixelColor(inBox - image->pos())) << corner.x();
    }
}

TEST(FrmTitleScreen, IsTheBorderlessTitlePicture)
{
    FrmTitleScreen title;
    EXPECT_EQ(title.objectName(), QStringLiteral("frmTitleScreen"));
    EXPECT_EQ(title.windowTitle(), QStringLiteral("TitleScreen"));
    EXPECT_TRUE(title.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(title.windowModality(), Qt::NonModal);
    title.show();
    EXPECT_EQ(title.size(), QSize(457, 249));
    EXPECT_EQ(title.geometry().size(), QSize(457, 249)) << "client area";

    const QImage shot = title.grab().toImage();
    EXPECT_EQ(shot.pixelColor(10, 5), QColor(0xfb, 0xfc, 0xfe)) << "picture ground";
    EXPECT_LT(shot.pixelColor(228, 200).lightness(), 160) << "y axis";
}

} // namespace
} // namespace lw
