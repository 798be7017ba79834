// Cost of a time-zone suggestion: the first (the database's index and the zone are loaded) and
// the ones after it.
#include <benchmark/benchmark.h>

#include <chrono>

#include "zones/suggestion.h"

namespace {

using solvane::zones::Fold;
using solvane::zones::Suggest;

// Runs once per process: the database's first use, measured by hand since a benchmark loop
// cannot repeat it.
void BM_FirstSuggestion(benchmark::State& state) {
  static double first_ms = -1;
  if (first_ms < 0) {
    const auto start = std::chrono::steady_clock::now();
    auto s = Suggest("Mumbai", {"Asia/Kolkata", 72.88, {1990, 3, 21, 14, 45, 0}, Fold::kUnset});
    benchmark::DoNotOptimize(s);
    first_ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  }
  for (auto _ : state) benchmark::DoNotOptimize(first_ms);
  state.counters["first_ms"] = first_ms;
}
BENCHMARK(BM_FirstSuggestion)->Iterations(1);

void BM_WarmSuggestion(benchmark::State& state) {
  for (auto _ : state) {
    auto s = Suggest("Mumbai", {"Asia/Kolkata", 72.88, {1942, 9, 1, 12, 0, 0}, Fold::kUnset});
    benchmark::DoNotOptimize(s);
  }
}
BENCHMARK(BM_WarmSuggestion);

// Past 2037 the zone's TZ rule is worked out for each call.
void BM_WarmSuggestion2045(benchmark::State& state) {
  for (auto _ : state) {
    auto s = Suggest("New York", {"America/New_York", -74.0, {2045, 7, 1, 12, 0, 0}, Fold::kUnset});
    benchmark::DoNotOptimize(s);
  }
}
BENCHMARK(BM_WarmSuggestion2045);

}  // namespace

BENCHMARK_MAIN();
