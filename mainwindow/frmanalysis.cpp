// SPDX-License-Identifier: GPL-3.0-or-later

#include "frmanalysis.h"

#include "analysis/analysis.h"
#include "formula/numbertext.h"
#include "frmmain.h"
#include "frmvaluetable.h"
#include "graph/curvelist.h"
#include "graph/graphdraw.h"
#include "settings/colour.h"
#include "settings/graphsettings.h"
#include "widgets/named.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace lw {

namespace {

constexpr int HelpTopic = 17;
constexpr int AnalyseAfterMs = 150;
// f' and f'' drawn in colours of their own, so they are told apart from f at a glance.
constexpr Colour FirstDerivativeColour = 0x008000;  // green
constexpr Colour SecondDerivativeColour = 0x800080; // purple

QString text(std::u16string_view value)
{
    return QString::fromUtf16(value.data(), static_cast<qsizetype>(value.size()));
}

QString derivativeText(const std::optional<DerivedFormula> &derived)
{
    return derived ? text(derived->mathematical) : QStringLiteral("(keine)");
}

} // namespace

FrmAnalysis::FrmAnalysis(FrmMain &main) : QWidget(&main, Qt::Window), m_main(main)
{
    named(this, QStringLiteral("frmAnalysis"), HelpTopic);
    setWindowTitle(QStringLiteral("Kurvendiskussion"));
    cboCurve = named(new QComboBox(this), QStringLiteral("cboCurve"), HelpTopic);
    cboOther = named(new QComboBox(this), QStringLiteral("cboOther"), HelpTopic);
    lblFirst = named(new QLabel(this), QStringLiteral("lblFirst"), HelpTopic);
    lblSecond = named(new QLabel(this), QStringLiteral("lblSecond"), HelpTopic);
    lblRange = named(new QLabel(this), QStringLiteral("lblRange"), HelpTopic);
    lblRange->setWordWrap(true);
    for (QLabel *label : {lblFirst, lblSecond})
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    tblPoints = named(new QTableWidget(0, 2, this), QStringLiteral("tblPoints"), HelpTopic);
    tblPoints->setHorizontalHeaderLabels({QStringLiteral("Art"), QStringLiteral("Punkt")});
    tblPoints->horizontalHeader()->setStretchLastSection(true);
    tblPoints->verticalHeader()->hide();
    tblPoints->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblPoints->setSelectionBehavior(QAbstractItemView::SelectRows);
    chkSecond = named(new QCheckBox(QStringLiteral("auch f''"), this), QStringLiteral("chkSecond"),
                      HelpTopic);
    cmdDrawDerivative = named(new QPushButton(QStringLiteral("Ableitung zeichnen"), this),
                              QStringLiteral("cmdDrawDerivative"), HelpTopic);
    cmdValueTable = named(new QPushButton(QStringLiteral("Wertetabelle..."), this),
                          QStringLiteral("cmdValueTable"), HelpTopic);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("f(x) ="), cboCurve);
    form->addRow(QStringLiteral("f'(x) ="), lblFirst);
    form->addRow(QStringLiteral("f''(x) ="), lblSecond);
    form->addRow(QStringLiteral("Schnittpunkte mit"), cboOther);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdDrawDerivative);
    buttons->addWidget(chkSecond);
    buttons->addStretch();
    buttons->addWidget(cmdValueTable);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(lblRange);
    layout->addWidget(tblPoints);
    layout->addLayout(buttons);
    resize(420, 420);

    m_analyseLater = new QTimer(this);
    m_analyseLater->setSingleShot(true);
    m_analyseLater->setInterval(AnalyseAfterMs);
    connect(m_analyseLater, &QTimer::timeout, this, &FrmAnalysis::analyse);
    connect(cboCurve, &QComboBox::activated, this, &FrmAnalysis::analyse);
    connect(cboOther, &QComboBox::activated, this, &FrmAnalysis::analyse);
    connect(tblPoints, &QTableWidget::cellClicked, this, [this](int row, int) { markRow(row); });
    tblPoints->installEventFilter(this); // Return and Space mark the row the arrows chose
    connect(cmdDrawDerivative, &QPushButton::clicked, this, &FrmAnalysis::drawDerivative);
    connect(cmdValueTable, &QPushButton::clicked, this, [this] {
        if (const CurveEntry *entry = chosen(cboCurve))
            FrmValueTable::open(m_main, *entry);
    });
}

FrmAnalysis &FrmAnalysis::open(FrmMain &main)
{
    auto *window = main.findChild<FrmAnalysis *>(QString(), Qt::FindDirectChildrenOnly);
    if (!window)
        window = new FrmAnalysis(main);
    return ShowInFront(window);
}

const CurveEntry *FrmAnalysis::chosen(const QComboBox *box) const
{
    const auto id = box->currentData().toULongLong();
    const auto &curves = ScreenPicture().curves;
    const auto found = std::ranges::find(curves, id, &CurveEntry::id);
    return found == curves.end() || id == 0 ? nullptr : &*found;
}

void FrmAnalysis::refresh()
{
    const auto keep = [](QComboBox *box, uint64_t fallback) {
        const auto current = box->currentData().toULongLong();
        return current ? current : fallback;
    };
    const auto &curves = ScreenPicture().curves;
    const uint64_t newest = curves.empty() ? 0 : curves.back().id;
    uint64_t curve = isVisible() && cboCurve->count() ? keep(cboCurve, newest) : newest;
    // A curve whose parameters a slider changes takes a new id; the newest then stands in its
    // place.
    if (std::ranges::find(curves, curve, &CurveEntry::id) == curves.end())
        curve = newest;
    const uint64_t other = keep(cboOther, 0);
    cboCurve->clear();
    cboOther->clear();
    cboOther->addItem(QStringLiteral("(keiner Kurve)"), QVariant::fromValue<qulonglong>(0));
    for (const CurveEntry &entry : curves) {
        const QString typed = text(entry.typed);
        cboCurve->addItem(typed, QVariant::fromValue<qulonglong>(entry.id));
        cboOther->addItem(typed, QVariant::fromValue<qulonglong>(entry.id));
        for (QComboBox *box : {cboCurve, cboOther})
            box->setItemData(box->count() - 1, ToQColor(entry.colour), Qt::DecorationRole);
    }
    cboCurve->setCurrentIndex(
        std::max(0, cboCurve->findData(QVariant::fromValue<qulonglong>(curve))));
    cboOther->setCurrentIndex(
        std::max(0, cboOther->findData(QVariant::fromValue<qulonglong>(other))));
    // A redraw for a new view or size changes no curve: the points found stay.
    const Analysed now{chosenId(cboCurve), chosenId(cboOther), GraphSettings.CalcFrom,
                       GraphSettings.CalcTo};
    if (now == m_analysed)
        return;
    // At first, or with no curve left, at once; a curve changed while shown when the moves pause.
    if (m_analysed.curve == ~uint64_t(0) || now.curve == 0 || !isVisible())
        analyse();
    else
        m_analyseLater->start();
}

void FrmAnalysis::showEvent(QShowEvent *event)
{
    refresh();
    if (m_analyseLater->isActive()) {
        m_analyseLater->stop();
        analyse();
    }
    QWidget::showEvent(event);
}

uint64_t FrmAnalysis::chosenId(const QComboBox *box) const
{
    const CurveEntry *entry = chosen(box);
    return entry ? entry->id : 0;
}

void FrmAnalysis::analyse()
{
    m_analyseLater->stop();
    m_analysed = {chosenId(cboCurve), chosenId(cboOther), GraphSettings.CalcFrom,
                  GraphSettings.CalcTo};
    m_points.clear();
    const CurveEntry *entry = chosen(cboCurve);
    const double from = GraphSettings.CalcFrom;
    const double to = GraphSettings.CalcTo;
    lblRange->setText(
        QStringLiteral("Rechenbereich: %1 bis %2")
            .arg(text(FixedDecimalText(from, 4, u',')), text(FixedDecimalText(to, 4, u','))));
    m_curve = entry ? entry->id : 0;
    lblFirst->setText(entry ? QString() : QStringLiteral("(keine Kurve gezeichnet)"));
    lblSecond->clear();
    cmdDrawDerivative->setEnabled(entry != nullptr);
    cmdValueTable->setEnabled(entry != nullptr);
    if (entry && from < to) {
        const auto prepared = m_prepared.of(entry->formula);
        const FormulaAnalysis analysis = AnalyseFormula(*prepared, from, to);
        lblFirst->setText(derivativeText(analysis.first));
        lblSecond->setText(derivativeText(analysis.second));
        cmdDrawDerivative->setEnabled(analysis.first.has_value());
        m_points = analysis.points;
        if (!analysis.note.empty())
            lblRange->setText(lblRange->text() + u'\n' + text(analysis.note));
        if (const CurveEntry *other = chosen(cboOther); other && other != entry)
            for (const CurvePoint &point :
                 IntersectFormulas(*prepared, *m_prepared.of(other->formula), from, to))
                m_points.push_back(point);
    } else if (entry) {
        lblRange->setText(
            QStringLiteral("Der Rechenbereich ist leer: Bitte in den Schaubild-Einstellungen einen "
                           "Anfang kleiner als das Ende eingeben."));
    }
    // By kind, and from left to right within a kind.
    std::ranges::stable_sort(m_points, {}, &CurvePoint::kind);
    showPoints();
}

void FrmAnalysis::showPoints()
{
    tblPoints->setRowCount(static_cast<int>(m_points.size()));
    for (std::size_t i = 0; i < m_points.size(); ++i) {
        const int row = static_cast<int>(i);
        tblPoints->setItem(row, 0, new QTableWidgetItem(text(PointKindName(m_points[i].kind))));
        tblPoints->setItem(row, 1, new QTableWidgetItem(text(PointText(m_points[i]))));
    }
}

void FrmAnalysis::markRow(int row)
{
    const CurveEntry *entry = chosen(cboCurve);
    if (!entry || entry->id != m_curve || row < 0 || row >= int(m_points.size()))
        return;
    const CurvePoint &point = m_points[static_cast<std::size_t>(row)];
    // A pole or gap has no y: its mark sits on the x-axis.
    const bool onAxis = point.kind == PointKind::Pole || point.kind == PointKind::Gap;
    const PointMark mark{.curve = entry->id,
                         .x = point.x,
                         .y = onAxis ? 0.0 : point.y,
                         .colour = entry->colour,
                         .label = PointText(point)};
    Picture &screen = ScreenPicture();
    if (std::ranges::find(screen.marks, mark) != screen.marks.end())
        return;
    screen.marks.push_back(mark);
    DrawMark(screen, mark, GraphSettings);
}

bool FrmAnalysis::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == tblPoints && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)
            && tblPoints->currentRow() >= 0) {
            markRow(tblPoints->currentRow());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FrmAnalysis::drawDerivative()
{
    const CurveEntry *entry = chosen(cboCurve);
    if (!entry)
        return;
    const CurveEntry base = *entry; // the list grows below
    std::optional<DerivedFormula> first = DeriveFormula(base.formula);
    std::optional<DerivedFormula> second =
        first && chkSecond->isChecked() ? DeriveFormula(first->kzn) : std::nullopt;
    const CurveListState before = ListStateOf(ScreenPicture());
    for (const auto &[derived, colour] :
         {std::pair{first, FirstDerivativeColour}, std::pair{second, SecondDerivativeColour}}) {
        if (!derived)
            continue;
        AddCurve(ScreenPicture(), {.typed = derived->mathematical,
                                   .formula = derived->kzn,
                                   .colour = colour,
                                   .precision = base.precision,
                                   .linkPoints = base.linkPoints});
    }
    m_main.History().record(before, ScreenPicture());
    m_main.CurvesChanged();
    m_main.RequestRedraw();
}

} // namespace lw
