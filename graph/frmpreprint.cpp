#include "frmpreprint.h"

#include "graph/drawingsurface.h"
#include "graph/graphdraw.h"
#include "graph/printjob.h"
#include "settings/graphsettings.h"
#include "widgets/twips.h"
#include "widgets/uiresources.h"

#include <QIcon>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include <limits>
#include <memory>

namespace lw {

namespace {

// The print-out window is this much larger than the sizing window, each way (twips).
constexpr int PrintOutMargin = 200;

// A second "Drucken" while a print draws would take over the one print surface.
bool printing = false;

// Gives the screen back its geometry however the print's draw ended.
class ScreenRestore {
public:
    explicit ScreenRestore(const PrintCommands &commands)
        : m_commands(commands), m_centreX(GraphSettings.ScreenCentralX),
          m_centreY(GraphSettings.ScreenCentralY)
    {}
    ~ScreenRestore()
    {
        const QSize screen = m_commands.screenPictureSize();
        GraphHeight = static_cast<int16_t>(screen.height());
        GraphWidth = static_cast<int16_t>(screen.width());
        PrintMode = false;
        // A centre the print's draw took from the quick options is not what the screen's axes
        // show; given back, the next screen draw sees the change and redraws the axes itself,
        // while the picture keeps its curves until then.
        GraphSettings.ScreenCentralX = m_centreX;
        GraphSettings.ScreenCentralY = m_centreY;
        ComputeGeometry();
        printing = false;
    }
    ScreenRestore(const ScreenRestore &) = delete;
    ScreenRestore &operator=(const ScreenRestore &) = delete;

private:
    const PrintCommands &m_commands;
    int16_t m_centreX;
    int16_t m_centreY;
};

void printOut(QSize sizingOuter, const PrintCommands &commands,
              const std::function<void()> &closeSizingWindow)
{
    auto window = std::make_unique<FrmPrintOut>();
    window->show();
    window->outer().setHeight(sizingOuter.height() + PrintOutMargin);
    window->outer().setWidth(sizingOuter.width() + PrintOutMargin);
    closeSizingWindow();
    const QSize outer = window->outer().size();
    const QSize picture(GraphPixels(outer.width(), TwipsPerPixelX()),
                        GraphPixels(outer.height(), TwipsPerPixelY()));
    window->setPictureSize(picture);
    {
        ScreenRestore restore(commands);
        printing = true;
        GraphHeight = static_cast<int16_t>(picture.height());
        GraphWidth = static_cast<int16_t>(picture.width());
        PrintMode = true;
        commands.pressDraw();
        const QSizeF inches(picture.width() * TwipsPerPixelX() / 1440,
                            picture.height() * TwipsPerPixelY() / 1440);
        PrintPicture({window->image(), inches, window.get()});
    }
    window->close();
}

} // namespace

FrmPrePrint::FrmPrePrint(QWidget *parent, PrintCommands commands)
    : QDialog(parent), m_commands(std::move(commands))
{
    InitUiResources();
    setFont(DesignFont());
    setObjectName(QStringLiteral("frmPrePrint"));
    setWindowTitle(QStringLiteral("Drucken"));
    setWindowIcon(QIcon(QStringLiteral(":/linienwerk.svg")));
    setAttribute(Qt::WA_DeleteOnClose);

    lblNote = new QLabel(QStringLiteral("Skalieren Sie dieses Fenster auf die Größe, die der des "
                                        "Ausdrucks entsprechen soll."),
                         this);
    lblNote->setObjectName(QStringLiteral("lblNote"));
    lblNote->setWordWrap(true);
    lblNote->setGeometry(TwipsRect(120, 120, 3975, 615));
    cmdPrint = new QPushButton(QStringLiteral("Drucken"), this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdPrint->setGeometry(TwipsRect(240, 960, 1215, 375));
    cmdPrint->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(TwipsRect(1920, 960, 1215, 375));
    // The label between them takes no focus.
    QWidget::setTabOrder(cmdPrint, cmdCancel);
    cmdPrint->setFocus();
    connect(cmdPrint, &QPushButton::clicked, this, &FrmPrePrint::cmdPrint_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &FrmPrePrint::cmdCancel_Click);

    m_outer.setSize(QSize(5790 + NonClientWidth, 4500 + NonClientHeight));
}

void FrmPrePrint::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    Form_Resize();
}

void FrmPrePrint::Form_Resize()
{
    if (isMinimized())
        return;
    const QSize outer = m_outer.size();
    if (outer.height() > outer.width())
        m_outer.setWidth(outer.height());
    else if (outer.width() > outer.height())
        m_outer.setHeight(outer.width());
}

void FrmPrePrint::cmdPrint_Click()
{
    if (printing)
        return;
    // Closing only schedules the deletion; still, nothing of this window is used after it.
    const PrintCommands commands = m_commands;
    QPointer<FrmPrePrint> self(this);
    printOut(m_outer.size(), commands, [self] {
        if (self)
            self->close();
    });
}

void FrmPrePrint::cmdCancel_Click()
{
    close();
}

FrmPrePrint *OpenPrintDialog(QWidget *parent, std::function<void()> pressDraw,
                             std::function<QSize()> screenPictureSize)
{
    auto *window = new FrmPrePrint(parent, {std::move(pressDraw), std::move(screenPictureSize)});
    window->show();
    return window;
}

} // namespace lw
