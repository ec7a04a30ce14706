#include "drawcommand.h"
#include "frmmain.h"
#include "helpviewer.h"
#include "messagebox.h"
#include "startup.h"
#include "uiresources.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Linienwerk2"));
    QApplication::setApplicationDisplayName(QStringLiteral("Linienwerk 2.0"));
    QApplication::setFont(lw::DesignFont());
    lw::InstallMessageBoxes();
    lw::InstallContextHelp(app);
    lw::InstallDrawYield();
    const auto window = lw::Main();
    return QApplication::exec();
}
