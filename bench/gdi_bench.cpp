// The figures we compare with the Windows build under wine: the frame step, the
// pixel pair and the fade, the present at each resolution (with memcpy of the
// same bytes as the floor), the primitives and the toolkit's colour forms. Only
// Win32 calls and our own units: the same source builds against our device
// context and against a real GDI. The window figures need a display.

#include "anim/chain.h"
#include "app/resolution.h"
#include "draw/poly.h"
#include "draw/shapes.h"
#include "math/vec2.h"
#include "platform/win32.h"
#include "support/memory_dc.h"

#ifdef TESS_MINIBENCH
#include "minibench.h"
#else
#include <benchmark/benchmark.h>
#endif

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

LRESULT CALLBACK benchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

// A shown pop-up window of one size, its device context and a compatible memory
// DC holding a black bitmap, made the way the program makes them. One per size,
// kept for the whole run: making windows is not what we measure.
struct Screen {
    HWND window = nullptr;
    HDC windowDc = nullptr;
    HDC memoryDc = nullptr;
    int width = 0, height = 0;
};

void pumpMessages() {
    MSG m;
    while (PeekMessageA(&m, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

Screen* screenOf(int width, int height) {
    static std::vector<std::unique_ptr<Screen>> made;
    for (auto& s : made)
        if (s->width == width && s->height == height) return s.get();
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXA wc;
        std::memset(&wc, 0, sizeof wc);
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = benchProc;
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        wc.lpszClassName = "tessBench";
        RegisterClassExA(&wc);
        registered = true;
    }
    auto s = std::make_unique<Screen>();
    s->width = width;
    s->height = height;
    s->window = CreateWindowExA(0, "tessBench", "tessaline bench", WS_POPUP, 0, 0, width, height,
                                NULL, NULL, NULL, NULL);
    if (!s->window) {
        std::fprintf(stderr, "bench: no window (is a display there?)\n");
        std::exit(1);
    }
    ShowWindow(s->window, SW_SHOW);
    UpdateWindow(s->window);
    s->windowDc = GetDC(s->window);
    s->memoryDc = CreateCompatibleDC(s->windowDc);
    SelectObject(s->memoryDc, CreateCompatibleBitmap(s->windowDc, width, height));
    RECT all{0, 0, width, height};
    FillRect(s->memoryDc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    BitBlt(s->windowDc, 0, 0, width, height, s->memoryDc, 0, 0, SRCCOPY);
    pumpMessages();
    made.push_back(std::move(s));
    return made.back().get();
}

// One pixel near the middle changes before each copy: it cycles through 100
// places and alternates black and white, so it always differs from the window.
void changeOnePixel(const Screen& s, std::uint64_t i) {
    const int k = int(i % 100);
    SetPixelV(s.memoryDc, s.width / 2 + k % 10, s.height / 2 + k / 10,
              (i / 100) % 2 ? 0x000000 : 0xFFFFFF);
}

void BM_goProgram(benchmark::State& st) {
    const int w = int(st.range(0)), h = int(st.range(1));
    workRes(false, w, h);
    MemoryDc m(w, h);
    ChainState s;
    std::srand(1);
    for (int i = 0; i < 1000; ++i)
        stepChain(s, m.dc, 0.001f); // past seeding, into the steady state
    for (auto _ : st)
        stepChain(s, m.dc, 0.001f);
}
BENCHMARK(BM_goProgram)->Args({320, 240})->Args({1280, 1024});

void BM_GetPixelSetPixelV(benchmark::State& st) {
    MemoryDc m(64, 64);
    for (auto _ : st)
        SetPixelV(m.dc, 5, 6, GetPixel(m.dc, 5, 6) + 1);
    benchmark::DoNotOptimize(m.at(5, 6));
}
BENCHMARK(BM_GetPixelSetPixelV);

void BM_upPixl(benchmark::State& st) {
    MemoryDc m(64, 64);
    const vec2 p(10.5, 20.5);
    for (auto _ : st)
        upPixl(m.dc, p, 0x00FF00);
    benchmark::DoNotOptimize(m.at(10, 20));
}
BENCHMARK(BM_upPixl);

// The present: the whole bitmap to the window's device context.
void BM_BitBlt(benchmark::State& st) {
    const Screen& s = *screenOf(int(st.range(0)), int(st.range(1)));
    std::uint64_t i = 0;
    for (auto _ : st) {
        changeOnePixel(s, i++);
        BitBlt(s.windowDc, 0, 0, s.width, s.height, s.memoryDc, 0, 0, SRCCOPY);
    }
    pumpMessages();
}

// The same bytes copied by memcpy: what no present can beat if it copies them all.
void BM_memcpy(benchmark::State& st) {
    const std::size_t bytes = std::size_t(st.range(0)) * std::size_t(st.range(1)) * 4;
    std::vector<unsigned char> from(bytes, 1), to(bytes, 0);
    for (auto _ : st) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

// What the program's idle turn does after drawing: the present, then one look at
// the queue, which is where a windowing layer may put the pixels on the screen.
void BM_present(benchmark::State& st) {
    const Screen& s = *screenOf(int(st.range(0)), int(st.range(1)));
    std::uint64_t i = 0;
    MSG m;
    for (auto _ : st) {
        changeOnePixel(s, i++);
        BitBlt(s.windowDc, 0, 0, s.width, s.height, s.memoryDc, 0, 0, SRCCOPY);
        if (PeekMessageA(&m, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    }
}

// A whole idle turn of the main loop: the chain step, the present, the queue.
void BM_frame(benchmark::State& st) {
    const Screen& s = *screenOf(int(st.range(0)), int(st.range(1)));
    workRes(false, s.width, s.height);
    ChainState c;
    std::srand(1);
    for (int i = 0; i < 1000; ++i)
        stepChain(c, s.memoryDc, 0.001f);
    MSG m;
    for (auto _ : st) {
        stepChain(c, s.memoryDc, 0.001f);
        BitBlt(s.windowDc, 0, 0, s.width, s.height, s.memoryDc, 0, 0, SRCCOPY);
        if (PeekMessageA(&m, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    }
}

// The primitives on an 800x600 bitmap with a solid pen and brush selected.
struct Canvas {
    MemoryDc m{800, 600};
    HPEN pen = CreatePen(PS_SOLID, 1, 0x0000FF);
    HBRUSH brush = CreateSolidBrush(0x00FF00);
    HGDIOBJ oldPen = SelectObject(m.dc, pen);
    HGDIOBJ oldBrush = SelectObject(m.dc, brush);
    ~Canvas() {
        SelectObject(m.dc, oldPen);
        SelectObject(m.dc, oldBrush);
        DeleteObject(pen);
        DeleteObject(brush);
    }
};

// A pentagon in a 64 px box, and the same corners closed as an outline.
const POINT kPentagon[] = {{232, 200}, {210, 231}, {174, 219}, {174, 181}, {210, 169}};
const POINT kPentagonClosed[] = {{232, 200}, {210, 231}, {174, 219},
                                 {174, 181}, {210, 169}, {232, 200}};

void BM_LineTo100px(benchmark::State& st) {
    Canvas c;
    for (auto _ : st) {
        MoveToEx(c.m.dc, 100, 100, NULL);
        LineTo(c.m.dc, 200, 137); // x-major: 100 pixels
    }
}
BENCHMARK(BM_LineTo100px);

void BM_Ellipse64(benchmark::State& st) {
    Canvas c;
    for (auto _ : st)
        Ellipse(c.m.dc, 100, 100, 164, 164);
}
BENCHMARK(BM_Ellipse64);

void BM_Polygon5(benchmark::State& st) {
    Canvas c;
    for (auto _ : st)
        Polygon(c.m.dc, kPentagon, 5);
}
BENCHMARK(BM_Polygon5);

void BM_Polyline6(benchmark::State& st) {
    Canvas c;
    for (auto _ : st)
        Polyline(c.m.dc, kPentagonClosed, 6);
}
BENCHMARK(BM_Polyline6);

// The toolkit's colour forms: each call makes, selects, restores and deletes its own objects.
void BM_drawCirc_colours(benchmark::State& st) {
    MemoryDc m(800, 600);
    for (auto _ : st)
        drawCirc(m.dc, vec2(132, 132), 32, 0x0000FF, 0x00FF00);
}
BENCHMARK(BM_drawCirc_colours);

void BM_drawLine_colour(benchmark::State& st) {
    MemoryDc m(800, 600);
    for (auto _ : st)
        drawLine(m.dc, vec2(100, 100), vec2(200, 137), 0x0000FF);
}
BENCHMARK(BM_drawLine_colour);

vec2 pentagon[] = {{232, 200}, {210, 231}, {174, 219}, {174, 181}, {210, 169}};

void BM_drawPoly_colours(benchmark::State& st) {
    MemoryDc m(800, 600);
    for (auto _ : st)
        drawPoly(m.dc, pentagon, 5, 0x0000FF, 0x00FF00);
}
BENCHMARK(BM_drawPoly_colours);

void BM_drawPoly_outline(benchmark::State& st) {
    MemoryDc m(800, 600);
    for (auto _ : st)
        drawPoly(m.dc, pentagon, 5, 0x0000FF);
}
BENCHMARK(BM_drawPoly_outline);

// The window figures come last: everything above runs without a display.
#define TESS_EACH_SIZE                                                                             \
    ->Args({320, 240})->Args({640, 480})->Args({800, 600})->Args({1024, 768})->Args({1280, 1024})
BENCHMARK(BM_memcpy) TESS_EACH_SIZE;
BENCHMARK(BM_BitBlt) TESS_EACH_SIZE;
BENCHMARK(BM_present) TESS_EACH_SIZE;
BENCHMARK(BM_frame)->Args({320, 240})->Args({800, 600})->Args({1280, 1024});

} // namespace
