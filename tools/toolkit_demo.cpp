// tessaline-demo: draws one scene with every function of the drawing toolkit on
// a memory bitmap, prints a hash of its pixels and optionally writes it out
// (PNG, or binary PPM for a .ppm name). The same source built for Windows draws
// through the real GDI, so the two hashes must agree. No randomness, no clock;
// only + - * / and sqrt, which round alike everywhere.

#include "draw/color.h"
#include "draw/poly.h"
#include "draw/shapes.h"
#include "math/vec2.h"
#include "platform/win32.h"
#include "tools/image_file.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 180;

const unsigned long kRed = RGB(255, 0, 0), kGreen = RGB(0, 200, 0), kBlue = RGB(40, 40, 255),
                    kYellow = RGB(255, 230, 0), kCyan = RGB(0, 220, 220),
                    kMagenta = RGB(220, 0, 220), kWhite = RGB(255, 255, 255),
                    kOrange = RGB(255, 140, 0), kNavy = RGB(0, 0, 128), kPurple = RGB(110, 0, 140),
                    kGrey = RGB(150, 150, 150), kDarkGrey = RGB(60, 60, 60);

// Every circle's box has its own height: a real GDI may let an ellipse's spans
// leak into a later one of the same height, which would make the scene depend on
// drawing order there and not here.
void drawScene(HDC dc) {
    // Circles in their own colours: a fractional centre, a box whose left edge
    // truncates from -0.5 to 0, one hanging off the left edge, an empty box and an
    // inverted one (a negative radius).
    drawCirc(dc, vec2(20.5, 20.25), 12.7, kRed, kBlue);
    drawCirc(dc, vec2(1, 1), 1.5, kWhite, kGreen);
    drawCirc(dc, vec2(-3.5, 60), 8, kYellow, kMagenta);
    drawCirc(dc, vec2(50, 10), 0, kWhite, kWhite);
    drawCirc(dc, vec2(62, 12), -4.5, kCyan, kRed);

    // Lines in their own colour: steep toward a negative end, shallow, reversed.
    drawLine(dc, vec2(5.7, 5.2), vec2(-3.9, 48.99), kOrange);
    drawLine(dc, vec2(0, 179.9), vec2(239.9, 120.1), kGreen);
    drawLine(dc, vec2(100, 5), vec2(70.5, 40.5), kWhite);

    // The persistent pair: shapes without colours take it.
    vec2 star[] = {vec2(100, 40), vec2(112, 80), vec2(80, 55), vec2(120, 55), vec2(88, 80)};
    vec2 arrow[] = {vec2(0, -1), vec2(3, -1), vec2(3, -2), vec2(5, 0),
                    vec2(3, 2),  vec2(3, 1),  vec2(0, 1)};
    vec2 square[] = {vec2(0, 0), vec2(1, 0), vec2(1, 1), vec2(0, 1)};
    setColor(dc, kRed, kNavy);
    drawCirc(dc, vec2(40, 100), 15.5);
    drawLine(dc, vec2(20, 100), vec2(60, 100));
    setColor(dc, kYellow, kPurple, false);
    drawPoly(dc, star, 5); // alternate fill leaves the middle open
    drawPoly(dc, vec2(130, 100), vec2(4, 3), arrow, 7);
    drawCirc(dc, vec2(150, 20), 9, kWhite, kGreen); // own colours: the pair stays selected
    drawPoly(dc, vec2(160, 100), vec2(0, 8), square, 4);
    endColor(dc);
    setColor(dc, kGrey, kDarkGrey); // after a release: only a new pair is made
    drawCirc(dc, vec2(200, 20.5), 6.25);
    setColor(dc, 0, 0, true);
    endColor(dc); // already released: nothing

    // Polygons in their own colours, in pixels and in turned, scaled frames.
    vec2 tri[] = {vec2(0, 0), vec2(10, 0), vec2(0, 10)};
    vec2 pixelTri[] = {vec2(180.9, 100.2), vec2(200.5, 99.5), vec2(185.25, 119.75)};
    vec2 one[] = {vec2(225.5, 5.5)};
    vec2 two[] = {vec2(220, 30), vec2(234, 36)};
    drawPoly(dc, pixelTri, 3, kCyan);
    drawPoly(dc, vec2(205, 45), vec2(1.5, 2), tri, 3, kGreen);
    drawPoly(dc, vec2(10, 130), vec2(2, 0), tri, 3, kBlue, kYellow);
    drawPoly(dc, vec2(75, 150), vec2(-2.5, 1.5), tri, 3, kWhite, kRed);
    drawPoly(dc, one, 1, kWhite);        // two equal points: nothing shows
    drawPoly(dc, tri, 0, kWhite);        // no corners: no drawing call
    drawPoly(dc, tri, -1, kWhite, kRed); // negative: nothing at all
    drawPoly(dc, two, 2, kMagenta, kWhite);

    // A saw of 302 corners: more than the stack scratch holds.
    std::vector<vec2> saw;
    for (int i = 0; i < 300; ++i)
        saw.push_back(vec2(90 + i * 0.45, 150 + (i % 10) * 0.9));
    saw.push_back(vec2(225, 172));
    saw.push_back(vec2(90, 172));
    drawPoly(dc, saw.data(), int(saw.size()), kOrange, kNavy);

    // Geometry: nearest points on a segment, normals, a quarter turn, a dot product.
    const vec2 a(130, 130), b(230, 110);
    drawLine(dc, a, b, kGrey);
    const vec2 points[] = {vec2(160, 145), vec2(120, 115), vec2(238, 100), vec2(190, 105)};
    for (const vec2& p : points) {
        const vec2 c = retcpnt2(a, b, p);
        const bool ahead = retdot2(p - a, retnrm2(a, b)) > 0;
        drawLine(dc, p, c, ahead ? kGreen : kRed);
        drawLine(dc, c, c + retnrm2(a, b, p) * 6, kCyan);
    }
    const vec2 mid = (a + b) * 0.5;
    drawLine(dc, mid, mid + retext2(retnrm2(a, b)) * 12, kMagenta);

    // Single pixels through vec2POINT: -0.5 lands on column 0.
    for (int i = 0; i < 12; ++i) {
        const POINT p = vec2POINT(vec2(-0.5 + i * 0.9, 176.7));
        SetPixelV(dc, p.x, p.y, kWhite);
    }
}

// 64-bit FNV-1a over each pixel's COLORREF as four little-endian bytes, row-major.
std::uint64_t pixelHash(HDC dc, int& nonzero) {
    std::uint64_t h = 0xcbf29ce484222325ull;
    nonzero = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const std::uint32_t c = GetPixel(dc, x, y);
            nonzero += c != 0;
            for (int i = 0; i < 4; ++i) {
                h ^= (c >> (8 * i)) & 0xFF;
                h *= 0x100000001b3ull;
            }
        }
    }
    return h;
}

const char kUsage[] = "usage: tessaline-demo [--out FILE]\n"
                      "  prints the scene's size, pixel hash and count of non-black pixels;\n"
                      "  --out also writes it: PNG, or binary PPM when FILE ends in .ppm\n";

int usage(const char* problem) {
    std::fprintf(stderr, "tessaline-demo: %s\n%s", problem, kUsage);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::string out;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg != "--out") return usage(("unknown option " + arg).c_str());
        if (i + 1 >= argc || !*argv[i + 1]) return usage("--out needs a file name");
        out = argv[++i];
    }
    if (!out.empty() && !canWriteImage(out)) {
        return usage("this build writes only .ppm files (no libpng)");
    }

    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, kWidth, kHeight);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HBRUSH black = CreateSolidBrush(0);
    RECT all{0, 0, kWidth, kHeight};
    FillRect(dc, &all, black);
    DeleteObject(black);

    drawScene(dc);
    int nonzero = 0;
    const std::uint64_t hash = pixelHash(dc, nonzero);
    const std::vector<unsigned char> rgb = readRgb(dc, kWidth, kHeight);
    const vec2 cursor = mousePos(); // not part of the picture: it differs between hosts

    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);

    std::printf("pixels %dx%d fnv1a64 %016llx nonzero %d\n", kWidth, kHeight,
                static_cast<unsigned long long>(hash), nonzero);
    std::printf("cursor %.0f %.0f\n", cursor.x, cursor.y);

    if (out.empty()) return 0;
    if (!writeImage(out, rgb, kWidth, kHeight)) {
        std::fprintf(stderr, "tessaline-demo: cannot write %s: %s\n", out.c_str(),
                     std::strerror(errno));
        return 1;
    }
    return 0;
}
