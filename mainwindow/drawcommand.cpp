// SPDX-License-Identifier: GPL-3.0-or-later
// The draw command: what a press of cmdDraw does.

#include "drawcommand.h"
#include "frmmain.h"

#include "formula/equation.h"
#include "formula/eventhook.h"
#include "formula/numeric.h"
#include "graph/curvelist.h"
#include "graph/drawingsurface.h"
#include "graph/graphdraw.h"
#include "graph/imagesurface.h"
#include "graph/plotgraph.h"
#include "graph/repeatfilter.h"
#include "graph/viewsteps.h"
#include "settings/graphsettings.h"
#include "settings/settingsfields.h"
#include "variablespanel.h"
#include "widgets/messages.h"
#include "widgets/picturewidget.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>
#include <thread>

namespace lw {

DrawState TheDraw;

namespace {

constexpr qint64 YieldIntervalNs = 4'000'000;

} // namespace

void InstallDrawYield()
{
    InstallEventHook({[] {
                          static QElapsedTimer since;
                          static unsigned calls = 0;
                          // Reading the clock costs more than a sample; look every 64th.
                          if (since.isValid()
                              && (++calls % 64 != 0 || since.nsecsElapsed() < YieldIntervalNs))
                              return;
                          QCoreApplication::processEvents();
                          since.start();
                      },
                      [] {
                          return StopRequested();
                      }});
}

bool FrmMain::refuse(const QString &text, QLineEdit *field)
{
    report(text);
    field->setFocus();
    return false;
}

void FrmMain::report(const QString &text)
{
    enter(DrawPhase::Reporting);
    ShowError(text);
}

bool FrmMain::readQuickOptions(QuickOptions &options, const GraphSettingsRecord &settings)
{
    const auto centreX = centreRead(0);
    const auto centreY = centreRead(1);
    const QString centreField = QStringLiteral("Mittelpunkt:");
    if (!centreX)
        return refuse(EntryRefusal(centreField, QStringLiteral("eine Zahl")), txtScreenCentralX);
    if (!centreY)
        return refuse(EntryRefusal(centreField, QStringLiteral("eine Zahl")), txtScreenCentralY);
    GraphSettingsRecord placed = settings;
    if (!PlaceCentre(placed, {*centreX, *centreY}))
        return refuse(EntryRefusal(centreField, QStringLiteral("Zahlen zwischen -32768 und 32767")),
                      RoundToInt16(*centreX) ? txtScreenCentralY : txtScreenCentralX);
    options.centre = CentreOf(placed);
    const ViewCentre now = CentreOf(settings);
    options.centreChanged = options.centre.x != now.x || options.centre.y != now.y;

    const auto precision = ReadFloatTextLenient(txtPrecision->text());
    const QString precisionField = QStringLiteral("Genauigkeit:");
    if (!precision)
        return refuse(EntryRefusal(precisionField, QStringLiteral("eine Zahl")), txtPrecision);
    switch (CheckPrecision(*precision, SampleRangeOf(placed))) {
    case PrecisionFault::None: break;
    case PrecisionFault::NotPositive:
        return refuse(EntryRefusal(precisionField, QStringLiteral("eine Zahl größer als 0")),
                      txtPrecision);
    case PrecisionFault::TooFine: return refuse(TooFineRefusal(precisionField), txtPrecision);
    }
    options.precision = *precision;
    return true;
}

void FrmMain::enter(DrawPhase phase)
{
    TheDraw.phase = phase;
    cmdDraw->setText(DrawInProgress() ? QStringLiteral("Stop") : QStringLiteral("Zeichnen"));
}

void FrmMain::cmdDraw_Click()
{
    DrawOn(ScreenPicture(), GraphSettings);
}

void FrmMain::DrawOn(Picture &picture, GraphSettingsRecord &settings)
{
    switch (TheDraw.phase) {
    case DrawPhase::Converting:
    case DrawPhase::Plotting:
        // The press is a stop request; the running draw sees it at its next check.
        enter(DrawPhase::Stopping);
        return;
    case DrawPhase::Stopping:
    case DrawPhase::Reporting:
        if (TheDraw.then == AfterDraw::Nothing)
            TheDraw.then = AfterDraw::DrawAgain; // starts once this draw has returned
        return;
    case DrawPhase::Idle: break;
    }
    runDraw(picture, settings);
    endDraw();
}

void FrmMain::endDraw()
{
    enter(DrawPhase::Idle);
    // A redraw changes no list, but it may have marked a curve failed.
    if (ListShown() != m_listAnnounced)
        CurvesChanged();
    const AfterDraw then = std::exchange(TheDraw.then, AfterDraw::Nothing);
    if (then == AfterDraw::Close)
        QTimer::singleShot(0, this, &QWidget::close);
    else if (then == AfterDraw::DrawAgain)
        QTimer::singleShot(0, cmdDraw, &QPushButton::click);
    else if (std::exchange(m_redrawWanted, false))
        RequestRedraw();
}

void FrmMain::RequestRedraw()
{
    ++m_viewsAsked;
    if (std::exchange(m_redrawScheduled, true))
        return;
    QTimer::singleShot(0, this, &FrmMain::redrawCurves);
}

void FrmMain::redrawCurves()
{
    m_redrawScheduled = false;
    if (TheDraw.phase != DrawPhase::Idle) {
        m_redrawWanted = true;
        // A redraw for a view that is gone gives way to the one for the latest view while most
        // of it is still ahead; further along it finishes and is shown moved, if the latest view
        // is a move of it. Were every redraw stopped, a drag faster than a redraw would show none.
        if (m_redrawing && DrawInProgress() && m_redrawClock.elapsed() * 2 < m_lastRedrawMs) {
            m_superseded = true;
            TheDraw.phase = DrawPhase::Stopping;
        }
        return;
    }
    m_redrawing = true;
    m_superseded = false;
    enter(DrawPhase::Plotting);
    m_redrawClock.start();
    if (redrawBehind())
        m_lastRedrawMs = m_redrawClock.elapsed();
    m_redrawing = false;
    endDraw();
}

namespace {
// What a redraw draws: the curves and whether they show.
std::vector<std::pair<uint64_t, bool>> curvesShown(const std::vector<CurveEntry> &curves)
{
    std::vector<std::pair<uint64_t, bool>> shown;
    shown.reserve(curves.size());
    for (const CurveEntry &entry : curves)
        shown.emplace_back(entry.id, entry.visible);
    return shown;
}
} // namespace

bool FrmMain::redrawBehind()
{
    ImageSurface &screen = picGraph->surface();
    if (!m_backImage || m_backImage->size() != screen.size()) {
        m_backImage = std::make_unique<ImageSurface>(
            screen.size(), screen.image().devicePixelRatio(), PictureBackground());
        m_backSteps = std::make_unique<RepeatFilter>(*m_backImage);
    }
    // The view as it is now: a move meanwhile changes the screen, not this picture.
    const unsigned asked = m_viewsAsked;
    const GraphSettingsRecord view = GraphSettings;
    Picture back = BlankPicture(*m_backSteps, static_cast<int16_t>(screen.size().width()),
                                static_cast<int16_t>(screen.size().height()));
    back.marks = ScreenPicture().marks;
    std::vector<CurveEntry> &curves = ScreenPicture().curves;
    const auto drawn = curvesShown(curves);
    // The curves on every core: a drag asks for a new view at each frame.
    const int helpers = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const bool whole = RedrawPictureAlongside(back, curves, view, helpers,
                                              [] { QCoreApplication::processEvents(); });
    // Stopped by Esc, what was drawn stays, as in any draw; a list changed meanwhile (erased,
    // a curve hidden) is drawn again or not at all.
    if ((!whole && m_superseded) || curvesShown(curves) != drawn)
        return whole;
    Picture &shown = ScreenPicture();
    const auto shift = ViewShift(view, back.geometry, GraphSettings, shown.geometry);
    if (!shift)
        return whole; // another size or scale by now: its redraw follows
    screen.showShifted(*m_backImage, {shift->first, shift->second});
    shown.blank = false;
    for (const PointMark &mark : shown.marks) // marked meanwhile
        if (std::ranges::find(back.marks, mark) == back.marks.end())
            DrawMark(shown, mark, GraphSettings);
    // Moved, it shows every curve of the view asked for when it began, and of every later
    // view all but the strip the move uncovered.
    if (whole)
        m_viewsShownWhole = asked;
    return whole;
}

bool FrmMain::PictureUpToDate() const
{
    return TheDraw.phase == DrawPhase::Idle && !m_redrawScheduled && !m_redrawWanted;
}

void FrmMain::runDraw(Picture &picture, GraphSettingsRecord &settings)
{
    const std::u16string typed = txtTerm->text().toStdU16String();
    if (IsEmptyEquation(typed)) {
        enter(DrawPhase::Reporting);
        ShowEmptyEquationMessage();
        return;
    }
    QuickOptions options;
    if (!readQuickOptions(options, settings))
        return;
    enter(DrawPhase::Converting);
    const std::optional<std::u16string> kzn = formulaToDraw(typed);
    if (!kzn)
        return;
    const VariableValues parameters = picVariables->values();
    const std::u16string formula = lw::UpdateVariables(*kzn, parameters);

    QCoreApplication::processEvents(); // the one yield before plotting
    if (StopRequested())
        return;
    // The quick options may have changed during the yields.
    if (!readQuickOptions(options, settings))
        return;
    if (!applyQuickOptions(options, picture, settings))
        return;
    uint64_t cleared = 0;
    if (settings.AlwaysDeleteGraph || picture.blank)
        cleared = ChangeCurves(picture, [&] { ErasePicture(picture, settings); });
    const PlotResult plotted = PlotGraph(formula, picture.geometry, settings, *picture.surface);
    if (plotted.outcome == PlotOutcome::Failed) {
        report(plotted.message);
        return;
    }
    QStringList notes;
    if (plotted.outcome == PlotOutcome::Completed && !plotted.anyVisible)
        notes << QStringLiteral("Die Kurve hat im sichtbaren Bereich keine Punkte.");
    notes << ParameterNote(*kzn, parameters);
    notes.removeAll(QString());
    sbrMain->showMessage(notes.join(u' ')); // an empty text clears the notes of the draw before
    const CurveEntry drawn{.typed = typed,
                           .notation = notationChosen(),
                           .parameters = parameters,
                           .formula = formula,
                           .kznFormula = *kzn,
                           .colour = settings.LiveColor,
                           .precision = settings.Precision,
                           .linkPoints = settings.LinkPoints,
                           .stopped = plotted.outcome == PlotOutcome::Stopped};
    // With "Immer löschen" one undo brings back the curves the draw cleared away.
    const auto add = [&] { AddCurve(picture, drawn); };
    ChangeCurves(picture, add, cleared);
    DrawLegend(picture, settings);
}

Notation FrmMain::notationChosen() const
{
    return optTermFormat[0]->isChecked() ? Notation::Mathematical : Notation::Kzn;
}

std::optional<std::u16string> FrmMain::formulaToDraw(const std::u16string &typed)
{
    const Notation notation = notationChosen();
    const EquationFormula equation = FormulaOfEquation(typed, notation);
    // Only the conversion yields, and a stop pressed during it ends the draw without a word.
    if (StopRequested())
        return std::nullopt;
    enter(DrawPhase::Plotting);
    if (equation.fault != EquationFault::None) {
        if (equation.fault == EquationFault::Empty) { // "y =" and nothing after it
            enter(DrawPhase::Reporting);
            ShowEmptyEquationMessage();
        } else {
            report(QString::fromStdU16String(equation.message));
        }
        return std::nullopt;
    }
    if (notation == Notation::Mathematical && chkAutoConvert->isChecked()) {
        txtTerm->setText(QString::fromStdU16String(equation.formula));
        optTermFormat[1]->setChecked(true);
        optTermFormat_Click(1);
    }
    return equation.formula;
}

bool FrmMain::applyQuickOptions(const QuickOptions &options, Picture &picture,
                                GraphSettingsRecord &settings) const
{
    settings.Precision = options.precision;
    settings.LinkPoints = chkLinkPoints->isChecked();
    settings.AlwaysDeleteGraph = chkAlwaysDelete->isChecked();
    if (!options.centreChanged)
        return true;
    PlaceCentre(settings, options.centre);
    // The curves drawn so far move with the view, unless they are about to be erased anyway;
    // a stop among them ends the draw.
    if (!settings.AlwaysDeleteGraph)
        return RedrawPicture(picture, settings);
    RedrawAxes(picture, settings);
    return true;
}

} // namespace lw
