// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "graph/curvehistory.h"
#include "graph/viewsteps.h"
#include "mainwindow/layoutpass.h"

#include <QElapsedTimer>
#include <QPointF>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QAction;
class QCheckBox;
class QKeyEvent;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QToolBar;

namespace lw {

class CdlLoad;
class ImageSurface;
class RepeatFilter;
class PictureMenu;
class PictureWidget;
class VariablesPanel;
struct GraphSettingsRecord;
struct Picture;
struct ParameterRange;
struct Worksheet;
struct QuickOptions;
enum class DrawPhase;
enum class Notation;

// The program's main window: toolbar, variables panel, picture, quick
// options, the equation bar with "Zeichnen", and the status bar.
class FrmMain : public QWidget {
    Q_OBJECT
public:
    explicit FrmMain(QWidget *parent = nullptr);
    ~FrmMain() override;

    void Form_Load();
    void QuickOptionsUpdate();
    // "Schaubild-Einstellungen", however opened: OK takes the settings and draws the list again.
    void ShowGraphOptions();
    void optTermFormat_Click(int index);
    // A press of "Zeichnen": the draw command onto the screen's picture.
    void cmdDraw_Click();
    // The draw command onto `picture`, taking the quick options into `settings`: the screen's
    // picture with the program's settings, or a print-out with settings of its own.
    void DrawOn(Picture &picture, GraphSettingsRecord &settings);
    // Draws the screen's picture with its curves again once the event loop is free, as a draw
    // that "Stop" and Esc end; requests made meanwhile become one.
    void RequestRedraw();
    // No draw runs and no redraw waits: the picture shows every curve in the current view.
    bool PictureUpToDate() const;
    // Counts of what asked for the picture to be drawn again (a new view, size, list), and of
    // the last of those whose every curve the picture shows (moved along since, for a drag).
    unsigned ViewsAsked() const { return m_viewsAsked; }
    unsigned ViewsShownWhole() const { return m_viewsShownWhole; }
    // A slider moved: the newest curve is drawn again with the panel's values in place of those
    // it was drawn with.
    void ReplaceLastCurveParameters(int row);
    // "Schar zeichnen...": the equation once for each value of the row's parameter, each curve
    // in a colour of its own.
    void DrawFamily(int row, const ParameterRange &values);
    // "Bereich...": asks for the row's slider range; "Schar zeichnen...": for the family's values.
    void AskParameterRange(int row);
    void AskFamily(int row);
    // "Rückgängig" and "Wiederholen": the picture's list of curves a step back or forward, with
    // the marks of the curves that come back.
    void Undo();
    void Redo();
    // Runs `change` on the picture's list; on the screen's picture it becomes a step that undo
    // takes back, or part of step `joinTo` while that is the newest. The step's number, or 0.
    uint64_t ChangeCurves(Picture &picture, const std::function<void()> &change,
                          uint64_t joinTo = 0);
    CurveHistory &History() { return m_history; }
    // The picture's list of curves has changed: the open "Kurven" window shows it anew.
    void CurvesChanged();
    // The list as the windows last showed it: ids, visibility and failures.
    QString ListShown() const;
    void tbrMain_ButtonClick(const QString &key);
    // The graph file named by cdlLoad.
    void SaveFile();
    // False after the message about a file that cannot be loaded.
    bool LoadFile();
    // A file named from outside, loaded as by "Load" after the user chose it.
    void LoadFileNamed(const QString &path);
    // The whole picture as a worksheet keeps it, and back: view, settings, equation, the
    // parameter rows with their ranges and every curve.
    Worksheet CurrentWorksheet() const;
    void ApplyWorksheet(const Worksheet &sheet);
    // The formula with the parameters a to h put in, as the panel says.
    std::u16string UpdateVariables(std::u16string_view formula) const;
    // The layout pass: run on every change of the window's size.
    void Form_Resize();

    QToolBar *tbrMain = nullptr;
    VariablesPanel *picVariables = nullptr;
    PictureWidget *picGraph = nullptr;
    QWidget *picOptions = nullptr;
    QGroupBox *fraEquationOptions = nullptr;
    std::array<QRadioButton *, 2> optTermFormat{};
    QCheckBox *chkAutoConvert = nullptr;
    QGroupBox *fraGraphOptions = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *txtPrecision = nullptr;
    QLabel *Label5 = nullptr;
    QLineEdit *txtScreenCentralX = nullptr;
    QLineEdit *txtScreenCentralY = nullptr;
    QCheckBox *chkLinkPoints = nullptr;
    QCheckBox *chkAlwaysDelete = nullptr;
    QPushButton *cmdMoreGraphOptions = nullptr;
    QWidget *picTerm = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *txtTerm = nullptr;
    QPushButton *cmdDraw = nullptr;
    QStatusBar *sbrMain = nullptr;
    // Where the pointer is over picGraph, in graph units; empty elsewhere.
    QLabel *lblPointer = nullptr;
    // The picture's context menu: "Bild kopieren", "Bild speichern unter...".
    PictureMenu *mnuPicture = nullptr;
    // While true a toolbar button explains itself in the status bar instead of acting.
    bool ToolbarHelpMode = false;
    CdlLoad *cdlLoad = nullptr;

    QAction *toolbarAction(const QString &key) const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // What a toolbar button does, by the button's key.
    using ToolbarCommand = std::pair<const char *, void (*)(FrmMain &window, QAction *button)>;
    static const std::array<ToolbarCommand, 17> ToolbarCommands;

    void createOptionsPanel();
    // Ctrl+Q, Esc, F6 and Alt+T; the toolbar's buttons leave the Tab chain for F6.
    void createShortcuts();
    // The toolbar's buttons from left to right, and the keys that walk them once F6 has taken
    // the keyboard there; false for any other key.
    std::vector<QWidget *> toolbarButtons() const;
    bool inToolbar() const;
    bool toolbarKey(QWidget *button, const QKeyEvent &key);
    void createTermBar();
    void showStatusHelp(QObject *watched, const QPoint &position);
    // + and - zoom about the centre, the arrows move the view a tenth of the picture, Home
    // returns to the view of the settings store; false for any other key.
    bool pictureKey(const QKeyEvent &key);
    // The wheel zooms about the pointer, a drag with the left button moves the view with the
    // pointer; true when the event is used up.
    bool pictureMouse(const QEvent &event);
    // Takes the view into GraphSettings and the centre fields, and draws the picture in it.
    void showView(const GraphSettingsRecord &view);
    // The pointer's place in the status bar, or with the trace on (Shift or "Spur") the value of
    // the newest visible curve at its x and a cross on the curve.
    void showPointer(QPointF position, Qt::KeyboardModifiers modifiers);
    // The centre of GraphSettings in the centre fields, rounded to what a pixel tells apart and
    // to what the fields show whole.
    void showCentre();
    // The centre field of x (0) or y (1) as a number: as showCentre left it, the centre it
    // stands for, not its rounded text.
    std::optional<double> centreRead(int axis) const;
    void placeDockedBars();
    // Reads the quick options into `options` and stores none of them; false
    // after a message that names the first unusable field, which gets the focus.
    bool readQuickOptions(QuickOptions &options, const GraphSettingsRecord &settings);
    bool refuse(const QString &text, QLineEdit *field);
    // The draw's last word: a message, after which it runs no more.
    void report(const QString &text);
    void runDraw(Picture &picture, GraphSettingsRecord &settings);
    // The KZN formula of the equation, the parameters not yet put in; nullopt when the
    // draw ends here, stopped or after its message.
    std::optional<std::u16string> formulaToDraw(const std::u16string &typed);
    // False when a stop ended the redraw of the curves at a new centre.
    bool applyQuickOptions(const QuickOptions &options, Picture &picture,
                           GraphSettingsRecord &settings) const;
    Notation notationChosen() const;
    void endDraw();
    void redrawCurves();
    // Draws the curves again behind the screen and shows them; false when stopped.
    bool redrawBehind();
    // In a text field Ctrl+Z and the redo keys are the field's while it has something to undo or
    // redo, and the picture's otherwise: true when the field gives the key away.
    bool fieldGivesUndoKeyAway(QObject *watched, QEvent *event) const;
    // With curves not saved since the last save or open of a worksheet, asks whether to save
    // them; false when the window stays open.
    bool mayClose();
    // The draw command's phase, and the button's caption with it.
    void enter(DrawPhase phase);

    // Where a drag on the picture began, and the centre then.
    struct Drag {
        QPointF start;
        ViewCentre centre;
    };
    std::optional<Drag> m_drag;
    std::array<std::pair<QString, double>, 2> m_centreShown; // by showCentre: text and centre
    int m_wheelAngle = 0; // eighths of a degree not yet turned into a step of zoom
    LayoutReserves m_reserves;
    bool m_inLayout = false;
    bool m_redrawScheduled = false; // a redraw waits for the event loop
    bool m_redrawWanted = false;    // a redraw waits for the draw on the stack
    bool m_redrawing = false;
    // The curves are drawn again on a picture of their own and then shown, so that a view that
    // moves meanwhile never shows a picture half cleared.
    std::unique_ptr<ImageSurface> m_backImage;
    std::unique_ptr<RepeatFilter> m_backSteps;
    bool m_superseded = false; // the running redraw was stopped for a newer view
    QString m_listAnnounced; // ListShown() at the last CurvesChanged
    unsigned m_viewsAsked = 0;
    unsigned m_viewsShownWhole = 0;
    QElapsedTimer m_redrawClock; // since the running redraw began
    qint64 m_lastRedrawMs = 0;   // how long the last whole redraw took
    CurveHistory m_history;      // of the screen's picture
};

} // namespace lw
