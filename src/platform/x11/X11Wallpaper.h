// The wallpaper of a bare X server or a window manager without a desktop: the root
// window's background pixmap, announced the way root-window tools agree on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/Image.h"

namespace lumi::x11 {

// Scales the picture to cover the screen of the display DISPLAY names, makes it the root
// window's background and sets _XROOTPMAP_ID and ESETROOT_PMAP_ID to it. The pixmap
// outlives our connection; the one it replaces is freed only if we made it. False, with
// why, when there is no display or the server refuses.
bool SetRootWindowWallpaper(const gfx::Image& picture, std::string& why);

// The picture scaled to cover width × height, cut evenly at the sides that overhang,
// as 0x00RRGGBB pixels row by row; empty when out of memory.
std::vector<uint32_t> CoverScreen(const gfx::Image& picture, int width, int height);

}  // namespace lumi::x11
