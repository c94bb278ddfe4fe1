// The runner behind minibench.h: grows the iteration count until one batch runs
// for the minimum time, then repeats that batch and reports each repetition and
// their mean and median, in Google Benchmark's JSON layout.
// Flags: --benchmark_filter=REGEX --benchmark_min_time=SECONDS
//        --benchmark_repetitions=N --benchmark_out=FILE (JSON; stdout otherwise)

#include "minibench.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <regex>

namespace benchmark {
namespace {

std::vector<Benchmark*>& registry() {
    static std::vector<Benchmark*> r;
    return r;
}

std::int64_t nowTicks() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double runOnce(Function f, std::int64_t iterations, const std::vector<std::int64_t>& args) {
    State s(iterations, args);
    f(s);
    return s.seconds();
}

struct Options {
    std::string filter = ".";
    double minTime = 0.5;
    int repetitions = 1;
    std::string out;
};

const char* valueOf(const char* arg, const char* flag) {
    const std::size_t n = std::strlen(flag);
    return std::strncmp(arg, flag, n) == 0 && arg[n] == '=' ? arg + n + 1 : nullptr;
}

} // namespace

void State::start() {
    startTicks_ = nowTicks();
}
void State::stop() {
    seconds_ = double(nowTicks() - startTicks_) * 1e-9;
}

Benchmark::Benchmark(const char* n, Function f) : name(n), function(f) {
    registry().push_back(this);
}

Benchmark* Benchmark::Args(std::initializer_list<std::int64_t> a) {
    argSets.emplace_back(a);
    return this;
}

} // namespace benchmark

int main(int argc, char** argv) {
    using namespace benchmark;
    Options o;
    for (int i = 1; i < argc; ++i) {
        if (const char* v = valueOf(argv[i], "--benchmark_filter")) {
            o.filter = v;
        } else if (const char* v = valueOf(argv[i], "--benchmark_min_time")) {
            o.minTime = std::atof(v); // "0.1" and "0.1s" both read as 0.1
        } else if (const char* v = valueOf(argv[i], "--benchmark_repetitions")) {
            o.repetitions = std::max(1, std::atoi(v));
        } else if (const char* v = valueOf(argv[i], "--benchmark_out")) {
            o.out = v;
        } else if (std::strncmp(argv[i], "--benchmark_", 12) != 0) {
            std::fprintf(stderr,
                         "usage: %s [--benchmark_filter=REGEX] [--benchmark_min_time=S] "
                         "[--benchmark_repetitions=N] [--benchmark_out=FILE]\n",
                         argv[0]);
            return 2;
        }
    }
    std::FILE* out = o.out.empty() ? stdout : std::fopen(o.out.c_str(), "w");
    if (!out) return 1;
    const std::regex filter(o.filter);
    std::fprintf(out, "{\n  \"context\": {\"library\": \"minibench\"},\n  \"benchmarks\": [");
    bool first = true;
    auto emit = [&](const std::string& name, const std::string& run, const char* aggregate,
                    std::int64_t iterations, double ns) {
        std::fprintf(out,
                     "%s\n    {\"name\": \"%s\", \"run_name\": \"%s\", \"run_type\": \"%s\", "
                     "\"aggregate_name\": \"%s\", \"iterations\": %lld, \"real_time\": %.6g, "
                     "\"cpu_time\": %.6g, \"time_unit\": \"ns\"}",
                     first ? "" : ",", name.c_str(), run.c_str(),
                     *aggregate ? "aggregate" : "iteration", aggregate, (long long)iterations, ns,
                     ns);
        first = false;
    };
    for (Benchmark* b : registry()) {
        std::vector<std::vector<std::int64_t>> sets = b->argSets;
        if (sets.empty()) sets.emplace_back();
        for (const auto& args : sets) {
            std::string name = b->name;
            for (std::int64_t a : args)
                name += "/" + std::to_string(a);
            if (!std::regex_search(name, filter)) continue;
            // Grow the batch as the library does: at most tenfold per step.
            std::int64_t n = 1;
            for (;;) {
                const double t = runOnce(b->function, n, args);
                if (t >= o.minTime || n >= 1000000000) break;
                const double grow = t > 0 ? std::min(10.0, o.minTime * 1.4 / t) : 10.0;
                n = std::max(n + 1, std::int64_t(double(n) * grow));
            }
            std::vector<double> perIteration;
            for (int r = 0; r < o.repetitions; ++r) {
                const double ns = runOnce(b->function, n, args) * 1e9 / double(n);
                perIteration.push_back(ns);
                emit(name, name, "", n, ns);
            }
            double mean = 0;
            for (double v : perIteration)
                mean += v / double(perIteration.size());
            std::vector<double> sorted = perIteration;
            std::sort(sorted.begin(), sorted.end());
            const std::size_t k = sorted.size();
            const double median = k % 2 ? sorted[k / 2] : (sorted[k / 2 - 1] + sorted[k / 2]) / 2;
            emit(name + "_mean", name, "mean", n, mean);
            emit(name + "_median", name, "median", n, median);
            std::fprintf(stderr, "%-40s %12.1f ns (median of %d)\n", name.c_str(), median,
                         o.repetitions);
        }
    }
    std::fprintf(out, "\n  ]\n}\n");
    if (out != stdout) std::fclose(out);
    return 0;
}
