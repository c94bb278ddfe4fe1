// Cost of the rasterizer's primitives on a 1024x768 surface, from small shapes
// to coordinates at the ends of the 32-bit range. Far-off geometry should cost
// about what its visible part costs.

#include "platform/gdi/raster.h"

#include <benchmark/benchmark.h>

#include <climits>
#include <cmath>
#include <vector>

namespace {

using namespace tess;
using raster::Colour;
using raster::Point;

const Colour kPen = 0x0000FF, kBrush = 0x00FF00;

Surface& screen() {
    static Surface s(1024, 768);
    return s;
}

void BM_LineShort(benchmark::State& st) {
    for (auto _ : st)
        raster::line(screen(), 10, 10, 200, 90, kPen);
}
BENCHMARK(BM_LineShort);

void BM_LineAcrossInt32(benchmark::State& st) {
    for (auto _ : st)
        raster::line(screen(), INT_MIN, 5, INT_MAX, 7, kPen);
}
BENCHMARK(BM_LineAcrossInt32);

void BM_LineSteepAcrossInt32(benchmark::State& st) {
    for (auto _ : st)
        raster::line(screen(), 3, INT_MIN, 1000, INT_MAX, kPen);
}
BENCHMARK(BM_LineSteepAcrossInt32);

void BM_LineWhollyOff(benchmark::State& st) {
    for (auto _ : st)
        raster::line(screen(), INT_MIN, INT_MIN, INT_MAX, INT_MIN + 5, kPen);
}
BENCHMARK(BM_LineWhollyOff);

void BM_PolygonSmall(benchmark::State& st) {
    const Point p[] = {{100, 100}, {300, 120}, {200, 260}, {90, 200}};
    for (auto _ : st)
        raster::polygon(screen(), p, 4, &kPen, &kBrush);
}
BENCHMARK(BM_PolygonSmall);

void BM_PolygonVertexAtIntMin(benchmark::State& st) {
    const Point p[] = {{512, INT_MIN}, {1000, 700}, {20, 700}};
    for (auto _ : st)
        raster::polygon(screen(), p, 3, &kPen, &kBrush);
}
BENCHMARK(BM_PolygonVertexAtIntMin);

void BM_PolygonInt32Corners(benchmark::State& st) {
    const Point p[] = {{INT_MIN, INT_MIN}, {INT_MAX, 0}, {0, INT_MAX}};
    for (auto _ : st)
        raster::polygon(screen(), p, 3, &kPen, &kBrush);
}
BENCHMARK(BM_PolygonInt32Corners);

// A star of 100000 points around the screen: rows see only the edges they cross.
void BM_PolygonManyVertices(benchmark::State& st) {
    static std::vector<Point> star = [] {
        std::vector<Point> p;
        for (int i = 0; i < 100000; ++i) {
            const double t = i * 6.283185307179586 / 100000, r = (i % 2) ? 300 : 380;
            p.push_back(Point{int(512 + r * std::cos(t)), int(384 + r * std::sin(t))});
        }
        return p;
    }();
    for (auto _ : st)
        raster::polygon(screen(), star.data(), int(star.size()), &kPen, &kBrush);
}
BENCHMARK(BM_PolygonManyVertices);

void BM_EllipseSmall(benchmark::State& st) {
    for (auto _ : st)
        raster::ellipse(screen(), 100, 100, 131, 131, &kPen, &kBrush);
}
BENCHMARK(BM_EllipseSmall);

void BM_EllipseFullScreen(benchmark::State& st) {
    for (auto _ : st)
        raster::ellipse(screen(), 0, 0, 1024, 768, &kPen, &kBrush);
}
BENCHMARK(BM_EllipseFullScreen);

void BM_EllipseBillionBox(benchmark::State& st) {
    for (auto _ : st)
        raster::ellipse(screen(), -1000000000, -1000000000, 1000000000, 1000000000, &kPen, &kBrush);
}
BENCHMARK(BM_EllipseBillionBox);

// The surface on the outline where it runs at 45 degrees, the middle of a
// quadrant: the hardest place to start the trace without walking to it.
void BM_EllipseBillionBoxDiagonal(benchmark::State& st) {
    const int c = 707106781; // 10^9 / sqrt(2)
    for (auto _ : st)
        raster::ellipse(screen(), -1000000000 + c - 500, -1000000000 + c - 300,
                        1000000000 + c - 500, 1000000000 + c - 300, &kPen, &kBrush);
}
BENCHMARK(BM_EllipseBillionBoxDiagonal);

// The outline near the top, where rows are long and flat.
void BM_EllipseBillionBoxTop(benchmark::State& st) {
    for (auto _ : st)
        raster::ellipse(screen(), -1000000000 + 512, -10, 1000000000 + 512, 2000000000 - 10, &kPen,
                        &kBrush);
}
BENCHMARK(BM_EllipseBillionBoxTop);

// The outline near the side, where columns are long and steep.
void BM_EllipseBillionBoxSide(benchmark::State& st) {
    for (auto _ : st)
        raster::ellipse(screen(), 500, -1000000000 + 384, 2000000500, 1000000000 + 384, &kPen,
                        &kBrush);
}
BENCHMARK(BM_EllipseBillionBoxSide);

void BM_EllipseInt32Box(benchmark::State& st) {
    for (auto _ : st)
        raster::ellipse(screen(), INT_MIN, INT_MIN, INT_MAX, INT_MAX, &kPen, &kBrush);
}
BENCHMARK(BM_EllipseInt32Box);

void BM_FillRectInt32(benchmark::State& st) {
    for (auto _ : st)
        raster::fillRect(screen(), INT_MIN, INT_MIN, INT_MAX, INT_MAX, kBrush);
}
BENCHMARK(BM_FillRectInt32);

} // namespace
