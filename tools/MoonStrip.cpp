// Draws the moon at several phases side by side into a PNG, for looking at the artwork and
// its shading together:  MoonStrip [--unturned] FILE.png [PHASE...]  (phase angles in
// degrees, 0 = full). The phases are forced through the debug setting the saver itself
// honours. Each moon is turned by its own random angle, as on the sky, so the terminator
// leans differently in each; --unturned shows the shaded picture before the turn (and
// without the tint), where every terminator is upright.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/FakeClock.h"
#include "base/Log.h"
#include "base/Random.h"
#include "gfx/Canvas.h"
#include "gfx/PngWriter.h"
#include "moon/Moon.h"
#include "platform/Startup.h"
#include "settings/IniFile.h"
#include "sky/SpaceMatrix.h"

int main(int argc, char** argv) {
    lumi::platform::StartPlatform();
    const bool unturned = argc > 1 && std::string(argv[1]) == "--unturned";
    if (unturned) {
        --argc;
        ++argv;
    }
    if (argc < 2) {
        std::fprintf(stderr, "usage: MoonStrip [--unturned] FILE.png [PHASE...]\n");
        return 2;
    }
    std::vector<int> phases = {0, 45, 90, 135, 200, 270};
    if (argc > 2) {
        phases.clear();
        for (int i = 2; i < argc; ++i) phases.push_back(std::atoi(argv[i]));
    }

    // A settings file of its own, so the user's stays as it is.
    char folder[] = "/tmp/lumi-moonstrip-XXXXXX";
    if (!mkdtemp(folder)) return 1;
    const std::string settings = std::string(folder) + "/";
    lumi::RestartLogAt(settings + "log.txt");
    if (lumi::MainIni().Init(settings, "Lumivan.ini") != 0) return 1;
    // 14:00 in March: the evening tint is at its weakest, so the picture keeps its colours.
    lumi::FakeClock clock((lumi::DaysFromCivil(2010, 3, 10) * 86400 + 14 * 3600) * 1000);
    lumi::SetClock(&clock);
    lumi::SeedRandom(7);

    constexpr int kSkyWidth = 600, kSkyHeight = 200;
    lumi::gfx::Canvas sky{lumi::gfx::Surface::Create(kSkyWidth, kSkyHeight)};
    const lumi::SkyRect rect{0, 0, kSkyWidth, kSkyHeight};
    lumi::SkyMatrix.Create(kSkyWidth, kSkyHeight);
    const int count = static_cast<int>(phases.size());
    lumi::gfx::Canvas strip{lumi::gfx::Surface::Create(count * 110 + 10, 120)};
    for (int i = 0; i < count; ++i) {
        lumi::ResetMoon();
        sky.FillRect(lumi::gfx::Rect{0, 0, kSkyWidth, kSkyHeight}, lumi::gfx::Brush::Black());
        lumi::TheMoon().SetSky(&sky, rect);
        const int phase = phases[static_cast<size_t>(i)];
        lumi::MOON& moon = lumi::TheMoon();
        if (unturned) {
            // The shading alone, as Create does it before the mirror, tint and turn.
            moon.MoonBmp.CreateFromResource(&sky, lumi::MOON::kBitmap);
            for (int x = 0; x < lumi::MOON::kSize; ++x)
                for (int y = 0; y < lumi::MOON::kSize; ++y) moon.ShadePixel(x, y, phase);
            strip.BitBlt(10 + i * 110, 10, 100, 100, moon.MoonBmp.hMemoryDC.get(), 0, 0, lumi::gfx::RasterOp::SrcCopy);
            continue;
        }
        lumi::MainIni().WriteInt("debug", "MoonPhase", phase);
        moon.Create();
        moon.Step();
        strip.BitBlt(10 + i * 110, 10, 100, 100, &sky, moon.MoonBmp.x, moon.MoonBmp.y, lumi::gfx::RasterOp::SrcCopy);
    }
    lumi::ResetMoon();
    lumi::SkyMatrix.Destroy();
    // The log's closing lines at exit read the clock: give it the real one back first.
    lumi::SetClock(nullptr);

    const std::vector<lumi::gfx::Color> pixels = strip.Bitmap()->ReadPixels();
    const std::vector<uint8_t> png = lumi::gfx::EncodePng(strip.Bitmap()->Width(), strip.Bitmap()->Height(),
                                                          pixels.data(), static_cast<size_t>(strip.Bitmap()->Width()));
    const bool written = !png.empty() && lumi::gfx::WriteEncodedImage(argv[1], png);
    std::remove((settings + "Lumivan.ini").c_str());
    std::remove((settings + "log.txt").c_str());
    rmdir(folder);
    if (!written) {
        std::fprintf(stderr, "MoonStrip: cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("MoonStrip: wrote %s\n", argv[1]);
    return 0;
}
