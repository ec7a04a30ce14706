// SPDX-License-Identifier: GPL-3.0-or-later
// The draw command end to end against the bare plotter, and how soon "Stop" ends a draw.

#include "machine.h"

#include "formula/eventhook.h"
#include "formula/normalise.h"
#include "graph/curvelist.h"
#include "graph/drawingsurface.h"
#include "graph/graphdraw.h"
#include "graph/imagesurface.h"
#include "graph/plotgraph.h"
#include "graph/repeatfilter.h"
#include "graph/surfaceoperation.h"
#include "mainwindow/drawcommand.h"
#include "mainwindow/frmmain.h"
#include "mainwindow/variablespanel.h"
#include "settings/graphsettings.h"
#include "settings/settingsstore.h"
#include "widgets/messagebox.h"
#include "widgets/picturewidget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

const QString Term = QStringLiteral("2*x^2+3*x-4");
const QString PrecisionText = QStringLiteral("0,00001");
constexpr float Precision = 0.00001f;
constexpr int StopAfterMs = 100;
// The stop runs draw five times as many samples, so that a draw is still under way when the
// press comes.
const QString StopPrecisionText = QStringLiteral("0,000002");
constexpr int StopRuns = 15;

// Everything the benchmarks share; made in main after the application, gone before it.
struct DrawBench {
    lw::MemorySettingsStore store;
    std::vector<lw::Message> messages;
    std::unique_ptr<lw::FrmMain> window;
    QSize pictureSize;
    std::u16string formula;
    long plotSamples = 0;
    long walkSamples = 0;
    long drawYields = 0;
    bool samePrecision = false;
    std::map<std::string, std::vector<double>> seconds;
};
DrawBench *bench = nullptr;

double median(std::vector<double> values)
{
    if (values.empty())
        return NAN;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// Lets the repaint timers of the last draw fire outside the timed part.
void settle(int ms = 30)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void openWindow(int fixedSize)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    lw::GraphSettings = lw::GraphSettingsRecord{};
    lw::SetSettingsStore(&bench->store);
    lw::InstallMessageHook([](const lw::Message &m) { bench->messages.push_back(m); });
    bench->window = std::make_unique<lw::FrmMain>();
    bench->window->Form_Load();
    bench->window->show();
    settle();
    if (fixedSize > 0) {
        const auto side = static_cast<int16_t>(fixedSize);
        bench->window->picGraph->setPictureSize(QSize(side, side));
        lw::ResizePicture(lw::ScreenPicture(), side, side);
        lw::RedrawAxes(lw::ScreenPicture(), lw::GraphSettings);
    }
    const lw::PlotGeometry &screen = lw::ScreenPicture().geometry;
    bench->pictureSize = QSize(screen.GraphWidth, screen.GraphHeight);
}

void prepareDraw()
{
    lw::FrmMain &w = *bench->window;
    w.txtTerm->setText(Term);
    w.optTermFormat[0]->setChecked(true);
    w.optTermFormat_Click(0);
    w.txtPrecision->setText(PrecisionText);
}

void installCountingHook(long &count)
{
    lw::InstallEventHook({[&count] { ++count; },
                          [] {
                              return lw::StopRequested();
                          }});
}

// The bare plotter's own picture, with the size the window's picture has.
class BareSurface {
public:
    BareSurface()
        : m_surface(bench->pictureSize, bench->window->picGraph->devicePixelRatioF(),
                    lw::PictureBackground()),
          m_picture(lw::BlankPicture(m_surface, static_cast<int16_t>(bench->pictureSize.width()),
                                     static_cast<int16_t>(bench->pictureSize.height())))
    {
        lw::RedrawAxes(m_picture, lw::GraphSettings);
        lw::GraphSettings.Precision = Precision;
    }
    ~BareSurface() { lw::InstallDrawYield(); }
    lw::ImageSurface &image() { return m_surface; }
    lw::PlotResult plot()
    {
        return lw::PlotGraph(bench->formula, m_picture.geometry, lw::GraphSettings, m_surface);
    }
    BareSurface(const BareSurface &) = delete;
    BareSurface &operator=(const BareSurface &) = delete;

private:
    lw::ImageSurface m_surface;
    lw::Picture m_picture;
};

long floatWalkSamples()
{
    const lw::SampleRange range = lw::SampleRangeOf(lw::GraphSettings);
    long n = 0;
    for (float x = range.lower; x <= range.upper; x += Precision)
        ++n;
    return n;
}

// Counts the samples three ways before anything is timed.
void countSamples()
{
    lw::FrmMain &w = *bench->window;
    prepareDraw();
    installCountingHook(bench->drawYields);
    w.cmdDraw->click();
    bench->samePrecision = lw::GraphSettings.Precision == Precision;
    settle();
    lw::InstallEventHook({});
    {
        BareSurface surface;
        bench->formula = w.UpdateVariables(lw::NormaliseMathTerm(Term.toStdU16String()).formula);
        installCountingHook(bench->plotSamples);
        surface.plot();
        bench->walkSamples = floatWalkSamples();
    }
    lw::InstallDrawYield();
}

bool showsCurve(const QImage &image)
{
    const QRgb curve = lw::ToQColor(lw::GraphSettings.LiveColor).rgb();
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        if (std::find(line, line + image.width(), curve) != line + image.width())
            return true;
    }
    return false;
}

void finish(benchmark::State &state, const std::string &name, lw::ImageSurface &surface)
{
    if (!showsCurve(surface.image()))
        state.SkipWithError("no curve on the picture");
    if (!bench->messages.empty()) {
        state.SkipWithError(("message: " + bench->messages.front().text.toStdString()).c_str());
        bench->messages.clear();
        return;
    }
    const double perDraw = median(bench->seconds[name]);
    state.counters["samples/s"] = static_cast<double>(bench->plotSamples) / perDraw;
    state.counters["ns/sample"] = perDraw * 1e9 / static_cast<double>(bench->plotSamples);
}

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Wall time of one draw for the benchmark, CPU time beside it for a machine under load.
class DrawTimer {
public:
    DrawTimer() : m_cpu(threadCpuSeconds()) { m_wall.start(); }

    void stop(benchmark::State &state, const std::string &name) const
    {
        const double wall = static_cast<double>(m_wall.nsecsElapsed()) * 1e-9;
        const double cpu = threadCpuSeconds() - m_cpu;
        state.SetIterationTime(wall);
        bench->seconds[name].push_back(wall);
        bench->seconds[name + "/cpu"].push_back(cpu);
    }

private:
    QElapsedTimer m_wall;
    double m_cpu;
};

void FullDraw(benchmark::State &state)
{
    lw::FrmMain &w = *bench->window;
    lw::InstallDrawYield();
    for (auto _ : state) {
        prepareDraw();
        const DrawTimer timer;
        w.cmdDraw->click();
        timer.stop(state, "FullDraw");
        settle();
    }
    finish(state, "FullDraw", w.picGraph->surface());
}

// The plotter alone; hook chooses what the yield does (nothing, or the program's own).
void BarePlot(benchmark::State &state, const std::string &name,
              const std::function<void()> &installHook)
{
    BareSurface surface;
    installHook();
    for (auto _ : state) {
        const DrawTimer timer;
        const lw::PlotOutcome outcome = surface.plot().outcome;
        timer.stop(state, name);
        if (outcome != lw::PlotOutcome::Completed)
            state.SkipWithError("the plot did not complete");
    }
    finish(state, name, surface.image());
}

void BarePlotNoYield(benchmark::State &state)
{
    BarePlot(state, "BarePlotNoYield", [] { lw::InstallEventHook({}); });
}

// Tells the yield's own cost apart from the window's.
void BarePlotDrawYield(benchmark::State &state)
{
    BarePlot(state, "BarePlotDrawYield", [] { lw::InstallDrawYield(); });
}

// The picture drawn again from its list, as a resize or a new view draws it: ten curves of
// 20 001 samples each on a 1000 x 1000 picture through the screen's repeat filter, with the
// program's yield, on every core as the window draws it (and on one, to compare). The goal is
// one frame at 60 Hz.
constexpr double FrameMs = 1000.0 / 60;

void RedrawTenCurves(benchmark::State &state)
{
    const bool alongside = state.range(0) != 0;
    const char *name = alongside ? "RedrawTenCurves" : "RedrawTenCurvesOneThread";
    lw::ImageSurface image(QSize(1000, 1000), 1.0, lw::PictureBackground());
    lw::RepeatFilter screen(image);
    lw::Picture picture = lw::BlankPicture(screen, 1000, 1000);
    const lw::GraphSettingsRecord settings;
    int n = 0;
    for (const char16_t *formula : {u"PRO(x;x)", u"SIN(x)", u"COS(x)", u"DIV(1;x)", u"SUM(x;1)",
                                    u"PRO(x;x;x)", u"SQR(x)", u"EXP(x)", u"ABS(x)", u"ATN(x)"})
        lw::AddCurve(picture, {.formula = formula,
                               .colour = lw::Colour(0x101010 * ++n),
                               .precision = 0.001f,
                               .linkPoints = true});
    lw::InstallDrawYield();
    for (auto _ : state) {
        const DrawTimer timer;
        if (alongside)
            lw::RedrawPictureAlongside(picture, picture.curves, settings,
                                       int(std::max(1u, std::thread::hardware_concurrency())),
                                       [] { QCoreApplication::processEvents(); });
        else
            lw::RedrawPicture(picture, settings);
        timer.stop(state, name);
    }
    state.counters["frames"] = median(bench->seconds[name]) * 1000 / FrameMs;
}

BENCHMARK(RedrawTenCurves)
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(FullDraw)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BarePlotNoYield)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BarePlotDrawYield)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

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
    std::vector<lw::CurveEntry> curves;
    int n = 0;
    for (const char16_t *formula : {u"PRO(x;x)", u"SIN(x)", u"COS(x)", u"DIV(1;x)", u"SUM(x;1)",
                                    u"PRO(x;x;x)", u"SQR(x)", u"EXP(x)", u"ABS(x)", u"ATN(x)"})
        curves.push_back({.formula = formula,
                          .colour = lw::Colour(0x101010 * ++n),
                          .precision = 0.001f,
                          .linkPoints = true});
    showCurves(std::move(curves));
    const auto mouse = [&](QEvent::Type type, QPoint at) {
        QMouseEvent event(type, at, w.picGraph->mapToGlobal(at),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, {});
        QCoreApplication::sendEvent(w.picGraph, &event);
    };
    const QPoint start(300, 300);
    mouse(QEvent::MouseButtonPress, start);
    DragFigures figures{measureLag(
        [&](int i) { mouse(QEvent::MouseMove, start + QPoint(5 * i, 3 * i)); })};
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

struct StopFigures {
    std::vector<double> unwindMs; // the stop press until the draw command returned
    std::vector<double> lateMs;   // the press due until it was handled
    int missed = 0;               // the draw was over before the press
};

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

double maxOf(const std::vector<double> &values)
{
    return values.empty() ? NAN : *std::max_element(values.begin(), values.end());
}

const char *verdict(bool met, double value)
{
    return std::isnan(value) ? "not measured" : met ? "met" : "MISSED";
}

void printPreflight()
{
    std::printf("CPU: %s\n", lw::bench::CpuModel().c_str());
    std::printf("platform: %s, picture %dx%d, term %s, precision %s\n",
                qPrintable(QGuiApplication::platformName()), bench->pictureSize.width(),
                bench->pictureSize.height(), qPrintable(Term), qPrintable(PrecisionText));
    std::printf("formula: %s\n", qPrintable(QString::fromStdU16String(bench->formula)));
    std::printf("samples: plotter %ld, float walk %ld, yields of a whole draw %ld "
                "(plotter plus conversion rounds); draw used precision %s\n\n",
                bench->plotSamples, bench->walkSamples, bench->drawYields,
                bench->samePrecision ? "1E-05 as the bare plot" : "OTHER than the bare plot");
}

void printSummary(const StopFigures &stops)
{
    const auto rate = [](const char *name) {
        return static_cast<double>(bench->plotSamples) / median(bench->seconds[name]);
    };
    const double full = rate("FullDraw");
    const double bare = rate("BarePlotNoYield");
    const double withYield = rate("BarePlotDrawYield");
    const double ratio = full / bare;
    const double cpuRatio =
        median(bench->seconds["BarePlotNoYield/cpu"]) / median(bench->seconds["FullDraw/cpu"]);
    const double unwind = median(stops.unwindMs);
    const double worst = maxOf(stops.unwindMs);
    std::printf("\n=== Summary (wall time, median of the iterations, %ld samples a draw) ===\n",
                bench->plotSamples);
    std::printf("  samples/s, full draw command        %14.0f\n", full);
    std::printf("  samples/s, bare plot, empty hook    %14.0f\n", bare);
    std::printf("  samples/s, bare plot, draw yield    %14.0f\n", withYield);
    std::printf("  full / bare                         %14.3f\n", ratio);
    std::printf("  full / bare by CPU time             %14.3f\n", cpuRatio);
    std::printf("goal, full draw at least 0.9 of the bare plot: %s\n",
                verdict(ratio >= 0.9, ratio));
    std::printf("stop, pressed %d ms into a draw at precision %s, %zu runs (%d over before the "
                "press)\n",
                StopAfterMs, qPrintable(StopPrecisionText), stops.unwindMs.size(), stops.missed);
    std::printf("  press until the draw returned, ms   median %8.3f   max %8.3f\n", unwind, worst);
    std::printf("  press due until handled, ms         median %8.3f   max %8.3f\n",
                median(stops.lateMs), maxOf(stops.lateMs));
    std::printf("goal, a draw ends within 50 ms of the stop press: %s\n",
                verdict(worst <= 50.0 && stops.missed == 0, worst));
    const double redrawMs = median(bench->seconds["RedrawTenCurves"]) * 1000;
    std::printf("redraw of 10 curves of 20 001 samples on 1000 x 1000, ms  median %8.3f\n",
                redrawMs);
    std::printf("  on one thread, ms                                     median %8.3f\n",
                median(bench->seconds["RedrawTenCurvesOneThread"]) * 1000);
    std::printf("goal, the redraw within one frame at 60 Hz (%.1f ms): %s\n", FrameMs,
                verdict(redrawMs <= FrameMs, redrawMs / FrameMs));
    std::printf("CPU: %s\n", lw::bench::CpuModel().c_str());
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

// --picture=N draws on an N x N picture, as the window tests do; the default is the window's.
int pictureArgument(int &argc, char **argv)
{
    int size = 0;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.starts_with("--picture="))
            size = std::atoi(argv[i] + 10);
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return size;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const int fixedSize = pictureArgument(argc, argv);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    DrawBench state;
    bench = &state;
    openWindow(fixedSize);
    countSamples();
    printPreflight();
    benchmark::RunSpecifiedBenchmarks();
    const StopFigures stops = measureStops();
    printSummary(stops);
    printDrag(measureDrag());
    printSlider(measureSlider());
    benchmark::Shutdown();

    state.window.reset();
    lw::SetSettingsStore(nullptr);
    lw::InstallMessageHook({});
    bench = nullptr;
    return 0;
}
