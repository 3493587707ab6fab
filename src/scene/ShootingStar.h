// The shooting star: a white head with a pale blue tail that falls across the sky now and
// then, putting back the pixels it passed over.
#pragma once

#include <cstdint>

namespace lumi {

class ShootingStar {
public:
    static constexpr int kStreakLength = 3;
    static constexpr uint32_t kHeadColour = 0xFFFFFF;   // RGB(255, 255, 255)
    static constexpr uint32_t kTailColour = 0xFFC8C8;   // RGB(200, 200, 255)
    static constexpr uint32_t kTipColour = 0xFF9696;    // RGB(150, 150, 255)

    // A new fall from a random point of the top edge after a random wait.
    void Reset();
    // One tick: waits, or moves the streak and draws it on the sky.
    void Step();

    float X() const { return x_; }
    float Y() const { return y_; }
    float SpeedX() const { return speedX_; }
    float SpeedY() const { return speedY_; }
    int Age() const { return age_; }
    // Ticks the star waits after a reset before it starts to fall.
    static int WaitTicks();

private:
    void MoveStreak();

    float x_ = 0;
    float y_ = 0;
    float speedX_ = 0;
    float speedY_ = 0;
    int age_ = 0;
    // The pixels under the streak, head first, and whether the streak is on the sky now.
    uint32_t saved_[kStreakLength] = {0, 0, 0};
    bool drawn_ = false;
    int drawnX_ = 0;
    int drawnY_ = 0;
};

}  // namespace lumi
