#include "curvelist.h"

#include "pixelfont.h"
#include "plotgraph.h"

#include <QString>

#include <algorithm>

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
    RedrawAxes(picture, settings);
}

void AddCurve(Picture &picture, CurveEntry entry)
{
    static uint64_t lastId = 0;
    entry.id = ++lastId;
    picture.curves.push_back(std::move(entry));
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
        picture.surface->text(QString::fromStdU16String(entry.typed));
    }
}

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
    DrawLegend(picture, curves, settings);
    return true;
}

} // namespace lw
