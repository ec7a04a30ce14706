#pragma once

// Shared set-up of the drawing tests: default settings and a recorded picture
// of a given size.

#include "formula/eventhook.h"
#include "graph/drawingsurface.h"
#include "graph/graphdraw.h"
#include "graph/recordingsurface.h"
#include "settings/graphsettings.h"

#include <gtest/gtest.h>

namespace lw::testing {

class DrawingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        GraphSettings = GraphSettingsRecord{};
        PrintMode = false;
        picture = RecordingSurface{};
        printOut = RecordingSurface{};
        SetPictureSurface(&picture);
        SetPrintSurface(&printOut);
        setSize(300, 300);
        InstallEventHook({});
    }

    void TearDown() override
    {
        SetPictureSurface(nullptr);
        SetPrintSurface(nullptr);
        InstallEventHook({});
        PrintMode = false;
        GraphSettings = GraphSettingsRecord{};
    }

    void setSize(int width, int height)
    {
        GraphWidth = static_cast<int16_t>(width);
        GraphHeight = static_cast<int16_t>(height);
    }

    // The recorded operations as trace lines, and whether one is among them.
    QStringList ops() const { return picture.lines(); }
    bool has(const QString &line) const { return ops().contains(line); }

    RecordingSurface picture;
    RecordingSurface printOut;
};

} // namespace lw::testing
