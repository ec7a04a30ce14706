// SPDX-License-Identifier: GPL-3.0-or-later

#include "frmgraphoptions.h"

#include "graph/graphdraw.h"
#include "graph/plotgraph.h"
#include "settings/colour.h"
#include "settings/options.h"
#include "settings/settingsfields.h"
#include "widgets/colourchooser.h"
#include "widgets/messages.h"
#include "widgets/named.h"
#include "widgets/uiresources.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include <type_traits>
#include <vector>

namespace lw {

namespace {

// Room for "-32768" and a float of a few digits.
int fieldWidth(const QFontMetrics &metrics)
{
    return metrics.horizontalAdvance(QStringLiteral("-0000,000")) + 12;
}

// One text field as OK reads it.
struct Entry {
    QLineEdit *field;
    const QLabel *caption;
    const SettingsField &setting;
};

// The controls of the rows, each with its row's caption: row by row, left before right, and a
// control spanning both columns once.
std::vector<std::pair<QWidget *, const QLabel *>> rowControls(const QGridLayout &rows, int rowCount)
{
    std::vector<std::pair<QWidget *, const QLabel *>> controls;
    for (int row = 0; row < rowCount; ++row) {
        const auto *caption = qobject_cast<const QLabel *>(rows.itemAtPosition(row, 0)->widget());
        for (int column = 1; column <= 2; ++column) {
            const QLayoutItem *item = rows.itemAtPosition(row, column);
            if (item && item->widget()
                && (controls.empty() || item->widget() != controls.back().first))
                controls.emplace_back(item->widget(), caption);
        }
    }
    return controls;
}

// The text fields in the order of the rows; each is named "txt" and the name of its setting.
std::vector<Entry> entriesOf(const QGridLayout &rows, int rowCount)
{
    std::vector<Entry> entries;
    for (const auto &[control, caption] : rowControls(rows, rowCount)) {
        if (auto *field = qobject_cast<QLineEdit *>(control))
            entries.push_back({field, caption, *FindSettingsField(field->objectName().mid(3))});
    }
    return entries;
}

QString refusal(const Entry &entry, bool readable)
{
    const bool integer = entry.setting.kind == FieldKind::Int16;
    QString wanted;
    if (integer && entry.setting.positive)
        wanted = readable ? QStringLiteral("eine ganze Zahl größer als 0")
                          : QStringLiteral("eine ganze Zahl zwischen 1 und 32767");
    else if (integer)
        wanted = QStringLiteral("eine ganze Zahl zwischen -32768 und 32767");
    else
        wanted = readable ? QStringLiteral("eine Zahl größer als 0") : QStringLiteral("eine Zahl");
    return EntryRefusal(entry.caption->text(), wanted);
}

void refuse(const QString &text, QLineEdit *field)
{
    ShowError(text);
    field->setFocus();
    field->selectAll();
}

} // namespace

FrmGraphOptions::FrmGraphOptions(QWidget *parent, std::function<void()> quickOptionsUpdate)
    : QDialog(parent), m_quickOptionsUpdate(std::move(quickOptionsUpdate))
{
    setFont(DesignFont());
    setObjectName(QStringLiteral("frmGraphOptions"));
    setWindowTitle(QStringLiteral("Schaubild-Einstellungen"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    m_rows = new QGridLayout;
    layout->addLayout(m_rows);
    createNumberRows();
    createSwitchAndColourRows();
    createButtons(layout);
    arrangeFocusOrder();
    txtPrecision->setFocus();
    setFixedSize(sizeHint());
}

QLineEdit *FrmGraphOptions::numberField(const char *setting, int width)
{
    auto *field = named(new QLineEdit(this), QStringLiteral("txt") + QLatin1String(setting));
    field->setFixedWidth(width);
    return field;
}

QLabel *FrmGraphOptions::addRow(const char *caption, const char *labelName, int topic,
                                QWidget *left, QWidget *right, Qt::Alignment alignment)
{
    const int row = m_rowCount++;
    auto *label =
        named(new QLabel(QString::fromUtf8(caption), this), QString::fromLatin1(labelName), topic);
    m_rows->addWidget(label, row, 0);
    left->setProperty("helpTopic", topic);
    // A screen reader names a control by its caption; two fields of a row by the axis they hold.
    label->setBuddy(left);
    if (right) {
        const QString name = QString::fromUtf8(caption).chopped(1);
        left->setAccessibleName(name + QStringLiteral(" x"));
        right->setAccessibleName(name + QStringLiteral(" y"));
    }
    if (right) {
        m_rows->addWidget(left, row, 1, alignment);
        right->setProperty("helpTopic", topic);
        m_rows->addWidget(right, row, 2, alignment);
    } else {
        m_rows->addWidget(left, row, 1, 1, 2, alignment);
    }
    return label;
}

void FrmGraphOptions::createNumberRows()
{
    const int width = fieldWidth(fontMetrics());
    txtPrecision = numberField("Precision", width + width / 3);
    lblPrecision = addRow("Rechengenauigkeit:", "lblPrecision", 8, txtPrecision);
    txtScreenCentralX = numberField("ScreenCentralX", width);
    txtScreenCentralY = numberField("ScreenCentralY", width);
    lblScreenCentral = addRow("Mittelpunkt des Graphen:", "lblScreenCentral", 9, txtScreenCentralX,
                              txtScreenCentralY);
    txtOriginX = numberField("OriginX", width);
    txtOriginY = numberField("OriginY", width);
    lblOrigin = addRow("Ursprung:", "lblOrigin", 26, txtOriginX, txtOriginY);
    txtPutMarkEachX = numberField("PutMarkEachX", width);
    txtPutMarkEachY = numberField("PutMarkEachY", width);
    lblPutMarkEach =
        addRow("Abstand der Marken:", "lblPutMarkEach", 27, txtPutMarkEachX, txtPutMarkEachY);
    txtPutNumberEachX = numberField("PutNumberEachX", width);
    txtPutNumberEachY = numberField("PutNumberEachY", width);
    lblPutNumberEach =
        addRow("Abstand der Zahlen:", "lblPutNumberEach", 28, txtPutNumberEachX, txtPutNumberEachY);
    txtCalcFrom = numberField("CalcFrom", width);
    txtCalcTo = numberField("CalcTo", width);
    lblCalc = addRow("Rechenbereich:", "lblCalc", 29, txtCalcFrom, txtCalcTo);
    txtCalcFrom->setAccessibleName(QStringLiteral("Rechenbereich von"));
    txtCalcTo->setAccessibleName(QStringLiteral("Rechenbereich bis"));
    txtGraphScaleX = numberField("GraphScaleX", width);
    txtGraphScaleY = numberField("GraphScaleY", width);
    lblGraphScale = addRow("Anzeigebereich:", "lblGraphScale", 30, txtGraphScaleX, txtGraphScaleY);
}

void FrmGraphOptions::createSwitchAndColourRows()
{
    chkLinkPoints = named(new QCheckBox(this), QStringLiteral("chkLinkPoints"));
    lblLinkPoints = addRow("Punkte verbinden:", "lblLinkPoints", 10, chkLinkPoints);
    chkAlwaysDelete = named(new QCheckBox(this), QStringLiteral("chkAlwaysDelete"));
    lblAlwaysDelete = addRow("Graph immer löschen:", "lblAlwaysDelete", 11, chkAlwaysDelete);
    chkLegend = named(new QCheckBox(this), QStringLiteral("chkLegend"));
    lblLegend = addRow("Legende:", "lblLegend", 37, chkLegend);

    const char *captions[] = {"Achsenfarbe:", "Beschriftungsfarbe:", "Schaubildfarbe:"};
    const char *labelNames[] = {"lblColours_0", "lblColours_1", "lblColours_2"};
    const int height = txtPrecision->sizeHint().height() - 4;
    for (int i = 0; i < 3; ++i) {
        QFrame *box = named(new QFrame(this), QStringLiteral("picColours_%1").arg(i));
        box->setFrameStyle(QFrame::Box | QFrame::Plain);
        box->setAutoFillBackground(true);
        box->setFixedHeight(height);
        box->setFocusPolicy(Qt::StrongFocus);
        box->installEventFilter(this);
        picColours[i] = box;
        lblColours[i] = addRow(captions[i], labelNames[i], 31 + i, box, nullptr, {});
    }
}

void FrmGraphOptions::createButtons(QBoxLayout *layout)
{
    auto *grid = new QGridLayout;
    auto button = [&](const char *text, const QString &name, int topic, int row, int column) {
        auto *push = named(new QPushButton(QString::fromUtf8(text), this), name, topic);
        grid->addWidget(push, row, column);
        return push;
    };
    cmdSave = button("Speichern", QStringLiteral("cmdSave"), 34, 0, 0);
    cmdStandard = button("Standard", QStringLiteral("cmdStandard"), 35, 0, 1);
    cmdOK = button("OK", QStringLiteral("cmdOK"), 36, 1, 0);
    cmdCancel = button("Abbrechen", QStringLiteral("cmdCancel"), 0, 1, 1);
    cmdOK->setDefault(true);
    connect(cmdSave, &QPushButton::clicked, this, &FrmGraphOptions::cmdSave_Click);
    connect(cmdStandard, &QPushButton::clicked, this, &FrmGraphOptions::cmdStandard_Click);
    connect(cmdOK, &QPushButton::clicked, this, &FrmGraphOptions::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &FrmGraphOptions::cmdCancel_Click);
    layout->addSpacing(6);
    layout->addLayout(grid);
}

void FrmGraphOptions::arrangeFocusOrder()
{
    // From the first field down to the buttons, as the eye reads the dialog.
    std::vector<QWidget *> order;
    for (const auto &[control, caption] : rowControls(*m_rows, m_rowCount))
        order.push_back(control);
    order.insert(order.end(), {cmdSave, cmdStandard, cmdOK, cmdCancel});
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void FrmGraphOptions::fillControls(const GraphSettingsRecord &record)
{
    for (const Entry &entry : entriesOf(*m_rows, m_rowCount))
        entry.field->setText(FieldText(record, entry.setting));
    chkLinkPoints->setChecked(record.LinkPoints);
    chkAlwaysDelete->setChecked(record.AlwaysDeleteGraph);
    chkLegend->setChecked(record.Legend);
    setColour(0, record.GraphColor);
    setColour(1, record.GraphNumberColor);
    setColour(2, record.LiveColor);
}

void FrmGraphOptions::Form_Load()
{
    fillControls(GraphSettings);
}

void FrmGraphOptions::cmdStandard_Click()
{
    // The record's own defaults are the ones LoadOptions falls back on.
    fillControls(GraphSettingsRecord{});
}

std::optional<GraphSettingsRecord> FrmGraphOptions::readEntries()
{
    GraphSettingsRecord record;
    for (const Entry &entry : entriesOf(*m_rows, m_rowCount)) {
        // The dialog reads numbers in the user's format, as the settings store holds them.
        const FieldRead read = ReadFieldText(record, entry.setting, entry.field->text());
        if (read != FieldRead::Stored) {
            refuse(refusal(entry, read == FieldRead::NotPositive), entry.field);
            return std::nullopt;
        }
    }
    // The same walk the plotter takes, over the range these entries would show.
    const SampleRange range = SampleRangeOf(record.ScreenCentralX, record.GraphScaleX);
    if (!WalkAdvances(range.lower, range.upper, record.Precision)) {
        refuse(TooFineRefusal(lblPrecision->text()), txtPrecision);
        return std::nullopt;
    }
    // The fields hold the whole centre; one left as it was keeps what a zoom or drag added.
    if (record.ScreenCentralX == GraphSettings.ScreenCentralX)
        record.CentreFractionX = GraphSettings.CentreFractionX;
    if (record.ScreenCentralY == GraphSettings.ScreenCentralY)
        record.CentreFractionY = GraphSettings.CentreFractionY;
    record.LinkPoints = chkLinkPoints->isChecked();
    record.AlwaysDeleteGraph = chkAlwaysDelete->isChecked();
    record.Legend = chkLegend->isChecked();
    record.GraphColor = colourOf(0);
    record.GraphNumberColor = colourOf(1);
    record.LiveColor = colourOf(2);
    return record;
}

void FrmGraphOptions::cmdOK_Click()
{
    const std::optional<GraphSettingsRecord> entries = readEntries();
    if (!entries)
        return;
    // All or nothing: a refused entry above has left every field as it was.
    GraphSettings = *entries;
    accept();
    RedrawAxes(ScreenPicture(), GraphSettings);
    if (m_quickOptionsUpdate)
        m_quickOptionsUpdate();
}

void FrmGraphOptions::cmdCancel_Click()
{
    QDialog::reject();
}

void FrmGraphOptions::reject()
{
    cmdCancel_Click();
}

void FrmGraphOptions::cmdSave_Click()
{
    if (!SaveOptions())
        ShowError(SettingsNotSavedMessage);
}

void FrmGraphOptions::picColours_DblClick(int index)
{
    const std::optional<QColor> chosen = ChooseColour(ToQColor(colourOf(index)), this);
    if (chosen && chosen->isValid())
        setColour(index, FromQColor(*chosen));
}

Colour FrmGraphOptions::colourOf(int index) const
{
    return FromQColor(picColours[index]->palette().color(QPalette::Window));
}

void FrmGraphOptions::setColour(int index, Colour colour)
{
    QPalette palette = picColours[index]->palette();
    palette.setColor(QPalette::Window, ToQColor(colour));
    picColours[index]->setPalette(palette);
    picColours[index]->setAccessibleName(lblColours[index]->text().chopped(1) + QStringLiteral(": ")
                                         + ColourName(colour));
}

bool FrmGraphOptions::eventFilter(QObject *watched, QEvent *event)
{
    for (int i = 0; i < 3; ++i) {
        if (watched != picColours[i])
            continue;
        switch (event->type()) {
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton)
                break;
            picColours_DblClick(i);
            return true;
        case QEvent::KeyPress:
            // The keyboard's way to the chooser, since the boxes take the focus.
            if (static_cast<QKeyEvent *>(event)->key() != Qt::Key_Space)
                break;
            picColours_DblClick(i);
            return true;
        case QEvent::FocusIn: picColours[i]->setLineWidth(2); break;
        case QEvent::FocusOut: picColours[i]->setLineWidth(1); break;
        default: break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool FrmGraphOptions::open(QWidget *parent, std::function<void()> quickOptionsUpdate)
{
    auto *dialog = new FrmGraphOptions(parent, std::move(quickOptionsUpdate));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->Form_Load();
    // exec() deletes the dialog before returning.
    return dialog->exec() == QDialog::Accepted;
}

} // namespace lw
