// SPDX-License-Identifier: GPL-3.0-or-later
// Printing through the real main window and sizing window on the offscreen
// platform; the print target is replaced, so no printer is needed.

#include "tests/support/windowtesting.h"

#include "formula/normalise.h"
#include "graph/frmpreprint.h"
#include "graph/printjob.h"
#include "mainwindow/layoutpass.h"
#include "tests/support/modalanswer.h"
#include "tests/support/pdfprinttarget.h"
#include "widgets/twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace lw;
using lw::testing::ModalAnswer;
using lw::testing::PdfPrintTarget;
using lw::testing::WhenReady;

namespace {

const QColor AxisGrey(128, 128, 128);

QWidget *topLevel(const char *name)
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String(name) && w->isVisible())
            return w;
    }
    return nullptr;
}

int pixelsOf(const QImage &image, const QColor &colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour;
    return count;
}

bool allWhite(const QImage &image)
{
    return pixelsOf(image, Qt::white) == image.width() * image.height();
}

class Printing : public lw::testing::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        SetPrintTarget([this](const PrintJob &job) { jobs.push_back(job); });
        openWindow();
        screenBefore = pixels();
    }
    void TearDown() override
    {
        SetPrintTarget({});
        WindowTest::TearDown();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    FrmPrePrint *openSizing()
    {
        FrmMain *w = window.get();
        OpenPrintDialog(w, [w](Picture &printOut, GraphSettingsRecord &settings) {
            w->DrawOn(printOut, settings);
        });
        return static_cast<FrmPrePrint *>(topLevel("frmPrePrint"));
    }
    static void drag(QWidget *sizing, QSize outer)
    {
        sizing->resize(ClientPixelsForOuter(outer, TwipsPerPixelX(), TwipsPerPixelY()));
        QApplication::processEvents();
    }
    static void press(QWidget *sizing, const char *button)
    {
        sizing->findChild<QPushButton *>(QLatin1String(button))->click();
    }
    QImage pixels() { return window->picGraph->surface().image().copy(); }
    void expectScreenGeometry()
    {
        const PlotGeometry &screen = ScreenPicture().geometry;
        EXPECT_EQ(screen.GraphWidth, 300);
        EXPECT_EQ(screen.GraphHeight, 300);
        EXPECT_EQ(screen.PixelsPerUnitX, 15);
        EXPECT_EQ(screen.CentralPixelX, 150);
        EXPECT_EQ(screen.CentralPixelY, 150);
        EXPECT_EQ(topLevel("frmPrintOut"), nullptr);
    }

    std::vector<PrintJob> jobs;
    QImage screenBefore;
};

TEST_F(Printing, TheSizingWindowKeepsItselfSquare)
{
    FrmPrePrint *sizing = openSizing();
    ASSERT_NE(sizing, nullptr);
    EXPECT_EQ(sizing->windowTitle(), "Drucken");
    EXPECT_EQ(
        sizing->lblNote->text(),
        "Skalieren Sie dieses Fenster auf die Größe, die der des Ausdrucks entsprechen soll.");
    // The designed inner 5790 x 4500 grows to the larger side at once.
    EXPECT_EQ(sizing->outer().size(), QSize(5790 + NonClientWidth, 5790 + NonClientWidth));
    // Sizes a drag can give: the frame is no whole number of pixels high.
    const struct {
        QSize dragged;
        QSize square;
    } cases[] = {{{6000, 4000}, {6000, 6000}},
                 {{4005, 6010}, {6010, 6010}},
                 {{7005, 7000}, {7005, 7005}},
                 {{3000, 9010}, {9010, 9010}}};
    for (const auto &c : cases) {
        drag(sizing, c.dragged);
        EXPECT_EQ(sizing->outer().size(), c.square)
            << c.dragged.width() << "x" << c.dragged.height();
        EXPECT_EQ(sizing->size(),
                  ClientPixelsForOuter(c.square, TwipsPerPixelX(), TwipsPerPixelY()));
    }
    EXPECT_TRUE(jobs.empty());
}

TEST_F(Printing, PrintsTheAxesAndTheCurveAtTheSizeOfThePrintOut)
{
    FrmPrePrint *sizing = openSizing();
    drag(sizing, {6000, 4000});
    GraphSettings.GraphNumberColor = 255; // red on the screen, black on paper
    QSize printOutOuter;
    PlotGeometry printed;
    SetPrintTarget([&](const PrintJob &job) {
        jobs.push_back(job);
        auto *printOut = static_cast<FrmPrintOut *>(topLevel("frmPrintOut"));
        printOutOuter = printOut->outer().size();
        printed = printOut->picture().geometry;
    });
    press(sizing, "cmdPrint");

    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(printOutOuter, QSize(6200, 6200));
    EXPECT_EQ(printed.GraphWidth, 413);
    EXPECT_EQ(printed.PixelsPerUnitX, 21);
    EXPECT_EQ(printed.CentralPixelX, 206);
    const QImage &image = jobs[0].image;
    EXPECT_EQ(image.deviceIndependentSize(), QSizeF(413, 413));
    EXPECT_NEAR(jobs[0].inches.width(), 413.0 / 96, 1e-9);
    EXPECT_NEAR(jobs[0].inches.height(), 413.0 / 96, 1e-9);
    for (const int along : {1, 100, 300, 411}) {
        EXPECT_EQ(image.pixelColor(along, 206), AxisGrey) << along;
        EXPECT_EQ(image.pixelColor(206, along), AxisGrey) << along;
    }
    EXPECT_EQ(image.pixelColor(206 + 3 * 21, 206 - 3 * 21), lw::testing::CurveColour);
    EXPECT_EQ(image.pixelColor(206 - 5 * 21, 206 + 5 * 21), lw::testing::CurveColour);
    EXPECT_EQ(image.pixelColor(300, 30), Qt::white);
    EXPECT_EQ(pixelsOf(image, Qt::red), 0);
    EXPECT_GT(pixelsOf(image, Qt::black), 0);

    EXPECT_TRUE(messages.empty());
    expectScreenGeometry();
    EXPECT_EQ(pixels(), screenBefore);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window->findChild<FrmPrePrint *>(), nullptr);
    // The next curve drawn without clearing lands in the screen's own geometry.
    window->txtTerm->setText("2");
    window->cmdDraw->click();
    EXPECT_EQ(pixel(100, 120), lw::testing::CurveColour);
    EXPECT_EQ(pixel(297, 120), lw::testing::CurveColour);
}

TEST_F(Printing, TheWholePictureGoesToPaperUnlessTheBoxIsCleared)
{
    for (const char *term : {"2", "3"}) {
        window->txtTerm->setText(term);
        window->cmdDraw->click();
    }
    ScreenPicture().curves.front().visible = false;
    window->txtTerm->setText("4");
    for (const bool all : {true, false}) {
        jobs.clear();
        FrmPrePrint *sizing = openSizing();
        drag(sizing, {6000, 4000});
        EXPECT_TRUE(sizing->chkAllCurves->isChecked());
        sizing->chkAllCurves->setChecked(all);
        press(sizing, "cmdPrint");
        ASSERT_EQ(jobs.size(), 1u);
        // 21 pixels a unit, the middle at 206: y = 2, 3 and 4 lie on rows 164, 143 and 122.
        const auto drawn = [&](int row) {
            return jobs[0].image.pixelColor(100, row) == lw::testing::CurveColour;
        };
        EXPECT_FALSE(drawn(164)) << all;
        EXPECT_EQ(drawn(143), all);
        EXPECT_EQ(drawn(122), !all);
    }
}

TEST_F(Printing, CancelEscapeAndEnter)
{
    const struct {
        const char *how;
        std::function<void(QWidget *)> act;
        std::size_t printed;
    } cases[] = {
        {"Abbrechen", [](QWidget *s) { press(s, "cmdCancel"); }, 0},
        {"Esc", [](QWidget *s) { QTest::keyClick(s, Qt::Key_Escape); }, 0},
        {"closed", [](QWidget *s) { s->close(); }, 0},
        {"Enter", [](QWidget *s) { QTest::keyClick(s, Qt::Key_Return); }, 1},
    };
    for (const auto &c : cases) {
        jobs.clear();
        QPointer<FrmPrePrint> sizing = openSizing();
        c.act(sizing);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(sizing.isNull()) << c.how;
        EXPECT_EQ(jobs.size(), c.printed) << c.how;
        EXPECT_EQ(pixels(), screenBefore) << c.how;
        expectScreenGeometry();
    }
}

TEST_F(Printing, AnEmptyEquationGivesTheMessageAndABlankPage)
{
    window->txtTerm->setText("  ");
    press(openSizing(), "cmdPrint");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, QString::fromStdU16String(EmptyEquationMessage()));
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_TRUE(allWhite(jobs[0].image));
    expectScreenGeometry();
    EXPECT_EQ(pixels(), screenBefore);
}

TEST_F(Printing, ACentreTakenOverByThePrintLeavesTheScreenUntilItsNextDraw)
{
    window->txtTerm->setText("2");
    window->cmdDraw->click();
    const QImage withCurve = pixels();
    window->txtScreenCentralX->setText("2");
    press(openSizing(), "cmdPrint");
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(pixels(), withCurve);
    EXPECT_EQ(GraphSettings.ScreenCentralX, 0); // what the screen's axes show
    expectScreenGeometry();
    // The next screen draw sees the new centre and moves the axes itself.
    window->txtTerm->setText("3");
    window->cmdDraw->click();
    EXPECT_EQ(GraphSettings.ScreenCentralX, 2);
    EXPECT_EQ(pixels().pixelColor(120, 10), AxisGrey);
    EXPECT_EQ(pixel(120, 105), lw::testing::CurveColour);
    EXPECT_EQ(pixel(200, 120), lw::testing::CurveColour); // the earlier curve moved with them
}

TEST_F(Printing, PrintingDuringAScreenDrawStopsItAndPrintsABlankPage)
{
    FrmPrePrint *sizing = openSizing();
    window->txtPrecision->setText("0,00001"); // two million samples
    window->txtTerm->setText("2");
    WhenReady print(
        "a screen draw under way",
        [this] { return DrawInProgress() && pixel(3, 120) == lw::testing::CurveColour; },
        [&] {
            const QImage before = pixels();
            press(sizing, "cmdPrint");
            EXPECT_EQ(pixels(), before);
            expectScreenGeometry();
        });
    window->cmdDraw->click();
    ASSERT_TRUE(print.answered());
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_TRUE(allWhite(jobs[0].image));
    EXPECT_FALSE(DrawInProgress());
    EXPECT_FALSE(StopRequested());
    EXPECT_EQ(window->cmdDraw->text(), "Zeichnen");
    EXPECT_NE(pixel(297, 120), lw::testing::CurveColour); // the screen's curve ended early
    expectScreenGeometry();
}

TEST_F(Printing, PaintsThePictureAtItsScreenSizeAtTheTopLeft)
{
    QImage picture(96, 48, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const PrintJob job{picture, QSizeF(1.0, 0.5), nullptr};
    for (const int dpi : {96, 192, 300}) {
        QImage page(400, 400, QImage::Format_RGB32);
        page.fill(Qt::white);
        page.setDotsPerMeterX(qRound(dpi / 0.0254));
        page.setDotsPerMeterY(qRound(dpi / 0.0254));
        ASSERT_TRUE(PaintJob(page, job));
        const int w = dpi, h = dpi / 2;
        EXPECT_EQ(page.pixelColor(0, 0), Qt::red) << dpi;
        EXPECT_EQ(page.pixelColor(w - 1, h - 1), Qt::red) << dpi;
        EXPECT_EQ(page.pixelColor(w, 0), Qt::white) << dpi;
        EXPECT_EQ(page.pixelColor(0, h), Qt::white) << dpi;
    }
}

TEST_F(Printing, ThePdfTargetPrintsOneA4PageWithThePicture)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("print.pdf");
    SetPrintTarget(PdfPrintTarget(file));
    FrmPrePrint *sizing = openSizing();
    drag(sizing, {6000, 4000});
    press(sizing, "cmdPrint");
    QFile pdf(file);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n"), 1)
        << bytes.mid(bytes.indexOf("/Type /Page"), 60).toStdString();
    const QRegularExpressionMatch page =
        QRegularExpression(R"(/MediaBox \[0 0 ([0-9.]+) ([0-9.]+)\])")
            .match(QString::fromLatin1(bytes));
    ASSERT_TRUE(page.hasMatch());
    EXPECT_NEAR(page.captured(1).toDouble(), 595, 1); // A4 in points
    EXPECT_NEAR(page.captured(2).toDouble(), 842, 1);
    EXPECT_FALSE(bytes.contains("/DCTDecode")) << "a JPEG would smear the lines";
    EXPECT_TRUE(bytes.contains("/Width 413"));
    EXPECT_TRUE(bytes.contains("/Height 413"));
}

TEST_F(Printing, WithoutAPrinterTheDialogOffersAFileAndCancelPrintsNothing)
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "a printer is installed; this would print on it";
    SetPrintTarget({});
    ModalAnswer<QPrintDialog> cancel([](QPrintDialog *dialog) { dialog->reject(); });
    press(openSizing(), "cmdPrint");
    EXPECT_TRUE(cancel.answered());
    EXPECT_TRUE(messages.empty());
    expectScreenGeometry();
}

} // namespace
