#include "app/command_tail.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandTail, JoinsTheArgumentsAfterTheProgramNameQuotingThoseWithBlanks) {
    const char* none[] = {"tessaline"};
    EXPECT_EQ(commandTailOf(1, none), "");
    const char* one[] = {"/usr/bin/tessaline", "d"};
    EXPECT_EQ(commandTailOf(2, one), "d");
    const char* many[] = {"tessaline", "e", "x y", "", "z\tw", "last"};
    EXPECT_EQ(commandTailOf(6, many), "e \"x y\" \"\" \"z\tw\" last");
}

} // namespace
