// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Shared set-up of the drawing tests: default settings and a recorded picture
// of a given size.

#include "formula/eventhook.h"
#include "graph/graphdraw.h"
#include "graph/plotgraph.h"
#include "graph/recordingsurface.h"
#include "settings/graphsettings.h"

#include <gtest/gtest.h>

namespace lw::testing {

class DrawingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        GraphSettings = GraphSettingsRecord{};
        picture = RecordingSurface{};
        screen = BlankPicture(picture);
        setSize(300, 300);
        InstallEventHook({});
    }

    void TearDown() override
    {
        InstallEventHook({});
        GraphSettings = GraphSettingsRecord{};
    }

    void setSize(int width, int height)
    {
        ResizePicture(screen, static_cast<int16_t>(width), static_cast<int16_t>(height));
    }
    void drawAxes() { RedrawAxes(screen, GraphSettings); }
    PlotResult plot(std::u16string_view formula)
    {
        return PlotGraph(formula, screen.geometry, GraphSettings, picture);
    }
    const PlotGeometry &geometry() const { return screen.geometry; }

    // The recorded operations as trace lines, and whether one is among them.
    QStringList ops() const { return picture.lines(); }
    bool has(const QString &line) const { return ops().contains(line); }

    RecordingSurface picture;
    Picture screen;
};

} // namespace lw::testing
