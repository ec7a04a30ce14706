// SPDX-License-Identifier: GPL-3.0-or-later

#include "frmvaluetable.h"

#include "formula/numbertext.h"
#include "frmmain.h"
#include "gph/cdlload.h"
#include "gph/savefile.h"
#include "graph/plotgraph.h"
#include "settings/graphsettings.h"
#include "settings/settingsfields.h"
#include "widgets/messages.h"
#include "widgets/named.h"

#include <QCheckBox>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

namespace lw {

namespace {

constexpr int HelpTopic = 18;
// More rows than a pupil reads; the command line's table goes further.
constexpr std::size_t MaxShownRows = 10'000;

// Decimal commas whatever the system's format: the program's numbers are German, and so are the
// spreadsheets its tables go into.
QString number(double value)
{
    return QString::fromStdU16String(FixedDecimalText(value, 4, u','));
}

QString cell(const std::optional<double> &value)
{
    return value ? number(*value) : QStringLiteral("-");
}

} // namespace

FrmValueTable::FrmValueTable(FrmMain &main, const CurveEntry &curve)
    : QWidget(&main, Qt::Window), m_main(main)
{
    named(this, QStringLiteral("frmValueTable"), HelpTopic);
    setWindowTitle(QStringLiteral("Wertetabelle"));
    lblFunction = named(new QLabel(this), QStringLiteral("lblFunction"), HelpTopic);
    txtFrom = named(new QLineEdit(this), QStringLiteral("txtFrom"), HelpTopic);
    txtTo = named(new QLineEdit(this), QStringLiteral("txtTo"), HelpTopic);
    txtStep = named(new QLineEdit(this), QStringLiteral("txtStep"), HelpTopic);
    chkSlope = named(new QCheckBox(QStringLiteral("f'(x) anzeigen"), this),
                     QStringLiteral("chkSlope"), HelpTopic);
    tblValues = named(new QTableWidget(this), QStringLiteral("tblValues"), HelpTopic);
    tblValues->verticalHeader()->hide();
    tblValues->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lblNote = named(new QLabel(this), QStringLiteral("lblNote"), HelpTopic);
    cmdCopy = named(new QPushButton(QStringLiteral("Kopieren"), this), QStringLiteral("cmdCopy"),
                    HelpTopic);
    cmdSave = named(new QPushButton(QStringLiteral("Speichern unter..."), this),
                    QStringLiteral("cmdSave"), HelpTopic);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Von:"), txtFrom);
    form->addRow(QStringLiteral("Bis:"), txtTo);
    form->addRow(QStringLiteral("Schrittweite:"), txtStep);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(chkSlope);
    buttons->addStretch();
    buttons->addWidget(cmdCopy);
    buttons->addWidget(cmdSave);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblFunction);
    layout->addLayout(form);
    layout->addWidget(tblValues);
    layout->addWidget(lblNote);
    layout->addLayout(buttons);
    resize(360, 460);

    for (QLineEdit *field : {txtFrom, txtTo, txtStep})
        connect(field, &QLineEdit::editingFinished, this, &FrmValueTable::fill);
    connect(chkSlope, &QCheckBox::toggled, this, &FrmValueTable::fill);
    connect(cmdCopy, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(tableText(u'\t')); });
    connect(cmdSave, &QPushButton::clicked, this, &FrmValueTable::save);
    setCurve(curve);
}

// A field that has the focus finishes its editing while the window's children are deleted,
// after the curve this window holds is gone.
FrmValueTable::~FrmValueTable()
{
    for (QLineEdit *field : {txtFrom, txtTo, txtStep})
        disconnect(field, nullptr, this, nullptr);
}

FrmValueTable &FrmValueTable::open(FrmMain &main, const CurveEntry &curve)
{
    auto *window = main.findChild<FrmValueTable *>(QString(), Qt::FindDirectChildrenOnly);
    if (!window)
        window = new FrmValueTable(main, curve);
    else
        window->setCurve(curve);
    return ShowInFront(window);
}

void FrmValueTable::setCurve(const CurveEntry &curve)
{
    if (!m_prepared || m_prepared->formula() != curve.formula)
        m_prepared = std::make_unique<const PreparedFormula>(curve.formula);
    m_curve = curve;
    lblFunction->setText(QStringLiteral("f(x) = ") + QString::fromStdU16String(curve.typed));
    // What the picture shows, in the steps of its numbers.
    const SampleRange range = SampleRangeOf(GraphSettings);
    const int each = GraphSettings.PutNumberEachX > 0 ? GraphSettings.PutNumberEachX : 1;
    txtFrom->setText(DecimalText(range.lower, 4));
    txtTo->setText(DecimalText(range.upper, 4));
    txtStep->setText(DecimalText(each, 4));
    fill();
}

void FrmValueTable::fill()
{
    m_rows.clear();
    const auto from = ReadNumberTextLenient(txtFrom->text());
    const auto to = ReadNumberTextLenient(txtTo->text());
    const auto step = ReadNumberTextLenient(txtStep->text());
    const auto count = from && to && step ? TableRowCount(*from, *to, *step) : std::nullopt;
    if (!count)
        lblNote->setText(QStringLiteral("Bitte Zahlen eingeben: Von höchstens Bis, eine "
                                        "Schrittweite größer als 0."));
    else if (*count > MaxShownRows)
        lblNote->setText(QStringLiteral("Höchstens %1 Zeilen: Bitte eine größere Schrittweite "
                                        "wählen.")
                             .arg(MaxShownRows));
    else
        lblNote->clear();
    if (count && *count <= MaxShownRows)
        m_rows = ValueTable(*m_prepared, *from, *to, *step, chkSlope->isChecked());
    const bool slope = chkSlope->isChecked();
    tblValues->setColumnCount(slope ? 3 : 2);
    tblValues->setHorizontalHeaderLabels(
        {QStringLiteral("x"), QStringLiteral("f(x)"), QStringLiteral("f'(x)")});
    tblValues->setRowCount(static_cast<int>(m_rows.size()));
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const int row = static_cast<int>(i);
        tblValues->setItem(row, 0, new QTableWidgetItem(number(m_rows[i].x)));
        tblValues->setItem(row, 1, new QTableWidgetItem(cell(m_rows[i].y)));
        if (slope)
            tblValues->setItem(row, 2, new QTableWidgetItem(cell(m_rows[i].slope)));
    }
    cmdCopy->setEnabled(!m_rows.empty());
    cmdSave->setEnabled(!m_rows.empty());
}

QString FrmValueTable::tableText(QChar separator) const
{
    const bool slope = chkSlope->isChecked();
    QString text = QStringLiteral("x%1f(x)").arg(separator);
    if (slope)
        text += separator + QStringLiteral("f'(x)");
    text += u'\n';
    for (const TableRow &row : m_rows) {
        text += number(row.x) + separator + cell(row.y);
        if (slope)
            text += separator + cell(row.slope);
        text += u'\n';
    }
    return text;
}

void FrmValueTable::save()
{
    const std::optional<FileDialogChoice> choice = AskFileName(
        this, {FileDialogRequest::Mode::Save,
               QStringLiteral("Wertetabelle speichern"),
               DialogStartFolder(QCoreApplication::applicationDirPath()),
               QStringLiteral("wertetabelle.csv"),
               {QStringLiteral("CSV-Dateien (*.csv)"), QStringLiteral("Alle Dateien (*)")},
               {}});
    if (!choice)
        return;
    QString fileName = choice->path;
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QStringLiteral(".csv");
    if (!MayReplace(fileName, {}))
        return;
    RememberDialogFolder(fileName);
    // A semicolon between the columns, as spreadsheets with decimal commas read them.
    QString reason;
    if (!SaveFileAtomically(fileName, tableText(u';').toUtf8(), &reason))
        ShowError(QStringLiteral("Die Datei %1 konnte nicht gespeichert werden.\n%2")
                      .arg(QDir::toNativeSeparators(fileName), reason));
}

} // namespace lw
