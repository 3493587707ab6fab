// The byte layouts the Windows dialogs hand to the system: a picture as the rows of a
// 24-bit device-independent bitmap, and a file chooser's filter list. Portable, so they
// are tested natively like the rest of the core.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dialogs/Controls.h"

namespace lumi::gfx {
class Image;
}

namespace lumi::shell {

// Bytes per row of a 24-bit bitmap: three per pixel, padded to a multiple of four.
int DibStride(int width);

// The picture as a bottom-up 24-bit bitmap's pixel data: rows from the bottom, each pixel
// blue, green, red, each row padded with zeros to DibStride. Empty for an empty picture.
std::vector<uint8_t> BottomUpBgrRows(const gfx::Image& image);

// The size a picture of width x height pixels, drawn for 96 pixels an inch, takes on a
// monitor with scale times as many: grown by scale, but no more than room allows (aspect
// kept) and never below its own size.
dialogs::Rect ScaledPictureSize(int width, int height, double scale, int roomWidth, int roomHeight);

// "label\0pattern\0label\0pattern\0\0", as the system's file chooser reads its filters. A
// label or pattern holding a zero byte would end the list early, so it is cut there.
std::string FilterListText(const std::vector<dialogs::FileFilter>& filters);

}  // namespace lumi::shell
