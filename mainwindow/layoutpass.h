// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "widgets/twips.h"

#include <QRect>
#include <QSize>

#include <cstdint>

namespace lw {

// The docked bars, in twips.
constexpr int ToolbarHeight = 390;
constexpr int PicTermHeight = 435;
constexpr int StatusBarHeight = 270;

// Kept by the window between passes; both 0 before the first.
struct LayoutReserves {
    int16_t TopSpace = 0;
    int16_t BottomSpace = 0;
};

struct LayoutInput {
    int outerWidth = 0; // twips, frame and title bar included
    int outerHeight = 0;
    bool minimised = false;
    bool toolbarVisible = true;
    bool statusBarVisible = true;
    double twipsPerPixelX = 15.0;
    double twipsPerPixelY = 15.0;
    // The parameters' sliders stand in a column of this width between the variables panel and
    // the picture; 0 leaves the window as designed.
    int slidersWidth = 0;
};

struct LayoutResult {
    bool ran = false;   // false when minimised: nothing changes, nothing is drawn
    int outerWidth = 0; // the size the window must have once the pass and its nested passes ran
    int outerHeight = 0;
    QRect picVariables; // twips, relative to the client area
    QRect picSliders;   // empty without sliders
    QRect picGraph;
    QRect picOptions;
    int cmdDrawLeft = 0; // twips, inside picTerm
    int txtTermWidth = 0;
    int16_t GraphWidth = 0; // pixels
    int16_t GraphHeight = 0;
};

// One layout pass after a change of the window's size, with the passes it
// starts itself by raising the height or the width modelled in place.
LayoutResult RunLayoutPass(const LayoutInput &input, LayoutReserves &reserves);

// The bars docked at the client area's edges (twips); a hidden bar gets a null rect.
struct ClientGeometry {
    QRect toolbar;
    QRect picTerm;
    QRect statusBar;
};

ClientGeometry DockedGeometry(int clientWidth, int clientHeight, bool toolbarVisible,
                              bool statusBarVisible);

// The controls of picTerm (twips, relative to picTerm).
struct TermBarGeometry {
    QRect Label2;
    QRect Label3;
    QRect txtTerm;
    QRect cmdDraw;
};

TermBarGeometry TermBarLayout(int cmdDrawLeft, int txtTermWidth);

} // namespace lw
