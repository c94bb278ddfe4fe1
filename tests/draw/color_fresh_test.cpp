// Alone in its executable: the pair's state is process-wide, and only the first
// call of a process meets it fresh.

#include "draw/color.h"

#include "gdi_log.h"
#include "picture.h"

#include "platform/gdi/gdi_stats.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(PersistentPairFresh, TheFirstCallMakesAPairEvenWhenItIsEndColor) {
    MemoryDc m(4, 4);
    const int live = tess::gdiLiveObjects().total();
    const HGDIOBJ pen0 = selectedPen(m.dc), brush0 = selectedBrush(m.dc);

    gdilog::start();
    endColor(m.dc); // fresh: release is not looked at, so a black pair is made
    EXPECT_EQ(gdilog::stop(), (std::vector<std::string>{"CreateSolidBrush(0x000000) -> brush1",
                                                        "SelectObject(brush1) -> WHITE_BRUSH",
                                                        "CreatePen(0, 1, 0x000000) -> pen1",
                                                        "SelectObject(pen1) -> BLACK_PEN"}));
    EXPECT_EQ(tess::gdiLiveObjects().total(), live + 2);
    EXPECT_NE(selectedPen(m.dc), pen0);
    EXPECT_NE(selectedBrush(m.dc), brush0);

    endColor(m.dc); // now holding: this one gives the pair back
    EXPECT_EQ(tess::gdiLiveObjects().total(), live);
    EXPECT_EQ(selectedPen(m.dc), pen0);
    EXPECT_EQ(selectedBrush(m.dc), brush0);
}

} // namespace
