// The command-line reader: the saver switches, the XScreenSaver conventions, the long
// options, and hostile numbers.
#include "host/CommandLine.h"

#include <gtest/gtest.h>

#include <set>

#include "base/FakeClock.h"

namespace lumi {
namespace {

// Windows 1234, 12, 77 and 0x1a00003 exist; the foreground window is 4242.
WindowQueries Desktop() {
    WindowQueries q;
    q.isWindow = [](uint64_t id) { return std::set<uint64_t>{1234, 12, 77, 0x1a00003, 0x2c00007}.count(id) > 0; };
    q.foregroundWindow = [] { return uint64_t{4242}; };
    return q;
}

CommandLine Switches(std::string_view text, PasswordMode mode = PasswordMode::System) {
    return ParseSaverSwitches(text, mode, Desktop());
}

CommandLine Linux(std::vector<std::string> rest, const char* environment = nullptr) {
    rest.insert(rest.begin(), "lumivane");
    return ParseCommandLine(rest, Dialect::Linux, environment, PasswordMode::System, Desktop());
}

TEST(SaverSwitches, FullScreenInEverySpelling) {
    for (const char* text : {"/s", "-s", "S", "/S", "   /S", " - /s"}) {
        EXPECT_EQ(Switches(text).mode, RunMode::FullScreen) << text;
    }
}

TEST(SaverSwitches, EmptyOpensTheSettingsWithoutOwner) {
    for (const char* text : {"", "   ", "/", "- -"}) {
        const CommandLine c = Switches(text);
        EXPECT_EQ(c.mode, RunMode::Configure) << text;
        EXPECT_EQ(c.window, 0u) << text;
    }
}

TEST(SaverSwitches, UnknownLetterFailsWithMinusOne) {
    for (const char* text : {"/x", "x", "/\ts", "/1", "/?"}) {
        const CommandLine c = Switches(text);
        EXPECT_EQ(c.mode, RunMode::Error) << text;
        EXPECT_EQ(c.exitCode, -1) << text;
        EXPECT_FALSE(c.error.empty());
    }
}

TEST(SaverSwitches, ConfigureOwner) {
    EXPECT_EQ(Switches("/c:1234").window, 1234u);
    EXPECT_EQ(Switches("/C:1234").mode, RunMode::Configure);
    // No handle, handle 0 and a handle that is no window all fall back to the foreground.
    for (const char* text : {"/c", "/c:", "/c:0", "/c:999", "/c 1234", "/c:99999999999999999999"}) {
        const CommandLine c = Switches(text);
        EXPECT_EQ(c.mode, RunMode::Configure) << text;
        EXPECT_EQ(c.window, 4242u) << text;
    }
}

TEST(SaverSwitches, PreviewNeedsAWindow) {
    for (const char* text : {"/p 1234", "/l 1234", "/P1234", "/L   1234", "/p\t1234"}) {
        const CommandLine c = Switches(text);
        EXPECT_EQ(c.mode, RunMode::Preview) << text;
        EXPECT_EQ(c.window, 1234u) << text;
        EXPECT_EQ(c.previewHost, PreviewHost::ControlPanel);
    }
    EXPECT_EQ(Switches("/p12ab").window, 12u);
    for (const char* text : {"/p", "/p ", "/p 0", "/p 555", "/p abc", "/p -1234"}) {
        const CommandLine c = Switches(text);
        EXPECT_EQ(c.mode, RunMode::Error) << text;
        EXPECT_EQ(c.exitCode, -1) << text;
    }
}

TEST(SaverSwitches, HugeHandlesAreNoWindowInsteadOfWrapping) {
    // 2^32 + 1234 would wrap to the real window 1234 in a 32-bit reader.
    EXPECT_EQ(Switches("/p 4294968530").mode, RunMode::Error);
    EXPECT_EQ(Switches(std::string("/p ") + std::string(5000, '9')).mode, RunMode::Error);
    EXPECT_EQ(Switches("/a 4294967373", PasswordMode::Legacy).window, 4242u);
}

TEST(SaverSwitches, PasswordChangeOnlyInLegacyMode) {
    EXPECT_EQ(Switches("/a 77").mode, RunMode::Error);
    EXPECT_EQ(Switches("/a 77").exitCode, -1);
    const CommandLine c = Switches("/a 77", PasswordMode::Legacy);
    EXPECT_EQ(c.mode, RunMode::ChangePassword);
    EXPECT_EQ(c.window, 77u);
    EXPECT_EQ(Switches("/a", PasswordMode::Legacy).window, 4242u);
    EXPECT_EQ(Switches("/a 0", PasswordMode::Legacy).window, 4242u);
}

TEST(SaverSwitches, WithoutQueriesEveryNonzeroHandleIsAWindow) {
    const CommandLine c = ParseSaverSwitches("/p 31337", PasswordMode::System, WindowQueries());
    EXPECT_EQ(c.mode, RunMode::Preview);
    EXPECT_EQ(c.window, 31337u);
    EXPECT_EQ(ParseSaverSwitches("/c", PasswordMode::System, WindowQueries()).window, 0u);
}

TEST(CommandLineArgs, SwitchesSplitOverArguments) {
    const CommandLine c = Linux({"/p", "1234"});
    EXPECT_EQ(c.mode, RunMode::Preview);
    EXPECT_EQ(c.window, 1234u);
    EXPECT_TRUE(c.messageFile.empty());  // "1234" is no message file
    EXPECT_EQ(Linux({}).mode, RunMode::Configure);
    EXPECT_EQ(Linux({"/c:1234"}).window, 1234u);
}

TEST(CommandLineArgs, ThirdArgumentNamesAMessageFile) {
    const std::vector<std::string> args = {"lumivane.scr", "/s", "C:\\Mail\\NewMessage.LUMIVAN"};
    const CommandLine c = ParseCommandLine(args, Dialect::Windows, nullptr, PasswordMode::System, Desktop());
    EXPECT_EQ(c.mode, RunMode::FullScreen);
    EXPECT_EQ(c.messageFile, "C:\\Mail\\NewMessage.LUMIVAN");
    EXPECT_TRUE(Linux({"/s", "notes.txt"}).messageFile.empty());
    EXPECT_TRUE(Linux({"/x", "a.Lumivan"}).messageFile.empty());
}

TEST(XScreenSaver, RootDrawsInTheDaemonsWindowWhenItNamesOne) {
    EXPECT_EQ(Linux({"-root"}).mode, RunMode::Root);
    EXPECT_EQ(Linux({"--root"}).mode, RunMode::Root);

    const CommandLine c = Linux({"-root"}, "0x1a00003");
    EXPECT_EQ(c.mode, RunMode::Preview);
    EXPECT_EQ(c.previewHost, PreviewHost::XScreenSaver);
    EXPECT_EQ(c.window, 0x1a00003u);
    EXPECT_EQ(Linux({"-root"}, "27262979").window, 0x1a00003u);
    // Garbage, a vanished window and 0 fall back to the root window.
    for (const char* env : {"", "junk", "0x", "0", "0x1234567", "0x1a00003 ", "99999999999999999999"})
        EXPECT_EQ(Linux({"-root"}, env).mode, RunMode::Root) << env;
}

TEST(XScreenSaver, WindowIdInDecimalOrHex) {
    EXPECT_EQ(Linux({"-window-id", "0x2c00007"}).window, 0x2c00007u);
    EXPECT_EQ(Linux({"-window-id", "0X2C00007"}).window, 0x2c00007u);
    EXPECT_EQ(Linux({"-window-id", "46137351"}).window, 0x2c00007u);
    // An explicit id wins over -root and the environment.
    EXPECT_EQ(Linux({"-root", "-window-id", "0x2c00007"}, "0x1a00003").window, 0x2c00007u);

    for (std::vector<std::string> bad : std::vector<std::vector<std::string>>{
             {"-window-id"}, {"-window-id", "0"}, {"-window-id", "zz"}, {"-window-id", "0x"},
             {"-window-id", "0x1ffffffff"}, {"-window-id", "-5"}, {"-window-id", "12abc"}}) {
        const CommandLine c = Linux(bad);
        EXPECT_EQ(c.mode, RunMode::Error) << (bad.size() > 1 ? bad[1] : "");
        EXPECT_EQ(c.exitCode, 2);
    }
    // A well-formed id that names no window is the same failure as /p with one.
    EXPECT_EQ(Linux({"-window-id", "0x1234567"}).exitCode, -1);
}

TEST(XScreenSaver, WindowAndGeometry) {
    CommandLine c = Linux({"-window"});
    EXPECT_EQ(c.mode, RunMode::Window);
    EXPECT_EQ(c.geometry.width, 0);
    EXPECT_FALSE(c.geometry.hasPosition);

    c = Linux({"-window", "-geometry", "640x480+10-20"});
    EXPECT_EQ(c.mode, RunMode::Window);
    EXPECT_EQ(c.geometry.width, 640);
    EXPECT_EQ(c.geometry.height, 480);
    EXPECT_TRUE(c.geometry.hasPosition);
    EXPECT_EQ(c.geometry.x, 10);
    EXPECT_EQ(c.geometry.y, -20);

    c = Linux({"-geometry", "+5+6"});
    EXPECT_EQ(c.mode, RunMode::Window);
    EXPECT_EQ(c.geometry.width, 0);
    EXPECT_EQ(c.geometry.x, 5);

    for (const char* bad : {"640x", "x480", "0x480", "640x480+", "640x480+1", "99999x10", "640*480", "640x480+1+2+3",
                            "640x480+99999999+0", ""}) {
        EXPECT_EQ(Linux({"-window", "-geometry", bad}).mode, RunMode::Error) << bad;
    }
    EXPECT_EQ(Linux({"-window", "-geometry"}).mode, RunMode::Error);
    EXPECT_EQ(Linux({"-window", "-fast"}).mode, RunMode::Error);
}

TEST(XScreenSaver, FpsGoesWithEveryWayOfShowingTheSky) {
    EXPECT_FALSE(Linux({"-root"}).fps);
    CommandLine c = Linux({"-root", "-fps"});
    EXPECT_EQ(c.mode, RunMode::Root);
    EXPECT_TRUE(c.fps);
    c = Linux({"--fps", "-root"}, "0x1a00003");
    EXPECT_EQ(c.mode, RunMode::Preview);
    EXPECT_EQ(c.window, 0x1a00003u);
    EXPECT_TRUE(c.fps);
    EXPECT_TRUE(Linux({"-window-id", "77", "-fps"}).fps);
    // Alone it opens an ordinary window, as a hack started by hand does.
    c = Linux({"-fps"});
    EXPECT_EQ(c.mode, RunMode::Window);
    EXPECT_TRUE(c.fps);
    // Not a saver switch, and not for a snapshot.
    EXPECT_EQ(Linux({"/s", "-fps"}).mode, RunMode::Error);
    EXPECT_EQ(Linux({"--snapshot", "a.png", "--fps"}).mode, RunMode::Error);
    EXPECT_EQ(ParseCommandLine({"lumivane.scr", "-fps"}, Dialect::Windows, nullptr, PasswordMode::System, Desktop()).mode,
              RunMode::Error);
}

TEST(XScreenSaver, OnlyInTheLinuxDialect) {
    const std::vector<std::string> args = {"lumivane.scr", "-root"};
    const CommandLine c = ParseCommandLine(args, Dialect::Windows, "0x1a00003", PasswordMode::System, Desktop());
    EXPECT_EQ(c.mode, RunMode::Error);
    EXPECT_EQ(c.exitCode, -1);
}

TEST(LongOptions, HelpAndVersionWinAnywhere) {
    EXPECT_EQ(Linux({"--help"}).mode, RunMode::Help);
    EXPECT_EQ(Linux({"--version"}).mode, RunMode::Version);
    EXPECT_EQ(Linux({"--snapshot", "a.png", "--help"}).mode, RunMode::Help);
    EXPECT_EQ(Linux({"--bogus", "--version"}).mode, RunMode::Version);
    EXPECT_NE(std::string(UsageText()).find("--snapshot"), std::string::npos);
}

TEST(LongOptions, SnapshotDefaultsAndValues) {
    CommandLine c = Linux({"--snapshot", "sky.png"});
    ASSERT_EQ(c.mode, RunMode::Snapshot);
    EXPECT_EQ(c.snapshot.file, "sky.png");
    EXPECT_EQ(c.snapshot.width, 1024);
    EXPECT_EQ(c.snapshot.height, 768);
    EXPECT_EQ(c.snapshot.ticks, 300);
    EXPECT_FALSE(c.snapshot.hasAt);
    EXPECT_FALSE(c.snapshot.hasSeed);

    c = Linux({"--size", "320x200", "--snapshot=out/sky.png", "--ticks", "0", "--seed=4294967295", "--at",
               "2024-03-10T21:30"});
    ASSERT_EQ(c.mode, RunMode::Snapshot);
    EXPECT_EQ(c.snapshot.file, "out/sky.png");
    EXPECT_EQ(c.snapshot.width, 320);
    EXPECT_EQ(c.snapshot.height, 200);
    EXPECT_EQ(c.snapshot.ticks, 0);
    EXPECT_TRUE(c.snapshot.hasSeed);
    EXPECT_EQ(c.snapshot.seed, 4294967295u);
    ASSERT_TRUE(c.snapshot.hasAt);
    EXPECT_EQ(c.snapshot.at.kind, AtTime::Kind::Local);
    EXPECT_EQ(c.snapshot.at.calendar.hour, 21);
}

TEST(LongOptions, BadValuesAreUsageErrors) {
    const std::vector<std::vector<std::string>> bad = {
        {"--snapshot"},
        {"--snapshot", "--size", "10x10"},
        {"--snapshot="},
        {"--snapshot", "a.png", "--size", "0x10"},
        {"--snapshot", "a.png", "--size", "8193x10"},
        {"--snapshot", "a.png", "--size"},
        {"--snapshot", "a.png", "--ticks", "99999999999999999999999"},
        {"--snapshot", "a.png", "--ticks", "10000001"},
        {"--snapshot", "a.png", "--ticks", "-1"},
        {"--snapshot", "a.png", "--seed", "4294967296"},
        {"--snapshot", "a.png", "--seed", "-1"},
        {"--snapshot", "a.png", "--at", "yesterday"},
        {"--snapshot", "a.png", "--snapshot", "b.png"},
        {"--snapshot", "a.png", "--moon"},
        {"--snapshot", "a.png", "/s"},
        {"--size", "10x10"},
        {"--moon", "--ticks", "5"},
        {"--moon=full"},
        {"--frobnicate"},
    };
    for (const auto& args : bad) {
        const CommandLine c = Linux(args);
        EXPECT_EQ(c.mode, RunMode::Error) << args[0] << " " << (args.size() > 1 ? args[1] : "");
        EXPECT_EQ(c.exitCode, 2);
        EXPECT_FALSE(c.error.empty());
    }
}

TEST(LongOptions, Moon) {
    CommandLine c = Linux({"--moon"});
    EXPECT_EQ(c.mode, RunMode::Moon);
    EXPECT_FALSE(c.hasAt);
    c = Linux({"--moon", "--at", "@1700000000"});
    EXPECT_EQ(c.mode, RunMode::Moon);
    ASSERT_TRUE(c.hasAt);
    EXPECT_EQ(c.at.kind, AtTime::Kind::Epoch);
    EXPECT_EQ(c.at.epochSeconds, 1700000000);
}

TEST(LongOptions, CheckMailOnBothPlatformsAndAlone) {
    EXPECT_EQ(Linux({"--check-mail"}).mode, RunMode::CheckMail);
    EXPECT_EQ(ParseCommandLine({"lumivane.scr", "--check-mail"}, Dialect::Windows, nullptr, PasswordMode::System, {})
                  .mode,
              RunMode::CheckMail);
    const CommandLine mixed = Linux({"--check-mail", "--moon"});
    EXPECT_EQ(mixed.mode, RunMode::Error);
    EXPECT_EQ(mixed.exitCode, 2);
    EXPECT_EQ(Linux({"--check-mail=yes"}).mode, RunMode::Error);
}

TEST(AtTimes, AcceptedForms) {
    AtTime at;
    ASSERT_TRUE(ParseAtTime("2024-02-29", at));
    EXPECT_EQ(at.kind, AtTime::Kind::Local);
    EXPECT_EQ(at.calendar.year, 124);
    EXPECT_EQ(at.calendar.month, 1);
    EXPECT_EQ(at.calendar.day, 29);
    EXPECT_EQ(at.calendar.hour, 0);
    ASSERT_TRUE(ParseAtTime("2024-03-10 21:30:15", at));
    EXPECT_EQ(at.calendar.second, 15);
    ASSERT_TRUE(ParseAtTime("2024-03-10T21:30Z", at));
    EXPECT_EQ(at.kind, AtTime::Kind::Utc);
    ASSERT_TRUE(ParseAtTime("@-5", at));
    EXPECT_EQ(at.epochSeconds, -5);

    for (const char* bad : {"", "@", "@12x", "@--1", "2023-02-29", "2024-13-01", "2024-00-10", "2024-03-32",
                            "2024-03-10T24:00", "2024-03-10T12:60", "2024-03-10T12:00:60", "2024-3-10",
                            "2024-03-10T", "2024-03-10T12", "2024-03-10T12:00:", "2024-03-10ZZ", "2024-03-10 x",
                            "@99999999999999999999999"}) {
        EXPECT_FALSE(ParseAtTime(bad, at)) << bad;
    }
}

TEST(AtTimes, ResolvedInTheClocksZone) {
    FakeClock berlin(0, -60);  // one hour east of UTC
    AtTime at;
    int64_t seconds = 0;
    ASSERT_TRUE(ParseAtTime("2024-03-10T00:00Z", at));
    ASSERT_TRUE(ResolveAtTime(at, berlin, seconds));
    EXPECT_EQ(seconds, 1710028800);
    ASSERT_TRUE(ParseAtTime("2024-03-10T01:00", at));
    ASSERT_TRUE(ResolveAtTime(at, berlin, seconds));
    EXPECT_EQ(seconds, 1710028800);

    // Outside the sky's 32-bit clock.
    for (const char* bad : {"@-1", "@2147483648", "2038-01-20T00:00Z", "1969-12-31T00:00Z"}) {
        ASSERT_TRUE(ParseAtTime(bad, at)) << bad;
        EXPECT_FALSE(ResolveAtTime(at, berlin, seconds)) << bad;
    }
    ASSERT_TRUE(ParseAtTime("@2147483647", at));
    EXPECT_TRUE(ResolveAtTime(at, berlin, seconds));
}

}  // namespace
}  // namespace lumi
