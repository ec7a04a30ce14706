#include "layoutpass.h"

#include "formula/numeric.h"

#include <cmath>
#include <limits>

namespace lw {

namespace {

constexpr int MinimumHeight = 3000;
constexpr int PicVariablesWidth = 1800;
constexpr int PicGraphLeft = 1850;
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
    int optionsWidth;
    LayoutResult placed;
};

int16_t pixelsOf(int twips, double twipsPerPixel)
{
    const double pixels = twips / twipsPerPixel;
    if (const auto rounded = RoundToInt16(pixels))
        return *rounded;
    return pixels < 0 ? std::numeric_limits<int16_t>::min() : std::numeric_limits<int16_t>::max();
}

void placeControls(Window &window)
{
    const LayoutInput &in = window.input;
    LayoutReserves &reserves = window.reserves;
    reserves.TopSpace = in.toolbarVisible ? ToolbarSpace : 0;
    reserves.BottomSpace =
        in.statusBarVisible ? BottomSpaceWithStatusBar : BottomSpaceWithoutStatusBar;
    const int side = window.height - reserves.TopSpace - reserves.BottomSpace;
    const int top = reserves.TopSpace;

    LayoutResult &r = window.placed;
    r.picVariables = QRect(0, top, PicVariablesWidth, side);
    r.picGraph = QRect(PicGraphLeft, top, side, side);
    const int optionsLeft = side + PicGraphLeft + PanelGap;
    if (window.width - optionsLeft - RightMargin > 0)
        window.optionsWidth = window.width - optionsLeft - RightMargin;
    r.picOptions = QRect(optionsLeft, top, window.optionsWidth, side);
    r.GraphHeight = pixelsOf(side, in.twipsPerPixelY);
    r.GraphWidth = pixelsOf(side, in.twipsPerPixelX);
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
    const int minimumWidth = window.height - window.reserves.TopSpace - window.reserves.BottomSpace
                             + PicVariablesWidth + MinimumWidthExtra;
    if (minimumWidth > window.width) {
        window.width = minimumWidth;
        pass(window);
    }
    placeControls(window);
}

int twipsOf(int pixels, double twipsPerPixel)
{
    return static_cast<int>(std::nearbyint(pixels * twipsPerPixel));
}

// The fewest pixels that read back as at least the twips, so that a size read
// back and converted again stays the same pixels at any scale.
int pixelsUp(int twips, double twipsPerPixel)
{
    int pixels = static_cast<int>(std::floor(twips / twipsPerPixel));
    while (twipsOf(pixels, twipsPerPixel) < twips)
        ++pixels;
    return pixels;
}

int toPixels(int twips, double twipsPerPixel)
{
    return static_cast<int>(std::nearbyint(twips / twipsPerPixel));
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
    Window window{input, reserves, input.outerWidth, input.outerHeight, input.optionsWidth, {}};
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

QSize OuterToClient(QSize outer)
{
    return outer - QSize(NonClientWidth, NonClientHeight);
}

QSize ClientToOuter(QSize client)
{
    return client + QSize(NonClientWidth, NonClientHeight);
}

QSize ClientPixelsForOuter(QSize outer, double twipsPerPixelX, double twipsPerPixelY)
{
    const QSize client = OuterToClient(outer);
    return QSize(pixelsUp(client.width(), twipsPerPixelX),
                 pixelsUp(client.height(), twipsPerPixelY));
}

QSize OuterForClientPixels(QSize clientPixels, double twipsPerPixelX, double twipsPerPixelY)
{
    return ClientToOuter(QSize(twipsOf(clientPixels.width(), twipsPerPixelX),
                               twipsOf(clientPixels.height(), twipsPerPixelY)));
}

QRect PixelRect(const QRect &twips, double twipsPerPixelX, double twipsPerPixelY)
{
    const int x1 = toPixels(twips.x(), twipsPerPixelX);
    const int y1 = toPixels(twips.y(), twipsPerPixelY);
    const int x2 = toPixels(twips.x() + twips.width(), twipsPerPixelX);
    const int y2 = toPixels(twips.y() + twips.height(), twipsPerPixelY);
    return QRect(x1, y1, x2 - x1, y2 - y1);
}

} // namespace lw
