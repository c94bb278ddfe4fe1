#include "app/resolution.h"

#include <gtest/gtest.h>

namespace {

int width() {
    return workRes(true, 1, 0);
}
int height() {
    return workRes(true, 0, 0);
}

// The store is process-wide and these tests store into it: the built-in default
// is checked in a fresh process of its own (resolution_default_test.cpp).
TEST(Resolution, QueriesByFirstArgument) {
    workRes(false, 640, 480);
    EXPECT_EQ(width(), 640);
    EXPECT_EQ(height(), 480);
    EXPECT_EQ(workRes(true, 5, 0), 640);
    EXPECT_EQ(workRes(true, -1, 99), 640);
    EXPECT_EQ(workRes(true, 0, 1234), 480);
}

TEST(Resolution, EachLetterStoresItsSize) {
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

TEST(Resolution, AnythingElseStoresNothing) {
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
