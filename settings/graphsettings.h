// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

namespace lw {

// Colours: red in the lowest byte, green in the next, blue in the third.
using Colour = uint32_t;

struct GraphSettingsRecord {
    Colour GraphColor = 8421504; // grey
    Colour GraphNumberColor = 0; // black
    Colour LiveColor = 8388608;  // dark blue
    int16_t GraphScaleX = 20;
    int16_t GraphScaleY = 20;
    int16_t ScreenCentralX = 0;
    int16_t ScreenCentralY = 0;
    int16_t OriginX = 0;
    int16_t OriginY = 0;
    int16_t PutMarkEachX = 1;
    int16_t PutMarkEachY = 1;
    int16_t PutNumberEachX = 1;
    int16_t PutNumberEachY = 1;
    float CalcFrom = -20;
    float CalcTo = 20;
    float Precision = 0.1f;
    bool LinkPoints = true;
    bool AlwaysDeleteGraph = false;
    // The equations in their colours at the picture's top left. For this run only: neither the
    // store nor graph files hold it.
    bool Legend = false;
    // Zoom about the pointer and a drag move the view by fractions of a unit: its centre lies
    // this far beyond ScreenCentralX/Y, less than half a unit either way. For this run only:
    // the store and graph files keep the nearest whole centre.
    double CentreFractionX = 0;
    double CentreFractionY = 0;
    // A view reached by zooming: marks and numbers this many units apart (0.1, 0.2, 0.5, 1, 2,
    // 5 ...), chosen anew for the picture's size; 0 where the spacings above hold as set. For
    // this run only: the store and graph files keep the whole spacings above.
    double ZoomSpacingX = 0;
    double ZoomSpacingY = 0;
    // The display range in x the step of Precision belongs to: the range a zoom began at. A
    // narrower view samples as many times finer; 0 when the view was not zoomed. For this run
    // only.
    int16_t StepRangeX = 0;

    friend bool operator==(const GraphSettingsRecord &, const GraphSettingsRecord &) = default;
};

// Filled by LoadOptions; assigned by the settings dialog, a loaded graph file
// and linienwerk-cli; changed in part by the draw command (the quick options),
// the curve colour button and the view keys on the picture. Written to the
// store only by SaveOptions.
extern GraphSettingsRecord GraphSettings;

} // namespace lw
