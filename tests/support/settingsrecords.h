// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "settings/graphsettings.h"

namespace lw::testing {

// Every field away from its default and from the others, so that a field that falls back to its
// default or takes another's value shows. Its numbers fit the seven digits of a graph file, and a
// curve can be drawn with it.
inline GraphSettingsRecord EveryFieldChanged()
{
    return {0x123456, 16777215,  255,      // GraphColor, GraphNumberColor, LiveColor
            30,       10,                  // GraphScaleX/Y
            -7,       9,                   // ScreenCentralX/Y
            -32768,   32767,               // OriginX/Y
            2,        5,         4,     6, // PutMarkEachX/Y, PutNumberEachX/Y
            -3.25f,   1234.567f, 0.05f,    // CalcFrom, CalcTo, Precision
            false,    true};               // LinkPoints, AlwaysDeleteGraph
}

// The same without the colours, which a graph file does not hold.
inline GraphSettingsRecord EveryGphFieldChanged()
{
    GraphSettingsRecord record = EveryFieldChanged();
    const GraphSettingsRecord defaults;
    record.GraphColor = defaults.GraphColor;
    record.GraphNumberColor = defaults.GraphNumberColor;
    record.LiveColor = defaults.LiveColor;
    return record;
}

} // namespace lw::testing
