// SPDX-License-Identifier: GPL-3.0-or-later

#include "startup.h"

#include "about/frmtitlescreen.h"
#include "drawcommand.h"
#include "frmmain.h"
#include "help/frmhelp.h"
#include "settings/options.h"
#include "widgets/messages.h"
#include "widgets/uiresources.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace lw {

void SetUpApplication(QApplication &app)
{
    // No display name: the window system would append it to every window's title.
    QApplication::setApplicationName(QStringLiteral("Linienwerk2"));
    // Docks and Wayland tie the window to its menu entry and icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("de.linienwerk.Linienwerk"));
    QApplication::setFont(DesignFont());
    InstallQtTranslations(app);
    InstallMessageBoxes();
    InstallContextHelp(app);
    InstallDrawYield();
}

bool LoadQtCatalogue(QTranslator &translator, const QString &catalogue, const QLocale &locale,
                     const QString &folder)
{
    // English ships as an empty catalogue; English buttons among German windows would be no help.
    if (translator.load(locale, catalogue, QStringLiteral("_"), folder) && !translator.isEmpty())
        return true;
    return translator.load(QLocale(QLocale::German), catalogue, QStringLiteral("_"), folder)
           && !translator.isEmpty();
}

void InstallQtTranslations(QCoreApplication &app)
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const QString &catalogue : {QStringLiteral("qtbase"), QStringLiteral("qt")}) {
        auto *translator = new QTranslator(&app);
        if (LoadQtCatalogue(*translator, catalogue, QLocale::system(), folder))
            QCoreApplication::installTranslator(translator);
        else
            delete translator;
    }
}

std::unique_ptr<FrmMain> Main(const QString &file)
{
    auto title = std::make_unique<FrmTitleScreen>();
    title->show();
    QCoreApplication::processEvents(); // paint it before the settings are read
    if (const QString notice = LoadOptions(); !notice.isEmpty()) {
        ShowNotice(notice, MessageIcon::Warning);
        // What was read, with the defaults in place of what was missing or faulty: the next
        // start finds the store whole and says nothing.
        SaveOptions();
    }
    auto window = std::make_unique<FrmMain>();
    window->Form_Load();
    window->show();
    title->close();
    if (!file.isEmpty())
        window->LoadFileNamed(file);
    return window;
}

} // namespace lw
