// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up until the main window is painted, as the program starts, for timing whole processes.
// Built twice: startup_bench runs the program's start; startup_bare (LW_STARTUP_BARE) shows one
// plain QWidget, the floor it is measured against. Both end the process the same way.
//
//   startup_bench [--phases | --exit-at-main | --write-settings]
//   startup_bare [--phases | --exit-at-main]
//
// startup_bench reads the user's settings store, as the program does; point XDG_CONFIG_HOME at a
// folder of its own and fill the store once with --write-settings, so no notice is due.
//
// --write-settings  write complete default settings to the user's store, and end
// --phases          print the ms from main() to each step; the program's start is then made
//                   of the same calls as lw::Main() with a mark between them
// --exit-at-main    end as soon as main() runs: process and libraries loaded, nothing else

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#ifndef LW_STARTUP_BARE
#include "about/frmtitlescreen.h"
#include "mainwindow/frmmain.h"
#include "mainwindow/startup.h"
#include "settings/options.h"
#include "widgets/messages.h"
#endif

namespace {

constexpr int GiveUpMs = 20000;

struct Options {
    bool writeSettings = false;
    bool phases = false;
    bool exitAtMain = false;
    bool valid = true;
};

Options parseOptions(int argc, char **argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--phases")
            options.phases = true;
        else if (arg == "--exit-at-main")
            options.exitAtMain = true;
#ifndef LW_STARTUP_BARE
        else if (arg == "--write-settings")
            options.writeSettings = true;
#endif
        else
            options.valid = false;
    }
    return options;
}

QElapsedTimer sinceMain;
std::vector<std::pair<const char *, qint64>> marks;

void mark(const char *step)
{
    marks.emplace_back(step, sinceMain.nsecsElapsed());
}

// The teardown is no part of the start-up, so neither program spends time on it.
[[noreturn]] void endProcess(bool phases, int code = 0)
{
    mark("window painted");
    if (phases) {
        qint64 previous = 0;
        for (const auto &[step, ns] : marks) {
            std::printf("%9.2f %9.2f  %s\n", static_cast<double>(ns) * 1e-6,
                        static_cast<double>(ns - previous) * 1e-6, step);
            previous = ns;
        }
    }
    std::fflush(stdout);
    std::_Exit(code);
}

// The window's first paint event starts a repaint of the whole window; the zero timer fires
// once that repaint, children included, has been flushed.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(bool phases) : m_phases(phases) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            const bool phases = m_phases;
            QTimer::singleShot(0, [phases] { endProcess(phases); });
        }
        return false;
    }

private:
    bool m_phases;
    bool m_seen = false;
};

void watchFirstPaint(QWidget &window, bool phases)
{
    static FirstPaint watcher(phases);
    window.installEventFilter(&watcher);
    QTimer::singleShot(GiveUpMs, [] {
        std::fprintf(stderr, "the window was not painted within %d ms\n", GiveUpMs);
        std::_Exit(1);
    });
}

#ifdef LW_STARTUP_BARE

int run(QApplication &, const Options &options)
{
    QWidget window;
    window.resize(640, 480);
    window.show();
    mark("window shown");
    watchFirstPaint(window, options.phases);
    return QApplication::exec();
}

#else

// lw::Main() call by call, with a mark after each.
std::unique_ptr<lw::FrmMain> mainInSteps()
{
    auto title = std::make_unique<lw::FrmTitleScreen>();
    mark("title screen made (title picture read)");
    title->show();
    QCoreApplication::processEvents();
    mark("title screen shown and painted");
    if (const QString notice = lw::LoadOptions(); !notice.isEmpty())
        lw::ShowNotice(notice, lw::MessageIcon::Warning);
    mark("LoadOptions");
    auto window = std::make_unique<lw::FrmMain>();
    mark("FrmMain made");
    window->Form_Load();
    mark("Form_Load");
    window->show();
    mark("main window show()");
    title->close();
    mark("title screen closed");
    return window;
}

int run(QApplication &app, const Options &options)
{
    lw::SetUpApplication(app);
    // No box may wait for a click; a notice here means the store was not prepared.
    lw::InstallMessageHook([](const lw::Message &message) {
        std::fprintf(stderr, "message: %s\n", qPrintable(message.text));
    });
    mark("application set up");
    if (options.writeSettings)
        return lw::SaveOptions() ? 0 : 1;
    const std::unique_ptr<lw::FrmMain> window = options.phases ? mainInSteps() : lw::Main();
    mark("Main() returned");
    watchFirstPaint(*window, options.phases);
    return QApplication::exec();
}

#endif

} // namespace

int main(int argc, char **argv)
{
    sinceMain.start();
    const Options options = parseOptions(argc, argv);
    if (!options.valid) {
        std::fprintf(stderr, "usage: %s [--phases | --exit-at-main%s]\n", argv[0],
#ifdef LW_STARTUP_BARE
                     ""
#else
                     " | --write-settings"
#endif
        );
        return 2;
    }
    if (options.exitAtMain)
        std::_Exit(0);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    mark("QApplication made");
    return run(app, options);
}
