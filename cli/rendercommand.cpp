// SPDX-License-Identifier: GPL-3.0-or-later
// The render command: the files it is given read in, the equations drawn, the picture written.

#include "rendercommand.h"

#include "formula/equation.h"
#include "gph/gphcodec.h"
#include "gph/worksheet.h"
#include "graph/curvelist.h"
#include "graph/exportsurface.h"
#include "graph/family.h"
#include "graph/graphdraw.h"
#include "graph/plotgraph.h"
#include "renderoutput.h"
#include "settings/settingsfields.h"

#include <QCoreApplication>

#include <algorithm>
#include <iterator>
#include <optional>
#include <ostream>

namespace lw {

namespace {

// Settings under which the picture would show nothing, though exit 0 says every equation was
// drawn: a display range below 1, or a picture too small for a unit of it to span a pixel.
QString viewRefusal(const GraphSettingsRecord &settings, int size)
{
    if (settings.GraphScaleX < 1 || settings.GraphScaleY < 1)
        return QStringLiteral("Der Anzeigebereich muss mindestens 1 sein.");
    return PictureTooSmallReason(settings, QSize(size, size));
}

// The draw command refuses these too: x would never reach the end of its range.
QString precisionRefusal(const GraphSettingsRecord &settings)
{
    const SampleRange range = SampleRangeOf(settings);
    switch (CheckPrecision(settings.Precision, range)) {
    case PrecisionFault::None: break;
    case PrecisionFault::NotPositive:
        return QStringLiteral("Die Rechengenauigkeit muss größer als 0 sein.");
    case PrecisionFault::TooFine:
        return QStringLiteral("Die Rechengenauigkeit ist zu fein: x käme zwischen %1 und %2 nicht "
                              "voran.")
            .arg(range.lower)
            .arg(range.upper);
    }
    return {};
}

// The KZN formula the draw command would plot before the parameters are put in, or nullopt after
// telling why not.
std::optional<std::u16string> formulaOf(const std::u16string &equation,
                                        const RenderOptions &options, std::ostream &err)
{
    const EquationFormula typed =
        FormulaOfEquation(equation, options.kzn ? Notation::Kzn : Notation::Mathematical);
    if (typed.fault != EquationFault::None) {
        err << Utf8Text(typed.message) << '\n';
        return std::nullopt;
    }
    return typed.formula;
}

// The curves of one equation: itself, or one for each value of the family.
std::vector<CurveEntry> curvesOf(const std::u16string &equation, const std::u16string &kzn,
                                 const RenderOptions &options, const GraphSettingsRecord &settings)
{
    const CurveEntry curve{.typed = equation,
                           .notation = options.kzn ? Notation::Kzn : Notation::Mathematical,
                           .parameters = options.variables,
                           .formula = UpdateVariables(kzn, options.variables),
                           .kznFormula = kzn,
                           .colour = settings.LiveColor,
                           .precision = settings.Precision,
                           .linkPoints = settings.LinkPoints};
    if (!options.family)
        return {curve};
    return FamilyCurves(curve, options.family->row, options.family->valueTexts);
}

// False when the curve could not be drawn to its end.
bool drawCurve(const CurveEntry &curve, const GraphSettingsRecord &settings, Picture &picture,
               std::ostream &err)
{
    const PlotResult plotted = PlotGraph(curve.formula, picture.geometry,
                                         SettingsForEntry(curve, settings), *picture.surface);
    if (plotted.outcome == PlotOutcome::Failed) {
        err << plotted.message.toStdString() << '\n';
        return false;
    }
    AddCurve(picture, curve);
    return plotted.outcome == PlotOutcome::Completed;
}

void applySettingChanges(const RenderOptions &options, GraphSettingsRecord &settings)
{
    for (const QString &change : options.settingChanges) {
        const qsizetype equals = change.indexOf(u'=');
        SetSettingsField(settings, QStringView(change).left(equals), change.mid(equals + 1));
    }
}

void tellNotLoaded(const QString &file, const QString &reason, std::ostream &err)
{
    err << QStringLiteral("Die Datei %1 kann nicht geladen werden: %2")
               .arg(file, reason)
               .toStdString()
        << '\n';
}

// The settings and equations of a graph file, with every --set applied after the file's fields
// and the file's equation drawn first; false after naming the file and its first bad line.
bool applyGphFile(RenderOptions &options, std::ostream &err)
{
    const GphReadResult read = ReadGphFile(options.gphFile, QLocale());
    if (!read.ok()) {
        tellNotLoaded(options.gphFile, read.error.reason, err);
        return false;
    }
    GraphSettingsRecord settings;
    ApplyGphSettings(*read.content, settings);
    applySettingChanges(options, settings);
    options.settings = settings;
    options.equations.insert(options.equations.begin(), read.content->equation.toStdU16String());
    return true;
}

// The settings and visible curves of a worksheet, with every --set applied after its settings;
// its legend shows when it did in the sheet. False after naming the file and the fault.
bool applySheetFile(RenderOptions &options, std::vector<CurveEntry> &curves, std::ostream &err)
{
    const WorksheetReadResult read = ReadWorksheetFile(options.sheetFile);
    if (!read.ok()) {
        tellNotLoaded(options.sheetFile, read.error, err);
        return false;
    }
    options.settings = read.sheet->settings;
    applySettingChanges(options, options.settings);
    options.legend = options.legend || read.sheet->settings.Legend;
    std::ranges::copy_if(read.sheet->curves, std::back_inserter(curves), &CurveEntry::visible);
    return true;
}

// False when any curve could not be drawn to its end.
bool drawEquations(const RenderOptions &options, const std::vector<CurveEntry> &sheetCurves,
                   const GraphSettingsRecord &settings, Picture &picture, std::ostream &err)
{
    bool allDrawn = true;
    RedrawAxes(picture, settings);
    for (const CurveEntry &curve : sheetCurves)
        allDrawn = drawCurve(curve, settings, picture, err) && allDrawn;
    for (const std::u16string &equation : options.equations) {
        const std::optional<std::u16string> kzn = formulaOf(equation, options, err);
        if (!kzn) {
            allDrawn = false;
            continue;
        }
        if (settings.AlwaysDeleteGraph)
            ErasePicture(picture, settings);
        for (const CurveEntry &curve : curvesOf(equation, *kzn, options, settings))
            allDrawn = drawCurve(curve, settings, picture, err) && allDrawn;
    }
    DrawLegend(picture, settings);
    return allDrawn;
}

} // namespace

int RunRender(const CliCall &call)
{
    const ParsedRender parsed = ParseRenderArguments(call.operands);
    if (!parsed.wrongCall.isEmpty()) {
        call.err << parsed.wrongCall.toStdString() << '\n' << CliUsage();
        return CliWrongCall;
    }
    RenderOptions options = parsed.options;
    if (options.help) {
        call.out << CliHelp();
        return CliSuccess;
    }
    if (!options.gphFile.isEmpty() && !applyGphFile(options, call.err))
        return CliFailed;
    std::vector<CurveEntry> sheetCurves;
    if (!options.sheetFile.isEmpty() && !applySheetFile(options, sheetCurves, call.err))
        return CliFailed;

    QString refusal = viewRefusal(options.settings, options.size);
    if (refusal.isEmpty())
        refusal = precisionRefusal(options.settings);
    for (const CurveEntry &curve : sheetCurves) {
        if (refusal.isEmpty())
            refusal = precisionRefusal(SettingsForEntry(curve, options.settings));
    }
    if (!refusal.isEmpty()) {
        call.err << refusal.toStdString() << '\n';
        return CliRefused;
    }

    // Every picture file states one resolution, with a GUI application or without one.
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
    RenderOutput output(options, call.out);
    const auto side = static_cast<int16_t>(options.size);
    Picture picture = BlankPicture(*output.surface(), side, side);
    GraphSettingsRecord settings = options.settings;
    settings.Legend = options.legend;
    const bool allDrawn = drawEquations(options, sheetCurves, settings, picture, call.err);

    QString error;
    if (!output.write(picture, settings, &error)) {
        call.err << error.toStdString() << '\n';
        return CliFailed;
    }
    return allDrawn ? CliSuccess : CliFailed;
}

} // namespace lw
