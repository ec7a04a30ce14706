// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <memory>

class QApplication;
class QCoreApplication;
class QLocale;
class QTranslator;

namespace lw {

class FrmMain;

// What the program sets up before its first window: its name, the windows'
// font, Qt's own texts translated, the message boxes, the context help and the
// draw yield.
void SetUpApplication(QApplication &app);

// Loads Qt's own catalogue (such as "qtbase") from folder for the language of locale, or the
// German one where that language has none, the program's own texts being German.
bool LoadQtCatalogue(QTranslator &translator, const QString &catalogue, const QLocale &locale,
                     const QString &folder);

// Qt's file, print and colour dialogs and its standard buttons in the system's language.
void InstallQtTranslations(QCoreApplication &app);

// The start: the title screen, the settings (with their notice over the
// title screen), the main window shown, the title screen closed; then the
// graph file named on the command line, if any, loaded as "Load" loads it.
std::unique_ptr<FrmMain> Main(const QString &file = {});

} // namespace lw
