// Cost of one animation frame and of its per-pixel work on the software DC.

#include "anim/chain.h"
#include "app/resolution.h"
#include "support/memory_dc.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

void BM_ChainFrame(benchmark::State& st) {
    const int w = int(st.range(0)), h = int(st.range(1));
    workRes(false, w, h);
    MemoryDc m(w, h);
    ChainState s;
    std::srand(1);
    for (int i = 0; i < 1000; ++i)
        stepChain(s, m.dc, 0.001f); // steady state
    for (auto _ : st)
        stepChain(s, m.dc, 0.001f);
    st.SetItemsProcessed(st.iterations());
}
BENCHMARK(BM_ChainFrame)->Args({320, 240})->Args({1280, 1024});

void BM_FadePixel(benchmark::State& st) {
    MemoryDc m(64, 64);
    vec2 p(10.5, 20.5);
    for (auto _ : st)
        upPixl(m.dc, p, 0x00FF00);
    benchmark::DoNotOptimize(m.at(10, 20));
}
BENCHMARK(BM_FadePixel);

void BM_GetSetPixel(benchmark::State& st) {
    MemoryDc m(64, 64);
    for (auto _ : st)
        SetPixelV(m.dc, 5, 6, GetPixel(m.dc, 5, 6) + 1);
}
BENCHMARK(BM_GetSetPixel);

} // namespace
