// The closing joke: now and then, when the saver closes, a shutdown screen shows for a
// moment and then the words "Did I scare you?" / "It was just a joke!".
#pragma once

#include <cstdint>
#include <functional>

namespace lumi {

// Waits while the joke's picture or text is on the screen. A shell that presents its
// raster once a tick shows what was drawn before it waits; empty: the clock sleeps.
using JokePause = std::function<void(uint32_t milliseconds)>;

constexpr int kShutdownPicture = 211;        // our own shutdown screen, for systems without one
constexpr uint32_t kJokeTextColour = 0x3277E5;  // RGB(229, 119, 50)
constexpr int kJokeMinWidth = 401;           // narrower skies are previews

// At a close: draws one in 25 and, when it falls, tells the joke.
void ClosingJoke(const JokePause& pause = {});
// The joke itself, on the sky's canvas, when "Jokes" is on and the sky is wide enough.
void TellClosingJoke(const JokePause& pause = {});

}  // namespace lumi
