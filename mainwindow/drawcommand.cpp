// The draw command: what a press of cmdDraw does.

#include "drawcommand.h"
#include "frmmain.h"

#include "formula/evaluator.h"
#include "formula/normalise.h"
#include "formula/numeric.h"
#include "formula/texthelpers.h"
#include "graph/drawingsurface.h"
#include "graph/graphdraw.h"
#include "graph/plotgraph.h"
#include "settings/graphsettings.h"
#include "settings/settingsfields.h"
#include "widgets/messages.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace lw {

struct QuickOptions {
    int16_t centreX = 0;
    int16_t centreY = 0;
    bool centreChanged = false;
    float precision = 0;
};

namespace {

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
    if (!(*precision > 0))
        return refuse(EntryRefusal(precisionField, QStringLiteral("eine Zahl größer als 0")),
                      txtPrecision);
    const float half = static_cast<float>(GraphSettings.GraphScaleX) / 2;
    if (!WalkAdvances(options.centreX - half, options.centreX + half, *precision))
        return refuse(TooFineRefusal(precisionField), txtPrecision);
    options.precision = *precision;
    return true;
}

void FrmMain::cmdDraw_Click()
{
    if (DrawInProgress) {
        // The press is a stop request; the running draw sees it at its next check.
        StopRequested = true;
        cmdDraw->setText(QStringLiteral("Draw"));
        DrawInProgress = false;
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
    const auto typed = RemoveSpaces(txtTerm->text().toStdU16String());
    if (typed && typed->empty()) {
        ShowEmptyEquationMessage();
        return;
    }
    QuickOptions options;
    if (!readQuickOptions(options))
        return;
    cmdDraw->setText(QStringLiteral("Stop"));
    DrawInProgress = true;

    const auto refuseFormula = [this](const std::u16string &text) {
        cmdDraw->setText(QStringLiteral("Draw"));
        DrawInProgress = false;
        ShowError(QString::fromStdU16String(text));
    };
    std::u16string formula;
    bool converted = false;
    if (optTermFormat[0]->isChecked()) {
        ConvertResult result =
            typed ? NormaliseMathTerm(*typed) : ConvertResult{{}, ConvertStatus::Failed};
        if (StopRequested) {
            StopRequested = false;
            return;
        }
        if (result.status != ConvertStatus::Converted) {
            refuseFormula(ConversionFailedMessage());
            return;
        }
        formula = std::move(result.formula);
        converted = true;
    } else if (typed) {
        formula = *typed;
    } else {
        // Longer than any formula text may be, as the evaluator would say of it.
        refuseFormula(FormulaErrorMessage(FormulaError::Overflow));
        return;
    }
    if (converted && chkAutoConvert->isChecked()) {
        txtTerm->setText(QString::fromStdU16String(formula));
        optTermFormat[1]->setChecked(true);
        optTermFormat_Click(1);
    }
    formula = UpdateVariables(formula);

    QCoreApplication::processEvents(); // the one yield before plotting
    if (StopRequested) {
        StopRequested = false;
        return;
    }
    // The quick options may have changed during the yields.
    if (!readQuickOptions(options)) {
        cmdDraw->setText(QStringLiteral("Draw"));
        DrawInProgress = false;
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
    cmdDraw->setText(QStringLiteral("Draw"));
    DrawInProgress = false;
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
