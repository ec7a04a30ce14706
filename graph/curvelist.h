// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "graph/graphdraw.h"

#include <QString>

#include <functional>

namespace lw {

// The settings a picture is drawn with on white paper, by the print-out and into picture files:
// the numbers in black, as the screen's colour for them may not show on white.
GraphSettingsRecord PaperSettings(const GraphSettingsRecord &settings);
// Clears the picture and forgets its curves: fresh axes only.
void ErasePicture(Picture &picture, const GraphSettingsRecord &settings);
// An id no entry has had: an entry that changes what it draws takes a new one, so a redraw that
// began before sees that it is gone.
uint64_t NewCurveId();
// Adds a curve that has just been drawn on the picture.
void AddCurve(Picture &picture, CurveEntry entry);
// Takes the entry with this id off the picture's list, with its marks.
void RemoveCurve(Picture &picture, uint64_t id);
// With the settings' Legend: the typed equations of the visible curves, one a line in their
// colours, at the picture's top left, over what is drawn.
void DrawLegend(Picture &picture, const GraphSettingsRecord &settings);
void DrawLegend(Picture &picture, const std::vector<CurveEntry> &curves,
                const GraphSettingsRecord &settings);
// A marked point, drawn now; a redraw draws the marks of the visible curves after the curves.
void DrawMark(Picture &picture, const PointMark &mark, const GraphSettingsRecord &settings);
// Draws the axes and then every visible curve again, in the order drawn, with
// the plotter's yields; a stop ends it where it is (what was drawn stays).
// False when stopped. A curve that fails now is marked failed and skipped. The
// legend comes last.
bool RedrawPicture(Picture &picture, const GraphSettingsRecord &settings);
// The same with the curves of another list (the screen's, drawn again behind it): a curve that
// fails is marked failed there.
bool RedrawPicture(Picture &picture, std::vector<CurveEntry> &curves,
                   const GraphSettingsRecord &settings);
// The same picture, with the curves plotted on `helpers` threads beside this one. This thread
// draws their steps in the order drawn as they come in, and between them calls `meanwhile` and
// asks whether to stop. A curve's plot does not yield: only this thread's hook runs.
bool RedrawPictureAlongside(Picture &picture, std::vector<CurveEntry> &curves,
                            const GraphSettingsRecord &settings, int helpers,
                            const std::function<void()> &meanwhile);

// A curve as lists and the trace name it: its equation as typed, a family member's with its
// value, "a*x^2 (a = -2)".
QString CurveName(const CurveEntry &entry);

} // namespace lw
