// Reading fuzzer bytes as typed values, and the per-call time bound the targets
// share. Past the end of the input every read gives zeros.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

class FuzzInput {
  public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool done() const { return pos_ >= size_; }
    std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    std::uint32_t u32() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= std::uint32_t(byte()) << (8 * i);
        return v;
    }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    // Mostly small values near a small surface, sometimes any 32-bit one.
    std::int32_t coord() {
        const std::uint8_t kind = byte();
        if (kind & 1) return static_cast<std::int8_t>(byte());
        return i32();
    }
    double f64() {
        std::uint64_t bits = std::uint64_t(u32()) | std::uint64_t(u32()) << 32;
        double v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    // Mostly ordinary numbers, sometimes any bit pattern (NaN, infinities, huge, tiny).
    double number() {
        const std::uint8_t kind = byte();
        if (kind & 1) return static_cast<std::int8_t>(byte()) * 0.75;
        return f64();
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// A broken promise: say which, then abort so the fuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #condition);           \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

// CPU time of this thread in seconds: the bound holds on a busy machine too.
inline double cpuSeconds() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Fails the run when one call took longer than its bound: a fixed allowance for
// the sanitizers' overhead plus a share per pixel or point it may touch.
class CallTimer {
  public:
    explicit CallTimer(double work) : limit_(0.25 + 2e-6 * work), start_(cpuSeconds()) {}
    ~CallTimer() {
        const double took = cpuSeconds() - start_;
        if (took <= limit_) return;
        std::fprintf(stderr, "one call took %.3f s, over its bound of %.3f s\n", took, limit_);
        std::abort();
    }

  private:
    double limit_;
    double start_;
};
