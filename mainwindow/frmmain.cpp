// SPDX-License-Identifier: GPL-3.0-or-later

#include "frmmain.h"

#include "drawcommand.h"
#include "frmanalysis.h"
#include "frmcurves.h"
#include "gph/cdlload.h"
#include "gph/gphcodec.h"
#include "gph/gphfile.h"
#include "graph/curvelist.h"
#include "graph/drawingsurface.h"
#include "graph/graphdraw.h"
#include "graph/repeatfilter.h"
#include "graph/viewsteps.h"
#include "picturemenu.h"
#include "pointerposition.h"
#include "settings/colour.h"
#include "settings/frmgraphoptions.h"
#include "settings/graphsettings.h"
#include "settings/options.h"
#include "settings/settingsfields.h"
#include "toolbar.h"
#include "variablespanel.h"
#include "widgets/messages.h"
#include "widgets/named.h"
#include "widgets/picturewidget.h"
#include "widgets/twips.h"
#include "widgets/uiresources.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <tuple>

namespace lw {

namespace {

const QString WelcomeText = QStringLiteral("Willkommen bei ZERANTH Linienwerk 2.0!");

// A caption a little wider than its designed box widens to the right, up to
// `right` (the next control or its frame's edge), so it is not cut off.
void fitCaption(QWidget *control, int right)
{
    const int wanted = control->sizeHint().width();
    if (wanted > control->width())
        control->resize(std::min(wanted, right - control->x()), control->height());
}

} // namespace

FrmMain::FrmMain(QWidget *parent) : QWidget(parent)
{
    InitUiResources();
    setFont(DesignFont());
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("ZERANTH Linienwerk 2"));
    setWindowIcon(QIcon(QStringLiteral(":/linienwerk.svg")));

    tbrMain = named(new QToolBar(this), "tbrMain", 15);
    tbrMain->setIconSize(QSize(TwipsToPixelsY(300), TwipsToPixelsY(300)));
    CreateToolbarActions(tbrMain);
    for (QAction *action : tbrMain->actions()) {
        if (!action->isSeparator())
            connect(action, &QAction::triggered, this,
                    [this, action] { tbrMain_ButtonClick(action->objectName()); });
    }

    picVariables = new VariablesPanel(this);
    picGraph = named(new PictureWidget(this), "picGraph");
    createOptionsPanel();
    createTermBar();

    sbrMain = named(new QStatusBar(this), "sbrMain");
    sbrMain->setSizeGripEnabled(false);
    sbrMain->showMessage(WelcomeText);
    sbrMain->installEventFilter(this);
    lblPointer = named(new QLabel(sbrMain), "lblPointer");
    sbrMain->addPermanentWidget(lblPointer);
    mnuPicture = new PictureMenu(picGraph, sbrMain, ScreenPicture(), GraphSettings);
    ScreenPicture() = BlankPicture(mnuPicture->surface());

    // Ctrl+Q as the desktop's programs have it: a close of the window, a running draw stopped.
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this), &QShortcut::activated, this,
            &QWidget::close);
    // F6 or Alt+T takes the keyboard into the toolbar, where the arrow keys walk the buttons.
    for (const QKeySequence &keys : {QKeySequence(Qt::Key_F6), QKeySequence(Qt::ALT | Qt::Key_T)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [this] {
            if (inToolbar())
                txtTerm->setFocus(Qt::ShortcutFocusReason); // and back again
            else
                toolbarButtons().front()->setFocus(Qt::ShortcutFocusReason);
        });
    for (QWidget *button : toolbarButtons()) {
        button->setFocusPolicy(Qt::NoFocus); // out of the Tab chain: F6 leads there
        button->installEventFilter(this);
    }
    // Esc is a press of "Stop" and ends an animation; with neither running it does nothing.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, [this] {
        picVariables->stopAnimation();
        if (inToolbar())
            txtTerm->setFocus(Qt::ShortcutFocusReason);
        if (DrawInProgress())
            cmdDraw->click();
    });

    for (QWidget *w : {static_cast<QWidget *>(cmdDraw), static_cast<QWidget *>(txtTerm), picOptions,
                       static_cast<QWidget *>(picVariables), static_cast<QWidget *>(picGraph)}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }

    // The inner area as designed: 7725 x 5010 twips.
    resize(ClientPixelsForOuter(QSize(7725 + NonClientWidth, 5010 + NonClientHeight),
                                TwipsPerPixelX(), TwipsPerPixelY()));
}

FrmMain::~FrmMain()
{
    ScreenPicture().surface = &NoSurface();
}

void FrmMain::createOptionsPanel()
{
    picOptions = named(new QWidget(this), "picOptions");

    fraEquationOptions =
        named(new QGroupBox(QStringLiteral("Gleichung"), picOptions), "fraEquationOptions");
    fraEquationOptions->setGeometry(TwipsRect(0, 0, 1815, 1095));
    optTermFormat[0] = named(new QRadioButton(QStringLiteral("Mathematisch"), fraEquationOptions),
                             "optTermFormat_0", 5);
    optTermFormat[0]->setGeometry(TwipsRect(120, 240, 1335, 255));
    chkAutoConvert = named(new QCheckBox(QStringLiteral("konvertieren"), fraEquationOptions),
                           "chkAutoConvert", 6);
    chkAutoConvert->setGeometry(TwipsRect(360, 480, 1215, 255));
    optTermFormat[1] = named(new QRadioButton(QStringLiteral("KZN-Formel"), fraEquationOptions),
                             "optTermFormat_1", 7);
    optTermFormat[1]->setGeometry(TwipsRect(120, 720, 1215, 255));
    optTermFormat[0]->setChecked(true);
    for (int i = 0; i < 2; ++i)
        connect(optTermFormat[i], &QRadioButton::clicked, this,
                [this, i] { optTermFormat_Click(i); });

    fraGraphOptions =
        named(new QGroupBox(QStringLiteral("Schaubild"), picOptions), "fraGraphOptions");
    fraGraphOptions->setGeometry(TwipsRect(0, 1200, 1815, 2415));
    Label4 = named(new QLabel(QStringLiteral("Genauigkeit:"), fraGraphOptions), "Label4");
    // Down to its field, so that the caption stands below the frame's line, not on it.
    Label4->setGeometry(TwipsRect(120, 240, 900, 225));
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    txtPrecision = named(new QLineEdit(fraGraphOptions), "txtPrecision", 8);
    Label4->setBuddy(txtPrecision);
    txtPrecision->setGeometry(TwipsRect(120, 480, 1575, 285));
    Label5 = named(new QLabel(QStringLiteral("Mittelpunkt:"), fraGraphOptions), "Label5");
    Label5->setGeometry(TwipsRect(120, 840, 825, 195));
    txtScreenCentralX = named(new QLineEdit(fraGraphOptions), "txtScreenCentralX", 9);
    // Wider than designed: a centre moved by the pointer has decimals.
    txtScreenCentralX->setGeometry(TwipsRect(120, 1080, 780, 285));
    txtScreenCentralY = named(new QLineEdit(fraGraphOptions), "txtScreenCentralY", 9);
    txtScreenCentralY->setGeometry(TwipsRect(960, 1080, 780, 285));
    txtScreenCentralX->setAccessibleName(QStringLiteral("Mittelpunkt x"));
    txtScreenCentralY->setAccessibleName(QStringLiteral("Mittelpunkt y"));
    chkLinkPoints =
        named(new QCheckBox(QStringLiteral("Verbinden"), fraGraphOptions), "chkLinkPoints", 10);
    chkLinkPoints->setGeometry(TwipsRect(120, 1440, 1095, 255));
    chkAlwaysDelete = named(new QCheckBox(QStringLiteral("Immer löschen"), fraGraphOptions),
                            "chkAlwaysDelete", 11);
    chkAlwaysDelete->setGeometry(TwipsRect(120, 1680, 1335, 255));
    cmdMoreGraphOptions = named(new QPushButton(QStringLiteral("Mehr..."), fraGraphOptions),
                                "cmdMoreGraphOptions", 12);
    cmdMoreGraphOptions->setGeometry(TwipsRect(120, 2040, 975, 255));
    connect(cmdMoreGraphOptions, &QPushButton::clicked, this, &FrmMain::ShowGraphOptions);
    for (QWidget *caption :
         {static_cast<QWidget *>(optTermFormat[0]), static_cast<QWidget *>(optTermFormat[1]),
          static_cast<QWidget *>(chkAutoConvert), static_cast<QWidget *>(Label4),
          static_cast<QWidget *>(Label5), static_cast<QWidget *>(chkLinkPoints),
          static_cast<QWidget *>(chkAlwaysDelete)})
        fitCaption(caption, caption->parentWidget()->width() - 2);
}

void FrmMain::ShowGraphOptions()
{
    FrmGraphOptions::open(this, [this] {
        QuickOptionsUpdate();
        RequestRedraw();
    });
}

void FrmMain::createTermBar()
{
    picTerm = named(new QWidget(this), "picTerm");
    Label2 = named(new QLabel(QStringLiteral("Funktionsgleichung:"), picTerm), "Label2");
    Label2->setGeometry(TwipsRect(45, 75, 1425, 195));
    Label3 = named(new QLabel(QStringLiteral("y ="), picTerm), "Label3");
    Label3->setFont(DesignFont(9.75, true));
    Label3->setGeometry(TwipsRect(1530, 60, 315, 240));
    fitCaption(Label2, Label3->x());
    txtTerm = named(new QLineEdit(QStringLiteral("x"), picTerm), "txtTerm", 13);
    txtTerm->setFont(DesignFont(9.75, true));
    txtTerm->setGeometry(TwipsRect(1920, 15, 4515, 360));
    Label2->setBuddy(txtTerm);
    // A graph file's equation may be longer than a line edit's usual 32 767 characters; cut
    // on loading, it would be saved back cut. The draw command refuses what is too long.
    txtTerm->setMaxLength(static_cast<int>(GphMaximumSize));
    cmdDraw = named(new QPushButton(QStringLiteral("Zeichnen"), picTerm), "cmdDraw", 14);
    cmdDraw->setGeometry(TwipsRect(6525, 30, 720, 330));
    connect(cmdDraw, &QPushButton::clicked, this, &FrmMain::cmdDraw_Click);
    connect(txtTerm, &QLineEdit::returnPressed, cmdDraw, &QPushButton::click);
}

void FrmMain::Form_Load()
{
    QuickOptionsUpdate();
    picVariables->CreateRows();
    connect(picVariables, &VariablesPanel::valueMoved, this, &FrmMain::ReplaceLastCurveParameters);
    connect(picVariables, &VariablesPanel::editModeSwitchedOn, this,
            [this] { toolbarAction(QStringLiteral("VariableEdit"))->setChecked(true); });
    connect(picVariables, &VariablesPanel::rangeAsked, this, &FrmMain::AskParameterRange);
    connect(picVariables, &VariablesPanel::familyAsked, this, &FrmMain::AskFamily);
    Form_Resize(); // the sliders' column widens the window
    for (QLineEdit *field : findChildren<QLineEdit *>())
        field->installEventFilter(this); // for the undo keys
    picGraph->setAccessibleName(QStringLiteral("Schaubild"));
    // From the equation, Tab reaches "Zeichnen" and then the picture, whose keys zoom and move.
    QWidget::setTabOrder(cmdDraw, picGraph);
    CurvesChanged();
    // A pupil types the equation at once.
    txtTerm->setFocus();
    cdlLoad = new CdlLoad(this, QCoreApplication::applicationDirPath());
}

void FrmMain::SaveFile()
{
    if (IsWorksheetName(cdlLoad->FileName())) {
        if (SaveSheet(cdlLoad->FileName(), CurrentWorksheet()))
            m_history.markSaved(ScreenPicture());
    } else {
        SaveGraph(cdlLoad->FileName(), GraphSettings,
                  QString::fromStdU16String(UpdateVariables(txtTerm->text().toStdU16String())));
    }
}

bool FrmMain::LoadFile()
{
    // A bad file has been reported and changes nothing.
    if (IsWorksheetName(cdlLoad->FileName())) {
        const std::optional<Worksheet> sheet = LoadSheet(cdlLoad->FileName());
        if (sheet)
            ApplyWorksheet(*sheet);
        return sheet.has_value();
    }
    const auto content = LoadGraph(cdlLoad->FileName());
    if (!content)
        return false;
    ApplyGphSettings(*content, GraphSettings);
    txtTerm->setText(content->equation);
    QuickOptionsUpdate();
    return true;
}

void FrmMain::LoadFileNamed(const QString &path)
{
    // A file that cannot be loaded leaves the program as after a plain start, the dialogs included.
    const QString before = cdlLoad->FileName();
    cdlLoad->SetFileName(path);
    if (!LoadFile())
        cdlLoad->SetFileName(before);
}

void FrmMain::QuickOptionsUpdate()
{
    const GraphSettingsRecord &s = GraphSettings;
    txtPrecision->setText(FloatText(s.Precision));
    showCentre();
    chkLinkPoints->setChecked(s.LinkPoints);
    chkAlwaysDelete->setChecked(s.AlwaysDeleteGraph);
}

void FrmMain::optTermFormat_Click(int index)
{
    chkAutoConvert->setEnabled(index == 0);
}

QString FrmMain::ListShown() const
{
    QString shown;
    for (const CurveEntry &entry : ScreenPicture().curves)
        shown += QStringLiteral("%1 %2 %3\n").arg(entry.id).arg(entry.visible).arg(entry.failed);
    return shown;
}

void FrmMain::CurvesChanged()
{
    m_listAnnounced = ListShown();
    // A screen reader tells what the picture shows.
    QStringList drawn;
    for (const CurveEntry &entry : ScreenPicture().curves) {
        if (!entry.visible)
            continue;
        drawn << QStringLiteral("y = ") + CurveName(entry);
    }
    picGraph->setAccessibleDescription(drawn.isEmpty() ? QStringLiteral("Keine Kurve gezeichnet")
                                                       : drawn.join(QStringLiteral("; ")));
    // A hidden list refreshes when it is shown again.
    if (auto *curves = findChild<FrmCurves *>(QString(), Qt::FindDirectChildrenOnly);
        curves && curves->isVisible())
        curves->refresh();
    if (auto *analysis = findChild<FrmAnalysis *>(QString(), Qt::FindDirectChildrenOnly);
        analysis && analysis->isVisible())
        analysis->refresh();
}

QAction *FrmMain::toolbarAction(const QString &key) const
{
    return tbrMain->findChild<QAction *>(key);
}

void FrmMain::tbrMain_ButtonClick(const QString &key)
{
    QAction *button = toolbarAction(key);
    if (ToolbarHelpMode) {
        // In the toolbar help mode a button only explains itself.
        sbrMain->showMessage(button->property("description").toString());
        if (key == QLatin1String("ToolbarHelp"))
            ToolbarHelpMode = false;
        else if (key == QLatin1String("VariableEdit"))
            button->setChecked(!button->isChecked()); // back to before the click
        return;
    }
    for (const auto &[name, run] : ToolbarCommands) {
        if (key == QLatin1String(name))
            return run(*this, button);
    }
}

std::u16string FrmMain::UpdateVariables(std::u16string_view formula) const
{
    return lw::UpdateVariables(formula, picVariables->values());
}

bool FrmMain::inToolbar() const
{
    const QWidget *focused = QApplication::focusWidget();
    return focused && focused->parent() == tbrMain;
}

std::vector<QWidget *> FrmMain::toolbarButtons() const
{
    std::vector<QWidget *> buttons;
    for (QAction *action : tbrMain->actions()) {
        if (QWidget *button = tbrMain->widgetForAction(action); button && !action->isSeparator())
            buttons.push_back(button);
    }
    return buttons;
}

bool FrmMain::toolbarKey(QWidget *button, const QKeyEvent &key)
{
    const std::vector<QWidget *> buttons = toolbarButtons();
    const auto at = std::ranges::find(buttons, button);
    if (at == buttons.end())
        return false;
    const auto index = static_cast<std::size_t>(at - buttons.begin());
    switch (key.key()) {
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const std::size_t step = key.key() == Qt::Key_Left ? buttons.size() - 1 : 1;
        buttons[(index + step) % buttons.size()]->setFocus(Qt::TabFocusReason);
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter: static_cast<QToolButton *>(button)->click(); return true;
    default: return false;
    }
}

bool FrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched->parent() == tbrMain
        && toolbarKey(static_cast<QWidget *>(watched), static_cast<const QKeyEvent &>(*event)))
        return true;
    if (watched == picGraph && pictureMouse(*event))
        return true;
    if (fieldGivesUndoKeyAway(watched, event))
        return true;
    // A held Enter repeats: it would press "Stop" and draw again over and over, and a repeat of
    // the Enter that closed a message before the field had the focus would draw unasked.
    if (watched == txtTerm && event->type() == QEvent::KeyPress) {
        const auto &key = static_cast<const QKeyEvent &>(*event);
        if (key.isAutoRepeat() && (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter))
            return true;
    }
    if (event->type() == QEvent::MouseMove) {
        const QPointF position = static_cast<QMouseEvent *>(event)->position();
        showStatusHelp(watched, position.toPoint());
        if (watched == picGraph)
            showPointer(position, static_cast<QMouseEvent *>(event)->modifiers());
    } else if (watched == picGraph && event->type() == QEvent::KeyPress) {
        if (pictureKey(static_cast<const QKeyEvent &>(*event)))
            return true;
    } else if (watched == picGraph && event->type() == QEvent::Leave) {
        lblPointer->clear();
        picGraph->setCross(std::nullopt);
    } else if (watched == sbrMain && event->type() == QEvent::MouseButtonDblClick) {
        sbrMain->hide(); // for the rest of the run; the next layout pass takes it into account
        placeDockedBars();
    }
    return QWidget::eventFilter(watched, event);
}

void FrmMain::showPointer(QPointF position, Qt::KeyboardModifiers modifiers)
{
    const auto &curves = ScreenPicture().curves;
    const auto traced =
        std::ranges::find(curves.rbegin(), curves.rend(), true, &CurveEntry::visible);
    const bool tracing = (modifiers & Qt::ShiftModifier) || mnuPicture->actTrace->isChecked();
    if (!tracing || traced == curves.rend()) {
        lblPointer->setText(PointerPositionText(position));
        picGraph->setCross(std::nullopt);
        return;
    }
    const TracePoint trace = TraceAt(position, traced->formula);
    // The newest visible curve may be a derivative or a family member: say which one it is.
    lblPointer->setText(QStringLiteral("%1: %2").arg(CurveName(*traced), trace.text));
    picGraph->setCross(trace.at, ToQColor(traced->colour));
}

bool FrmMain::pictureMouse(const QEvent &event)
{
    const QSize pixels = picGraph->surface().size();
    GraphSettingsRecord view = GraphSettings;
    switch (event.type()) {
    case QEvent::Wheel: {
        const auto &wheel = static_cast<const QWheelEvent &>(event);
        // A notch is 120; touchpads send less at a time.
        m_wheelAngle += wheel.angleDelta().y();
        bool moved = false;
        for (; std::abs(m_wheelAngle) >= 120; m_wheelAngle -= m_wheelAngle > 0 ? 120 : -120)
            moved =
                ZoomViewAbout(view, m_wheelAngle < 0, pixels.width(), pixels.height(),
                              std::floor(wheel.position().x()), std::floor(wheel.position().y()))
                || moved;
        if (moved)
            showView(view);
        return true;
    }
    case QEvent::MouseButtonPress: {
        const auto &press = static_cast<const QMouseEvent &>(event);
        if (press.button() == Qt::LeftButton)
            m_drag = Drag{press.position(), CentreOf(GraphSettings)};
        return false; // the press still gives the picture the focus
    }
    case QEvent::MouseMove: {
        const auto &move = static_cast<const QMouseEvent &>(event);
        if (!m_drag || !(move.buttons() & Qt::LeftButton))
            return false;
        const QPointF moved = move.position() - m_drag->start;
        if (DragView(view, m_drag->centre, moved.x(), moved.y(), pixels.width(), pixels.height())
            && view != GraphSettings)
            showView(view);
        return false; // the pointer field follows too
    }
    case QEvent::MouseButtonRelease: m_drag.reset(); return false;
    default: return false;
    }
}

bool FrmMain::pictureKey(const QKeyEvent &key)
{
    // The menu key, and Shift+F10 where a keyboard has none, open the picture's menu.
    if (key.key() == Qt::Key_Menu
        || (key.key() == Qt::Key_F10 && key.modifiers() == Qt::ShiftModifier)) {
        const QPoint centre = picGraph->rect().center();
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, centre, picGraph->mapToGlobal(centre));
        QCoreApplication::sendEvent(picGraph, &menu);
        return true;
    }
    GraphSettingsRecord view = GraphSettings;
    const QSize pixels = picGraph->surface().size();
    bool moved = false;
    switch (key.key()) {
    case Qt::Key_Plus: moved = ZoomView(view, false, pixels.width(), pixels.height()); break;
    case Qt::Key_Minus: moved = ZoomView(view, true, pixels.width(), pixels.height()); break;
    case Qt::Key_Left: moved = PanView(view, -1, 0); break;
    case Qt::Key_Right: moved = PanView(view, 1, 0); break;
    case Qt::Key_Up: moved = PanView(view, 0, 1); break;
    case Qt::Key_Down: moved = PanView(view, 0, -1); break;
    case Qt::Key_Home:
        // The view of the settings store; what else the store holds stays as it is now.
        TakeView(view, StoredOptions());
        moved = true;
        break;
    default: return false;
    }
    if (moved)
        showView(view);
    return true;
}

void FrmMain::showView(const GraphSettingsRecord &view)
{
    Picture &screen = ScreenPicture();
    const PlotGeometry moved =
        ComputeGeometry(view, screen.geometry.GraphWidth, screen.geometry.GraphHeight);
    const auto shift =
        screen.blank ? std::nullopt : ViewShift(GraphSettings, screen.geometry, view, moved);
    GraphSettings = view;
    // Only the centre: other quick options typed but not yet drawn stay as typed.
    showCentre();
    if (shift) {
        // A move: the picture goes along with the pointer at once, and the strip it uncovers
        // fills when the curves have been drawn again.
        picGraph->surface().showShifted(picGraph->surface(), {shift->first, shift->second});
        screen.geometry = moved;
    } else {
        // The axes at once, so a curve being drawn goes on in the new view; the curves follow.
        RedrawAxes(screen, GraphSettings);
    }
    RequestRedraw();
}

void FrmMain::showCentre()
{
    const ViewCentre centre = CentreOf(GraphSettings);
    const PlotGeometry &g = ScreenPicture().geometry;
    const std::array fields{std::tuple(txtScreenCentralX, centre.x, g.PixelsPerUnitX),
                            std::tuple(txtScreenCentralY, centre.y, g.PixelsPerUnitY)};
    for (std::size_t axis = 0; axis < fields.size(); ++axis) {
        const auto [field, value, pixelsPerUnit] = fields[axis];
        // Wider than its field, the text would show its end only: "0,5231" for "-10,5231".
        const int room = field->contentsRect().width() - field->textMargins().left()
                         - field->textMargins().right()
                         - 2 * field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) - 4;
        QString text;
        for (int decimals = CentreDecimals(pixelsPerUnit); decimals >= 0; --decimals) {
            text = DecimalText(value, decimals);
            if (field->fontMetrics().horizontalAdvance(text) <= room)
                break;
        }
        field->setText(text);
        field->setCursorPosition(0);
        m_centreShown[axis] = {text, value};
    }
}

std::optional<double> FrmMain::centreRead(int axis) const
{
    const QLineEdit *field = axis == 0 ? txtScreenCentralX : txtScreenCentralY;
    const auto &[shown, centre] = m_centreShown[static_cast<std::size_t>(axis)];
    if (field->text() == shown)
        return centre;
    return ReadNumberTextLenient(field->text());
}

void FrmMain::showStatusHelp(QObject *watched, const QPoint &position)
{
    QString text;
    if (watched == cmdDraw) {
        text = QStringLiteral("Zeichnet das Schaubild zur Funktionsgleichung");
    } else if (watched == txtTerm) {
        text = QStringLiteral("Geben Sie hier die Funktionsgleichung ein.");
    } else if (watched == picOptions) {
        if (picOptions->childAt(position))
            return;
        text = QStringLiteral("Hier können Sie verschiedene Schaubildoptionen ändern");
    } else if (watched == picVariables) {
        if (picVariables->childAt(position))
            return;
        text = QStringLiteral("Hier können Sie Variablenwerte ändern.");
    } else if (watched == picGraph) {
        // The welcome stays until some other text has replaced it.
        if (sbrMain->currentMessage() == WelcomeText)
            return;
    } else {
        return;
    }
    sbrMain->showMessage(text);
}

void FrmMain::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void FrmMain::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !isMinimized())
        Form_Resize();
}

void FrmMain::Form_Resize()
{
    if (m_inLayout)
        return; // the pass models the passes its own resizing starts
    m_inLayout = true;
    const double tppX = TwipsPerPixelX();
    const double tppY = TwipsPerPixelY();
    const QSize outer = OuterForClientPixels(size(), tppX, tppY);
    const LayoutInput input{.outerWidth = outer.width(),
                            .outerHeight = outer.height(),
                            .minimised = isMinimized(),
                            .toolbarVisible = !tbrMain->isHidden(),
                            .statusBarVisible = !sbrMain->isHidden(),
                            .twipsPerPixelX = tppX,
                            .twipsPerPixelY = tppY,
                            .slidersWidth =
                                picVariables->picSliders ? VariablesPanel::SlidersWidth() : 0};
    const LayoutResult r = RunLayoutPass(input, m_reserves);
    if (r.ran) {
        if (r.outerWidth != outer.width() || r.outerHeight != outer.height())
            resize(ClientPixelsForOuter(QSize(r.outerWidth, r.outerHeight), tppX, tppY));
        placeDockedBars();
        picVariables->setGeometry(PixelRect(r.picVariables, tppX, tppY));
        if (picVariables->picSliders)
            picVariables->picSliders->setGeometry(PixelRect(r.picSliders, tppX, tppY));
        picGraph->setGeometry(PixelRect(r.picGraph, tppX, tppY));
        picOptions->setGeometry(PixelRect(r.picOptions, tppX, tppY));
        const TermBarGeometry term = TermBarLayout(r.cmdDrawLeft, r.txtTermWidth);
        txtTerm->setGeometry(PixelRect(term.txtTerm, tppX, tppY));
        cmdDraw->setGeometry(PixelRect(term.cmdDraw, tppX, tppY));
        picGraph->setPictureSize(QSize(r.GraphWidth, r.GraphHeight));
        ResizePicture(ScreenPicture(), r.GraphWidth, r.GraphHeight);
        FollowPictureSize(GraphSettings, r.GraphWidth, r.GraphHeight);
        RedrawAxes(ScreenPicture(), GraphSettings);
        if (!ScreenPicture().curves.empty())
            RequestRedraw();
    }
    m_inLayout = false;
}

void FrmMain::placeDockedBars()
{
    const double tppX = TwipsPerPixelX();
    const double tppY = TwipsPerPixelY();
    const QSize client = OuterToClient(OuterForClientPixels(size(), tppX, tppY));
    const ClientGeometry docked =
        DockedGeometry(client.width(), client.height(), !tbrMain->isHidden(), !sbrMain->isHidden());
    tbrMain->setGeometry(PixelRect(docked.toolbar, tppX, tppY));
    picTerm->setGeometry(PixelRect(docked.picTerm, tppX, tppY));
    if (!sbrMain->isHidden())
        sbrMain->setGeometry(PixelRect(docked.statusBar, tppX, tppY));
}

void FrmMain::closeEvent(QCloseEvent *event)
{
    if (TheDraw.phase != DrawPhase::Idle) {
        // Stop first; the window closes once the draw has returned.
        if (DrawInProgress())
            enter(DrawPhase::Stopping);
        TheDraw.then = AfterDraw::Close;
        event->ignore();
        return;
    }
    if (!mayClose()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

} // namespace lw
