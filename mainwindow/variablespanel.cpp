// SPDX-License-Identifier: GPL-3.0-or-later

#include "variablespanel.h"

#include "graph/family.h"
#include "settings/settingsfields.h"
#include "widgets/named.h"
#include "widgets/twips.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace lw {

namespace {
constexpr int RowTop0 = 300;
constexpr int RowPitch = 400;
constexpr int SliderLeft = 30;
constexpr int SliderWidth = 1200;
constexpr int MenuButtonWidth = 330;
constexpr int SlidersColumnWidth = SliderLeft + SliderWidth + 30 + MenuButtonWidth + 60;
// An animation runs through the range in about three seconds, each way.
constexpr int AnimationIntervalMs = 40;
constexpr int AnimationTicksPerSweep = 75;

template<typename Control>
Control *copyOf(const Control *original, QWidget *parent, int index)
{
    auto *copy = new Control(parent);
    copy->setObjectName(original->objectName().section('_', 0, 0) + '_' + QString::number(index));
    copy->setFont(original->font());
    copy->setProperty("helpTopic", original->property("helpTopic"));
    copy->resize(original->size());
    return copy;
}

QString letter(int row)
{
    return QString(QChar(u'a' + row));
}

int positionCount(const ParameterRange &range)
{
    return static_cast<int>(std::lround((range.to - range.from) / range.step));
}
} // namespace

VariablesPanel::VariablesPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picVariables"));
    Label1 = named(new QLabel(QStringLiteral("Variablen:"), this), QStringLiteral("Label1"));
    Label1->setGeometry(TwipsRect(60, 45, 705, 195));
    // The panel has room to the right, so the caption widens rather than losing its colon.
    Label1->resize(std::max(Label1->width(), Label1->sizeHint().width()), Label1->height());

    chkVarName[0] =
        named(new QCheckBox(QStringLiteral("a ="), this), QStringLiteral("chkVarName_0"), 2);
    chkVarName[0]->setGeometry(TwipsRect(60, 315, 570, 270));
    txtVarValue[0] =
        named(new QLineEdit(QStringLiteral("0"), this), QStringLiteral("txtVarValue_0"), 3);
    txtVarValue[0]->setGeometry(TwipsRect(630, RowTop0, 915, 300));
    setEnabled(false); // edit mode is off at start-up

    m_animation = new QTimer(this);
    m_animation->setInterval(AnimationIntervalMs);
    connect(m_animation, &QTimer::timeout, this, &VariablesPanel::animationStep);
}

int VariablesPanel::SlidersWidth()
{
    return SlidersColumnWidth;
}

void VariablesPanel::CreateRows()
{
    for (int i = 1; i < 8; ++i) {
        chkVarName[i] = copyOf(chkVarName[0], this, i);
        chkVarName[i]->setChecked(chkVarName[0]->isChecked());
        txtVarValue[i] = copyOf(txtVarValue[0], this, i);
        txtVarValue[i]->setText(txtVarValue[0]->text());
        chkVarName[i]->show();
        txtVarValue[i]->show();
        chkVarName[i]->setGeometry(TwipsRect(60, RowTop0 + RowPitch * i, 570, 270));
        txtVarValue[i]->setGeometry(TwipsRect(630, RowTop0 + RowPitch * i, 915, 300));
    }
    for (int i = 1; i < 8; ++i)
        chkVarName[i]->setText(letter(i) + QStringLiteral(" ="));
    for (int i = 0; i < 8; ++i)
        txtVarValue[i]->setAccessibleName(QStringLiteral("Wert von %1").arg(letter(i)));

    // Beside the panel, not in it: a disabled panel disables what it holds.
    picSliders = named(new QWidget(parentWidget()), QStringLiteral("picSliders"), 19);
    for (int row = 0; row < ParameterCount; ++row) {
        createSliderRow(row);
        connect(txtVarValue[row], &QLineEdit::textEdited, this, [this, row] { valueEdited(row); });
        connect(txtVarValue[row], &QLineEdit::textChanged, this, [this, row] {
            checkValue(row);
            placeSlider(row);
        });
        // An empty value would be skipped as a call's last argument instead of reading as 0.
        connect(txtVarValue[row], &QLineEdit::editingFinished, this, [this, row] {
            if (txtVarValue[row]->text().trimmed().isEmpty())
                txtVarValue[row]->setText(QStringLiteral("0"));
        });
    }
    picSliders->show();
    // Row by row, a to h, each row from its box to its menu.
    QWidget *previous = nullptr;
    for (int row = 0; row < ParameterCount; ++row) {
        for (QWidget *control : std::initializer_list<QWidget *>{
                 chkVarName[row], txtVarValue[row], sldVarValue[row], cmdVarMenu[row]}) {
            if (previous)
                QWidget::setTabOrder(previous, control);
            previous = control;
        }
    }
}

void VariablesPanel::createSliderRow(int row)
{
    const QString index = QString::number(row);
    QSlider *slider = named(new QSlider(Qt::Horizontal, picSliders), "sldVarValue_" + index, 19);
    slider->setGeometry(TwipsRect(SliderLeft, RowTop0 + RowPitch * row, SliderWidth, 300));
    slider->setToolTip(QStringLiteral("Wert von %1").arg(letter(row)));
    slider->setAccessibleName(QStringLiteral("Regler für %1").arg(letter(row)));
    sldVarValue[row] = slider;
    connect(slider, &QSlider::valueChanged, this,
            [this, row](int position) { sliderMoved(row, position); });

    QToolButton *button = named(new QToolButton(picSliders), "cmdVarMenu_" + index, 19);
    button->setGeometry(
        TwipsRect(SliderLeft + SliderWidth + 30, RowTop0 + RowPitch * row, MenuButtonWidth, 300));
    button->setText(QStringLiteral("…"));
    button->setToolTip(QStringLiteral("Bereich, Animation und Schar von %1").arg(letter(row)));
    button->setAccessibleName(button->toolTip());
    button->setPopupMode(QToolButton::InstantPopup);
    QMenu *menu = named(new QMenu(button), "mnuVar_" + index);
    named(menu->addAction(QStringLiteral("Bereich...")), "actRange_" + index);
    QAction *animate = named(menu->addAction(QStringLiteral("Animieren")), "actAnimate_" + index);
    animate->setCheckable(true);
    named(menu->addAction(QStringLiteral("Schar zeichnen...")), "actFamily_" + index);
    connect(menu->actions()[0], &QAction::triggered, this, [this, row] { emit rangeAsked(row); });
    connect(animate, &QAction::triggered, this, [this, row](bool on) {
        if (on)
            startAnimation(row);
        else
            stopAnimation();
    });
    connect(menu->actions()[2], &QAction::triggered, this, [this, row] { emit familyAsked(row); });
    button->setMenu(menu);
    mnuVar[row] = menu;
    cmdVarMenu[row] = button;
    setRange(row, ParameterRange{});
}

void VariablesPanel::setRange(int row, const ParameterRange &range)
{
    m_ranges[static_cast<std::size_t>(row)] = range;
    {
        const QSignalBlocker quiet(sldVarValue[row]);
        sldVarValue[row]->setRange(0, positionCount(range));
        sldVarValue[row]->setPageStep(std::max(1, positionCount(range) / 10));
    }
    placeSlider(row);
}

QString VariablesPanel::sliderValueText(int row, int position) const
{
    const ParameterRange &r = range(row);
    const int decimals = RangeDecimals(r);
    const double scale = std::pow(10.0, decimals);
    const double value = std::round((r.from + position * r.step) * scale) / scale;
    return QString::fromStdU16String(ParameterValueText(value, decimals));
}

void VariablesPanel::placeSlider(int row)
{
    if (!sldVarValue[row])
        return;
    const QString text = txtVarValue[row]->text();
    const std::optional<double> value =
        text.trimmed().isEmpty() ? std::optional<double>(0) : ReadNumberTextLenient(text);
    if (!value)
        return;
    const ParameterRange &r = range(row);
    const QSignalBlocker quiet(sldVarValue[row]);
    sldVarValue[row]->setValue(static_cast<int>(
        std::clamp(std::round((*value - r.from) / r.step), 0.0, double(positionCount(r)))));
}

void VariablesPanel::sliderMoved(int row, int position)
{
    if (!isEnabled()) {
        setEnabled(true);
        emit editModeSwitchedOn();
    }
    chkVarName[row]->setChecked(true);
    {
        // The slider is where the value is; placing it again could round it elsewhere.
        const QSignalBlocker quiet(txtVarValue[row]);
        txtVarValue[row]->setText(sliderValueText(row, position));
    }
    checkValue(row);
    emit valueMoved(row);
}

void VariablesPanel::valueEdited(int row)
{
    // A value the pupil has just typed is meant to count.
    chkVarName[row]->setChecked(true);
}

void VariablesPanel::checkValue(int row)
{
    QLineEdit *box = txtVarValue[row];
    const bool number = IsParameterValue(box->text());
    box->setStyleSheet(number ? QString() : QStringLiteral("QLineEdit { background: #ffc8c8; }"));
    box->setToolTip(number ? QString()
                           : QStringLiteral("„%1“ ist keine Zahl: %2 zählt beim Zeichnen als 0.")
                                 .arg(box->text(), letter(row)));
}

void VariablesPanel::startAnimation(int row)
{
    stopAnimation();
    m_animatedRow = row;
    m_animationDirection = 1;
    mnuVar[row]->actions()[1]->setChecked(true);
    m_animation->start();
}

void VariablesPanel::stopAnimation()
{
    if (m_animatedRow >= 0)
        mnuVar[m_animatedRow]->actions()[1]->setChecked(false);
    m_animatedRow = -1;
    m_animation->stop();
}

bool VariablesPanel::animating() const
{
    return m_animatedRow >= 0;
}

void VariablesPanel::animationStep()
{
    if (m_animatedRow < 0)
        return;
    QSlider *slider = sldVarValue[m_animatedRow];
    const int step = std::max(1, slider->maximum() / AnimationTicksPerSweep);
    int next = slider->value() + m_animationDirection * step;
    if (next >= slider->maximum() || next <= slider->minimum()) {
        next = std::clamp(next, slider->minimum(), slider->maximum());
        m_animationDirection = -m_animationDirection;
    }
    slider->setValue(next);
}

VariableValues VariablesPanel::values() const
{
    VariableValues v;
    v.editMode = isEnabled();
    for (int i = 0; i < 8; ++i) {
        v.checked[i] = chkVarName[i] && chkVarName[i]->isChecked();
        v.values[i] = txtVarValue[i] ? txtVarValue[i]->text().toStdU16String() : u"0";
    }
    return v;
}

} // namespace lw
