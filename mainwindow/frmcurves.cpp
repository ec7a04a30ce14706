// SPDX-License-Identifier: GPL-3.0-or-later

#include "frmcurves.h"

#include "frmmain.h"
#include "graph/curvelist.h"
#include "graph/graphdraw.h"
#include "settings/colour.h"
#include "variablespanel.h"
#include "widgets/named.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace lw {

namespace {

constexpr int HelpTopic = 16;
constexpr int IdRole = Qt::UserRole;

// Rows are found by the entry's id, not its place: a draw may have changed the list since.
CurveEntry *entryOf(const QListWidgetItem *item)
{
    if (!item)
        return nullptr;
    const auto id = item->data(IdRole).toULongLong();
    auto &curves = ScreenPicture().curves;
    const auto found = std::ranges::find(curves, id, &CurveEntry::id);
    return found == curves.end() ? nullptr : &*found;
}

} // namespace

FrmCurves::FrmCurves(FrmMain &main) : QWidget(&main, Qt::Window), m_main(main)
{
    named(this, QStringLiteral("frmCurves"), HelpTopic);
    setWindowTitle(QStringLiteral("Kurven"));
    lstCurves = named(new QListWidget(this), QStringLiteral("lstCurves"), HelpTopic);
    lstCurves->installEventFilter(this);
    cmdDelete = named(new QPushButton(QStringLiteral("Löschen"), this), QStringLiteral("cmdDelete"),
                      HelpTopic);
    cmdUndo = named(new QPushButton(QStringLiteral("Rückgängig"), this), QStringLiteral("cmdUndo"),
                    HelpTopic);
    cmdRedo = named(new QPushButton(QStringLiteral("Wiederholen"), this), QStringLiteral("cmdRedo"),
                    HelpTopic);
    // The main window's keys, as its toolbar has them, work here too.
    for (const auto &[button, key] :
         {std::pair{cmdUndo, QStringLiteral("Undo")}, std::pair{cmdRedo, QStringLiteral("Redo")}})
        for (const QKeySequence &keys : main.toolbarAction(key)->shortcuts())
            connect(new QShortcut(keys, this), &QShortcut::activated, button, &QPushButton::click);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdUndo);
    buttons->addWidget(cmdRedo);
    buttons->addStretch();
    buttons->addWidget(cmdDelete);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lstCurves);
    layout->addLayout(buttons);
    resize(320, 260);

    connect(lstCurves, &QListWidget::itemChanged, this, &FrmCurves::showCurve);
    connect(lstCurves, &QListWidget::itemDoubleClicked, this, &FrmCurves::restore);
    connect(cmdDelete, &QPushButton::clicked, this, &FrmCurves::removeCurrent);
    connect(cmdUndo, &QPushButton::clicked, this, [this] { m_main.Undo(); });
    connect(cmdRedo, &QPushButton::clicked, this, [this] { m_main.Redo(); });
}

FrmCurves &FrmCurves::open(FrmMain &main)
{
    auto *window = main.findChild<FrmCurves *>(QString(), Qt::FindDirectChildrenOnly);
    if (!window)
        window = new FrmCurves(main);
    return ShowInFront(window);
}

void FrmCurves::refresh()
{
    // Rebuilding the rows is no user's tick.
    const QSignalBlocker quiet(lstCurves);
    const int current = lstCurves->currentRow();
    lstCurves->clear();
    for (const CurveEntry &entry : ScreenPicture().curves) {
        QString text = CurveName(entry);
        if (entry.failed)
            text += QStringLiteral(" (fehlerhaft)");
        auto *item = new QListWidgetItem(text, lstCurves);
        item->setData(Qt::DecorationRole, ToQColor(entry.colour));
        item->setData(IdRole, QVariant::fromValue<qulonglong>(entry.id));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(entry.visible ? Qt::Checked : Qt::Unchecked);
    }
    lstCurves->setCurrentRow(std::min(current, lstCurves->count() - 1));
    cmdDelete->setEnabled(lstCurves->count() > 0);
    cmdUndo->setEnabled(m_main.History().canUndo());
    cmdRedo->setEnabled(m_main.History().canRedo());
}

void FrmCurves::showEvent(QShowEvent *event)
{
    // Hidden, the list was not kept up to date.
    refresh();
    QWidget::showEvent(event);
}

bool FrmCurves::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lstCurves && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Delete)) {
        removeCurrent();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void FrmCurves::showCurve(QListWidgetItem *item)
{
    CurveEntry *entry = entryOf(item);
    const bool visible = item->checkState() == Qt::Checked;
    if (!entry || entry->visible == visible)
        return;
    m_main.ChangeCurves(ScreenPicture(), [entry, visible] { entry->visible = visible; });
    refresh();
    m_main.RequestRedraw();
}

void FrmCurves::removeCurrent()
{
    const CurveEntry *entry = entryOf(lstCurves->currentItem());
    if (!entry)
        return;
    const uint64_t id = entry->id;
    m_main.ChangeCurves(ScreenPicture(), [id] { RemoveCurve(ScreenPicture(), id); });
    refresh();
    m_main.RequestRedraw();
}

void FrmCurves::restore(QListWidgetItem *item)
{
    const CurveEntry *entry = entryOf(item);
    if (!entry)
        return;
    const int notation = entry->notation == Notation::Kzn ? 1 : 0;
    m_main.optTermFormat[notation]->setChecked(true);
    m_main.optTermFormat_Click(notation);
    m_main.txtTerm->setText(QString::fromStdU16String(entry->typed));

    // The edit mode too: outside it the panel's values would count as 0.
    const VariableValues &parameters = entry->parameters;
    VariablesPanel &panel = *m_main.picVariables;
    panel.setEnabled(parameters.editMode);
    m_main.toolbarAction(QStringLiteral("VariableEdit"))->setChecked(parameters.editMode);
    for (std::size_t i = 0; i < parameters.values.size(); ++i) {
        if (panel.chkVarName[i])
            panel.chkVarName[i]->setChecked(parameters.checked[i]);
        if (panel.txtVarValue[i])
            panel.txtVarValue[i]->setText(QString::fromStdU16String(parameters.values[i]));
    }
}

} // namespace lw
