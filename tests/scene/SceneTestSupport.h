// A fixture for tests that build the whole sky: every module-wide scene element starts and
// ends reset, the main settings file lives in a temporary folder, and the sky is a canvas.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/TestSupport.h"
#include "content/MessageStore.h"
#include "gfx/Canvas.h"
#include "sky/SaverRun.h"
#include "moon/Moon.h"
#include "moon/MoonPhase.h"
#include "scene/BottomLine.h"
#include "scene/MessageCanvas.h"
#include "scene/Projection.h"
#include "sky/SkyDC.h"
#include "sky/SpaceMatrix.h"
#include "scene/StarPalette.h"
#include "scene/StepFlags.h"
#include "scene/TextToStars.h"
#include "settings/IniFile.h"
#include "support/ErrorReport.h"
#include "base/Log.h"

namespace lumi::testing {

class SkySceneTest : public ::testing::Test {
protected:
    // A fixture deriving from this one calls it first and stops if it failed fatally.
    void SetUp() override {
        ASSERT_EQ(testing::StartLogAndSettingsIn(folder), 0);
        // Opened a second time it is no first run, whose greeting would take slot 1.
        ResetMainIni();
        ASSERT_EQ(MainIni().Init(folder.Path(), "Lumivan.ini"), 0);
        ResetErrorReports();
        ResetSaverRun();
        ResetSceneElements();
    }
    void TearDown() override {
        // The module-wide elements must not keep drawing on this test's canvas.
        ResetSceneElements();
        SetSkyDC(nullptr);
        ResetSaverRun();
        ResetMainIni();
    }

    static void ResetSceneElements() {
        ResetMoon();
        ResetMoonText();
        ResetStarPalette();
        SkyMatrix.Destroy();
        ResetMessageCanvas();
        ResetTextMapping();
        ResetMessageFont();
        ResetMessageStore();
        ResetStepFlags();
        BottomLineText().clear();
    }

    static void StoreMessage(int slot, const std::string& message, const std::string& bottomLine) {
        MessageStore& store = TheMessageStore();
        store.SetCurrentIndex(slot);
        store.SetMessage(message);
        store.SetBottomLine(bottomLine);
        store.SetPassword("");
        store.Write();
    }

    // Makes a fresh canvas of this size the sky, and the screen and monitor that size.
    void UseSky(int width, int height, int realTickTime, gfx::DirtyTracking tracking = gfx::DirtyTracking::On) {
        SetSkyDC(nullptr);
        surface = gfx::Surface::Create(width, height, tracking);
        canvas = std::make_unique<gfx::Canvas>(surface);
        SetSkyDC(canvas.get());
        SaverRun().ScreenRect = {0, 0, width, height};
        SaverRun().MonitorRect = {0, 0, width, height};
        SaverRun().RealTickTime = realTickTime;
    }

    TempFolder folder;
    std::shared_ptr<gfx::Surface> surface;
    std::unique_ptr<gfx::Canvas> canvas;
};

}  // namespace lumi::testing
