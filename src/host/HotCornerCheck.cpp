// The corner test made when a saver run starts: the cursor against the switches.
#include "host/HotCornerCheck.h"

#include "base/Log.h"
#include "sky/HotCorners.h"

namespace lumi {

int MouseInCorner(SaverHost& host) {
    const SkyRect window = host.WindowScreenRect();
    HotCorners corners;
    corners.Read();
    const SkyPoint cursor = host.GetCursorPos();
    TpelurLogger& info = AppLog().Info;
    info.Log("MouseX", cursor.x);
    info.Log("MouseY", cursor.y);
    info.Log("ScreenRectLeft", window.left);
    info.Log("ScreenRectTop", window.top);
    const int result = CornerAt(window, cursor, corners);
    info.Log("MouseInCorner", result);
    return result;
}

}  // namespace lumi
