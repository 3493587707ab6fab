// The sky scene as the saver window sees it: built, stepped and torn down.
#pragma once

namespace lumi {

// The scene (the Universe): built on the first tick, stepped on every later one, torn
// down when the window goes.
class SkyScene {
public:
    virtual ~SkyScene() = default;
    virtual void Create() = 0;
    virtual void Step() = 0;
    // Safe when the scene was never created.
    virtual void Destroy() = 0;
};

}  // namespace lumi
