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

    // Malformed options and ids are usage errors (2); a malformed id in the
    // environment is a window that cannot be found (1).
    for (const std::vector<const char*>& bad : {std::vector<const char*>{"-window-id"},
                                                {"-window-id", "0x"},
                                                {"-window-id", "12z"},
                                                {"-window-id", "-3"},
                                                {"-window-id", "0x100000000"},
                                                {"-fps"},
                                                {"root"},
                                                {"---root"}}) {
        t = options(bad);
        EXPECT_EQ(t.kind, SaverTarget::Bad) << bad.back();
        EXPECT_EQ(t.exitCode, 2) << bad.back();
        EXPECT_FALSE(t.problem.empty());
    }
    t = options({}, "nonsense");
    EXPECT_EQ(t.kind, SaverTarget::Bad);
    EXPECT_EQ(t.exitCode, 1);
}

} // namespace
