// The order in which the sky is built, stepped and torn down. Elements of the sky that are
// not part of this file join at their named places below.
#include "scene/Universe.h"

#include "gfx/Canvas.h"
#include "host/HotCorners.h"
#include "host/SaverWindow.h"
#include "scene/SkyDC.h"
#include "scene/StepFlags.h"
#include "support/ErrorReport.h"
#include "support/Log.h"
#include "support/Random.h"

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
        bottomLineFinished_ = false;
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
}

void Universe::RemoveSplash() { splash_.Destroy(); }
void Universe::SuppressMail() {}
void Universe::CreateSkyMatrix() {}
void Universe::LoadMessageOptions() {}
void Universe::CreateTimeEvents() {}
void Universe::CreateMoon() {}
void Universe::ProjectNextMessage() {}
void Universe::CreateMessageStars() {}
void Universe::CreateBottomLine() {}
void Universe::CreateStars() {}
void Universe::CreateFlyingPicture() {}
void Universe::StartMail() {}
void Universe::ChangeWallpaper() {}

void Universe::StepMoon() {}
void Universe::StepBottomLine() {}
bool Universe::BottomLineFinished() { return bottomLineFinished_; }
void Universe::RetargetMessageStars() {}
void Universe::RebuildBottomLine() {}
void Universe::StepMessageStars() {}
void Universe::StepStars() {}
void Universe::StepFlyingPicture() {}
void Universe::StepTimeEvents() {}

void Universe::StopMail() {}
void Universe::DestroySkyMatrix() {}
void Universe::ReleaseStarPalettes() {}
void Universe::ReleaseMessageStarPalettes() {}
void Universe::CloseTimeEventSound() {}
void Universe::DestroyMoon() {}
void Universe::DestroyBottomLine() {}
void Universe::DestroyFlyingPicture() {}

}  // namespace lumi
