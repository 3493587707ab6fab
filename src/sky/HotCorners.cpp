// The hot-corner switches and the corner a cursor rests in.
#include "sky/HotCorners.h"

#include "settings/IniFile.h"
#include "base/Log.h"

namespace lumi {

namespace {

constexpr const char* kSection = "Params";

int ReadSwitch(const char* key, int def) {
    return static_cast<int>(MainIni().ReadIntForUser(kSection, key, def));
}

}  // namespace

void HotCorners::Read() {
    topLeft = ReadSwitch("DisableTL", 0);
    topRight = ReadSwitch("DisableTR", 0);
    bottomLeft = ReadSwitch("DisableBL", 0);
    bottomRight = ReadSwitch("DisableBR", 0);
    switchOffTV = ReadSwitch("SwitchOffTV", 1);
    reachTheStars = ReadSwitch("ReachTheStars", 0);
}

void HotCorners::Write() const {
    IniFile& ini = MainIni();
    ini.WriteUIntForUser(kSection, "DisableTL", static_cast<unsigned long>(topLeft));
    ini.WriteUIntForUser(kSection, "DisableTR", static_cast<unsigned long>(topRight));
    ini.WriteUIntForUser(kSection, "DisableBL", static_cast<unsigned long>(bottomLeft));
    ini.WriteUIntForUser(kSection, "DisableBR", static_cast<unsigned long>(bottomRight));
    ini.WriteUIntForUser(kSection, "SwitchOffTV", static_cast<unsigned long>(switchOffTV));
    ini.WriteUIntForUser(kSection, "ReachTheStars", static_cast<unsigned long>(reachTheStars));
}

int CornerAt(const SkyRect& w, SkyPoint p, const HotCorners& c) {
    // The window's right and bottom edges count as inside, so a cursor pushed against
    // the far edge of the screen still rests in its corner.
    const bool nearLeft = w.left <= p.x && p.x < w.left + kCornerSize;
    const bool nearRight = w.right - kCornerSize < p.x && p.x <= w.right;
    const bool nearTop = w.top <= p.y && p.y < w.top + kCornerSize;
    const bool nearBottom = w.bottom - kCornerSize < p.y && p.y <= w.bottom;
    int result = kNoCorner;
    if (c.topLeft && nearLeft && nearTop) result = kTopLeft;
    if (c.topRight && nearRight && nearTop) result = kTopRight;
    if (c.bottomLeft && nearLeft && nearBottom) result = kBottomLeft;
    if (c.bottomRight && nearRight && nearBottom) result = kBottomRight;
    return result;
}


}  // namespace lumi
