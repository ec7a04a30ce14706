// SPDX-License-Identifier: GPL-3.0-or-later

#include "layoutpass.h"

#include <algorithm>

namespace lw {

namespace {

constexpr int MinimumHeight = 3000;
constexpr int PicVariablesWidth = 1800;
constexpr int PanelGap = 50;
constexpr int RightMargin = 120;
constexpr int MinimumWidthExtra = 200;
constexpr int16_t ToolbarSpace = 400;
constexpr int16_t BottomSpaceWithStatusBar = 1150;
constexpr int16_t BottomSpaceWithoutStatusBar = 880;
constexpr int CmdDrawWidth = 720;
constexpr int CmdDrawRightDistance = 200;
constexpr int TxtTermLeft = 1920;
constexpr int TxtTermRightDistance = 240;

// The window as the passes see it: its size changes under a pass that is still running.
struct Window {
    const LayoutInput &input;
    LayoutReserves &reserves;
    int width;
    int height;
    LayoutResult placed;
};

LayoutReserves reservesFor(const LayoutInput &in)
{
    return {in.toolbarVisible ? ToolbarSpace : int16_t(0),
            in.statusBarVisible ? BottomSpaceWithStatusBar : BottomSpaceWithoutStatusBar};
}

int picGraphLeft(const LayoutInput &in)
{
    return PicVariablesWidth + in.slidersWidth + PanelGap;
}

int optionsLeftFor(const LayoutInput &in, int side)
{
    return side + picGraphLeft(in) + PanelGap;
}

// The frames of the quick options are this wide: a narrower panel cuts off their controls.
constexpr int MinimumOptionsWidth = 1815;

void placeControls(Window &window)
{
    const LayoutInput &in = window.input;
    LayoutReserves &reserves = window.reserves;
    reserves = reservesFor(in);
    const int side = window.height - reserves.TopSpace - reserves.BottomSpace;
    const int top = reserves.TopSpace;

    LayoutResult &r = window.placed;
    r.picVariables = QRect(0, top, PicVariablesWidth, side);
    if (in.slidersWidth > 0)
        r.picSliders = QRect(PicVariablesWidth, top, in.slidersWidth, side);
    r.picGraph = QRect(picGraphLeft(in), top, side, side);
    const int optionsLeft = optionsLeftFor(in, side);
    r.picOptions = QRect(optionsLeft, top, window.width - optionsLeft - RightMargin, side);
    r.GraphHeight = GraphPixels(side, in.twipsPerPixelY);
    r.GraphWidth = GraphPixels(side, in.twipsPerPixelX);
    r.cmdDrawLeft = window.width - CmdDrawWidth - CmdDrawRightDistance;
    r.txtTermWidth = window.width - TxtTermLeft - CmdDrawWidth - TxtTermRightDistance;
}

// Setting the size re-enters the pass at once; each nesting ends after at most
// two levels because the size it sets already meets the condition that set it.
void pass(Window &window)
{
    if (window.height < MinimumHeight) {
        window.height = MinimumHeight;
        pass(window);
    }
    const int pictureFits = window.height - window.reserves.TopSpace - window.reserves.BottomSpace
                            + PicVariablesWidth + window.input.slidersWidth + MinimumWidthExtra;
    // The picture's minimum reads the reserves of the pass before and ends short of picOptions'
    // left edge; the panel needs room of its own beside the picture as this pass places it, or
    // its controls end up outside the window.
    const LayoutReserves placing = reservesFor(window.input);
    const int panelFits = optionsLeftFor(window.input,
                                         window.height - placing.TopSpace - placing.BottomSpace)
                          + MinimumOptionsWidth + RightMargin;
    const int minimumWidth = std::max(pictureFits, panelFits);
    if (minimumWidth > window.width) {
        window.width = minimumWidth;
        pass(window);
    }
    placeControls(window);
}

} // namespace

LayoutResult RunLayoutPass(const LayoutInput &input, LayoutReserves &reserves)
{
    if (input.minimised) {
        LayoutResult unchanged;
        unchanged.outerWidth = input.outerWidth;
        unchanged.outerHeight = input.outerHeight;
        return unchanged;
    }
    Window window{input, reserves, input.outerWidth, input.outerHeight, {}};
    pass(window);
    window.placed.ran = true;
    window.placed.outerWidth = window.width;
    window.placed.outerHeight = window.height;
    return window.placed;
}

ClientGeometry DockedGeometry(int clientWidth, int clientHeight, bool toolbarVisible,
                              bool statusBarVisible)
{
    ClientGeometry g;
    if (toolbarVisible)
        g.toolbar = QRect(0, 0, clientWidth, ToolbarHeight);
    int bottom = clientHeight;
    if (statusBarVisible) {
        bottom -= StatusBarHeight;
        g.statusBar = QRect(0, bottom, clientWidth, StatusBarHeight);
    }
    g.picTerm = QRect(0, bottom - PicTermHeight, clientWidth, PicTermHeight);
    return g;
}

TermBarGeometry TermBarLayout(int cmdDrawLeft, int txtTermWidth)
{
    return {QRect(45, 75, 1425, 195), QRect(1530, 60, 315, 240),
            QRect(TxtTermLeft, 15, txtTermWidth, 360), QRect(cmdDrawLeft, 30, CmdDrawWidth, 330)};
}

} // namespace lw
