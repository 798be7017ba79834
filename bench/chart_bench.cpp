// Cost of one chart's calculations, and of the batch path from CSV text to JSON Lines.
#include <benchmark/benchmark.h>

#include <string>

#include "cli/batch.h"
#include "entry/atlas.h"
#include "entry/sample.h"
#include "run/chart_run.h"

namespace {

using namespace solvane;

// The calculation steps from a valid form: store the birth, angles, Moon, positions, retrogrades.
void BM_ChartCalculations(benchmark::State& st) {
  const entry::BirthFormSnapshot form = entry::SampleBirth();
  core::ChartState state;
  for (auto _ : st) {
    auto charted = run::RunChartCalculations(form, state);
    benchmark::DoNotOptimize(charted);
    benchmark::DoNotOptimize(state.PositionStrings);
  }
}
BENCHMARK(BM_ChartCalculations);

// A number written in letters (0 as A, 1 as B ...): names the entry form takes.
std::string Letters(int n) {
  std::string out;
  do {
    out.insert(out.begin(), static_cast<char>('A' + n % 10));
    n /= 10;
  } while (n > 0);
  return out;
}

// Births spread over the years and zones, as a batch file would bring them.
std::string BatchCsv(int rows) {
  std::string csv = "name,date,time,zone,dst,lon,lat,city,state,country\n";
  for (int i = 0; i < rows; ++i) {
    const int year = 1901 + i % 150, month = 1 + i % 12, day = 1 + i % 28;
    csv += "PERSON " + Letters(i) + "," + std::to_string(year) + "-" + (month < 10 ? "0" : "") +
           std::to_string(month) + "-" + (day < 10 ? "0" : "") + std::to_string(day) + "," +
           std::to_string(i % 24) + ":" + std::to_string(10 + i % 50) + "," +
           std::to_string(i % 71) + "," + (i % 3 == 0 ? "1" : "0") + "," + std::to_string(i % 180) +
           (i % 2 ? "E" : "W") + std::to_string(i % 60) + "," + std::to_string(i % 90) +
           (i % 5 ? "N" : "S") + std::to_string(i % 60) + ",City,State,Country\n";
  }
  return csv;
}

void BM_BatchRows(benchmark::State& st) {
  const std::string csv = BatchCsv(1000);
  std::size_t bytes = 0;
  for (auto _ : st) {
    const auto result = cli::RunBatch(csv, [&](std::string_view line) -> core::Result<void> {
      bytes += line.size();
      return {};
    });
    if (!result || result->charted != 1000) st.SkipWithError("the batch refused rows");
  }
  benchmark::DoNotOptimize(bytes);
  st.SetItemsProcessed(st.iterations() * 1000);
}
BENCHMARK(BM_BatchRows)->Unit(benchmark::kMillisecond);

// A lookup in the atlas once it is loaded (the first lookup, with the loading, is timed as a whole
// process by the bench script).
void BM_AtlasWarmLookup(benchmark::State& st) {
  const entry::Atlas& atlas = entry::Atlas::BuiltIn();
  for (auto _ : st) {
    auto places = atlas.Find("Delhi", "", "India", 20);
    benchmark::DoNotOptimize(places);
  }
}
BENCHMARK(BM_AtlasWarmLookup)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
