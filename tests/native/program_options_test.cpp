#include "host/program_options.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/idle_rules.h"

struct Parsed {
    bool ok;
    ProgramOptions options;
    std::string error;
};

static Parsed parse(const std::vector<const char*>& words, const char* daemonWindow = nullptr) {
    std::vector<const char*> argv = {"skyfold"};
    argv.insert(argv.end(), words.begin(), words.end());
    Parsed parsed;
    char error[kOptionErrorBytes];
    parsed.ok = parseProgramOptions(static_cast<int>(argv.size()), argv.data(), daemonWindow,
                                    &parsed.options, error);
    parsed.error = error;
    return parsed;
}

TEST(ProgramOptions, PicksWhereToDraw) {
    EXPECT_EQ(DrawTarget::OwnWindow, parse({}).options.target);
    EXPECT_EQ(1280, parse({}).options.width);
    EXPECT_EQ(DrawTarget::FullScreen, parse({"--fullscreen"}).options.target);
    EXPECT_EQ(DrawTarget::RootWindow, parse({"-root"}).options.target);
    const Parsed window = parse({"--window", "--geometry=320x200"});
    EXPECT_EQ(DrawTarget::OwnWindow, window.options.target);
    EXPECT_EQ(320, window.options.width);
    EXPECT_EQ(200, window.options.height);
    const Parsed given = parse({"--window-id", "0x1A00003"});
    EXPECT_EQ(DrawTarget::GivenWindow, given.options.target);
    EXPECT_EQ(0x1A00003u, given.options.windowId);
    EXPECT_EQ(4194307u, parse({"--window-id=4194307"}).options.windowId);
    EXPECT_EQ(ProgramAction::Help, parse({"--count", "80", "--help", "--bogus"}).options.action);
    // These open no window, so no daemon window is read either.
    EXPECT_EQ(ProgramAction::InstallXscreensaver,
              parse({"-install-xscreensaver"}, "garbage").options.action);
    EXPECT_EQ(ProgramAction::Configure, parse({"-config"}, "garbage").options.action);
}

TEST(ProgramOptions, TheDaemonsWindowWinsOverAllButAnExplicitWindowId) {
    const std::vector<const char*> targets[] = {{}, {"--root"}, {"--window"}, {"--fullscreen"}};
    for (const auto& words : targets) {
        const Parsed parsed = parse(words, "0x600008");
        EXPECT_EQ(DrawTarget::GivenWindow, parsed.options.target);
        EXPECT_EQ(0x600008u, parsed.options.windowId);
    }
    EXPECT_EQ(0x42u, parse({"--window-id", "0x42"}, "0x600008").options.windowId);
    EXPECT_TRUE(parse({"--window-id", "0x42"}, "garbage").ok);  // not used, so not read
    EXPECT_EQ("XSCREENSAVER_WINDOW: 'garbage' is not a window id", parse({"--root"}, "garbage").error);
}

TEST(ProgramOptions, SettingsOverrideOnlyWhenGiven) {
    const Parsed none = parse({"--root"});
    EXPECT_FALSE(none.options.overrides.noteCountGiven || none.options.overrides.viewAngleGiven ||
                 none.options.overrides.currencyGiven);
    const Parsed all = parse({"--count", "75", "--view-angle", "Top-Down", "--currency=EURO"});
    ASSERT_TRUE(all.ok);
    EXPECT_TRUE(all.options.overrides.noteCountGiven);
    EXPECT_EQ(75, all.options.overrides.values.noteCount);
    EXPECT_EQ(TopDown, all.options.overrides.values.viewAngle);
    EXPECT_EQ(Euros, all.options.overrides.values.currencyType);
    EXPECT_EQ(1500, parse({"--count=1500"}).options.overrides.values.noteCount);
}

TEST(ProgramOptions, FrameRateCeilingAndDisplay) {
    const Parsed none = parse({"--root"});
    EXPECT_EQ(kNoMaxFps, none.options.maxFps);
    EXPECT_FALSE(none.options.showFps);
    const Parsed both = parse({"--max-fps", "0", "--fps"});
    ASSERT_TRUE(both.ok);
    EXPECT_EQ(0, both.options.maxFps);
    EXPECT_TRUE(both.options.showFps);
    EXPECT_EQ(1000, parse({"--max-fps=1000"}).options.maxFps);
}

// Where each target draws: an X11 window named anywhere keeps the run on X11, a compositor takes
// the rest, and a target that the named window system lacks is refused in one line.
TEST(ProgramOptions, ChoosesTheWindowSystem) {
    struct Case {
        std::vector<const char*> words;
        const char* daemonWindow;
        const char* waylandDisplay;
        WindowSystem expected;  // Automatic: refused
    };
    const Case cases[] = {
        {{}, nullptr, "wayland-0", WindowSystem::Wayland},
        {{"--fullscreen"}, nullptr, "wayland-0", WindowSystem::Wayland},
        {{"--background"}, nullptr, "/run/user/1000/wayland-1", WindowSystem::Wayland},
        {{"--fullscreen"}, nullptr, "", WindowSystem::X11},
        {{}, nullptr, nullptr, WindowSystem::X11},
        {{"--root"}, nullptr, "wayland-0", WindowSystem::X11},
        {{"--window-id", "0x42"}, nullptr, "wayland-0", WindowSystem::X11},
        {{"--fullscreen"}, "0x600008", "wayland-0", WindowSystem::X11},
        {{"--platform", "x11"}, nullptr, "wayland-0", WindowSystem::X11},
        {{"--platform=wayland", "--window"}, nullptr, nullptr, WindowSystem::Wayland},
        {{"--platform", "wayland", "--root"}, nullptr, "wayland-0", WindowSystem::Automatic},
        {{"--background"}, nullptr, nullptr, WindowSystem::Automatic},
        {{"--background", "--platform", "x11"}, nullptr, "wayland-0", WindowSystem::Automatic},
    };
    for (const Case& testCase : cases) {
        const Parsed parsed = parse(testCase.words, testCase.daemonWindow);
        ASSERT_TRUE(parsed.ok) << parsed.error;
        WindowSystem chosen = WindowSystem::Automatic;
        char error[kOptionErrorBytes];
        const bool accepted =
            chooseWindowSystem(parsed.options, testCase.waylandDisplay, &chosen, error);
        EXPECT_EQ(testCase.expected != WindowSystem::Automatic, accepted) << error;
        if (accepted) EXPECT_EQ(testCase.expected, chosen);
        else EXPECT_EQ(nullptr, std::strchr(error, '\n'));
        if (!accepted) EXPECT_NE('\0', error[0]);
    }
}

TEST(ProgramOptions, IdleWatcherAndItsAutostart) {
    const Parsed idle = parse({"--idle", "--count", "300", "--platform", "wayland"});
    EXPECT_EQ(ProgramAction::IdleWatch, idle.options.action);
    EXPECT_EQ(kDefaultIdleSeconds, idle.options.idleSeconds);
    EXPECT_EQ(WindowSystem::Wayland, idle.options.platform);
    const Parsed install = parse({"--timeout", "45", "--install-autostart"});
    EXPECT_EQ(ProgramAction::InstallAutostart, install.options.action);
    EXPECT_EQ(45, install.options.idleSeconds);
    EXPECT_EQ(ProgramAction::RemoveAutostart, parse({"--remove-autostart"}).options.action);
    const Parsed locking = parse({"--idle", "--lock-after=0"});
    EXPECT_EQ(LockRule::After, locking.options.lockRule);
    EXPECT_EQ(0, locking.options.lockAfterSeconds);
    EXPECT_EQ(LockRule::Never, parse({"--no-lock", "--install-autostart"}).options.lockRule);
    EXPECT_EQ(LockRule::Desktop, idle.options.lockRule);
    EXPECT_TRUE(parse({"--fullscreen", "--hand-input"}).options.handInput);
}

TEST(ProgramOptions, TheWatcherPassesItsOptionsOn) {
    const Parsed idle = parse({"--idle", "--timeout", "60", "--count=300", "--no-lock",
                               "--currency", "Euro", "--max-fps", "30", "--view-angle=top-down"});
    ASSERT_TRUE(idle.ok) << idle.error;
    EXPECT_EQ((std::vector<std::string>{"--fullscreen", "--hand-input", "--count", "300",
                                        "--view-angle", "top-down", "--currency", "euro",
                                        "--max-fps", "30", "--platform", "x11"}),
              saverWords(idle.options, WindowSystem::X11));
    EXPECT_EQ((std::vector<std::string>{"--idle", "--timeout", "60", "--no-lock", "--count", "300",
                                        "--view-angle", "top-down", "--currency", "euro",
                                        "--max-fps", "30"}),
              watcherWords(idle.options));
    const Parsed install = parse({"--install-autostart", "--lock-after", "30", "--fps",
                                  "--platform", "wayland"});
    EXPECT_EQ((std::vector<std::string>{"--idle", "--lock-after", "30", "--fps", "--platform",
                                        "wayland"}),
              watcherWords(install.options));
}

TEST(ProgramOptions, BadInputSaysWhatIsWrongInOneLine) {
    const std::pair<std::vector<const char*>, const char*> cases[] = {
        {{"--count", "abc"}, "--count: 'abc' is not a number from 75 to 1500"},
        {{"--count", "74"}, "--count: '74' is not a number from 75 to 1500"},
        {{"--count", "4294967371"}, "--count: '4294967371' is not a number from 75 to 1500"},
        {{"--count"}, "--count needs a value"},
        {{"--currency", "yen"}, "--currency: 'yen' is not australian, american or euro"},
        {{"--view-angle", "sideways"},
         "--view-angle: 'sideways' is not bottom-up, front-on, top-down or random"},
        {{"--window-id", "x"}, "--window-id: 'x' is not a window id"},
        {{"--window-id", "0"}, "--window-id: '0' is not a window id"},
        {{"--window-id", "0x"}, "--window-id: '0x' is not a window id"},
        {{"--window-id", "0x100000000"}, "--window-id: '0x100000000' is not a window id"},
        {{"--geometry", "huge"}, "--geometry: 'huge' is not WIDTHxHEIGHT"},
        {{"--geometry", "0x10"}, "--geometry: '0x10' is not WIDTHxHEIGHT"},
        {{"--geometry", "40000x10"}, "--geometry: '40000x10' is not WIDTHxHEIGHT"},
        {{"--fullscreen=yes"}, "--fullscreen takes no value"},
        {{"--background=1"}, "--background takes no value"},
        {{"--platform", "mir"}, "--platform: 'mir' is not x11 or wayland"},
        {{"--max-fps", "1001"}, "--max-fps: '1001' is not a number from 0 to 1000"},
        {{"--max-fps", "-1"}, "--max-fps: '-1' is not a number from 0 to 1000"},
        {{"--max-fps"}, "--max-fps needs a value"},
        {{"--fps=3"}, "--fps takes no value"},
        {{"--fps", "x"}, "unexpected argument 'x'"},
        {{"--install-xscreensaver", "--root"},
         "--install-xscreensaver takes no value and no other option"},
        {{"--count", "80", "--install-xscreensaver"},
         "--install-xscreensaver takes no value and no other option"},
        {{"--window", "--config"}, "--config takes no value and no other option"},
        {{"--idle", "--timeout", "0"},
         "--timeout: '0' is not a number of seconds from 1 to 86400"},
        {{"--install-autostart", "--timeout=86401"},
         "--timeout: '86401' is not a number of seconds from 1 to 86400"},
        {{"--timeout", "60"}, "--timeout goes with --idle or --install-autostart"},
        {{"--lock-after", "5"}, "--lock-after goes with --idle or --install-autostart"},
        {{"--idle", "--lock-after", "-1"},
         "--lock-after: '-1' is not a number of seconds from 0 to 86400"},
        {{"--idle", "--no-lock", "--lock-after", "5"},
         "--lock-after and --no-lock contradict each other"},
        {{"--idle", "--no-lock=1"}, "--no-lock takes no value"},
        {{"--window", "--hand-input"}, "--hand-input goes with --fullscreen"},
        {{"--idle", "--window"}, "--idle and --install-autostart show the saver full screen: "
                                 "no --window, --fullscreen, --background, --root or --window-id"},
        {{"--remove-autostart", "--timeout", "5"},
         "--remove-autostart takes no value and no other option"},
        {{"--config=yes"}, "--config takes no value and no other option"},
        {{"--colour"}, "unknown option '--colour'"},
        {{"-"}, "unexpected argument '-'"},
        {{"root"}, "unexpected argument 'root'"},
    };
    for (const auto& testCase : cases) {
        const Parsed parsed = parse(testCase.first);
        EXPECT_FALSE(parsed.ok) << testCase.second;
        EXPECT_EQ(testCase.second, parsed.error);
    }
}
