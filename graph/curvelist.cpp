// SPDX-License-Identifier: GPL-3.0-or-later

#include "curvelist.h"

#include "formula/eventhook.h"
#include "pixelfont.h"
#include "plotgraph.h"
#include "repeatfilter.h"

#include <QString>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace lw {

GraphSettingsRecord SettingsForEntry(const CurveEntry &entry, const GraphSettingsRecord &settings)
{
    GraphSettingsRecord drawn = settings;
    drawn.LiveColor = entry.colour;
    drawn.Precision = entry.precision;
    drawn.LinkPoints = entry.linkPoints;
    return drawn;
}

GraphSettingsRecord PaperSettings(const GraphSettingsRecord &settings)
{
    GraphSettingsRecord paper = settings;
    paper.GraphNumberColor = 0;
    return paper;
}

void ErasePicture(Picture &picture, const GraphSettingsRecord &settings)
{
    picture.curves.clear();
    picture.marks.clear();
    RedrawAxes(picture, settings);
}

uint64_t NewCurveId()
{
    static uint64_t lastId = 0;
    return ++lastId;
}

void AddCurve(Picture &picture, CurveEntry entry)
{
    entry.id = NewCurveId();
    picture.curves.push_back(std::move(entry));
}

void RemoveCurve(Picture &picture, uint64_t id)
{
    std::erase_if(picture.curves, [id](const CurveEntry &entry) { return entry.id == id; });
    std::erase_if(picture.marks, [id](const PointMark &mark) { return mark.curve == id; });
}

void DrawLegend(Picture &picture, const GraphSettingsRecord &settings)
{
    DrawLegend(picture, picture.curves, settings);
}

void DrawLegend(Picture &picture, const std::vector<CurveEntry> &curves,
                const GraphSettingsRecord &settings)
{
    if (!settings.Legend)
        return;
    constexpr int Margin = 4;
    constexpr int LineHeight = PixelFontHeight + 3;
    int row = 0;
    for (const CurveEntry &entry : curves) {
        if (!entry.visible)
            continue;
        picture.surface->setTextPosition(Margin, Margin + row++ * LineHeight);
        picture.surface->setTextColour(entry.colour);
        picture.surface->text(
            QString::fromStdU16String(entry.legend.empty() ? entry.typed : entry.legend));
    }
}

void DrawMark(Picture &picture, const PointMark &mark, const GraphSettingsRecord &settings)
{
    const PlotGeometry &g = picture.geometry;
    const double column = g.CentralPixelX + (mark.x - settings.ScreenCentralX) * g.PixelsPerUnitX;
    const double row = g.CentralPixelY - (mark.y - settings.ScreenCentralY) * g.PixelsPerUnitY;
    // Far outside, nothing of it shows, and its pixels would not fit the surface's numbers.
    if (!(std::fabs(column) < 30000 && std::fabs(row) < 30000))
        return;
    const int cx = static_cast<int>(std::lround(column));
    const int cy = static_cast<int>(std::lround(row));
    // A circle of radius 3 as an octagon: every surface draws lines.
    constexpr std::array<std::pair<int, int>, 9> Ring{
        {{3, 0}, {2, 2}, {0, 3}, {-2, 2}, {-3, 0}, {-2, -2}, {0, -3}, {2, -2}, {3, 0}}};
    DrawingSurface &surface = *picture.surface;
    for (std::size_t i = 0; i + 1 < Ring.size(); ++i)
        surface.line(cx + Ring[i].first, cy + Ring[i].second, cx + Ring[i + 1].first,
                     cy + Ring[i + 1].second, mark.colour);
    surface.setTextPosition(cx + 5, cy - PixelFontHeight - 4);
    surface.setTextColour(mark.colour);
    surface.text(QString::fromStdU16String(mark.label));
}

namespace {

void drawMarks(Picture &picture, const std::vector<CurveEntry> &curves,
               const GraphSettingsRecord &settings)
{
    for (const PointMark &mark : picture.marks) {
        const auto curve = std::ranges::find(curves, mark.curve, &CurveEntry::id);
        if (curve != curves.end() && curve->visible)
            DrawMark(picture, mark, settings);
    }
}

} // namespace

bool RedrawPicture(Picture &picture, const GraphSettingsRecord &settings)
{
    return RedrawPicture(picture, picture.curves, settings);
}

bool RedrawPicture(Picture &picture, std::vector<CurveEntry> &curves,
                   const GraphSettingsRecord &settings)
{
    RedrawAxes(picture, settings);
    // By index and by copy: during the plotter's yields the list may be erased, lose its last
    // entry or gain one.
    for (std::size_t i = 0; i < curves.size(); ++i) {
        const CurveEntry entry = curves[i];
        if (!entry.visible)
            continue;
        const PlotResult plotted = PlotGraph(entry.formula, picture.geometry,
                                             SettingsForEntry(entry, settings), *picture.surface);
        if (plotted.outcome == PlotOutcome::Stopped)
            return false;
        if (plotted.outcome != PlotOutcome::Failed)
            continue;
        const auto same = std::ranges::find(curves, entry.id, &CurveEntry::id);
        if (same != curves.end())
            same->failed = true;
    }
    drawMarks(picture, curves, settings);
    DrawLegend(picture, curves, settings);
    return true;
}

namespace {

// A curve's steps as a helper thread plots them, for the picture's thread to draw in order.
class StepRecord final : public DrawingSurface {
public:
    void clear() override {}
    void line(int x1, int y1, int x2, int y2, Colour colour) override
    {
        m_steps.push_back({x1, y1, x2, y2, colour, true});
    }
    void point(int x, int y, Colour colour) override
    {
        m_steps.push_back({x, y, x, y, colour, false});
    }
    void text(const QString &) override {}

    void drawOn(DrawingSurface &target) const
    {
        for (const Step &s : m_steps) {
            if (s.line)
                target.line(s.x1, s.y1, s.x2, s.y2, s.colour);
            else
                target.point(s.x1, s.y1, s.colour);
        }
    }

private:
    struct Step {
        int x1, y1, x2, y2;
        Colour colour;
        bool line;
    };
    std::vector<Step> m_steps;
};

struct CurveJob {
    CurveEntry entry;
    StepRecord steps;
    PlotResult result;
    bool done = false;
};

// Helper threads that plot the curves in turn, each into its own record.
class CurvePlotters {
public:
    CurvePlotters(std::vector<CurveJob> &jobs, const PlotGeometry &geometry,
                  const GraphSettingsRecord &settings, int helpers)
        : m_jobs(jobs), m_geometry(geometry), m_settings(settings)
    {
        for (int i = 0; i < std::max(helpers, 1); ++i)
            m_threads.emplace_back([this] { plotCurves(); });
    }
    ~CurvePlotters() { stop(); }

    // Waits for the job, calling `meanwhile` every few milliseconds, also while every job is
    // ready (the helpers may be far ahead, and Esc must still stop); false after a stop.
    bool waitFor(const CurveJob &job, const std::function<void()> &meanwhile)
    {
        for (;;) {
            std::unique_lock lock(m_mutex);
            const bool done =
                m_plotted.wait_for(lock, std::chrono::milliseconds(2), [&] { return job.done; });
            lock.unlock();
            if (done && std::chrono::steady_clock::now() - m_lastYield < YieldInterval)
                return true;
            meanwhile();
            m_lastYield = std::chrono::steady_clock::now();
            if (IsStopRequested())
                stop();
            if (m_stop)
                return false;
            if (done)
                return true;
        }
    }
    // Ends the plots under way where they are and begins none.
    void stop()
    {
        m_stop = true;
        m_threads.clear(); // joins
    }

private:
    void plotCurves()
    {
        InstallEventHook({{}, [this] {
                              return m_stop.load(std::memory_order_relaxed);
                          }});
        for (std::size_t i; !m_stop && (i = m_next++) < m_jobs.size();) {
            CurveJob &job = m_jobs[i];
            // Repeats left out here are repeats the picture's own filter would leave out.
            RepeatFilter filter(job.steps);
            PlotResult result = PlotGraph(job.entry.formula, m_geometry,
                                          SettingsForEntry(job.entry, m_settings), filter);
            const std::lock_guard lock(m_mutex);
            job.result = std::move(result);
            job.done = true;
            m_plotted.notify_one();
        }
    }

    std::vector<CurveJob> &m_jobs;
    const PlotGeometry m_geometry;
    const GraphSettingsRecord m_settings;
    std::mutex m_mutex;
    std::condition_variable m_plotted;
    std::atomic<std::size_t> m_next = 0;
    std::atomic<bool> m_stop = false;
    static constexpr std::chrono::milliseconds YieldInterval{8};
    std::chrono::steady_clock::time_point m_lastYield = std::chrono::steady_clock::now();
    std::vector<std::jthread> m_threads; // last: joined before the rest goes
};

} // namespace

bool RedrawPictureAlongside(Picture &picture, std::vector<CurveEntry> &curves,
                            const GraphSettingsRecord &settings, int helpers,
                            const std::function<void()> &meanwhile)
{
    std::vector<CurveJob> jobs;
    for (const CurveEntry &entry : curves)
        if (entry.visible)
            jobs.emplace_back().entry = entry;
    const PlotGeometry geometry =
        ComputeGeometry(settings, picture.geometry.GraphWidth, picture.geometry.GraphHeight);
    CurvePlotters plotters(jobs, geometry, settings, helpers);
    // The axes while the first curves are plotted.
    RedrawAxes(picture, settings);
    for (CurveJob &job : jobs) {
        if (!plotters.waitFor(job, meanwhile))
            return false; // never begun
        job.steps.drawOn(*picture.surface);
        if (job.result.outcome == PlotOutcome::Stopped)
            return false;
        if (job.result.outcome != PlotOutcome::Failed)
            continue;
        const auto same = std::ranges::find(curves, job.entry.id, &CurveEntry::id);
        if (same != curves.end())
            same->failed = true;
    }
    drawMarks(picture, curves, settings);
    DrawLegend(picture, curves, settings);
    return true;
}

QString CurveName(const CurveEntry &entry)
{
    QString text = QString::fromStdU16String(entry.typed);
    if (!entry.legend.empty())
        text += QStringLiteral(" (%1)").arg(QString::fromStdU16String(entry.legend));
    return text;
}

} // namespace lw
