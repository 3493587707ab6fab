// The text font chooser: the "Font" section in, the user's choice out.
#include "dialogs/TextFontChooser.h"

#include "gfx/Types.h"
#include "media/TextFont.h"
#include "settings/IniFile.h"

namespace lumi::dialogs {

namespace {

constexpr const char* kSection = "Font";
constexpr const char* kDefaultFace = "Courier New";

}  // namespace

void ChooseTextFont(Controls& owner) {
    IniFile& ini = MainIni();
    TextFont textFont;
    textFont.Load(kSection);

    FontChoice font;
    // The chooser starts from the stored face and character set too: a cancel writes
    // them back, so they must be what was there.
    font.face = ini.ReadStringForUser(kSection, "Font", kDefaultFace, TextFont::kFaceNameCapacity + 1);
    font.charSet = static_cast<int>(ini.ReadIntForUser(kSection, "FontCharSet", 0) & 0xFF);
    font.pointSize = textFont.FontSize;
    font.color = static_cast<uint32_t>(textFont.Color);
    owner.ChooseFont(font);

    ini.WriteStringForUser(kSection, "Font", font.face.substr(0, TextFont::kFaceNameCapacity - 1));
    ini.WriteFloatForUser(kSection, "FontSize", font.pointSize);
    ini.WriteUIntForUser(kSection, "FontCharSet", static_cast<unsigned long>(font.charSet & 0xFF));
    ini.WriteIntForUser(kSection, "Color", static_cast<int32_t>(font.color));
}

int PointSizeFromHeight(int logicalHeight, int pixelsPerInch) {
    return -gfx::MulDiv(logicalHeight, 72, pixelsPerInch);
}

int HeightFromPointSize(int points, int pixelsPerInch) { return -gfx::MulDiv(points, pixelsPerInch, 72); }

}  // namespace lumi::dialogs
