// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The settings dialog on the offscreen platform, driven by its widgets' names: settings with every
// field changed, an in-memory store, a recorded picture and a colour chooser that answers itself.

#include "settingstesting.h"

#include "graph/drawingsurface.h"
#include "graph/graphdraw.h"
#include "graph/recordingsurface.h"
#include "settings/frmgraphoptions.h"
#include "settings/graphsettings.h"
#include "settings/settingsstore.h"
#include "tests/support/messagerecorder.h"
#include "tests/support/modalanswer.h"
#include "tests/support/settingsrecords.h"
#include "widgets/colourchooser.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace lw::settingstest {

class GraphOptions : public ::testing::Test {
protected:
    void SetUp() override
    {
        GraphSettings = lw::testing::EveryFieldChanged();
        SetSettingsStore(&store);
        ScreenPicture() = BlankPicture(picture, 200, 200);
        SetColourChooser([this](const QColor &preset, QWidget *) {
            presets.push_back(preset);
            return chooserAnswer;
        });
    }

    void TearDown() override
    {
        dialog.reset();
        SetColourChooser({});
        ScreenPicture() = Picture{};
        SetSettingsStore(nullptr);
        GraphSettings = GraphSettingsRecord{};
    }

    // A shown dialog driven without its own event loop.
    FrmGraphOptions &show()
    {
        dialog = std::make_unique<FrmGraphOptions>(nullptr, [this] { quickOptionsUpdated(); });
        dialog->Form_Load();
        dialog->show();
        return *dialog;
    }

    void quickOptionsUpdated()
    {
        ++updates;
        settingsAtUpdate = GraphSettings;
        pictureAtUpdate = picture.lines();
    }

    // Opens the dialog as the main window does and runs `act` once it is up.
    bool openAndAct(std::function<void(FrmGraphOptions &)> act)
    {
        lw::testing::ModalAnswer<FrmGraphOptions> answer([act](FrmGraphOptions *shown) {
            const QPointer<FrmGraphOptions> guard = shown;
            act(*shown);
            if (guard && guard->isVisible()) {
                ADD_FAILURE() << "the dialog is still open";
                guard->done(QDialog::Rejected);
            }
        });
        const bool accepted = FrmGraphOptions::open(nullptr, [this] { quickOptionsUpdated(); });
        EXPECT_TRUE(answer.answered());
        return accepted;
    }

    QLineEdit *field(const char *name) { return dialog->findChild<QLineEdit *>(name); }
    // The label or button showing `caption`.
    const QWidget *captioned(const QString &caption) const
    {
        for (const QLabel *label : dialog->findChildren<QLabel *>())
            if (label->text() == caption)
                return label;
        for (const QPushButton *button : dialog->findChildren<QPushButton *>())
            if (button->text() == caption)
                return button;
        return nullptr;
    }

    LocaleScope german{germanLocale()};
    lw::testing::MessageRecorder recorder;
    MemorySettingsStore store;
    RecordingSurface picture;
    std::unique_ptr<FrmGraphOptions> dialog;
    std::optional<QColor> chooserAnswer;
    std::vector<QColor> presets;
    int updates = 0;
    GraphSettingsRecord settingsAtUpdate;
    QStringList pictureAtUpdate;
};

} // namespace lw::settingstest
