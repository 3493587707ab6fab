// From a message drawn on the message canvas to star positions on the sky: one scale and
// offset that put the message at a random place of the monitor's text area, then one sky
// position per lit canvas pixel, in reading order.
#pragma once

#include <cstdint>
#include <string_view>

namespace lumi {

namespace gfx {
class Canvas;
}

// The mapping of the current message (GUI thread only).
struct TextMappingState {
    float ScaleFactor = 1.0f;
    int32_t BiasX = 0;
    int32_t BiasY = 0;
    // Where GetNextXY resumes its scan of the canvas.
    int32_t scanRow = 0;
    int32_t scanColumn = 0;
};
TextMappingState& TextMapping();
void ResetTextMapping();

// Measures a text of lines separated by line feeds with the canvas's current font: the
// widest line and the sum of the line heights, each stored when its pointer is given.
// Only the first 499 characters are measured; a carriage return counts as a blank.
void GetTextSize(gfx::Canvas* hdc, std::string_view text, int32_t* maxWidth, int32_t* totalHeight);

// Fixes the scale and offset for the message now on the message canvas, placing it inside
// MonitorRect, and restarts the scan.
void Text2Pixel();

// The sky position of the next lit canvas pixel, which is then used up: 1. When none is
// left: 0 with x random in 0..ScreenRect.right - 1 and y = ScreenRect.bottom, where a
// star is parked out of sight (also what a position off the sky's top or left yields).
int GetNextXY(int32_t& x, int32_t& y);

}  // namespace lumi
