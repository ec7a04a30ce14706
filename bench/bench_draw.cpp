// SPDX-License-Identifier: GPL-3.0-or-later
// The draw command end to end against the bare plotter, and how soon "Stop" ends a draw.

#include "drawbench.h"
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

using namespace lw::drawbench;

namespace {

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

void RedrawTenCurves(benchmark::State &state)
{
    const bool alongside = state.range(0) != 0;
    const char *name = alongside ? "RedrawTenCurves" : "RedrawTenCurvesOneThread";
    lw::ImageSurface image(QSize(1000, 1000), 1.0, lw::PictureBackground());
    lw::RepeatFilter screen(image);
    lw::Picture picture = lw::BlankPicture(screen, 1000, 1000);
    const lw::GraphSettingsRecord settings;
    for (lw::CurveEntry &curve : tenCurves())
        lw::AddCurve(picture, std::move(curve));
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
    measureAndPrintDrag();
    measureAndPrintSlider();
    benchmark::Shutdown();

    state.window.reset();
    lw::SetSettingsStore(nullptr);
    lw::InstallMessageHook({});
    bench = nullptr;
    return 0;
}
