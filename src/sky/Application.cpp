// The application object's start, tick and shutdown, each run between a BeginDraw and an
// EndDraw of its display, and the cosmos that holds the airplanes.
#include "sky/Application.h"

#include "settings/IniFile.h"
#include "base/Log.h"

namespace lumi {

namespace {

TpelurApplication_OLD* currentApplication = nullptr;

}  // namespace

TpelurCosmos::TpelurCosmos() { AppLog().Info.Log("TpelurCosmos()", "constructor"); }

TpelurCosmos::~TpelurCosmos() {
    AppLog().Info.Log("TpelurCosmos()", "destructor");
    display_ = nullptr;
}

void TpelurCosmos::Startup(TpelurDisplay* display) {
    if (!display) {
        AppLog().Warning.Log("TpelurCosmos::Startup()", "NULL aDisplay parameter");
        return;
    }
    display_ = display;
    if (SettingAirplanes.Get() == 0) return;
    for (auto& slot : objects_) slot = std::make_unique<TpelurAirplane>(display);
}

void TpelurCosmos::Tick(TpelurDisplay* display) {
    display_ = display;
    // One tick is a twentieth of the sky objects' time unit.
    for (auto& slot : objects_) {
        if (slot) slot->Move(TpelurScreenSaveAppl_OLD::kTickStep);
    }
}

void TpelurCosmos::Shutdown(TpelurDisplay* display) {
    display_ = display;
    for (auto& slot : objects_) slot.reset();
}

int TpelurCosmos::Count() const {
    int n = 0;
    for (const auto& slot : objects_) n += slot ? 1 : 0;
    return n;
}

TpelurApplication_OLD::TpelurApplication_OLD() {
    currentApplication = this;
    TpelurLogger& info = AppLog().Info;
    info.Log("TpelurApplication_OLD()", "creating");
    info.Log("CompanyName", "Lumivane software");
    info.Log("ProductName", "Lumivane Screensaver");
}

TpelurApplication_OLD::~TpelurApplication_OLD() {
    AppLog().Info.Log("TpelurApplication_OLD()", "Deleting");
    // A second object (a test's) must not unregister the one still alive.
    if (currentApplication == this) currentApplication = nullptr;
}

TpelurScreenSaveAppl_OLD::TpelurScreenSaveAppl_OLD() {
    AppLog().Info.Log("TpelurScreenSaveAppl_OLD()", "creating");
    cosmos_ = std::make_unique<TpelurCosmos>();
    AppLog().Info.Log("TpelurScreenSaveAppl_OLD()", "creating-Done");
}

TpelurScreenSaveAppl_OLD::~TpelurScreenSaveAppl_OLD() {
    AppLog().Info.Log("", "");
    AppLog().Info.Log("TpelurScreenSaveAppl_OLD()", "Destroying");
    cosmos_.reset();
}

void TpelurScreenSaveAppl_OLD::Startup(TpelurDisplay* display) {
    AppLog().Info.Log("TpelurScreenSaveAppl_OLD", "Startup()");
    Run(Phase::Startup, display);
}

void TpelurScreenSaveAppl_OLD::Shutdown(TpelurDisplay* display) {
    AppLog().Info.Log("TpelurScreenSaveAppl_OLD", "Shutdown()");
    Run(Phase::Shutdown, display);
}

void TpelurScreenSaveAppl_OLD::Tick(TpelurDisplay* display) { Run(Phase::Tick, display); }

void TpelurScreenSaveAppl_OLD::Run(Phase phase, TpelurDisplay* display) {
    display_ = display;
    if (display) display->BeginDraw();
    if (cosmos_) {
        switch (phase) {
            case Phase::Startup: cosmos_->Startup(display); break;
            case Phase::Tick: cosmos_->Tick(display); break;
            case Phase::Shutdown: cosmos_->Shutdown(display); break;
        }
    }
    if (display) display->EndDraw();
}

TpelurApplication_OLD* CurrentApplication() { return currentApplication; }

// Made on first use rather than during static initialisation, where the log they write
// to may not be ready yet; gone at process exit, the application object first, so the
// display outlives the object that points at it.
namespace {
std::unique_ptr<TpelurDisplayWin> theDisplayWin;
std::unique_ptr<TpelurScreenSaveAppl_OLD> theScreenSaveAppl;
}  // namespace

TpelurScreenSaveAppl_OLD& TheScreenSaveAppl() {
    if (!theScreenSaveAppl) theScreenSaveAppl = std::make_unique<TpelurScreenSaveAppl_OLD>();
    return *theScreenSaveAppl;
}

TpelurDisplayWin& TheDisplayWin() {
    if (!theDisplayWin) theDisplayWin = std::make_unique<TpelurDisplayWin>();
    return *theDisplayWin;
}

}  // namespace lumi
