#include "platform/scale.h"

#include "draw/alloc_count.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using tess::PixelRect;
using tess::Surface;
using namespace tess;

// Letters stand for colours; '.' is black. The target layout below is the
// surface's own (red low), so a target pixel equals the source colour it shows.
const std::map<char, std::uint32_t> kColours = {{'.', 0x000000}, {'A', 0x0000FF}, {'B', 0x00FF00},
                                                {'C', 0xFF0000}, {'D', 0x00FFFF}, {'E', 0xFF00FF},
                                                {'F', 0xFFFF00}, {'?', 0x808080}};

Surface picture(const std::vector<std::string>& rows) {
    Surface s(int(rows[0].size()), int(rows.size()));
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x)
            s.at(x, y) = kColours.at(rows[y][x]);
    return s;
}

struct Screen {
    std::vector<std::uint32_t> pixels;
    Target target;
    Screen(int w, int h, char fill) : pixels(std::size_t(w) * h, kColours.at(fill)) {
        target.pixels = pixels.data();
        target.pitch = w * 4;
        target.width = w;
        target.height = h;
        target.layout = PixelLayout{4, 0, 8, 16, 0, 0, 0, 0};
    }
    std::vector<std::string> rows() const {
        std::vector<std::string> out(std::size_t(target.height), std::string(target.width, '!'));
        for (int y = 0; y < target.height; ++y)
            for (int x = 0; x < target.width; ++x)
                for (const auto& [letter, colour] : kColours)
                    if (pixels[std::size_t(y) * target.width + x] == colour) out[y][x] = letter;
        return out;
    }
};

// The surface is the whole switched screen, shown on a targetW x targetH window.
Placement fitted(const Surface& s, int targetW, int targetH) {
    const Fit f = fitScreen(s.width, s.height, targetW, targetH);
    Placement p;
    p.screenW = s.width;
    p.screenH = s.height;
    p.scaledW = f.scaledW;
    p.scaledH = f.scaledH;
    p.offsetX = f.offsetX;
    p.offsetY = f.offsetY;
    p.targetW = targetW;
    p.targetH = targetH;
    return p;
}

void expectFit(Fit f, int w, int h, int x, int y) {
    EXPECT_EQ(f.scaledW, w);
    EXPECT_EQ(f.scaledH, h);
    EXPECT_EQ(f.offsetX, x);
    EXPECT_EQ(f.offsetY, y);
}

TEST(FitScreen, TakesTheLargestSizeOfTheSameShape) {
    expectFit(fitScreen(320, 240, 1024, 768), 1024, 768, 0, 0);
    expectFit(fitScreen(320, 240, 1280, 1024), 1280, 960, 0, 32);
    expectFit(fitScreen(800, 600, 1280, 1024), 1280, 960, 0, 32);
    expectFit(fitScreen(1024, 768, 1280, 1024), 1280, 960, 0, 32);
    expectFit(fitScreen(640, 480, 1920, 1080), 1440, 1080, 240, 0); // bars left and right
    expectFit(fitScreen(1280, 1024, 1280, 1024), 1280, 1024, 0, 0);
    expectFit(fitScreen(1280, 1024, 1024, 768), 960, 768, 32, 0);   // taller shape: full height
    expectFit(fitScreen(2000, 500, 1000, 1000), 1000, 250, 0, 375); // wider shape: full width
    expectFit(fitScreen(16384, 1, 1024, 768), 1024, 1, 0, 383);     // never thinner than a pixel
    expectFit(fitScreen(0, 240, 1024, 768), 0, 0, 0, 0);
    expectFit(fitScreen(320, 240, 0, 768), 0, 0, 0, 0);
}

TEST(ScaledPresent, EnlargesKeepingTheShapeCentredOnBlack) {
    ScaleScratch scratch;
    const Surface s = picture({"ABC", "DEF"});
    Screen screen(8, 4, '?');
    scaleInto(s, fitted(s, 8, 4), PixelRect{0, 0, 8, 4}, screen.target, scratch);
    const std::vector<std::string> expected = {".AABBCC.", ".AABBCC.", ".DDEEFF.", ".DDEEFF."};
    EXPECT_EQ(screen.rows(), expected);
}

TEST(ScaledPresent, ShrinksByNearestNeighbour) {
    ScaleScratch scratch;
    const Surface s = picture({"ABCD", "EFAB", "CDEF", "ABCD"});
    Screen screen(3, 2, '?');
    scaleInto(s, fitted(s, 3, 2), PixelRect{0, 0, 3, 2}, screen.target, scratch);
    const std::vector<std::string> expected = {"AC.", "CE."};
    EXPECT_EQ(screen.rows(), expected);
}

TEST(ScaledPresent, RedrawsOnlyTheTargetPixelsShowingTheChangedRegion) {
    ScaleScratch scratch;
    const Surface s = picture({"ABC", "DEF"});
    const Placement p = fitted(s, 8, 4);
    const PixelRect r = targetRegion(p, PixelRect{1, 0, 2, 1});
    EXPECT_EQ((std::vector<int>{r.x0, r.y0, r.x1, r.y1}), (std::vector<int>{3, 0, 5, 2}));
    Screen screen(8, 4, '?');
    scaleInto(s, p, r, screen.target, scratch);
    const std::vector<std::string> expected = {"???BB???", "???BB???", "????????", "????????"};
    EXPECT_EQ(screen.rows(), expected);

    // Shrunk 4 to 2: source column 1 is shown by no target pixel, column 2 by one.
    const Surface wide = picture({"ABCD", "EFAB"});
    const Placement half = fitted(wide, 2, 1);
    EXPECT_TRUE(targetRegion(half, PixelRect{1, 0, 2, 2}).empty());
    const PixelRect two = targetRegion(half, PixelRect{2, 0, 3, 1});
    EXPECT_EQ((std::vector<int>{two.x0, two.y0, two.x1, two.y1}), (std::vector<int>{1, 0, 2, 1}));
    // Outside the surface, or empty: nothing.
    EXPECT_TRUE(targetRegion(p, PixelRect{3, 0, 9, 2}).empty());
    EXPECT_TRUE(targetRegion(p, PixelRect{}).empty());
}

// The present runs every frame: once it has drawn a region, drawing one no
// larger again takes nothing from the heap.
TEST(ScaledPresent, RedrawingARegionAgainAllocatesNothing) {
    ScaleScratch scratch;
    const Surface s = picture({"ABC", "DEF"});
    const Placement p = fitted(s, 8, 4);
    Screen screen(8, 4, '?');
    scaleInto(s, p, PixelRect{0, 0, 8, 4}, screen.target, scratch);
    alloc::count(true);
    scaleInto(s, p, PixelRect{0, 0, 8, 4}, screen.target, scratch);
    scaleInto(s, p, targetRegion(p, PixelRect{2, 1, 3, 2}), screen.target, scratch);
    alloc::count(false);
    EXPECT_EQ(alloc::made(), 0);
    const std::vector<std::string> expected = {".AABBCC.", ".AABBCC.", ".DDEEFF.", ".DDEEFF."};
    EXPECT_EQ(screen.rows(), expected);
}

TEST(ScaledPresent, WritesTheTargetsOwnPixelLayout) {
    ScaleScratch scratch;
    const Surface s = picture({"AB", "CF"}); // red, green / blue, cyan
    std::vector<std::uint32_t> xrgb(4, 0x12345678);
    Target t{xrgb.data(), 8, 2, 2, PixelLayout{4, 16, 8, 0, 0, 0, 0, 0xFF000000u}};
    Placement p = fitted(s, 2, 2);
    scaleInto(s, p, PixelRect{0, 0, 2, 2}, t, scratch);
    EXPECT_EQ(xrgb, (std::vector<std::uint32_t>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF00FFFF}));

    std::vector<std::uint16_t> rgb565(4, 0x1234);
    Target t16{rgb565.data(), 4, 2, 2, PixelLayout{2, 11, 5, 0, 3, 2, 3, 0}};
    scaleInto(s, p, PixelRect{0, 0, 2, 2}, t16, scratch);
    EXPECT_EQ(rgb565, (std::vector<std::uint16_t>{0xF800, 0x07E0, 0x001F, 0x07FF}));
}

} // namespace
