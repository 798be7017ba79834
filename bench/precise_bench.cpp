// How long one whole precise chart takes: every position, both nodes' kinds, the angles and the
// ayanamsa, at instants spread over the engine's range.
#include <benchmark/benchmark.h>

#include <vector>

#include "precise/precise_engine.h"

namespace {

std::vector<solvane::precise::PreciseInput> Births(solvane::precise::NodeKind node) {
  std::vector<solvane::precise::PreciseInput> births;
  for (double jd = 2415400.37; jd < 2470150.0; jd += 97.13) {
    births.push_back({jd, 77.2, 28.6, node});
  }
  return births;
}

void BM_PreciseChart(benchmark::State& state) {
  const auto births = Births(state.range(0) == 0 ? solvane::precise::NodeKind::kMean
                                                 : solvane::precise::NodeKind::kTrue);
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(solvane::precise::ComputePreciseChart(births[i]));
    i = (i + 1) % births.size();
  }
}
BENCHMARK(BM_PreciseChart)->Arg(0)->Arg(1)->ArgName("true_node");

void BM_DeltaT(benchmark::State& state) {
  double jd = 2415400.37;
  for (auto _ : state) {
    benchmark::DoNotOptimize(solvane::precise::DeltaTSeconds(jd));
    jd = jd < 2470150.0 ? jd + 97.13 : 2415400.37;
  }
}
BENCHMARK(BM_DeltaT);

}  // namespace

BENCHMARK_MAIN();
