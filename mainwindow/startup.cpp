#include "startup.h"

#include "about/frmtitlescreen.h"
#include "drawcommand.h"
#include "frmmain.h"
#include "help/frmhelp.h"
#include "settings/options.h"
#include "widgets/messages.h"
#include "widgets/uiresources.h"

#include <QApplication>

namespace lw {

void SetUpApplication(QApplication &app)
{
    // No display name: the window system would append it to every window's title.
    QApplication::setApplicationName(QStringLiteral("Linienwerk2"));
    QApplication::setFont(DesignFont());
    InstallMessageBoxes();
    InstallContextHelp(app);
    InstallDrawYield();
}

std::unique_ptr<FrmMain> Main(const QString &file)
{
    auto title = std::make_unique<FrmTitleScreen>();
    title->show();
    QCoreApplication::processEvents(); // paint it before the settings are read
    if (const QString notice = LoadOptions(); !notice.isEmpty())
        ShowNotice(notice, MessageIcon::Warning);
    auto window = std::make_unique<FrmMain>();
    window->Form_Load();
    window->show();
    title->close();
    if (!file.isEmpty())
        window->LoadFileNamed(file);
    return window;
}

} // namespace lw
