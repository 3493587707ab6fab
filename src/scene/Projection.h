// Turning the current message into the message canvas: a built-in picture for the
// symbol keywords, a computed text for the time, countdown and birthday keywords, the
// mail notice while mail waits, and any other text drawn as it stands.
#pragma once

#include <string>
#include <string_view>

#include "media/TextFont.h"
#include "base/Clock.h"

namespace lumi {

enum class MessageKind { Heart, HappyFace, Peace, WorldTime, Countdown, Birthday, Star, ChristmasTree, Text };

// Picture resources of the symbol kinds.
constexpr int kHeartPicture = 131;
constexpr int kHappyFacePicture = 132;
constexpr int kChristmasTreePicture = 178;
constexpr int kStarPicture = 179;
constexpr int kPeacePicture = 190;

// Pixels between the measured text and the canvas's right edge: the text is measured
// without the one pixel of extra spacing it is drawn with.
constexpr int kTextCanvasMargin = 25;

// The kind a message text asks for. Keywords compare whole and with case, except TIME
// and BIRTHDAY, which only have to begin the text, in any case.
MessageKind KindOfMessage(std::string_view text);

// Draws the message into the message canvas and fixes its mapping onto the sky
// (Text2Pixel). `text` may be replaced: by the mail notice when mail waits, by one blank
// when it is empty. A picture or bitmap that cannot be had is reported as an error text
// and the mapping works on whatever the canvas holds.
void Project(std::string& text);

// The one font of every message text. It keeps its face between calls: a world-time
// message is drawn in the face the previous text left behind.
TextFont& MessageFont();
// Back to the font of a fresh start (platform face, no size): tests, a new run.
void ResetMessageFont();

// A calendar time moved by a real number of hours, truncated to whole seconds; the
// milliseconds are dropped. The calendar wraps days, months and years as needed.
LocalTime AddHoursToTime(const LocalTime& time, double hours);

// The text of a world-time message ("TIME" and the difference to local time in hours):
// the moved time, indented to stand centred over the short date below it.
std::string WorldTimeText(std::string_view message, Clock& clock);

}  // namespace lumi
