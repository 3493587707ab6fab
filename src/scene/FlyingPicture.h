// A picture that drifts across the night sky from right to left, wandering up and down,
// bouncing off the top, the bottom and the moon, trailed word by word by its banner.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "media/BitmapClass.h"
#include "scene/ShiftRegister.h"
#include "scene/Snooze.h"

namespace lumi {

namespace gfx {
class Canvas;
class Surface;
}  // namespace gfx

class FlyingPicture {
public:
    static constexpr int kBannerCapacity = 200;
    static constexpr int kSettingCapacity = 199;
    static constexpr int kMaxWords = 30;
    static constexpr int kMaxShown = 230;
    // A sky must be larger than this both ways for a picture to fly.
    static constexpr int kSmallSky = 460;
    static constexpr float kSpeed = 80.0f;  // pixels per second
    static constexpr int kCourseEvery = 50;  // ticks
    static constexpr int kWordGap = 15;
    static constexpr int kBannerIndent = 10;
    static constexpr int kRegisterPerPixel = 10;

    FlyingPicture() = default;
    FlyingPicture(const FlyingPicture&) = delete;
    FlyingPicture& operator=(const FlyingPicture&) = delete;

    // Chooses the picture and the banner for this run; called once the moon and the sky
    // matrix exist.
    void Create();
    // One tick: course, motion, bounces, drawing, and the banner behind.
    void Step();
    // Pushes the picture's place and moves every word that has a place to go to.
    void PrintBanner(int x, int y);
    void Destroy();

    bool Flying() const { return hBitmap != nullptr; }
    int WordCount() const { return wordCount; }
    const char* Word(int i) const { return i >= 0 && i < wordCount ? wordStarts[i] : ""; }
    const BitmapClass& WordBitmap(int i) const { return BannerWords[static_cast<size_t>(i)]; }
    const ShiftRegister& Register() const { return register_; }
    Snooze& Pause() { return snooze_; }

    // The picture's place, size and course; public like the other scene elements' state
    // so that tests can set up a situation.
    int32_t x = 0;
    int32_t y = 0;
    int32_t shownWidth = 0;
    int32_t shownHeight = 0;
    int32_t bitmapWidth = 0;
    int32_t bitmapHeight = 0;
    float vy = 0;
    float vx = 0;
    float angle = 0;
    int32_t showEvery = 20;

private:
    // Cuts BannerText into at most kMaxWords words at the blanks.
    void CutWords();
    // The picture for this run: the user's file for the own-picture category, else the
    // picked quote's bitmap.
    bool LoadPicture(int categoryPicture, int quotePicture);
    void SetCourse(float newAngle);
    void ReleasePicture();

    char BannerText[kBannerCapacity] = {};
    std::array<const char*, kMaxWords> wordStarts{};
    int32_t wordCount = 0;

    std::unique_ptr<gfx::Canvas> hMemoryDC;
    std::shared_ptr<gfx::Surface> hBitmap;
    std::shared_ptr<gfx::Surface> hOldBitmap;

    std::array<BitmapClass, kMaxWords> BannerWords;
    // A word is erased at its old place only once it has had one.
    std::array<bool, kMaxWords> wordShown{};
    ShiftRegister register_;
    Snooze snooze_;

    // The motion's carried fractions and the banner's start-up state; they belong to one
    // flight, so Create starts them afresh.
    float accX = 0;
    float accY = 0;
    int32_t dx = 0;
    int32_t dy = 0;
    int32_t sameMoveLines = 0;
    bool firstBannerDone = false;
    int32_t cachedTickTime = 0;
};

}  // namespace lumi
