// The part of Google Benchmark's interface that our benchmarks use, for builds
// where the library is not available (the mingw build run under wine). It times
// wall-clock batches the way the library does and prints the same JSON shape
// (per-repetition runs and mean/median aggregates); no threads, no counters.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace benchmark {

class State {
  public:
    State(std::int64_t iterations, const std::vector<std::int64_t>& args)
        : max_(iterations), args_(args) {}

    struct __attribute__((unused)) Value {}; // `for (auto _ : state)` warns about nothing
    class Iterator {
      public:
        explicit Iterator(State* s) : s_(s), left_(s ? s->max_ : 0) {}
        Value operator*() const { return {}; }
        Iterator& operator++() {
            --left_;
            return *this;
        }
        // Comparing against end() is what stops the clock on the last turn.
        bool operator!=(const Iterator&) {
            if (left_ > 0) return true;
            s_->stop();
            return false;
        }

      private:
        State* s_;
        std::int64_t left_;
    };
    Iterator begin() {
        start();
        return Iterator(this);
    }
    Iterator end() { return Iterator(nullptr); }

    std::int64_t range(std::size_t i = 0) const { return args_.at(i); }
    std::int64_t iterations() const { return max_; }
    void SetItemsProcessed(std::int64_t) {}
    void SetLabel(const std::string&) {}
    double seconds() const { return seconds_; }

  private:
    void start();
    void stop();
    std::int64_t max_;
    std::vector<std::int64_t> args_;
    std::int64_t startTicks_ = 0;
    double seconds_ = 0;
};

using Function = void (*)(State&);

class Benchmark {
  public:
    Benchmark(const char* name, Function f);
    Benchmark* Args(std::initializer_list<std::int64_t> a);
    Benchmark* Arg(std::int64_t a) { return Args({a}); }
    Benchmark* Unit(int) { return this; }

    std::string name;
    Function function;
    std::vector<std::vector<std::int64_t>> argSets;
};

// Keeps a value (or the memory behind it) from being optimised away.
template <class T> inline void DoNotOptimize(T const& value) {
    asm volatile("" : : "r,m"(value) : "memory");
}
template <class T> inline void DoNotOptimize(T& value) {
    asm volatile("" : "+r,m"(value) : : "memory");
}
inline void ClobberMemory() {
    asm volatile("" : : : "memory");
}

} // namespace benchmark

#define TESS_BENCH_CAT2(a, b) a##b
#define TESS_BENCH_CAT(a, b) TESS_BENCH_CAT2(a, b)
#define BENCHMARK(fn)                                                                              \
    static ::benchmark::Benchmark* TESS_BENCH_CAT(tess_bench_, __LINE__) =                         \
        (new ::benchmark::Benchmark(#fn, fn))
