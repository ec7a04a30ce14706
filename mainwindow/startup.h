#pragma once

#include <QString>

#include <memory>

class QApplication;

namespace lw {

class FrmMain;

// What the program sets up before its first window: its name, the windows'
// font, the message boxes, the context help and the draw yield.
void SetUpApplication(QApplication &app);

// The start: the title screen, the settings (with their notice over the
// title screen), the main window shown, the title screen closed; then the
// graph file named on the command line, if any, loaded as "Load" loads it.
std::unique_ptr<FrmMain> Main(const QString &file = {});

} // namespace lw
