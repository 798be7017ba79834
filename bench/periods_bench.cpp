// Cost of the nakshatra table and the Vimshottari periods of one chart.
//
// `solvane_periods_bench --loop N` runs the per-chart work N times and nothing else, for counting
// instructions: valgrind --tool=callgrind for N and for 0, difference / N.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>

#include "vedic/dasha.h"

namespace {

using namespace solvane;

// Sidereal longitudes in [0, 360) as the engines deliver them, spread over the zodiac and varied
// per chart so that nothing is hoisted out of the loop.
double Longitude(int body, int chart) {
  return static_cast<double>((chart * 7919L + body * 104729L) % 3'600'000) / 10'000;
}

// What a chart asks for: the table of nakshatras and navamsas, the periods and the ones running
// today (the sub-periods are computed when something lists them).
long OneChart(int chart) {
  long sum = 0;
  for (int body = 0; body < static_cast<int>(vedic::kNakshatraTableBodies.size()); ++body) {
    const double lon = Longitude(body, chart);
    const vedic::NakshatraPlace place = vedic::NakshatraOf(lon);
    sum += place.index + place.pada + static_cast<int>(place.lord) + vedic::NavamsaSignIndex(lon);
  }
  const double birth = 3879.27 + chart;
  const auto periods = vedic::Vimshottari::FromMoon(Longitude(1, chart), birth);
  if (!periods) return sum;
  const auto running = periods->RunningOnDate(20000 + chart % 9000);
  if (running) sum += static_cast<int>(running->pratyantardasha.lord);
  return sum;
}

// Every listed period of all three levels, as the command line and the window list them.
long FullListing(int chart) {
  const auto periods = vedic::Vimshottari::FromMoon(Longitude(1, chart), 3879.27 + chart);
  long count = 0;
  if (periods)
    periods->VisitListed(
        [&count](const vedic::DashaPeriod& p) { count += static_cast<int>(p.lord); });
  return count;
}

void BM_OneChart(benchmark::State& state) {
  int chart = 0;
  for (auto _ : state) benchmark::DoNotOptimize(OneChart(chart++));
}
BENCHMARK(BM_OneChart);

void BM_FullListing(benchmark::State& state) {
  int chart = 0;
  for (auto _ : state) benchmark::DoNotOptimize(FullListing(chart++));
}
BENCHMARK(BM_FullListing);

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 &&
      (std::strcmp(argv[1], "--loop") == 0 || std::strcmp(argv[1], "--loop-all") == 0)) {
    const bool all = std::strcmp(argv[1], "--loop-all") == 0;
    const int n = std::atoi(argv[2]);
    long sum = 0;
    for (int i = 0; i < n; ++i) sum += all ? FullListing(i) : OneChart(i);
    benchmark::DoNotOptimize(sum);
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
