// Drawing the current message into the message canvas, kind by kind.
#include "scene/Projection.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "content/Counters.h"
#include "gfx/Canvas.h"
#include "sky/SaverRun.h"
#include "mail/MailCount.h"
#include "media/Resources.h"
#include "media/Sound.h"
#include "platform/DateFormat.h"
#include "scene/MessageCanvas.h"
#include "sky/SkyDC.h"
#include "scene/TextToStars.h"
#include "settings/IniFile.h"
#include "base/BoundedText.h"
#include "support/TextSearch.h"
#include "support/ErrorReport.h"
#include "base/Log.h"

namespace lumi {

namespace {

TextFont messageFont;

constexpr const char* kCourierNew = "Courier New";
constexpr gfx::Color kWhite = gfx::Rgb(255, 255, 255);
constexpr gfx::Color kBlack = 0;

// A world-time difference is read from the message text, which may come from a friend's
// message file; beyond a century either way it means nothing and only risks overflow.
constexpr double kMaxHourDifference = 876000.0;

struct PictureLayout {
    int resource;
    int canvasWidth;
    int canvasHeight;
};

// The heart, happy face and peace pictures are scanned short of their last column and row.
PictureLayout PictureOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Heart: return {kHeartPicture, 65, 55};
        case MessageKind::HappyFace: return {kHappyFacePicture, 35, 40};
        case MessageKind::Peace: return {kPeacePicture, 41, 31};
        case MessageKind::Star: return {kStarPicture, 55, 55};
        case MessageKind::ChristmasTree: return {kChristmasTreePicture, 55, 55};
        default: return {0, 0, 0};
    }
}

bool IsPicture(MessageKind kind) { return PictureOf(kind).resource != 0; }

// False when the picture could not be loaded.
bool ProjectPicture(gfx::Canvas& canvas, MessageKind kind) {
    const PictureLayout layout = PictureOf(kind);
    MessageCanvasClass& mc = MessageCanvas();
    mc.canvasWidth = layout.canvasWidth;
    mc.canvasHeight = layout.canvasHeight;
    const std::optional<gfx::Image> image = LoadBitmapResource(layout.resource);
    if (!image) return false;
    std::shared_ptr<gfx::Surface> picture = gfx::Surface::FromPixels(image->Width(), image->Height(), image->Pixels());
    if (!picture) return false;
    canvas.SelectBitmap(std::move(picture));
    return true;
}

// Measured without and drawn with one pixel of extra spacing, laid out in the sky's
// rectangle so that long texts wrap where the sky ends. False when the canvas's bitmap
// could not be made.
bool ProjectText(gfx::Canvas& canvas, std::string_view text, float fontSize, const char* face) {
    TextFont& font = MessageFont();
    font.FontSize = fontSize;
    if (face) font.faceName = face;
    font.Select(&canvas, static_cast<int32_t>(kWhite), static_cast<int32_t>(kBlack));
    const int oldExtra = canvas.GetTextCharacterExtra();

    MessageCanvasClass& mc = MessageCanvas();
    int32_t width = 0;
    int32_t height = 0;
    GetTextSize(&canvas, text, &width, &height);
    width += kTextCanvasMargin;
    mc.canvasWidth = width;
    mc.canvasHeight = height;

    std::shared_ptr<gfx::Surface> bitmap = gfx::Canvas::CreateCompatibleBitmap(SkyDC(), width, height);
    const bool made = bitmap != nullptr;
    if (made) {
        canvas.SelectBitmap(std::move(bitmap));
        canvas.FillRect(gfx::Rect{0, 0, width, height}, gfx::Brush::Black());
    }

    const gfx::Color oldText = canvas.SetTextColor(kWhite);
    const gfx::Color oldBack = canvas.SetBkColor(kBlack);
    canvas.SetTextCharacterExtra(1);
    const SkyRect& sky = SaverRun().ScreenRect;
    gfx::Rect layout{sky.left, sky.top, sky.right, sky.bottom};
    canvas.DrawText(text, layout, gfx::DrawTextFlag::WordBreak);

    canvas.SetTextCharacterExtra(oldExtra);
    font.Restore();
    canvas.SetTextColor(oldText);
    canvas.SetBkColor(oldBack);
    return made;
}

// The difference in hours after the keyword; 0 when no number follows.
double ReadHourDifference(std::string_view message) {
    if (message.size() <= 4) return 0;
    const std::string rest(message.substr(4));
    char* end = nullptr;
    const double value = std::strtof(rest.c_str(), &end);
    if (end == rest.c_str() || !std::isfinite(value)) return 0;
    if (value > kMaxHourDifference) return kMaxHourDifference;
    if (value < -kMaxHourDifference) return -kMaxHourDifference;
    return value;
}

}  // namespace

TextFont& MessageFont() { return messageFont; }

void ResetMessageFont() {
    if (messageFont.selected) messageFont.Restore();
    messageFont.faceName.clear();
    messageFont.FontSize = 0;
    messageFont.Color = kConfiguredColour;
}

MessageKind KindOfMessage(std::string_view text) {
    // Tested in this order; where two tests could hold, the later one decides.
    MessageKind kind = MessageKind::Text;
    if (text == "HEART") kind = MessageKind::Heart;
    if (text == "HAPPY_FACE") kind = MessageKind::HappyFace;
    if (text == "PEACE") kind = MessageKind::Peace;
    if (StrContainsText(text, "TIME") == 0) kind = MessageKind::WorldTime;
    if (text == "COUNTDOWN") kind = MessageKind::Countdown;
    if (StrContainsText(text, "BIRTHDAY") == 0) kind = MessageKind::Birthday;
    if (text == "STAR") kind = MessageKind::Star;
    if (text == "XMASTREE") kind = MessageKind::ChristmasTree;
    return kind;
}

LocalTime AddHoursToTime(const LocalTime& time, double hours) {
    int64_t seconds = DaysFromCivil(time.year + 1900, time.month + 1, time.day) * 86400 + int64_t{time.hour} * 3600 +
                      int64_t{time.minute} * 60 + time.second;
    if (std::isfinite(hours))
        seconds += static_cast<int64_t>(std::clamp(hours, -kMaxHourDifference, kMaxHourDifference) * 3600.0);
    return CivilFromSeconds(seconds);
}

std::string WorldTimeText(std::string_view message, Clock& clock) {
    const double difference = ReadHourDifference(message);
    AppLog().Info.Log("WorldTime diff minutes", static_cast<long>(static_cast<long>(difference) * 60));

    const LocalTime moved = AddHoursToTime(clock.LocalNow(), difference);
    const std::string date = Truncated(platform::ShortDayMonthDate(moved), 50);
    const bool use24h = MainIni().ReadIntForUser("params", "FormatTime24H", 0) != 0;
    const std::string time = FormatTime(moved.hour, moved.minute, use24h);

    const long pad = (static_cast<long>(date.size()) - static_cast<long>(time.size())) / 2;
    std::string text(pad > 0 ? static_cast<size_t>(pad) : 0, ' ');
    text += "   " + time + "\n" + date;
    return text;
}

void Project(std::string& text) {
    TpelurLogger& info = AppLog().Info;
    info.Log("Project-entering", text);

    // Read once: the mail checker's thread may change it at any time.
    const int mails = MailCount.load();
    if (mails >= 1) {
        char notice[40];
        std::snprintf(notice, sizeof notice, "You've got\nmail (%i)", mails);
        text = notice;
        PlaySystemSound("MailBeep");
    }
    if (text.empty()) text = " ";

    const MessageKind kind = KindOfMessage(text);
    gfx::Canvas& canvas = MessageCanvas().NewContext(SkyDC());

    bool obtained = false;
    if (IsPicture(kind)) {
        obtained = ProjectPicture(canvas, kind);
    } else {
        switch (kind) {
            case MessageKind::WorldTime:
                obtained = ProjectText(canvas, WorldTimeText(text, TheClock()), 12, nullptr);
                break;
            case MessageKind::Countdown:
                obtained = ProjectText(canvas, CountdownText(), 10, kCourierNew);
                break;
            case MessageKind::Birthday: {
                // A text that does not follow the pattern shows what the unset date gives.
                Birthday birthday;
                ParseBirthday(text, birthday);
                obtained = ProjectText(canvas, DayOfLifeText(birthday), 10, kCourierNew);
                break;
            }
            default:
                info.Log("Message for the stars", text);
                obtained = ProjectText(canvas, text, 12, kCourierNew);
                break;
        }
    }
    if (!obtained) AddError("TEXT2PIXEL - 7161");
    Text2Pixel();
}

}  // namespace lumi
