#include "variablespanel.h"

#include "widgets/named.h"
#include "widgets/twips.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace lw {

namespace {
constexpr int RowTop0 = 300;
constexpr int RowPitch = 400;

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
        chkVarName[i]->setText(QString(QChar(u'a' + i)) + QStringLiteral(" ="));
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
