// The order in which the sky is built, stepped and torn down. Elements of the sky that are
// not part of this file join at their named places below.
#include "scene/Universe.h"

#include "content/MessageStore.h"
#include "gfx/Canvas.h"
#include "sky/HotCorners.h"
#include "sky/SaverRun.h"
#include "mail/NewMail.h"
#include "mail/RasApi.h"
#include "media/Wallpaper.h"
#include "moon/Moon.h"
#include "scene/Projection.h"
#include "sky/SkyDC.h"
#include "sky/SpaceMatrix.h"
#include "scene/StarPalette.h"
#include "scene/StepFlags.h"
#include "base/BoundedText.h"
#include "support/ErrorReport.h"
#include "sky/SkyErrors.h"
#include "base/Log.h"
#include "base/Random.h"

namespace lumi {

namespace {

Universe theUniverse;

int TickMs() {
    const int ms = SaverRun().RealTickTime;
    return ms > 0 ? ms : 1;
}

void Trace(const char* text) { AppLog().Info.Log("Universe", text); }

}  // namespace

Universe& TheUniverse() { return theUniverse; }

Universe::Universe() = default;
Universe::~Universe() = default;

void Universe::Create() {
    Trace("Create");
    if (created_) Destroy();
    created_ = true;

    const SkyRect& sky = SaverRun().ScreenRect;
    if (sky.right > kPreviewWidth) {
        HotCorners corners;
        corners.Read();
        if (corners.reachTheStars) ShowSplash();
    } else {
        SuppressMail();
    }
    CreateSkyMatrix();
    LoadMessageOptions();
    CreateTimeEvents();
    CreateMoon();
    ProjectNextMessage();
    Trace("Create-message stars");
    CreateMessageStars();
    Trace("Create-bottom line");
    CreateBottomLine();
    Trace("Create-stars");
    CreateStars();
    CreateFlyingPicture();
    shootingStar_.Reset();
    if (splash_.used) RemoveSplash();
    FillSkyBlack();
    StartMail();
    ChangeWallpaper();
    Trace("Create-exit");
}

void Universe::Step() {
    if (!created_) {
        Create();
        AddError("universe - 160");
    }
    ShowErrors();
    StepMoon();
    shootingStar_.Step();
    // The bottom line waits while the message stars fly to a new message.
    StarStepFlags& flags = StepFlags();
    if (!flags.glyphMoved) StepBottomLine();

    flags.retarget = false;
    flags.glyphMoved = false;
    flags.twinklePick = RandomRange(0, 40000 / TickMs());

    if (BottomLineFinished()) {
        bottomLine_.finished = 0;
        flags.retarget = true;
        ProjectNextMessage();
        RetargetMessageStars();
        RebuildBottomLine();
    }
    StepMessageStars();
    flags.twinklePick = RandomRange(0, 40000 / TickMs());
    StepStars();
    StepFlyingPicture();
    StepTimeEvents();
    StepMailTimer();
}

void Universe::Destroy() {
    if (!created_) {
        Trace("Destroy !Created");
        return;
    }
    Trace("Destroy");
    StopMail();
    DestroySkyMatrix();
    Trace("Destroing stars");
    ReleaseStarPalettes();
    Trace("Destroing MStars");
    ReleaseMessageStarPalettes();
    Trace("Destroing TEvents");
    CloseTimeEventSound();
    Trace("Destroing Moon");
    DestroyMoon();
    Trace("Destroing BottomLine");
    DestroyBottomLine();
    Trace("Destroing FlyPic");
    DestroyFlyingPicture();
    created_ = false;
}

void Universe::FillSkyBlack() {
    gfx::Canvas* dc = SkyDC();
    if (!dc) return;
    const SkyRect& sky = SaverRun().ScreenRect;
    dc->FillRect(gfx::Rect{sky.left, sky.top, sky.right, sky.bottom}, gfx::Brush::Black());
}

void Universe::ShowSplash() {
    AppLog().Info.Log("SplashScreen", "Create");
    gfx::Canvas* dc = SkyDC();
    splash_.CreateFromResource(dc, kSplashBitmap);
    if (!splash_.used) return;
    // Unscaled, in the middle of the sky, while the rest of the scene is built.
    const SkyRect& sky = SaverRun().ScreenRect;
    splash_.Center(sky.left, sky.top, sky.right, sky.bottom);
    splash_.Display(dc);
    // The rest of the scene takes a while to build: the splash is shown now and stays
    // until the build ends, not first seen (and painted over) after it.
    PresentSkyNow();
}

void Universe::RemoveSplash() { splash_.Destroy(); }
void Universe::SuppressMail() { TheNewMail().SuppressMail(); }

void Universe::CreateSkyMatrix() {
    const SkyRect& sky = SaverRun().ScreenRect;
    SkyMatrix.Create(sky.right - sky.left, sky.bottom - sky.top);
}

void Universe::LoadMessageOptions() {
    TheMessageStore().LoadOptions();
    TheMessageStore().LoadUnlock();
}

void Universe::CreateTimeEvents() { timeEvents_.Create(SaverRun().SkyWindow); }

void Universe::CreateMoon() {
    MOON& moon = TheMoon();
    moon.SetSky(SkyDC(), SaverRun().ScreenRect);
    moon.Create();
}

void Universe::ProjectNextMessage() {
    MessageStore& store = TheMessageStore();
    store.GetNext();
    messageText_ = store.Message();
    Project(messageText_);
}

void Universe::CreateMessageStars() {
    for (GlyphStar& star : messageStars_) star.Create(kMessageStarMinBrightness, kMessageStarMaxBrightness);
}

void Universe::CreateBottomLine() {
    // Create appends the moon text to the line, so it is filled afresh every time.
    BottomLineText() = Truncated(TheMessageStore().BottomLine(), kBottomLineTextCapacity);
    bottomLine_.Create();
}

void Universe::CreateStars() {
    const int tick = TickMs();
    gfx::Canvas* dc = SkyDC();
    const SkyRect& sky = SaverRun().ScreenRect;
    for (STAR& star : stars_)
        star.Create(kStarMinBrightness, kStarMaxBrightness, 40000 / tick, dc, sky, 20000 / tick, 2000 / tick);
}

void Universe::CreateFlyingPicture() { flyingPicture_.Create(); }
void Universe::StartMail() {
    SetMailErrorShower(ShowErrors);
    TheNewMail().StartTimer();
}
void Universe::ChangeWallpaper() { ChangeWallpaperAtStart(SaverRun().ScreenRect.right); }

void Universe::StepMoon() { TheMoon().Step(); }
void Universe::StepBottomLine() { bottomLine_.Scroll(); }
bool Universe::BottomLineFinished() { return bottomLine_.finished == 1; }

void Universe::RetargetMessageStars() {
    for (GlyphStar& star : messageStars_) star.TakeNextTarget();
}

void Universe::RebuildBottomLine() {
    // A line that never got its picture (a scene stepped unbuilt) has nothing to erase.
    if (bottomLine_.tBmp.used) bottomLine_.tBmp.Destroy();
    CreateBottomLine();
}

void Universe::StepMessageStars() {
    for (GlyphStar& star : messageStars_) star.Step();
}

void Universe::StepStars() {
    for (STAR& star : stars_) star.Step();
}

void Universe::StepFlyingPicture() { flyingPicture_.Step(); }
void Universe::StepTimeEvents() { timeEvents_.Step(); }

// The mail timer has no window of its own: the step, on the saver's thread, is its clock.
void Universe::StepMailTimer() { MailTimerTick(); }

void Universe::StopMail() { TheNewMail().StopMail(); }
void Universe::DestroySkyMatrix() { SkyMatrix.Destroy(); }

void Universe::ReleaseStarPalettes() {
    for (size_t i = 0; i < stars_.size(); ++i) StarPalette().Destroy();
}

void Universe::ReleaseMessageStarPalettes() {
    for (size_t i = 0; i < messageStars_.size(); ++i) StarPalette().Destroy();
}

void Universe::CloseTimeEventSound() { timeEvents_.Close(); }
void Universe::DestroyMoon() { TheMoon().Destroy(); }

void Universe::DestroyBottomLine() {
    if (bottomLine_.tBmp.used) bottomLine_.tBmp.Destroy();
}

void Universe::DestroyFlyingPicture() { flyingPicture_.Destroy(); }

}  // namespace lumi
