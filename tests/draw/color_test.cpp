#include "draw/color.h"
#include "draw/poly.h"
#include "draw/shapes.h"

#include "gdi_log.h"
#include "picture.h"

#include "platform/gdi/gdi_stats.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

typedef std::vector<std::string> Log;

// The pair is process-wide: every test starts and ends in the released state,
// whatever ran before it (fresh, holding or released all lead there).
class PersistentPair : public ::testing::Test {
  protected:
    MemoryDc m{16, 16};
    int live = 0;
    HGDIOBJ pen0 = nullptr, brush0 = nullptr;

    void SetUp() override {
        setColor(m.dc, 1, 2);
        endColor(m.dc);
        live = tess::gdiLiveObjects().total();
        pen0 = selectedPen(m.dc);
        brush0 = selectedBrush(m.dc);
    }
    void TearDown() override { endColor(m.dc); }

    int extra() const { return tess::gdiLiveObjects().total() - live; }
};

const Log kCreateRedOnBlue = {
    "CreateSolidBrush(0xff0000) -> brush1", "SelectObject(brush1) -> WHITE_BRUSH",
    "CreatePen(0, 1, 0x0000ff) -> pen1", "SelectObject(pen1) -> BLACK_PEN"};

TEST_F(PersistentPair, SetColorMakesSelectsAndKeepsABrushThenAPen) {
    gdilog::start();
    setColor(m.dc, 0x0000FF, 0xFF0000); // red pen, blue brush
    EXPECT_EQ(gdilog::stop(), kCreateRedOnBlue);
    EXPECT_EQ(extra(), 2);
    EXPECT_NE(selectedPen(m.dc), pen0);
    EXPECT_NE(selectedBrush(m.dc), brush0);
}

TEST_F(PersistentPair, ASecondSetColorDeletesTheFirstPairBeforeMakingTheNext) {
    gdilog::start();
    setColor(m.dc, 0x0000FF, 0xFF0000);
    setColor(m.dc, 0x00FF00, 0x123456, false);
    Log expected = kCreateRedOnBlue;
    for (const char* line :
         {"SelectObject(WHITE_BRUSH) -> brush1", "DeleteObject(brush1) -> 1",
          "SelectObject(BLACK_PEN) -> pen1", "DeleteObject(pen1) -> 1",
          "CreateSolidBrush(0x123456) -> brush2", "SelectObject(brush2) -> WHITE_BRUSH",
          "CreatePen(0, 1, 0x00ff00) -> pen2", "SelectObject(pen2) -> BLACK_PEN"})
        expected.push_back(line);
    EXPECT_EQ(gdilog::stop(), expected);
    EXPECT_EQ(extra(), 2); // only the second pair is alive
}

TEST_F(PersistentPair, EndColorPutsBackWhatTheContextHeldAndDeletesThePair) {
    setColor(m.dc, 0x0000FF, 0xFF0000);
    const HGDIOBJ hPn = selectedPen(m.dc), hBr = selectedBrush(m.dc);
    gdilog::start();
    gdilog::name(hPn, "hPn");
    gdilog::name(hBr, "hBr");
    endColor(m.dc);
    EXPECT_EQ(gdilog::stop(), (Log{"SelectObject(WHITE_BRUSH) -> hBr", "DeleteObject(hBr) -> 1",
                                   "SelectObject(BLACK_PEN) -> hPn", "DeleteObject(hPn) -> 1"}));
    EXPECT_EQ(selectedPen(m.dc), pen0);
    EXPECT_EQ(selectedBrush(m.dc), brush0);
    EXPECT_EQ(extra(), 0);
}

TEST_F(PersistentPair, ReleasedStateHasNothingToGiveBackAndNeverTouchesTheDeletedPair) {
    const int failuresBefore = gdilog::failures();
    gdilog::start();
    endColor(m.dc);             // already released: nothing to do
    setColor(m.dc, 7, 8, true); // the same call spelt out
    EXPECT_EQ(gdilog::stop(), Log{});
    EXPECT_EQ(extra(), 0);

    gdilog::start();
    setColor(m.dc, 0x0000FF, 0xFF0000); // creates and selects, deletes nothing
    EXPECT_EQ(gdilog::stop(), kCreateRedOnBlue);
    EXPECT_EQ(extra(), 2);
    endColor(m.dc);
    endColor(m.dc);
    EXPECT_EQ(extra(), 0);
    EXPECT_EQ(selectedPen(m.dc), pen0);
    EXPECT_EQ(selectedBrush(m.dc), brush0);
    EXPECT_EQ(gdilog::failures(), failuresBefore); // no stale select, no double delete
}

TEST_F(PersistentPair, ThreeArgumentFormIsTheFourArgumentFormWithoutRelease) {
    for (int holding = 0; holding < 2; ++holding) {
        if (holding) setColor(m.dc, 1, 2);
        gdilog::start();
        setColor(m.dc, 0x010203, 0x040506);
        const Log three = gdilog::stop();
        endColor(m.dc);
        if (holding) setColor(m.dc, 1, 2);
        gdilog::start();
        setColor(m.dc, 0x010203, 0x040506, false);
        const Log four = gdilog::stop();
        endColor(m.dc);
        EXPECT_EQ(three, four) << (holding ? "holding" : "released");
        EXPECT_EQ(three.size(), holding ? 8u : 4u);
    }
    // And endColor is the four-argument form releasing, colours ignored.
    setColor(m.dc, 1, 2);
    gdilog::start();
    setColor(m.dc, 0xABCDEF, 0x123456, true);
    const Log released = gdilog::stop();
    setColor(m.dc, 1, 2);
    gdilog::start();
    endColor(m.dc);
    const Log ended = gdilog::stop();
    EXPECT_EQ(released.size(), 4u);
    EXPECT_EQ(released, ended);
}

TEST_F(PersistentPair, ShapesWithoutColoursTakeThePairUntilItIsReleased) {
    vec2 square[] = {vec2(1, 1), vec2(5, 1), vec2(5, 5), vec2(1, 5)};
    setColor(m.dc, 0x0000FF, 0xFF0000); // red pen, blue brush
    drawPoly(m.dc, square, 4);
    drawCirc(m.dc, vec2(10.5, 3.5), 2.5);
    drawLine(m.dc, vec2(7, 7), vec2(13, 7));
    endColor(m.dc);
    vec2 unit[] = {vec2(0, 0), vec2(1, 0), vec2(1, 1), vec2(0, 1)};
    drawPoly(m.dc, vec2(1, 9), vec2(4, 0), unit, 4); // back to black pen, white brush
    EXPECT_EQ(picture(m, {{0x0000FF, '#'}, {0xFF0000, 'o'}, {0xFFFFFF, 'w'}}),
              "................\n"
              ".#####...###....\n"
              ".#ooo#..#ooo#...\n"
              ".#ooo#..#ooo#...\n"
              ".#ooo#..#ooo#...\n"
              ".#####...###....\n"
              "................\n"
              ".......######...\n"
              "................\n"
              "................\n"
              "..www...........\n"
              "..www...........\n"
              "..www...........\n"
              "................\n"
              "................\n"
              "................\n");
}

TEST_F(PersistentPair, ShapesWithTheirOwnColoursLeaveThePairSelected) {
    setColor(m.dc, 0x0000FF, 0xFF0000);
    const HGDIOBJ hPn = selectedPen(m.dc), hBr = selectedBrush(m.dc);
    vec2 tri[] = {vec2(1, 1), vec2(9, 1), vec2(1, 9)};
    const vec2 o(2, 2), axis(1, 0);
    for (int form = 0; form < 6; ++form) {
        switch (form) {
        case 0:
            drawCirc(m.dc, vec2(8, 8), 3, 0x00FF00, 0x00FFFF);
            break;
        case 1:
            drawLine(m.dc, vec2(0, 0), vec2(9, 3), 0x00FF00);
            break;
        case 2:
            drawPoly(m.dc, tri, 3, 0x00FF00);
            break;
        case 3:
            drawPoly(m.dc, tri, 3, 0x00FF00, 0x00FFFF);
            break;
        case 4:
            drawPoly(m.dc, o, axis, tri, 3, 0x00FF00);
            break;
        case 5:
            drawPoly(m.dc, o, axis, tri, 3, 0x00FF00, 0x00FFFF);
            break;
        }
        EXPECT_EQ(selectedPen(m.dc), hPn) << "form " << form;
        EXPECT_EQ(selectedBrush(m.dc), hBr) << "form " << form;
        EXPECT_EQ(extra(), 2) << "form " << form;
    }
}

TEST_F(PersistentPair, ThousandsOfMixedCallsLeaveExactlyThePairAlive) {
    const int failuresBefore = gdilog::failures();
    std::srand(2024);
    bool holding = false;
    vec2 quad[] = {vec2(1, 1), vec2(12, 2), vec2(14, 13), vec2(2, 11)};
    for (int i = 0; i < 5000; ++i) {
        const unsigned long a = unsigned(std::rand()) & 0xFFFFFF,
                            b = unsigned(std::rand()) & 0xFFFFFF;
        switch (std::rand() % 12) {
        case 0:
            setColor(m.dc, a, b);
            holding = true;
            break;
        case 1:
            setColor(m.dc, a, b, false);
            holding = true;
            break;
        case 2:
            setColor(m.dc, a, b, true);
            holding = false;
            break;
        case 3:
            endColor(m.dc);
            holding = false;
            break;
        case 4:
            drawCirc(m.dc, vec2(8, 8), 5, a, b);
            break;
        case 5:
            drawLine(m.dc, vec2(0, 15), vec2(15, 0), a);
            break;
        case 6:
            drawPoly(m.dc, quad, 4, a);
            break;
        case 7:
            drawPoly(m.dc, vec2(0, 0), vec2(1, 0), quad, 4, a, b);
            break;
        case 8:
            drawPoly(m.dc, quad, 4, a, b);
            break;
        case 9:
            drawPoly(m.dc, vec2(15, 0), vec2(0, 1), quad, 4, a);
            break;
        case 10:
            drawPoly(m.dc, quad, 0, a); // no corners: the pen still comes and goes
            break;
        case 11: // the pair's own shapes make nothing
            drawCirc(m.dc, vec2(8, 8), 4);
            drawLine(m.dc, vec2(1, 1), vec2(9, 4));
            drawPoly(m.dc, vec2(2, 2), vec2(0.5, 0.5), quad, 4);
            break;
        }
        ASSERT_EQ(extra(), holding ? 2 : 0) << "call " << i;
    }
    endColor(m.dc);
    EXPECT_EQ(extra(), 0);
    EXPECT_EQ(selectedPen(m.dc), pen0);
    EXPECT_EQ(selectedBrush(m.dc), brush0);
    EXPECT_EQ(gdilog::failures(), failuresBefore);
}

} // namespace
