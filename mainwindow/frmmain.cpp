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

    createShortcuts();

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

std::u16string FrmMain::UpdateVariables(std::u16string_view formula) const
{
    return lw::UpdateVariables(formula, picVariables->values());
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
