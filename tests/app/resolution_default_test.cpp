// Alone in its executable: the store is process-wide, so only a fresh process
// still holds the built-in default that a run with no argument gets.

#include "app/resolution.h"

#include <gtest/gtest.h>

namespace {

TEST(ResolutionFresh, TheFirstReadsGive800By600AndNoLetterChangesThem) {
    EXPECT_EQ(workRes(true, 1, 0), 800);
    EXPECT_EQ(workRes(true, 0, 0), 600);
    // The command tails that pick nothing leave the default as it was.
    for (const char* tail : {static_cast<const char*>(nullptr), "", "f", "--help"}) {
        EXPECT_EQ(checkRes(tail), 0);
        EXPECT_EQ(workRes(true, 1, 0), 800);
        EXPECT_EQ(workRes(true, 0, 0), 600);
    }
}

} // namespace
