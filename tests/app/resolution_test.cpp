#include "app/resolution.h"

#include <gtest/gtest.h>

namespace {

int width() {
    return workRes(true, 1, 0);
}
int height() {
    return workRes(true, 0, 0);
}

// The store is process-wide: each test puts the default back first.
struct Resolution : ::testing::Test {
    void SetUp() override { workRes(false, 800, 600); }
};

TEST_F(Resolution, DefaultsTo800By600AndQueriesByFirstArgument) {
    EXPECT_EQ(width(), 800);
    EXPECT_EQ(height(), 600);
    EXPECT_EQ(workRes(true, 5, 0), 800);
    EXPECT_EQ(workRes(true, -1, 99), 800);
    EXPECT_EQ(workRes(true, 0, 1234), 600);
}

TEST_F(Resolution, EachLetterStoresItsSize) {
    const struct {
        const char* text;
        int w, h;
    } cases[] = {{"a", 320, 240},   {"b", 640, 480},     {"c", 800, 600},  {"d", 1024, 768},
                 {"e", 1280, 1024}, {"dxyz", 1024, 768}, {"a b", 320, 240}};
    for (const auto& c : cases) {
        workRes(false, 1, 1);
        EXPECT_EQ(checkRes(c.text), 1) << c.text;
        EXPECT_EQ(width(), c.w) << c.text;
        EXPECT_EQ(height(), c.h) << c.text;
    }
}

TEST_F(Resolution, AnythingElseStoresNothing) {
    checkRes("b");
    for (const char* text : {"", "A", "E", "f", "`", "0", " ", " a", "\t", "\xff", "\x80"}) {
        EXPECT_EQ(checkRes(text), 0) << int(static_cast<unsigned char>(text[0]));
        EXPECT_EQ(width(), 640);
        EXPECT_EQ(height(), 480);
    }
    EXPECT_EQ(checkRes(nullptr), 0);
    EXPECT_EQ(width(), 640);
}

} // namespace
