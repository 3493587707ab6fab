// The flying picture and its banner: chosen from the quote categories when the sky is
// built, moved 80 pixels a second in whole pixels with the fractions carried over, and
// followed by its words along the exact path it took.
#include "scene/FlyingPicture.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "content/Quotes.h"
#include "gfx/Canvas.h"
#include "gfx/Surface.h"
#include "gfx/Types.h"
#include "sky/SaverRun.h"
#include "media/Resources.h"
#include "moon/Moon.h"
#include "platform/PictureFile.h"
#include "sky/SkyDC.h"
#include "sky/SpaceMatrix.h"
#include "settings/IniFile.h"
#include "base/BoundedText.h"
#include "support/ErrorReport.h"
#include "base/Log.h"
#include "base/Random.h"

namespace lumi {
namespace {

constexpr const char* kSection = "FPicture";
constexpr const char* kName = "FlyingPicture";

TpelurLogger& Info() { return AppLog().Info; }

int SkyWidth() {
    const SkyRect& sky = SaverRun().ScreenRect;
    return sky.right - sky.left;
}

int SkyHeight() {
    const SkyRect& sky = SaverRun().ScreenRect;
    return sky.bottom - sky.top;
}

std::shared_ptr<gfx::Surface> SurfaceOf(const std::optional<gfx::Image>& image) {
    if (!image) return nullptr;
    return gfx::Surface::FromPixels(image->Width(), image->Height(), image->Pixels());
}

}  // namespace

void FlyingPicture::SetCourse(float newAngle) {
    angle = newAngle;
    vx = static_cast<float>(std::cos(static_cast<double>(angle)) * kSpeed);
    vy = static_cast<float>(std::sin(static_cast<double>(angle)) * kSpeed);
}

bool FlyingPicture::LoadPicture(int categoryPicture, int quotePicture) {
    if (categoryPicture == kPictureUserBitmap) {
        const std::string path = MainIni().ReadStringForUser(kSection, "BMPFILE", "", kSettingCapacity);
        if (!path.empty()) {
            hBitmap = SurfaceOf(ReadPictureFile(path));
            if (!hBitmap) Info().Log(kName, "BMPFILE not readable: " + path);
        }
    }
    if (!hBitmap) {
        // The own-picture category has no quotes, so no quote picture: its own picture
        // (the empty frame) flies instead of nothing.
        const int number = quotePicture > 0 ? quotePicture : categoryPicture;
        hBitmap = SurfaceOf(LoadBitmapResource(number));
        if (!hBitmap) Info().Log("FlyingPicture no bitmap", number);
    }
    return hBitmap != nullptr;
}

void FlyingPicture::CutWords() {
    wordCount = 0;
    char* p = BannerText;
    char* const end = BannerText + kBannerCapacity - 1;
    while (wordCount < kMaxWords) {
        while (p < end && *p == ' ') ++p;
        if (p >= end || *p == '\0') break;
        wordStarts[static_cast<size_t>(wordCount++)] = p;
        while (p < end && *p != ' ' && *p != '\0') ++p;
        if (p >= end || *p == '\0') break;
        *p++ = '\0';
    }
}

void FlyingPicture::Create() {
    Info().Log(kName, "Create");
    if (Flying()) {
        AddError("FlyingPicture - 2720");
        return;
    }
    accX = accY = 0;
    dx = dy = 0;
    sameMoveLines = 0;
    firstBannerDone = false;
    cachedTickTime = 0;

    IniFile& ini = MainIni();
    showEvery = static_cast<int32_t>(ini.ReadIntForUser(kSection, "ShowEvery", 20));
    if (ini.ReadIntForUser("Messages", "Preview", 0) != 0) {
        Info().Log(kName, "Stopped by preview mode");
        return;
    }
    const SkyRect& sky = SaverRun().ScreenRect;
    if (SkyWidth() <= kSmallSky || SkyHeight() <= kSmallSky) {
        Info().Log("FlyingPicture-GlobalRect.right", sky.right);
        Info().Log("FlyingPicture-GlobalRect.left", sky.left);
        Info().Log("FlyingPicture-GlobalRect.bottom", sky.bottom);
        Info().Log("FlyingPicture-GlobalRect.top", sky.top);
        Info().Log(kName, "Stopped:small window");
        return;
    }

    QuoteSelection selection;
    selection.ReadSelectedCategory();
    Info().Log("FPCreate Category", selection.categoryNumber);
    long autoText = ini.ReadIntForUser(kSection, "AutoText", 1);
    if (selection.picture == kPictureRandomQuote) {
        selection.RandomQuoteAnyCategory();
        autoText = 1;
    }
    if (selection.picture == kPictureJustTheSky) return;
    selection.RandomPick();

    std::string banner;
    if (autoText) BoundedCopy(banner, selection.quoteText, kBannerCapacity);
    else banner = ini.ReadStringForUser(kSection, "BANNER", "", kSettingCapacity);
    banner = banner.substr(0, kBannerCapacity - 1);
    std::fill(std::begin(BannerText), std::end(BannerText), '\0');
    banner.copy(BannerText, banner.size());

    LoadPicture(selection.picture, selection.quotePicture);

    gfx::Canvas* sky_dc = SkyDC();
    if (sky_dc == nullptr) AddError("FlyingPic - 961");
    else hMemoryDC = gfx::Canvas::CreateCompatible(sky_dc);
    bitmapWidth = hBitmap ? hBitmap->Width() : 0;
    bitmapHeight = hBitmap ? hBitmap->Height() : 0;
    shownWidth = std::min(bitmapWidth, kMaxShown);
    shownHeight = std::min(bitmapHeight, kMaxShown);
    if (hMemoryDC) hOldBitmap = hMemoryDC->SelectBitmap(hBitmap);

    SetCourse(3.14f);
    x = SkyWidth();
    y = 100 + RandomRange(0, SkyHeight() - shownHeight - 100);

    Info().Log("FlyingPicture-Banner", static_cast<const char*>(BannerText));
    CutWords();
    for (int i = 0; i < wordCount; ++i) {
        BitmapClass& word = BannerWords[static_cast<size_t>(i)];
        word.CreateFromText(sky_dc, -1, 0, wordStarts[static_cast<size_t>(i)]);
        // A word waits at the origin, which keeps the banner "on the sky" until it has
        // flown; a word of an earlier flight must not count as gone already.
        word.x = 0;
        word.y = 0;
        wordShown[static_cast<size_t>(i)] = false;
        Info().Log("Creating subbanner", wordStarts[static_cast<size_t>(i)]);
    }
}

void FlyingPicture::Step() {
    if (!Flying()) return;
    if (snooze_.Remaining() != 0) return;
    SaverRunValues& run = SaverRun();

    if ((run.TickCounter + 1) % kCourseEvery == 0) {
        const int r = RandomRange(0, 3141);
        const float target = static_cast<float>(r + 1570) / 1000.0f;
        SetCourse(target * 0.1f + angle * 0.9f);
    }

    accX += vx * static_cast<float>(run.RealTickTime) / 1000.0f;
    accY += vy * static_cast<float>(run.RealTickTime) / 1000.0f;
    dx = static_cast<int32_t>(accX);
    dy = static_cast<int32_t>(accY);
    if (dx == 0 && dy == 0 && sameMoveLines < 100) {
        Info().Log("Found same dx,dy", sameMoveLines);
        ++sameMoveLines;
    }

    gfx::Canvas* sky_dc = SkyDC();
    if (sky_dc) sky_dc->BitBlt(x, y, shownWidth - 1, shownHeight - 1, nullptr, 0, 0, gfx::RasterOp::Blackness);
    SkyMatrix.Fill(x, y, shownWidth, shownHeight, SpaceMatrixClass::kReleased);

    const int32_t oldX = x;
    const int32_t oldY = y;
    y += dy;
    x += dx;
    accX -= static_cast<float>(dx);
    accY -= static_cast<float>(dy);

    const bool out = wordCount > 0
                         ? BannerWords[static_cast<size_t>(wordCount - 1)].x +
                                   BannerWords[static_cast<size_t>(wordCount - 1)].width < 1
                         : x + shownWidth < 1;
    if (out) {
        if (x < 0) {
            Info().Log("Banner just got out of screen. X was", x);
            snooze_.Start(static_cast<uint32_t>(showEvery < 0 ? 0 : showEvery));
        }
        x = SkyWidth();
    }

    // A moon switched off keeps its last square; there is nothing there to bounce off.
    const MOON& moon = TheMoon();
    if (moon.Created() && moon.Overlaps(x, y, shownWidth, shownHeight)) {
        SetCourse(1.4f);
        // Kept back only when it came from clear sky. One already on the moon's square (the
        // moon wrapped round onto it, or drifted a pixel into it) would be put back there on
        // every tick and hang in the sky for minutes; it goes on down and to the right and
        // so leaves the moon.
        if (!moon.Overlaps(oldX, oldY, shownWidth, shownHeight)) {
            x -= dx;
            y -= dy;
        }
    }
    if (y < 1 || y + shownHeight >= SkyHeight()) {
        SetCourse(6.28f - angle);
        x -= dx;
        y -= dy;
    }

    if (sky_dc)
        sky_dc->BitBlt(x, y, shownWidth - 1, shownHeight - 1, hMemoryDC.get(), (bitmapWidth - shownWidth) / 2,
                       (bitmapHeight - shownHeight) / 2, gfx::RasterOp::SrcCopy);
    SkyMatrix.Fill(x, y, shownWidth, shownHeight, SpaceMatrixClass::kPicture);

    const int firstWordHeight = wordCount > 0 ? BannerWords[0].height : 0;
    PrintBanner(x + kBannerIndent, y + shownHeight - firstWordHeight);
}

void FlyingPicture::PrintBanner(int bx, int by) {
    if (!Flying()) return;
    if (cachedTickTime == 0) cachedTickTime = SaverRun().RealTickTime;
    if (!firstBannerDone) {
        firstBannerDone = true;
        if (!hMemoryDC) AddError("FlyingPic - 961");
        int64_t length = shownWidth;
        for (int i = 0; i < wordCount; ++i) length += BannerWords[static_cast<size_t>(i)].width + kWordGap;
        register_.Create(length * kRegisterPerPixel);
        Info().Log("PrintBanner - sum", static_cast<long>(length));
    }
    register_.Push(bx, by);

    gfx::Canvas* sky_dc = SkyDC();
    int d = shownWidth;
    for (int i = 0; i < wordCount; ++i) {
        BitmapClass& word = BannerWords[static_cast<size_t>(i)];
        // The tick time is cached once per flight, but it is not trusted to be positive.
        const int delay = gfx::MulDiv(1200, d, (cachedTickTime > 0 ? cachedTickTime : 1) * static_cast<int>(kSpeed));
        if (delay < 0 || delay >= register_.Size() || delay >= register_.Held()) break;
        const ShiftRegister::Pair place = register_.At(delay);
        if (wordShown[static_cast<size_t>(i)] && !word.Clear(sky_dc))
            MainIni().WriteString("Debug", "tBmp[i].Clear", "FALSE");
        word.x = place.x;
        word.y = place.y;
        if (!word.Display(sky_dc)) MainIni().WriteString("Debug", "tBmp[i].Display", "FALSE");
        wordShown[static_cast<size_t>(i)] = true;
        d += word.width + kWordGap;
    }
}

void FlyingPicture::ReleasePicture() {
    if (hMemoryDC && hOldBitmap) hMemoryDC->SelectBitmap(hOldBitmap);
    hOldBitmap.reset();
    hBitmap.reset();
    hMemoryDC.reset();
}

void FlyingPicture::Destroy() {
    if (!hMemoryDC) {
        AddError("FlyingPicture - 2122");
        // Without a sky to draw on a picture may still have been loaded: let it go too,
        // or the next Create would find it flying.
        if (!Flying()) return;
    }
    const bool wasFlying = Flying();
    ReleasePicture();
    // Words and the register go even when the picture itself could not be loaded, so the
    // next Create starts from nothing.
    for (int i = 0; i < kMaxWords; ++i) {
        BitmapClass& word = BannerWords[static_cast<size_t>(i)];
        // A word that never flew has nothing on the sky to erase.
        if (word.used && !wordShown[static_cast<size_t>(i)]) word.x = -word.width - 1;
        if (word.used) word.Destroy();
        wordShown[static_cast<size_t>(i)] = false;
    }
    wordCount = 0;
    if (!register_.Free() && wasFlying) AddError("ShiftRegister - 4609");
}

}  // namespace lumi
