// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What the draw benchmark's scenarios share: the window they draw in, the figures they keep,
// and the pointer and stop scenarios run after the timed benchmarks.

#include "graph/curvelist.h"
#include "mainwindow/frmmain.h"
#include "settings/settingsstore.h"
#include "widgets/messagebox.h"

#include <QSize>
#include <QString>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace lw::drawbench {

const QString Term = QStringLiteral("2*x^2+3*x-4");
const QString PrecisionText = QStringLiteral("0,00001");
constexpr float Precision = 0.00001f;
constexpr int StopAfterMs = 100;
// The stop runs draw five times as many samples, so that a draw is still under way when the
// press comes.
const QString StopPrecisionText = QStringLiteral("0,000002");
constexpr int StopRuns = 15;

// Everything the benchmarks share; made in main after the application, gone before it.
struct DrawBench {
    lw::MemorySettingsStore store;
    std::vector<lw::Message> messages;
    std::unique_ptr<lw::FrmMain> window;
    QSize pictureSize;
    std::u16string formula;
    long plotSamples = 0;
    long walkSamples = 0;
    long drawYields = 0;
    bool samePrecision = false;
    std::map<std::string, std::vector<double>> seconds;
};
extern DrawBench *bench;

// The redraws' goal: one frame at 60 Hz.
constexpr double FrameMs = 1000.0 / 60;

double median(std::vector<double> values);
double maxOf(const std::vector<double> &values);
const char *verdict(bool met, double value);
// Lets the repaint timers of the last draw fire outside the timed part.
void settle(int ms = 30);
void openWindow(int fixedSize);
void prepareDraw();
void installCountingHook(long &count);
// Ten curves of 20 001 samples each on a 1000 x 1000 picture.
std::vector<CurveEntry> tenCurves();

struct StopFigures {
    std::vector<double> unwindMs; // the stop press until the draw command returned
    std::vector<double> lateMs;   // the press due until it was handled
    int missed = 0;               // the draw was over before the press
};

StopFigures measureStops();
// The pointer scenarios, measured and printed.
void measureAndPrintDrag();
void measureAndPrintSlider();

} // namespace lw::drawbench
