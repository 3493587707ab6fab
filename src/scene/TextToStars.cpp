// Measuring message texts and mapping the message canvas onto the sky.
#include "scene/TextToStars.h"

#include <algorithm>
#include <string>

#include "gfx/Canvas.h"
#include "sky/SaverRun.h"
#include "scene/MessageCanvas.h"
#include "base/Log.h"
#include "base/Random.h"

namespace lumi {

namespace {

TextMappingState mapping;

// The work buffer's capacity: a longer text is measured by its first 499 characters.
constexpr size_t kWorkCapacity = 500;
constexpr float kMaxScaleFactor = 10.0f;

}  // namespace

TextMappingState& TextMapping() { return mapping; }
void ResetTextMapping() { mapping = TextMappingState(); }

void GetTextSize(gfx::Canvas* hdc, std::string_view text, int32_t* maxWidth, int32_t* totalHeight) {
    // The text is a C string to the measuring: it ends at its first NUL.
    text = text.substr(0, std::min(text.find('\0'), text.size()));
    std::string work(text.substr(0, kWorkCapacity - 1));
    int32_t width = 0;
    int32_t height = 0;
    size_t lineStart = 0;
    for (size_t i = 0; i <= work.size(); ++i) {
        if (i < work.size() && work[i] == '\r') work[i] = ' ';
        if (i < work.size() && work[i] != '\n') continue;
        const std::string_view line(work.data() + lineStart, i - lineStart);
        lineStart = i + 1;
        if (!hdc) {
            AppLog().Error.Log("Lumivan/GetTextSize", "!GetTextExtentPoint32a");
            AppLog().Error.Log("GetTextSize/txt", text);
            continue;
        }
        const gfx::Size size = hdc->GetTextExtentPoint32(line);
        width = std::max(width, size.cx);
        height += size.cy;
    }
    if (maxWidth) *maxWidth = width;
    if (totalHeight) *totalHeight = height;

    if (width <= 0) AppLog().Warning.Log("sm-GetTextSize (x<=0)", text);
    if (height <= 0) AppLog().Warning.Log("sm-GetTextSize (y<=0)", text);
    if (int64_t{width} * height > 150000) {
        AppLog().Error.Log("Lumivan/GetTextSize", "x*y");
        AppLog().Error.Log("text", text);
    }
    if (width > 5000) AppLog().Error.Log("Lumivan/GetTextSize X", width);
    if (height > 400) AppLog().Error.Log("Lumivan/GetTextSize Y", height);
}

void Text2Pixel() {
    MessageCanvasClass& canvas = MessageCanvas();
    TpelurLogger& info = AppLog().Info;

    int32_t minX = canvas.canvasWidth, maxX = 0;
    int32_t minY = canvas.canvasHeight, maxY = 0;
    for (int32_t y = 0; y < canvas.canvasHeight; ++y) {
        for (int32_t x = 0; x < canvas.canvasWidth; ++x) {
            if (!canvas.IsLit(x, y)) continue;
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
        }
    }
    info.Log("origMinX", minX);
    info.Log("origMaxX", maxX);

    // A canvas without a lit pixel has inverted bounds; it parks every star whatever the
    // scale, so its span only has to keep the divisions defined.
    const int32_t spanX = std::max(maxX - minX + 1, 1);
    const int32_t spanY = std::max(maxY - minY + 1, 1);

    const SkyRect& area = SaverRun().MonitorRect;
    const int32_t borderX = (area.right - area.left) / 10;
    const int32_t bLeft = area.left + borderX;
    const int32_t bRight = area.right - borderX;
    info.Log("Text2Pixel-borderX", borderX);
    info.Log("Text2Pixel-BLeft", bLeft);
    info.Log("Text2Pixel-BRight", bRight);
    // Three borders, not two: at least one border's width is left for the random offset.
    const float scaleX = static_cast<float>(area.right - area.left - 3 * borderX) / static_cast<float>(spanX);
    info.Log("Text2Pixel-ScaleFactorX", scaleX);

    info.Log("origMinY", minY);
    info.Log("origMaxY", maxY);
    const int32_t borderY = (area.bottom - area.top) / 7;
    const int32_t bTop = area.top + borderY;
    const int32_t bBottom = area.bottom - borderY;
    info.Log("Text2Pixel-borderY", borderY);
    info.Log("Text2Pixel-BTop", bTop);
    info.Log("Text2Pixel-BBottom", bBottom);
    const int32_t room = area.bottom - area.top - 3 * borderY;
    info.Log("Text2Pixel-ScaleFactorY", room / spanY);
    const float scaleY = static_cast<float>(room) / static_cast<float>(spanY);

    float scale = scaleY <= scaleX ? scaleY : scaleX;
    scale = std::min(scale, kMaxScaleFactor);
    mapping.ScaleFactor = scale;

    const auto trunc = [](float v) { return static_cast<int32_t>(v); };
    mapping.BiasX = RandomRange(0, bRight - trunc(scale * static_cast<float>(maxX - minX)) - bLeft) + bLeft -
                    trunc(static_cast<float>(minX) * scale);
    mapping.BiasY = RandomRange(0, bBottom - trunc(scale * static_cast<float>(maxY - minY)) - bTop) + bTop -
                    trunc(static_cast<float>(minY) * scale);
    info.Log("Text2Pixel-ScaleFactor", mapping.ScaleFactor);
    info.Log("Text2Pixel-BiasX", mapping.BiasX);
    info.Log("Text2Pixel-BiasY", mapping.BiasY);
    mapping.scanRow = 0;
    mapping.scanColumn = 0;
}

namespace {

int Park(int32_t& x, int32_t& y) {
    const SkyRect& sky = SaverRun().ScreenRect;
    x = RandomRange(0, sky.right);
    y = sky.bottom;
    return 0;
}

}  // namespace

int GetNextXY(int32_t& x, int32_t& y) {
    MessageCanvasClass& canvas = MessageCanvas();
    const int32_t resumeRow = mapping.scanRow;
    const int32_t resumeColumn = mapping.scanColumn;
    for (int32_t row = resumeRow; row < canvas.canvasHeight; ++row) {
        const int32_t firstColumn = row == resumeRow ? resumeColumn : 0;
        for (int32_t column = firstColumn; column < canvas.canvasWidth; ++column) {
            mapping.scanColumn = column;
            mapping.scanRow = row;
            if (!canvas.IsLit(column, row)) continue;
            canvas.Unlight(column, row);
            x = static_cast<int32_t>(static_cast<float>(column) * mapping.ScaleFactor) + mapping.BiasX;
            y = static_cast<int32_t>(static_cast<float>(row) * mapping.ScaleFactor) + mapping.BiasY;
            // A position off the sky would have its star fly off and log on every tick;
            // it is parked like a star without a pixel instead.
            if (x < 0) {
                AppLog().Error.Log("GetNextXY x", x);
                return Park(x, y);
            }
            if (y < 0) {
                AppLog().Error.Log("GetNextXY y", y);
                return Park(x, y);
            }
            return 1;
        }
    }
    return Park(x, y);
}

}  // namespace lumi
