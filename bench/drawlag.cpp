// SPDX-License-Identifier: GPL-3.0-or-later
// The draw benchmark's scenarios with a user: a drag over the picture, a slider, "Stop".

#include "drawbench.h"

#include "formula/eventhook.h"
#include "graph/graphdraw.h"
#include "mainwindow/drawcommand.h"
#include "mainwindow/variablespanel.h"
#include "settings/graphsettings.h"
#include "widgets/picturewidget.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace lw::drawbench {

namespace {

// A drag over the picture of ten curves (as RedrawTenCurves, on a 1000 x 1000 picture): 60
// pointer moves over one second, each as the window system delivers it, also while a redraw
// runs. A move is caught up with once the picture shows its view or a newer one with every
// curve; its lag is the time from the move until then.
struct DragFigures {
    std::vector<double> lagMs;
};

// Sends `move(i)` for i = 1 to 60, 60 a second, as the window system delivers a pointer, and
// returns for each the time until the picture shows its view (or a newer one) whole.
std::vector<double> measureLag(const std::function<void(int)> &move)
{
    lw::FrmMain &w = *bench->window;
    constexpr int Moves = 60;
    std::vector<double> lagMs;
    std::vector<std::pair<qint64, unsigned>> sent; // when, and the view it asked for
    std::size_t caughtUp = 0;
    QElapsedTimer clock;
    QTimer moves;
    moves.setTimerType(Qt::PreciseTimer);
    QObject::connect(&moves, &QTimer::timeout, [&] {
        if (sent.size() == Moves)
            return;
        const qint64 at = clock.nsecsElapsed();
        move(static_cast<int>(sent.size()) + 1);
        sent.emplace_back(at, w.ViewsAsked());
    });
    // Asked as often as the event loop turns, inside the redraws' yields too.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        for (; caughtUp < sent.size() && sent[caughtUp].second <= w.ViewsShownWhole(); ++caughtUp)
            lagMs.push_back(double(clock.nsecsElapsed() - sent[caughtUp].first) * 1e-6);
    });
    clock.start();
    moves.start(1000 / Moves);
    watch.start(0);
    while (caughtUp < Moves)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    moves.stop();
    watch.stop();
    return lagMs;
}

// A fresh 1000 x 1000 screen picture holding `curves`, drawn.
void showCurves(std::vector<lw::CurveEntry> curves)
{
    lw::FrmMain &w = *bench->window;
    constexpr int Side = 1000;
    w.picGraph->setPictureSize(QSize(Side, Side));
    lw::Picture &screen = lw::ScreenPicture();
    lw::ResizePicture(screen, Side, Side);
    lw::ErasePicture(screen, lw::GraphSettings);
    for (lw::CurveEntry &curve : curves)
        lw::AddCurve(screen, std::move(curve));
    lw::InstallDrawYield();
    w.RequestRedraw();
    while (!w.PictureUpToDate())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

DragFigures measureDrag()
{
    lw::FrmMain &w = *bench->window;
    showCurves(tenCurves());
    const auto mouse = [&](QEvent::Type type, QPoint at) {
        QMouseEvent event(type, at, w.picGraph->mapToGlobal(at),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, {});
        QCoreApplication::sendEvent(w.picGraph, &event);
    };
    const QPoint start(300, 300);
    mouse(QEvent::MouseButtonPress, start);
    DragFigures figures{
        measureLag([&](int i) { mouse(QEvent::MouseMove, start + QPoint(5 * i, 3 * i)); })};
    mouse(QEvent::MouseButtonRelease, start + QPoint(5 * 60, 3 * 60));
    return figures;
}

// A slider moved over the picture of one curve of 20 001 samples, a*x^2 on 1000 x 1000: each
// position draws the curve again with the new value in the place of the old.
std::vector<double> measureSlider()
{
    lw::FrmMain &w = *bench->window;
    showCurves({{.typed = u"a*x^2",
                 .formula = u"PRO(0;POT(x;2))",
                 .kznFormula = u"PRO(a;POT(x;2))",
                 .colour = 0x800000,
                 .precision = 0.001f,
                 .linkPoints = true}});
    QSlider &slider = *w.picVariables->sldVarValue[0];
    slider.setValue(0);
    return measureLag([&](int i) { slider.setValue(i); });
}

void printDrag(const DragFigures &drag)
{
    const double worst = maxOf(drag.lagMs);
    std::printf(
        "drag, 60 pointer moves over 1 s on 1000 x 1000 with 10 curves of 20 001 samples:\n");
    // The picture itself moves along in the move's own event; what lags is the strip it uncovers.
    std::printf("  move until every curve shows in its view, ms  median %8.3f   max %8.3f\n",
                median(drag.lagMs), worst);
    std::printf("goal, never more than one frame (%.1f ms) behind the pointer: %s\n", FrameMs,
                verdict(worst <= FrameMs, worst / FrameMs));
}

void printSlider(const std::vector<double> &lagMs)
{
    const double worst = maxOf(lagMs);
    std::printf("slider, 60 moves over 1 s redrawing a*x^2 of 20 001 samples on 1000 x 1000:\n");
    std::printf("  move until the curve shows its value, ms      median %8.3f   max %8.3f\n",
                median(lagMs), worst);
    std::printf("goal, a slider move redrawn within 16 ms: %s\n",
                verdict(median(lagMs) <= 16.0, median(lagMs) / 16.0));
}

} // namespace

void measureAndPrintDrag()
{
    printDrag(measureDrag());
}

void measureAndPrintSlider()
{
    printSlider(measureSlider());
}

StopFigures measureStops()
{
    StopFigures figures;
    lw::FrmMain &w = *bench->window;
    lw::InstallDrawYield();
    for (int run = 0; run < StopRuns; ++run) {
        prepareDraw();
        w.txtPrecision->setText(StopPrecisionText);
        QElapsedTimer clock;
        qint64 pressedAt = -1;
        QTimer::singleShot(StopAfterMs, Qt::PreciseTimer, w.cmdDraw, [&] {
            if (!lw::DrawInProgress() || w.cmdDraw->text() != QLatin1String("Stop"))
                return;
            pressedAt = clock.nsecsElapsed();
            w.cmdDraw->click();
        });
        clock.start();
        w.cmdDraw->click();
        const qint64 returnedAt = clock.nsecsElapsed();
        if (pressedAt < 0) {
            ++figures.missed;
        } else {
            figures.unwindMs.push_back(static_cast<double>(returnedAt - pressedAt) * 1e-6);
            figures.lateMs.push_back(static_cast<double>(pressedAt) * 1e-6 - StopAfterMs);
        }
        settle();
    }
    return figures;
}

} // namespace lw::drawbench
