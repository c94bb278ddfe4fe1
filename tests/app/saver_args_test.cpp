#include "app/saver_args.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

struct Tail {
    const char* tail;
    SaverMode mode;
    std::uintptr_t parent;
};

TEST(SaverTail, ReadsTheWindowsScreensaverSwitches) {
    const Tail cases[] = {
        {"/s", SaverMode::FullScreen, 0},
        {"-S", SaverMode::FullScreen, 0},
        {"  /s  ", SaverMode::FullScreen, 0},
        {"/p 1234", SaverMode::Preview, 1234},
        {"/P:65538", SaverMode::Preview, 65538},
        {"-p\t77", SaverMode::Preview, 77},
        {"/c", SaverMode::Configure, 0},
        {"/c:4242", SaverMode::Configure, 4242},
        {"", SaverMode::Configure, 0},
        {nullptr, SaverMode::Configure, 0},
        // Not understood: a handle where none belongs, none where one must be,
        // other letters and words, signs, hex, trailing words, a bare slash.
        {"/s 12", SaverMode::Invalid, 0},
        {"/p", SaverMode::Invalid, 0},
        {"/p:", SaverMode::Invalid, 0},
        {"/p 12x", SaverMode::Invalid, 0},
        {"/p -5", SaverMode::Invalid, 0},
        {"/p 0x10", SaverMode::Invalid, 0},
        {"/p 1 2", SaverMode::Invalid, 0},
        {"/save", SaverMode::Invalid, 0},
        {"/x", SaverMode::Invalid, 0},
        {"s", SaverMode::Invalid, 0},
        {"/", SaverMode::Invalid, 0},
        {"/p 99999999999999999999999", SaverMode::Invalid, 0},
    };
    for (const Tail& c : cases) {
        const SaverArgs a = parseSaverTail(c.tail);
        const std::string what = c.tail ? c.tail : "(null)";
        EXPECT_EQ(a.mode, c.mode) << what;
        if (c.mode != SaverMode::Invalid) {
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(a.parent), c.parent) << what;
        }
    }
}

SaverTarget options(std::vector<const char*> args, const char* environment = nullptr) {
    args.insert(args.begin(), "tessaline-saver");
    return parseSaverOptions(int(args.size()), args.data(), environment);
}

TEST(SaverOptions, FollowTheHackConventionsAndTheirOrderOfPrecedence) {
    EXPECT_EQ(options({}).kind, SaverTarget::OwnWindow);
    EXPECT_EQ(options({"-root"}).kind, SaverTarget::RootWindow);
    EXPECT_EQ(options({"--root"}).kind, SaverTarget::RootWindow);
    EXPECT_EQ(options({"--help"}).kind, SaverTarget::Help);

    SaverTarget t = options({"-window-id", "0x60000C"});
    EXPECT_EQ(t.kind, SaverTarget::ForeignWindow);
    EXPECT_EQ(t.windowId, 0x60000Cu);
    EXPECT_EQ(options({"--window-id=4194305"}).windowId, 4194305u);
    // -window-id beats the environment, which beats -root.
    t = options({"-root", "-window-id", "17"}, "0x400001");
    EXPECT_EQ(t.kind, SaverTarget::ForeignWindow);
    EXPECT_EQ(t.windowId, 17u);
    t = options({"--root"}, "0x400001");
    EXPECT_EQ(t.kind, SaverTarget::ForeignWindow);
    EXPECT_EQ(t.windowId, 0x400001u);
    EXPECT_EQ(options({"-root"}, "").kind, SaverTarget::RootWindow);
    // The desktop's layers take no window: not the environment's, and none named.
    EXPECT_EQ(options({"--overlay"}, "0x400001").kind, SaverTarget::Overlay);
    EXPECT_EQ(options({"-pixel", "3", "-wallpaper"}).kind, SaverTarget::Wallpaper);

    // Malformed options and ids are usage errors (2); a malformed id in the
    // environment is a window that cannot be found (1).
    for (const std::vector<const char*>& bad : {std::vector<const char*>{"-window-id"},
                                                {"-window-id", "0x"},
                                                {"-window-id", "12z"},
                                                {"-window-id", "-3"},
                                                {"-window-id", "0x100000000"},
                                                {"-fps"},
                                                {"root"},
                                                {"---root"},
                                                {"-overlay", "-root"},
                                                {"-window-id", "17", "-wallpaper"},
                                                {"-overlay", "-wallpaper"}}) {
        t = options(bad);
        EXPECT_EQ(t.kind, SaverTarget::Bad) << bad.back();
        EXPECT_EQ(t.exitCode, 2) << bad.back();
        EXPECT_FALSE(t.problem.empty());
    }
    t = options({}, "nonsense");
    EXPECT_EQ(t.kind, SaverTarget::Bad);
    EXPECT_EQ(t.exitCode, 1);
}

TEST(SaverOptions, TakeThePaceAndThePixelSizeOrRefuseThemOutOfRange) {
    SaverTarget t = options({"-root", "--delay", "0", "-pixel=auto"});
    EXPECT_EQ(t.kind, SaverTarget::RootWindow);
    EXPECT_EQ(t.settings.delay, 0u);
    EXPECT_EQ(t.settings.pixelSize, 0);
    t = options({"--delay=1000000", "--pixel", "8"});
    EXPECT_EQ(t.kind, SaverTarget::OwnWindow);
    EXPECT_EQ(t.settings.delay, 1000000u);
    EXPECT_EQ(t.settings.pixelSize, 8);
    EXPECT_FALSE(t.settings.feathered);
    t = options({"-pixel", "1"});
    EXPECT_EQ(t.settings.delay, kDefaultDelay); // what is not given keeps its default
    EXPECT_EQ(t.settings.pixelSize, 1);
    // The feathered threads keep their own pace unless a delay is given.
    t = options({"--feathered", "-root"});
    EXPECT_TRUE(t.settings.feathered);
    EXPECT_EQ(t.settings.pace(), kFeatheredDelay);
    EXPECT_EQ(options({"-feathered", "-delay", "2000"}).settings.pace(), 2000u);
    EXPECT_EQ(options({"-delay", "2000"}).settings.pace(), 2000u);
    EXPECT_EQ(options({}).settings.pace(), kDefaultDelay);
    EXPECT_EQ(options({"-root", "--version"}).kind, SaverTarget::Version);
    for (const std::vector<const char*>& bad : {std::vector<const char*>{"-delay"},
                                                {"-delay", "1000001"},
                                                {"-delay=-1"},
                                                {"-delay="},
                                                {"-delay", "1e3"},
                                                {"-delayed", "5"},
                                                {"-pixel"},
                                                {"-pixel", "0"},
                                                {"-pixel", "9"},
                                                {"-pixel", "10"},
                                                {"--pixel=Auto"},
                                                {"-pixel", "2x"},
                                                {"-feathered=1"}}) {
        t = options(bad);
        EXPECT_EQ(t.kind, SaverTarget::Bad) << bad.front() << " " << bad.back();
        EXPECT_EQ(t.exitCode, 2) << bad.back();
    }
}

TEST(SaverSettings, AutomaticPixelSizeBringsThePictureNearestTo600Rows) {
    EXPECT_EQ(pixelSizeFor(0, 1080), 2);
    EXPECT_EQ(pixelSizeFor(0, 2160), 4);
    EXPECT_EQ(pixelSizeFor(0, 300), 1); // a preview
    EXPECT_EQ(pixelSizeFor(0, 0), 1);
    EXPECT_EQ(pixelSizeFor(0, 800), 1); // 800 and 400 rows are as near: the finer wins
    EXPECT_EQ(pixelSizeFor(0, 801), 2);
    EXPECT_EQ(pixelSizeFor(0, 8640), 8); // no larger than 8
    EXPECT_EQ(pixelSizeFor(3, 2160), 3); // a size asked for is kept
}

TEST(SaverSettings, RegistryValuesOutOfRangeOrMissingTakeTheDefaults) {
    const DWORD delay = 2500, pixel = 3, tooSlow = 1000001, tooLarge = 9, huge = 0xFFFFFFFF;
    const DWORD yes = 1, two = 2;
    SaverSettings s = settingsFromValues(&delay, &pixel, &yes);
    EXPECT_EQ(s.pace(), 2500u); // a delay of the registry's own
    EXPECT_EQ(s.pixelSize, 3);
    EXPECT_TRUE(s.feathered);
    for (const DWORD* d : {static_cast<const DWORD*>(nullptr), &tooSlow, &huge}) {
        for (const DWORD* p : {static_cast<const DWORD*>(nullptr), &tooLarge, &huge}) {
            s = settingsFromValues(d, p, d ? &two : nullptr);
            EXPECT_EQ(s.delay, kDefaultDelay);
            EXPECT_FALSE(s.delayGiven);
            EXPECT_EQ(s.pixelSize, 0);
            EXPECT_FALSE(s.feathered);
        }
    }
}

} // namespace
