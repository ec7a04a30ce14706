// The draw command: what a press of cmdDraw does.

#include "drawcommand.h"
#include "frmmain.h"

#include "formula/equation.h"
#include "formula/eventhook.h"
#include "formula/numeric.h"
#include "graph/drawingsurface.h"
#include "graph/graphdraw.h"
#include "graph/plotgraph.h"
#include "settings/graphsettings.h"
#include "settings/settingsfields.h"
#include "widgets/messages.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace lw {

bool DrawInProgress = false;
bool StopRequested = false;

namespace {

constexpr qint64 YieldIntervalNs = 4'000'000;

bool refuse(const QString &text, QLineEdit *field)
{
    ShowError(text);
    field->setFocus();
    return false;
}

// Keeps count of the draws on the stack, also while a stopped one unwinds.
class DrawScope {
public:
    explicit DrawScope(int &depth) : m_depth(depth) { ++m_depth; }
    ~DrawScope() { --m_depth; }
    DrawScope(const DrawScope &) = delete;
    DrawScope &operator=(const DrawScope &) = delete;

private:
    int &m_depth;
};

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
                          return StopRequested;
                      }});
}

bool FrmMain::readQuickOptions(QuickOptions &options) const
{
    const auto centreX = ReadFloatTextLenient(txtScreenCentralX->text());
    const auto centreY = ReadFloatTextLenient(txtScreenCentralY->text());
    const QString centreField = QStringLiteral("Mittelpunkt:");
    if (!centreX)
        return refuse(EntryRefusal(centreField, QStringLiteral("eine Zahl")), txtScreenCentralX);
    if (!centreY)
        return refuse(EntryRefusal(centreField, QStringLiteral("eine Zahl")), txtScreenCentralY);
    const auto roundedX = RoundToInt16(*centreX);
    const auto roundedY = RoundToInt16(*centreY);
    if (!roundedX || !roundedY)
        return refuse(EntryRefusal(centreField, QStringLiteral("Zahlen zwischen -32768 und 32767")),
                      roundedX ? txtScreenCentralY : txtScreenCentralX);
    options.centreX = *roundedX;
    options.centreY = *roundedY;
    options.centreChanged =
        *centreX != GraphSettings.ScreenCentralX || *centreY != GraphSettings.ScreenCentralY;

    const auto precision = ReadFloatTextLenient(txtPrecision->text());
    const QString precisionField = QStringLiteral("Genauigkeit:");
    if (!precision)
        return refuse(EntryRefusal(precisionField, QStringLiteral("eine Zahl")), txtPrecision);
    switch (CheckPrecision(*precision, SampleRangeOf(options.centreX, GraphSettings.GraphScaleX))) {
    case PrecisionFault::None: break;
    case PrecisionFault::NotPositive:
        return refuse(EntryRefusal(precisionField, QStringLiteral("eine Zahl größer als 0")),
                      txtPrecision);
    case PrecisionFault::TooFine: return refuse(TooFineRefusal(precisionField), txtPrecision);
    }
    options.precision = *precision;
    return true;
}

void FrmMain::setDrawing(bool drawing)
{
    cmdDraw->setText(drawing ? QStringLiteral("Stop") : QStringLiteral("Zeichnen"));
    DrawInProgress = drawing;
}

void FrmMain::cmdDraw_Click()
{
    if (DrawInProgress) {
        // The press is a stop request; the running draw sees it at its next check.
        StopRequested = true;
        setDrawing(false);
        return;
    }
    if (m_drawDepth > 0) {
        m_drawAgain = true; // starts once the stopped draw has unwound
        return;
    }
    {
        DrawScope scope(m_drawDepth);
        runDraw();
    }
    endDraw();
}

void FrmMain::runDraw()
{
    const std::u16string typed = txtTerm->text().toStdU16String();
    if (IsEmptyEquation(typed)) {
        ShowEmptyEquationMessage();
        return;
    }
    QuickOptions options;
    if (!readQuickOptions(options))
        return;
    setDrawing(true);

    const Notation notation =
        optTermFormat[0]->isChecked() ? Notation::Mathematical : Notation::Kzn;
    const EquationFormula equation = FormulaOfEquation(typed, notation);
    // Only the conversion yields, and a stop pressed during it ends the draw without a word.
    if (notation == Notation::Mathematical && StopRequested) {
        StopRequested = false;
        return;
    }
    if (equation.fault != EquationFault::None) {
        setDrawing(false);
        if (equation.fault == EquationFault::Empty) // "y =" and nothing after it
            ShowEmptyEquationMessage();
        else
            ShowError(QString::fromStdU16String(equation.message));
        return;
    }
    if (notation == Notation::Mathematical && chkAutoConvert->isChecked()) {
        txtTerm->setText(QString::fromStdU16String(equation.formula));
        optTermFormat[1]->setChecked(true);
        optTermFormat_Click(1);
    }
    const std::u16string formula = UpdateVariables(equation.formula);

    QCoreApplication::processEvents(); // the one yield before plotting
    if (StopRequested) {
        StopRequested = false;
        return;
    }
    // The quick options may have changed during the yields.
    if (!readQuickOptions(options)) {
        setDrawing(false);
        return;
    }
    if (options.centreChanged) {
        GraphSettings.ScreenCentralX = options.centreX;
        GraphSettings.ScreenCentralY = options.centreY;
        DrawCoordinateSystem();
    }
    GraphSettings.Precision = options.precision;
    GraphSettings.LinkPoints = chkLinkPoints->isChecked();
    GraphSettings.AlwaysDeleteGraph = chkAlwaysDelete->isChecked();
    if (GraphSettings.AlwaysDeleteGraph)
        DrawCoordinateSystem();
    if (PrintMode)
        DrawCoordinateSystem();
    const PlotResult plotted = PlotGraph(formula);
    if (plotted.outcome == PlotOutcome::Failed)
        ShowError(plotted.message);
    setDrawing(false);
    StopRequested = false;
}

void FrmMain::endDraw()
{
    if (m_drawDepth > 0)
        return;
    if (m_closePending) {
        m_closePending = false;
        QTimer::singleShot(0, this, &QWidget::close);
    } else if (m_drawAgain) {
        m_drawAgain = false;
        QTimer::singleShot(0, cmdDraw, &QPushButton::click);
    }
}

} // namespace lw
