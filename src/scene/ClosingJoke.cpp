// The fake shutdown: the system's exit sound, its shutdown picture (or ours where the
// system has none), then the confession on a black screen.
#include "scene/ClosingJoke.h"

#include "gfx/Canvas.h"
#include "sky/SaverRun.h"
#include "media/BitmapClass.h"
#include "media/Sound.h"
#include "media/TextFont.h"
#include "base/Clock.h"
#include "platform/System.h"
#include "sky/SkyDC.h"
#include "settings/IniFile.h"
#include "base/Log.h"
#include "base/Random.h"

namespace lumi {

namespace {

void Wait(const JokePause& pause, uint32_t ms) {
    if (pause) pause(ms);
    else TheClock().Sleep(ms);
}

void BlackOut(gfx::Canvas& dc, const SkyRect& sky) {
    const gfx::Brush old = dc.SelectBrush(gfx::Brush::Black());
    dc.Rectangle(sky.left, sky.top, sky.right, sky.bottom);
    dc.SelectBrush(old);
}

}  // namespace

void ClosingJoke(const JokePause& pause) {
    if (RandomRange(0, 25) != 1) return;
    TellClosingJoke(pause);
}

void TellClosingJoke(const JokePause& pause) {
    const SkyRect sky = SaverRun().ScreenRect;
    if (MainIni().ReadIntForUser("params", "Jokes", 0) == 0 || sky.right < kJokeMinWidth) return;
    gfx::Canvas* dc = SkyDC();
    // Closed before the first tick: there is no sky to draw the joke on.
    if (dc == nullptr) return;
    AppLog().Info.Log("ClosingJoke", "shutting down...");
    PlaySystemSound("SystemExit");

    const char* name = RandomRange(0, 2) == 0 ? "logos.sys" : "logow.sys";
    BitmapClass system;
    BitmapClass own;
    system.CreateFromFile(dc, platform::WindowsFolder() + platform::PathSeparator() + name);
    // No current system has those pictures any more: ours keeps the joke working.
    BitmapClass* picture = &system;
    if (!system.hBitmap) {
        own.CreateFromResource(dc, kShutdownPicture);
        picture = &own;
    }
    picture->Stretch(sky.left, sky.top, sky.right, sky.bottom);
    picture->Display(dc);
    Wait(pause, 1500);
    picture->Destroy();

    const gfx::Color oldText = dc->SetTextColor(0xFFFFFF);
    const gfx::Color oldBack = dc->SetBkColor(0);
    BlackOut(*dc, sky);
    gfx::Rect text{sky.left, sky.bottom / 3, sky.right, sky.bottom};
    TextFont font;
    font.FontSize = 20;
    font.Select(dc, static_cast<int32_t>(kJokeTextColour), 0);
    dc->DrawText("Did I scare you?\nIt was just a joke!", text, gfx::DrawTextFlag::WordBreak | gfx::DrawTextFlag::Center);
    font.Restore();
    Wait(pause, 3500);

    BlackOut(*dc, sky);
    dc->SetTextColor(oldText);
    dc->SetBkColor(oldBack);
}

}  // namespace lumi
