// The `Universe`: the one object that owns every element of the sky and fixes the order
// in which they are built, stepped and torn down.
#pragma once

#include <array>
#include <string>

#include "sky/SkyScene.h"
#include "media/BitmapClass.h"
#include "scene/BottomLine.h"
#include "scene/FlyingPicture.h"
#include "scene/ShootingStar.h"
#include "scene/Stars.h"
#include "scene/TimeEvents.h"

namespace lumi {

class Universe final : public SkyScene {
public:
    static constexpr int kStarCount = 196;
    static constexpr int kMessageStarCount = 2723;
    // A sky this narrow is a preview: no splash, no mail check.
    static constexpr int kPreviewWidth = 400;
    static constexpr int kSplashBitmap = 163;
    // Brightness bounds of the two kinds of star; the upper bound is never drawn.
    static constexpr int kMessageStarMinBrightness = 30;
    static constexpr int kMessageStarMaxBrightness = 45;
    static constexpr int kStarMinBrightness = 15;
    static constexpr int kStarMaxBrightness = 30;

    Universe();
    ~Universe() override;
    Universe(const Universe&) = delete;
    Universe& operator=(const Universe&) = delete;

    void Create() override;
    void Step() override;
    void Destroy() override;

    bool Created() const { return created_; }
    ShootingStar& Shooting() { return shootingStar_; }
    const std::array<STAR, kStarCount>& Stars() const { return stars_; }
    std::array<GlyphStar, kMessageStarCount>& MessageStars() { return messageStars_; }
    BOTTOMLINE& BottomLine() { return bottomLine_; }
    FlyingPicture& Flying() { return flyingPicture_; }
    // The text of the message now written in stars, as projected.
    const std::string& MessageText() const { return messageText_; }

private:
    // Each of these is the place where another element of the sky joins the sequences.
    void ShowSplash();              // the splash picture while the sky is built
    void RemoveSplash();            // the splash picture goes before the black fill
    void SuppressMail();            // mail checker: no check in a preview-sized run
    void CreateSkyMatrix();         // text-to-star mapping: the space matrix
    void LoadMessageOptions();      // message store: LoadOptions and LoadUnlock
    void CreateTimeEvents();        // time events: hourly sounds and jokes
    void CreateMoon();              // moon: given SkyDC and ScreenRect, then created
    void ProjectNextMessage();      // message store GetNext, then Project into the canvas
    void CreateMessageStars();      // star field: 2723 message stars, brightness 30..45
    void CreateBottomLine();        // bottom line for the current message
    void CreateStars();             // star field: 196 stars with their twinkle timing
    void CreateFlyingPicture();     // flying picture and its banner
    void FillSkyBlack();
    void StartMail();               // mail checker: StartTimer
    void ChangeWallpaper();         // wallpaper changer

    void StepMoon();                // moon: Step
    void StepBottomLine();          // bottom line: scroll one tick
    bool BottomLineFinished();      // bottom line: its text has scrolled out
    void RetargetMessageStars();    // text-to-star mapping: GetNextXY for every message star
    void RebuildBottomLine();       // bottom line: destroy its bitmap, create it anew
    void StepMessageStars();        // star field: each message star
    void StepStars();               // star field: each star
    void StepFlyingPicture();       // flying picture and banner
    void StepTimeEvents();          // time events
    void StepMailTimer();           // mail checker: its timer

    void StopMail();                // mail checker: StopMail
    void DestroySkyMatrix();        // text-to-star mapping
    void ReleaseStarPalettes();     // star field: one palette reference per star
    void ReleaseMessageStarPalettes();  // star field: one per message star
    void CloseTimeEventSound();     // time events: their sound
    void DestroyMoon();             // moon
    void DestroyBottomLine();       // bottom line: its bitmap
    void DestroyFlyingPicture();    // flying picture

    bool created_ = false;
    BitmapClass splash_;
    // Fixed sizes, held in the object itself: a step never allocates for its stars.
    std::array<STAR, kStarCount> stars_;
    std::array<GlyphStar, kMessageStarCount> messageStars_;
    // Its finished flag is set at construction, so a scene that was never built starts
    // its first step with a fresh message.
    BOTTOMLINE bottomLine_;
    // Project may rewrite the text (the mail notice, a blank for an empty message), so
    // the scene keeps its own copy rather than handing over the store's.
    std::string messageText_;
    ShootingStar shootingStar_;
    FlyingPicture flyingPicture_;
    TimeEvents timeEvents_;
};

// The module-wide scene the saver window drives.
Universe& TheUniverse();

}  // namespace lumi
