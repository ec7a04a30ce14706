#include "startup.h"

#include "about/frmtitlescreen.h"
#include "frmmain.h"
#include "settings/options.h"

#include <QCoreApplication>

namespace lw {

std::unique_ptr<FrmMain> Main()
{
    auto title = std::make_unique<FrmTitleScreen>();
    title->show();
    QCoreApplication::processEvents(); // paint it before the settings are read
    LoadOptions();
    auto window = std::make_unique<FrmMain>();
    window->Form_Load();
    window->show();
    title->close();
    return window;
}

} // namespace lw
