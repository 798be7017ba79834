// Timing of the built-in atlas. Without arguments: Google Benchmark's loop over warm lookups.
// With --first QUERY: one lookup from a cold start, printed, so that /usr/bin/time measures the
// whole process (start, reading the atlas, the lookup).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

#include "entry/atlas.h"

extern "C" const unsigned char solvane_atlas_begin[];
extern "C" const unsigned char solvane_atlas_end[];

namespace {

using solvane::entry::Atlas;

void BM_WarmLookup(benchmark::State& state, const char* query) {
  const Atlas& atlas = Atlas::BuiltIn();
  for (auto _ : state) {
    auto matches = atlas.Lookup(query);
    benchmark::DoNotOptimize(matches);
  }
}
BENCHMARK_CAPTURE(BM_WarmLookup, city, "Delhi")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_WarmLookup, city_state_country, "Springfield, Ill., USA")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_WarmLookup, unmatched_country, "Lagos, Brazil")->Unit(benchmark::kMicrosecond);
// The worst case: one letter starts some twenty thousand names.
BENCHMARK_CAPTURE(BM_WarmLookup, one_letter, "s")->Unit(benchmark::kMicrosecond);

// Reading the atlas: what the first lookup pays once.
void BM_Read(benchmark::State& state) {
  const std::span<const unsigned char> file(
      solvane_atlas_begin, static_cast<std::size_t>(solvane_atlas_end - solvane_atlas_begin));
  for (auto _ : state) {
    auto atlas = Atlas::Read(file);
    benchmark::DoNotOptimize(atlas);
  }
}
BENCHMARK(BM_Read)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--first") == 0) {
    const auto matches = Atlas::BuiltIn().Lookup(argv[2], 10);
    if (!matches.note.empty()) std::printf("%s\n", matches.note.c_str());
    for (const auto& place : matches.places)
      std::printf("%s, %s, %s %.5f %.5f %s %u\n", place.name.c_str(), place.division.c_str(),
                  place.country_code.c_str(), place.latitude, place.longitude,
                  place.time_zone.c_str(), place.geonames_id);
    return matches.places.empty() ? 2 : 0;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
