// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A fresh main window per test: in-memory settings in a German locale,
// recorded messages, the real draw yield.

#include "graph/drawingsurface.h"
#include "graph/graphdraw.h"
#include "help/frmhelp.h"
#include "mainwindow/drawcommand.h"
#include "mainwindow/frmmain.h"
#include "settings/graphsettings.h"
#include "settings/settingsstore.h"
#include "widgets/messagebox.h"
#include "widgets/picturewidget.h"

#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace lw::testing {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        GraphSettings = GraphSettingsRecord{};
        SetSettingsStore(&store);
        InstallMessageHook([this](const Message &m) { messages.push_back(m); });
        InstallDrawYield();
    }

    void TearDown() override
    {
        window.reset();
        SetSettingsStore(nullptr);
        InstallMessageHook({});
        GraphSettings = GraphSettingsRecord{};
        QLocale::setDefault(QLocale::c());
    }

    // A shown main window whose picture is exactly size x size pixels.
    FrmMain &openWindow(int size = 300)
    {
        window = std::make_unique<FrmMain>();
        window->Form_Load();
        window->show();
        window->picGraph->setPictureSize(QSize(size, size));
        ResizePicture(ScreenPicture(), static_cast<int16_t>(size), static_cast<int16_t>(size));
        RedrawAxes(ScreenPicture(), GraphSettings);
        return *window;
    }

    QColor pixel(int x, int y) { return window->picGraph->surface().image().pixelColor(x, y); }

    MemorySettingsStore store;
    std::vector<Message> messages;
    std::unique_ptr<FrmMain> window;
};

inline const QColor CurveColour(0, 0, 128);

// The help window, found among the windows as the user finds it; nullptr while there is none.
inline FrmHelp *HelpWindow()
{
    FrmHelp *found = nullptr;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *help = qobject_cast<FrmHelp *>(window)) {
            EXPECT_EQ(found, nullptr) << "a second help window";
            found = help;
        }
    }
    return found;
}

} // namespace lw::testing
