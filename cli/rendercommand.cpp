// SPDX-License-Identifier: GPL-3.0-or-later

#include "rendercommand.h"

#include "formula/equation.h"
#include "gph/gphcodec.h"
#include "gph/worksheet.h"
#include "graph/curvelist.h"
#include "graph/drawingsurface.h"
#include "graph/exportsurface.h"
#include "graph/family.h"
#include "graph/graphdraw.h"
#include "graph/imagesurface.h"
#include "graph/plotgraph.h"
#include "graph/recordingsurface.h"
#include "graph/repeatfilter.h"
#include "graph/surfaceoperation.h"
#include "graph/teesurface.h"
#include "settings/settingsfields.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <algorithm>
#include <array>
#include <iterator>
#include <memory>
#include <optional>
#include <ostream>

namespace lw {

namespace {

constexpr int MaxPictureSize = 10000;

struct RenderOption {
    std::u16string_view name;
    bool takesValue;
    // False with a German reason when the value does not fit.
    bool (*apply)(RenderOptions &options, const QString &value, QString *reason);
};

bool applySize(RenderOptions &options, const QString &value, QString *reason)
{
    bool ok = false;
    const int size = value.toInt(&ok);
    if (!ok || size < 1 || size > MaxPictureSize) {
        *reason =
            QStringLiteral("Ungültige Bildgröße: %1 (1 bis %2)").arg(value).arg(MaxPictureSize);
        return false;
    }
    options.size = size;
    return true;
}

bool applyKzn(RenderOptions &options, const QString &, QString *)
{
    options.kzn = true;
    return true;
}

bool applyVariable(RenderOptions &options, const QString &value, QString *reason)
{
    return ApplyVariableOption(options.variables, value, *reason);
}

bool applySetting(RenderOptions &options, const QString &value, QString *reason)
{
    const qsizetype equals = value.indexOf(u'=');
    if (equals <= 0) {
        *reason = QStringLiteral("--set braucht FELD=WERT, nicht: %1").arg(value);
        return false;
    }
    const QStringView name = QStringView(value).left(equals);
    const QString text = value.mid(equals + 1);
    if (!FindSettingsField(name)) {
        *reason = QStringLiteral("Unbekannte Einstellung: %1 (bekannt sind: %2)")
                      .arg(name, QString::fromStdString(SettingNamesText()));
        return false;
    }
    if (!SetSettingsField(options.settings, name, text)) {
        *reason = QStringLiteral("Ungültiger Wert für %1: %2").arg(name, text);
        return false;
    }
    options.settingChanges.push_back(value);
    return true;
}

// The file is read only when the render runs: a bad file is a failure, not a wrong call.
bool applyGph(RenderOptions &options, const QString &value, QString *)
{
    options.gphFile = value;
    return true;
}

bool applySheet(RenderOptions &options, const QString &value, QString *)
{
    options.sheetFile = value;
    return true;
}

// L=FROM:TO:STEP with "." or "," in the numbers.
bool applyFamily(RenderOptions &options, const QString &value, QString *reason)
{
    if (options.family) {
        *reason = QStringLiteral("--family darf nur einmal angegeben werden: %1").arg(value);
        return false;
    }
    const QStringList numbers = value.mid(2).split(u':');
    std::array<double, 3> read{};
    bool readable = value.size() > 2 && value[0] >= u'a' && value[0] <= u'h' && value[1] == u'='
                    && numbers.size() == 3;
    for (qsizetype i = 0; readable && i < 3; ++i) {
        const std::optional<double> number = ReadNumberTextLenient(numbers[i], QLocale::c());
        readable = number.has_value();
        read[static_cast<std::size_t>(i)] = number.value_or(0);
    }
    if (!readable) {
        *reason =
            QStringLiteral("Ungültige Schar: %1 (L=VON:BIS:SCHRITT, L von a bis h)").arg(value);
        return false;
    }
    const FamilyValues family = FamilyMembers({read[0], read[1], read[2]});
    if (family.fault == FamilyFault::TooMany)
        *reason = QStringLiteral("Die Schar %1 hätte mehr als %2 Kurven.")
                      .arg(value)
                      .arg(MaxFamilyCurves);
    else if (family.fault == FamilyFault::NoCurve)
        *reason = QStringLiteral("Die Schar %1 hat keine Kurve: Der Schritt darf nicht 0 sein und "
                                 "muss von VON nach BIS führen.")
                      .arg(value);
    if (family.fault != FamilyFault::None)
        return false;
    options.family = RenderFamily{.row = value[0].unicode() - u'a', .valueTexts = family.texts};
    return true;
}

bool applyOutput(RenderOptions &options, const QString &value, QString *reason)
{
    if (!PictureFormatOf(value)) {
        *reason = QStringLiteral("Unbekanntes Bildformat: %1 (PNG, SVG oder PDF)").arg(value);
        return false;
    }
    options.outputFile = value;
    return true;
}

bool applyTrace(RenderOptions &options, const QString &, QString *)
{
    options.trace = true;
    return true;
}

bool applyLegend(RenderOptions &options, const QString &, QString *)
{
    options.legend = true;
    return true;
}

bool applyHelp(RenderOptions &options, const QString &, QString *)
{
    options.help = true;
    return true;
}

constexpr std::array RenderOptionTable{
    RenderOption{.name = u"--size", .takesValue = true, .apply = applySize},
    RenderOption{.name = u"--kzn", .takesValue = false, .apply = applyKzn},
    RenderOption{.name = u"--var", .takesValue = true, .apply = applyVariable},
    RenderOption{.name = u"--set", .takesValue = true, .apply = applySetting},
    RenderOption{.name = u"--gph", .takesValue = true, .apply = applyGph},
    RenderOption{.name = u"--sheet", .takesValue = true, .apply = applySheet},
    RenderOption{.name = u"--family", .takesValue = true, .apply = applyFamily},
    RenderOption{.name = u"-o", .takesValue = true, .apply = applyOutput},
    RenderOption{.name = u"--trace", .takesValue = false, .apply = applyTrace},
    RenderOption{.name = u"--legend", .takesValue = false, .apply = applyLegend},
    RenderOption{.name = u"--help", .takesValue = false, .apply = applyHelp},
};

const RenderOption *findOption(std::u16string_view name)
{
    for (const RenderOption &option : RenderOptionTable) {
        if (option.name == name)
            return &option;
    }
    return nullptr;
}

QString argumentQString(std::u16string_view argument)
{
    return QString::fromUtf16(argument.data(), static_cast<qsizetype>(argument.size()));
}

// Text in a real font needs a GUI application. Only the vector files write any, so the trace and
// the PNG start without one, which is faster.
std::unique_ptr<QGuiApplication> applicationForFonts()
{
    if (QCoreApplication::instance())
        return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The application keeps both for its lifetime.
    static int argc = 1;
    static char name[] = "linienwerk-cli";
    static char *argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

// Where a render goes: the trace on standard output and a PNG, both painted as the curves are
// drawn. SVG and PDF draw the picture's curves anew once all are drawn, at the exact positions
// of their samples, as the window's vector files do.
class RenderOutput {
public:
    RenderOutput(const RenderOptions &options, std::ostream &out)
        : m_fileName(options.outputFile), m_format(PictureFormatOf(m_fileName)),
          m_size(options.size, options.size)
    {
        if (options.trace) {
            m_trace.setListener([this, &out](const SurfaceOperation &operation) {
                out << operation.toString().toStdString() << '\n';
                m_trace.forget();
            });
            addOutput(&m_trace);
        }
        if (m_format == PictureFormat::Png) {
            m_image = std::make_unique<ImageSurface>(m_size, 1.0, PictureBackground());
            m_filter = std::make_unique<RepeatFilter>(*m_image);
            addOutput(m_filter.get());
        }
    }
    RenderOutput(const RenderOutput &) = delete;
    RenderOutput &operator=(const RenderOutput &) = delete;

    // One output alone is drawn on directly: a fine walk draws millions of samples.
    DrawingSurface *surface() { return m_outputs == 1 ? m_only : &m_tee; }

    bool write(const Picture &picture, const GraphSettingsRecord &settings, QString *error)
    {
        bool written = true;
        if (m_image) {
            written = SavePng(m_image->image(), m_fileName);
        } else if (m_format) {
            const std::unique_ptr<QGuiApplication> application = applicationForFonts();
            written = SaveCurves(picture.curves, settings, m_size, PictureBackground(), m_fileName,
                                 *m_format)
                      == SaveOutcome::Saved;
        }
        if (!written)
            *error = NotWrittenReason(m_fileName);
        return written;
    }

private:
    void addOutput(DrawingSurface *output)
    {
        m_tee.add(output);
        m_only = output;
        ++m_outputs;
    }

    QString m_fileName;
    std::optional<PictureFormat> m_format;
    QSize m_size;
    TeeSurface m_tee;
    DrawingSurface *m_only = nullptr;
    int m_outputs = 0;
    RecordingSurface m_trace;
    std::unique_ptr<ImageSurface> m_image;
    std::unique_ptr<RepeatFilter> m_filter;
};

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

std::string SettingNamesText()
{
    std::string names;
    for (const SettingsField &field : SettingsFields)
        names.append(names.empty() ? "" : ", ").append(field.name);
    return names;
}

ParsedRender ParseRenderArguments(const std::vector<std::u16string> &arguments)
{
    ParsedRender parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::u16string &argument = arguments[i];
        if (optionsEnded || !argument.starts_with(u'-')) {
            parsed.options.equations.push_back(argument);
            continue;
        }
        if (argument == u"--") {
            optionsEnded = true;
            continue;
        }
        const RenderOption *option = findOption(argument);
        if (!option) {
            parsed.wrongCall =
                QStringLiteral("Unbekannte Option: %1").arg(argumentQString(argument));
            return parsed;
        }
        QString value;
        if (option->takesValue) {
            if (++i == arguments.size()) {
                parsed.wrongCall = QStringLiteral("Die Option %1 braucht einen Wert.")
                                       .arg(argumentQString(argument));
                return parsed;
            }
            value = argumentQString(arguments[i]);
        }
        if (!option->apply(parsed.options, value, &parsed.wrongCall))
            return parsed;
    }
    const RenderOptions &options = parsed.options;
    if (options.help)
        return parsed;
    if (!options.gphFile.isEmpty() && !options.sheetFile.isEmpty())
        parsed.wrongCall = QStringLiteral("--gph und --sheet schließen einander aus.");
    else if (options.equations.empty() && options.gphFile.isEmpty() && options.sheetFile.isEmpty())
        parsed.wrongCall = QStringLiteral("Keine GLEICHUNG angegeben.");
    return parsed;
}

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
