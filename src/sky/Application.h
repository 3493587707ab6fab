// The application object the saver window starts, ticks and shuts down, and the cosmos
// it owns with the sky objects that live in it.
#pragma once

#include <memory>

#include "sky/SkyObjects.h"

namespace lumi {

class TpelurCosmos {
public:
    static constexpr int kSlots = 3;

    TpelurCosmos();
    virtual ~TpelurCosmos();
    TpelurCosmos(const TpelurCosmos&) = delete;
    TpelurCosmos& operator=(const TpelurCosmos&) = delete;

    // Fills the slots with airplanes when "Airplanes" is on.
    void Startup(TpelurDisplay* display);
    // Moves each object by one twentieth of a time unit.
    void Tick(TpelurDisplay* display);
    // Deletes the objects; later ticks move nothing.
    void Shutdown(TpelurDisplay* display);

    TpelurAirplane* Object(int slot) const { return slot >= 0 && slot < kSlots ? objects_[slot].get() : nullptr; }
    int Count() const;

private:
    TpelurDisplay* display_ = nullptr;  // not owned
    std::unique_ptr<TpelurAirplane> objects_[kSlots];
};

class TpelurApplication_OLD {
public:
    TpelurApplication_OLD();
    virtual ~TpelurApplication_OLD();
    TpelurApplication_OLD(const TpelurApplication_OLD&) = delete;
    TpelurApplication_OLD& operator=(const TpelurApplication_OLD&) = delete;

protected:
    TpelurDisplay* display_ = nullptr;  // not owned
};

// The application object whose airplanes cross the saver's sky.
class TpelurScreenSaveAppl_OLD : public TpelurApplication_OLD {
public:
    static constexpr float kTickStep = 0.05f;

    TpelurScreenSaveAppl_OLD();
    ~TpelurScreenSaveAppl_OLD() override;

    virtual void Startup(TpelurDisplay* display);
    virtual void Shutdown(TpelurDisplay* display);
    virtual void SetDisplay(TpelurDisplay* display) { display_ = display; }
    virtual void Tick(TpelurDisplay* display);

    TpelurDisplay* Display() const { return display_; }
    TpelurCosmos* Cosmos() const { return cosmos_.get(); }

private:
    enum class Phase { Startup, Tick, Shutdown };
    void Run(Phase phase, TpelurDisplay* display);

    std::unique_ptr<TpelurCosmos> cosmos_;
};

// The application object currently alive (the most recently made one), or nullptr.
TpelurApplication_OLD* CurrentApplication();

// The module-wide application object and the display bound to the saver window.
TpelurScreenSaveAppl_OLD& TheScreenSaveAppl();
TpelurDisplayWin& TheDisplayWin();

}  // namespace lumi
