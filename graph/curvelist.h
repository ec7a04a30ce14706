#pragma once

#include "graph/graphdraw.h"

namespace lw {

// Clears the picture and forgets its curves: fresh axes only.
void ErasePicture(Picture &picture, const GraphSettingsRecord &settings);
// Adds a curve that has just been drawn on the picture.
void AddCurve(Picture &picture, CurveEntry entry);
// Draws the axes and then every visible curve again, in the order drawn, with
// the plotter's yields; a stop ends it where it is (what was drawn stays).
// False when stopped. A curve that fails now is marked failed and skipped.
bool RedrawPicture(Picture &picture, const GraphSettingsRecord &settings);

} // namespace lw
