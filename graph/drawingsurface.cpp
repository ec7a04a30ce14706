#include "drawingsurface.h"

namespace lw {

bool PrintMode = false;

namespace {
DrawingSurface *pictureSurface = nullptr;
DrawingSurface *printSurface = nullptr;
} // namespace

void SetPictureSurface(DrawingSurface *surface)
{
    pictureSurface = surface;
}

void SetPrintSurface(DrawingSurface *surface)
{
    printSurface = surface;
}

DrawingSurface *CurrentSurface()
{
    return PrintMode ? printSurface : pictureSurface;
}

} // namespace lw
