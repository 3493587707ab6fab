// The closing rules: what ends a run, what never does, and the password check's throttle.
#include "host/ClosingRules.h"

#include <gtest/gtest.h>

#include <climits>

#include "base/FakeClock.h"

namespace lumi {
namespace {

constexpr CloseVerdict kClose = CloseVerdict::PostClose;
constexpr CloseVerdict kStay = CloseVerdict::Stay;

// A verifier that answers as told and can act while its dialog is "open".
class ScriptedVerifier : public PasswordVerifier {
public:
    bool Loaded() const override { return loaded; }
    bool Verify() override {
        ++calls;
        if (whileOpen) whileOpen();
        return answer;
    }
    bool loaded = true;
    bool answer = false;
    int calls = 0;
    std::function<void()> whileOpen;
};

class ClosingRulesTest : public ::testing::Test {
protected:
    FakeClock clock{1'700'000'000'000LL};
    ClosingRules rules{WindowRole::FullScreen, PasswordMode::System, clock};

    void SetUp() override { rules.Start({100, 100}, 1); }
};

TEST_F(ClosingRulesTest, MouseMustMoveMoreThanFourPixels) {
    EXPECT_EQ(rules.OnMouseMove({103, 101}), kStay);  // distance 4
    EXPECT_EQ(rules.OnMouseMove({96, 100}), kStay);
    EXPECT_EQ(rules.OnMouseMove({103, 102}), kClose);  // distance 5
    // The position that closed becomes the reference for the next move.
    EXPECT_EQ(rules.OnMouseMove({104, 103}), kStay);
    EXPECT_EQ(rules.LastCursorPos().x, 103);
}

TEST_F(ClosingRulesTest, FarCursorPositionsDoNotOverflow) {
    rules.Start({INT_MIN, INT_MIN}, 1);
    EXPECT_EQ(rules.OnMouseMove({INT_MAX, INT_MAX}), kClose);
    rules.Start({INT_MAX, INT_MIN}, 1);
    EXPECT_EQ(rules.OnMouseMove({INT_MAX, INT_MIN + 4}), kStay);
}

TEST_F(ClosingRulesTest, KeysButtonsAndLostActivationClose) {
    EXPECT_EQ(rules.OnKeyOrButton(), kClose);
    EXPECT_EQ(rules.OnActivateApp(false), kClose);
    EXPECT_EQ(rules.OnActivateApp(true), kStay);
    EXPECT_EQ(rules.OnMonitorPower(), kClose);
    EXPECT_EQ(rules.OnPower(power::kCriticalResume), kClose);
    EXPECT_EQ(rules.OnPower(1), kStay);
}

TEST_F(ClosingRulesTest, PowerBroadcastTable) {
    const auto neverRead = []() -> uint8_t {
        ADD_FAILURE() << "AC line read for an event that is no status change";
        return 1;
    };
    for (uint32_t event = 0; event <= 40; ++event) {
        if (event == power::kPowerStatusChange) continue;
        const bool resume = event == 6 || event == 7 || event == 8 || event == 18;
        EXPECT_EQ(rules.OnPowerBroadcast(event, 0, neverRead), kClose) << event;
        // Bit 0 marks a resume the system made by itself: only resumes honour it.
        EXPECT_EQ(rules.OnPowerBroadcast(event, 1, neverRead), resume ? kStay : kClose) << event;
        EXPECT_EQ(rules.OnPowerBroadcast(event, 2, neverRead), kClose) << event;
    }
}

TEST_F(ClosingRulesTest, PowerStatusChangeClosesOnlyWhenTheAcLineChanged) {
    uint8_t line = 1;
    const auto read = [&] { return line; };
    EXPECT_EQ(rules.OnPowerBroadcast(power::kPowerStatusChange, 0, read), kStay);
    line = 0;  // unplugged
    EXPECT_EQ(rules.OnPowerBroadcast(power::kPowerStatusChange, 0, read), kClose);
    EXPECT_EQ(rules.AcLineStatus(), 0);
    EXPECT_EQ(rules.OnPowerBroadcast(power::kPowerStatusChange, 0, read), kStay);
    line = ClosingRules::UnknownAcLine;  // the read failed
    EXPECT_EQ(rules.OnPowerBroadcast(power::kPowerStatusChange, 0, read), kClose);
    EXPECT_EQ(rules.OnPowerBroadcast(power::kPowerStatusChange, 0, nullptr), kStay);
}

TEST(ClosingRulesPreview, InputNeverClosesAPreview) {
    FakeClock clock;
    ClosingRules rules(WindowRole::Preview, PasswordMode::Legacy, clock);
    rules.Start({0, 0}, 1);
    EXPECT_FALSE(rules.Watching());
    EXPECT_EQ(rules.OnKeyOrButton(), kStay);
    EXPECT_EQ(rules.OnMouseMove({500, 500}), kStay);
    EXPECT_EQ(rules.OnActivateApp(false), kStay);
    EXPECT_EQ(rules.OnPower(power::kCriticalResume), kStay);
    EXPECT_EQ(rules.OnPowerBroadcast(4, 0, [] { return uint8_t{0}; }), kStay);
    EXPECT_EQ(rules.OnMonitorPower(), kStay);
    ScriptedVerifier verifier;
    EXPECT_EQ(rules.OnCloseRequest({0, 0}, &verifier), CloseOutcome::Destroy);
    EXPECT_EQ(verifier.calls, 0);
}

TEST_F(ClosingRulesTest, SystemPasswordModeClosesWithoutVerifying) {
    ScriptedVerifier verifier;
    EXPECT_EQ(rules.OnCloseRequest({0, 0}, &verifier), CloseOutcome::Destroy);
    EXPECT_EQ(verifier.calls, 0);
}

TEST(ClosingRulesLegacy, WithoutVerifierTheFirstCloseIsFinal) {
    FakeClock clock;
    ClosingRules rules(WindowRole::FullScreen, PasswordMode::Legacy, clock);
    rules.Start({0, 0}, 1);
    EXPECT_EQ(rules.OnCloseRequest({0, 0}, nullptr), CloseOutcome::Destroy);
    EXPECT_TRUE(rules.ClosingAllowed());
    EXPECT_EQ(rules.OnKeyOrButton(), kStay);  // the window is already on its way out
}

class LegacyPasswordTest : public ::testing::Test {
protected:
    FakeClock clock;  // tick count starts at 0: the first check must still run
    ClosingRules rules{WindowRole::FullScreen, PasswordMode::Legacy, clock};
    ScriptedVerifier verifier;

    void SetUp() override { rules.Start({10, 10}, 1); }
};

TEST_F(LegacyPasswordTest, WrongPasswordKeepsTheSaverRunning) {
    EXPECT_EQ(rules.OnCloseRequest({40, 50}, &verifier), CloseOutcome::Refuse);
    EXPECT_EQ(verifier.calls, 1);
    EXPECT_FALSE(rules.ClosingAllowed());
    // The cursor where the close was refused is the new reference for moves.
    EXPECT_EQ(rules.LastCursorPos().x, 40);
    EXPECT_EQ(rules.OnMouseMove({42, 51}), kStay);
    EXPECT_TRUE(rules.Watching());
}

TEST_F(LegacyPasswordTest, ClosesWithin200MsVerifyOnce) {
    EXPECT_EQ(rules.OnCloseRequest({0, 0}, &verifier), CloseOutcome::Refuse);
    clock.Advance(150);
    EXPECT_EQ(rules.OnCloseRequest({0, 0}, &verifier), CloseOutcome::Refuse);
    EXPECT_EQ(verifier.calls, 1);
    clock.Advance(50);
    verifier.answer = true;
    EXPECT_EQ(rules.OnCloseRequest({0, 0}, &verifier), CloseOutcome::Destroy);
    EXPECT_EQ(verifier.calls, 2);
    EXPECT_TRUE(rules.ClosingAllowed());
}

TEST_F(LegacyPasswordTest, ThrottleCountsFromTheDialogsEnd) {
    verifier.whileOpen = [&] { clock.Advance(5000); };  // the user types for five seconds
    EXPECT_EQ(rules.OnCloseRequest({0, 0}, &verifier), CloseOutcome::Refuse);
    clock.Advance(100);
    EXPECT_EQ(rules.OnCloseRequest({0, 0}, &verifier), CloseOutcome::Refuse);
    EXPECT_EQ(verifier.calls, 1);
}

TEST_F(LegacyPasswordTest, InputDuringTheDialogPostsNoClose) {
    std::vector<CloseVerdict> seen;
    verifier.whileOpen = [&] {
        EXPECT_TRUE(rules.PasswordCheckActive());
        seen.push_back(rules.OnKeyOrButton());
        seen.push_back(rules.OnMouseMove({900, 900}));
        seen.push_back(rules.OnActivateApp(false));
    };
    rules.OnCloseRequest({0, 0}, &verifier);
    EXPECT_EQ(seen, (std::vector<CloseVerdict>{kStay, kStay, kStay}));
    EXPECT_FALSE(rules.PasswordCheckActive());
    EXPECT_EQ(rules.OnKeyOrButton(), kClose);
}

TEST_F(LegacyPasswordTest, ThrottleSurvivesTheTickCountWrapping) {
    clock.Advance(0xFFFFFFFFLL - 50);
    rules.OnCloseRequest({0, 0}, &verifier);
    clock.Advance(100);  // the tick count wrapped past 0
    rules.OnCloseRequest({0, 0}, &verifier);
    EXPECT_EQ(verifier.calls, 1);
}

TEST(ClosingRulesAutoPlay, CancelledOnlyWithAVerifier) {
    FakeClock clock;
    ClosingRules rules(WindowRole::FullScreen, PasswordMode::Legacy, clock);
    ScriptedVerifier verifier;
    auto answer = rules.OnAutoPlayQuery(&verifier);
    EXPECT_EQ(answer.verdict, kClose);
    EXPECT_EQ(answer.result, 1);
    verifier.loaded = false;
    answer = rules.OnAutoPlayQuery(&verifier);
    EXPECT_EQ(answer.verdict, kStay);
    EXPECT_EQ(answer.result, 0);
    EXPECT_EQ(rules.OnAutoPlayQuery(nullptr).result, 0);
}

}  // namespace
}  // namespace lumi
