// The saved births at the sizes a long-practising user reaches: opening and searching a list of
// 10,000, saving one more, importing 100,000. Medians of several repetitions.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/saved_csv.h"
#include "store/births_store.h"

namespace {

using solvane::store::BirthRecord;
using solvane::store::SaveMode;
using solvane::store::SortColumn;
using solvane::store::Store;

// Rows the person list asks for: its limit and one more, to know whether there are more.
constexpr int kWindowRows = 1001;

BirthRecord Made(int n) {
  static const std::array<const char*, 12> kFirst = {"ASHA",  "José",  "Zoë",   "Дмитрий",
                                                     "अमित",  "PRIYA", "RAVI",  "Łucja",
                                                     "ΕΛΕΝΗ", "MARIA", "KENJI", "AMARA"};
  static const std::array<const char*, 10> kLast = {
      "RAO", "Álvarez", "Smith", "Ёлкин", "शर्मा", "KAPOOR", "Müller", "Nowak", "Παππά", "OKAFOR"};
  static const std::array<const char*, 8> kCities = {"New Delhi", "Madrid", "New York", "Москва",
                                                     "Kolkata",   "Kraków", "Αθήνα",    "Lagos"};
  BirthRecord r;
  r.name = std::string(kFirst[n % kFirst.size()]) + " " + kLast[(n / 12) % kLast.size()] + " " +
           std::to_string(n);
  r.year = 1901 + n % 150, r.month = 1 + n % 12, r.day = 1 + n % 28;
  r.hour = n % 24, r.minute = n % 60, r.zone_index = n % 71;
  r.longitude_deg = n % 180, r.longitude_min = n % 60, r.latitude_deg = n % 90;
  r.city = kCities[n % kCities.size()];
  r.country = "Somewhere";
  return r;
}

std::vector<BirthRecord> MadeMany(int count) {
  std::vector<BirthRecord> records;
  records.reserve(count);
  for (int n = 0; n < count; ++n) records.push_back(Made(n));
  return records;
}

std::filesystem::path ScratchFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "solvane-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) std::abort();
  return pattern;
}

// A list of 10,000 births, made once for the benchmarks that read it.
const std::filesystem::path& TenThousand() {
  static const std::filesystem::path path = [] {
    const auto file = ScratchFolder() / "births.sqlite";
    auto store = Store::Open(file);
    const auto records = MadeMany(10'000);
    if (!store || !store->Import(records)) std::abort();
    return file;
  }();
  return path;
}

// What the person list does when it appears: open the file, then fetch its first screenful.
void BM_OpenAndFirstResults(benchmark::State& state) {
  const auto& path = TenThousand();
  for (auto _ : state) {
    auto store = Store::Open(path);
    auto rows = store->Search("", {}, kWindowRows);
    benchmark::DoNotOptimize(rows);
  }
}
BENCHMARK(BM_OpenAndFirstResults)->Unit(benchmark::kMillisecond);

// One keystroke in the search box on an open list.
void BM_SearchAsYouType(benchmark::State& state) {
  auto store = Store::Open(TenThousand());
  const std::array<const char*, 4> queries = {"mos", "jose 19", "शर्मा", "new york"};
  int i = 0;
  for (auto _ : state) {
    auto rows =
        store->Search(queries[i++ % queries.size()], {SortColumn::kDate, false}, kWindowRows);
    benchmark::DoNotOptimize(rows);
  }
}
BENCHMARK(BM_SearchAsYouType)->Unit(benchmark::kMillisecond);

void BM_SaveOneBirth(benchmark::State& state) {
  auto store = Store::Open(TenThousand());
  int n = 20'000;
  for (auto _ : state) {
    auto saved = store->Save(Made(n++), SaveMode::kAskFirst);
    if (!saved) state.SkipWithError(saved.error().message.c_str());
  }
}
BENCHMARK(BM_SaveOneBirth)->Unit(benchmark::kMillisecond);

void BM_Import100k(benchmark::State& state) {
  const auto records = MadeMany(100'000);
  for (auto _ : state) {
    state.PauseTiming();
    const auto folder = ScratchFolder();
    state.ResumeTiming();
    auto store = Store::Open(folder / "births.sqlite");
    auto report = store->Import(records);
    if (!report || report->added != 100'000) state.SkipWithError("import failed");
    state.PauseTiming();
    store = Store::Open(folder / "other.sqlite");  // closes the imported list
    std::filesystem::remove_all(folder);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Import100k)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

// solvane-chart --import-saved of 100,000 rows: the CSV read through the entry form's checks,
// then stored in one transaction.
void BM_ImportCsv100k(benchmark::State& state) {
  // The entry form takes no digits in a name: the number is spelled in letters instead.
  std::vector<BirthRecord> records = MadeMany(100'000);
  for (BirthRecord& record : records)
    for (char& c : record.name)
      if (c >= '0' && c <= '9') c = static_cast<char>('A' + (c - '0'));
  const std::string csv = solvane::cli::SavedCsvText(records);
  for (auto _ : state) {
    state.PauseTiming();
    const auto folder = ScratchFolder();
    state.ResumeTiming();
    const auto read = solvane::cli::ReadSavedCsv(solvane::cli::TextSource(csv));
    if (!read || !read->refused.empty()) state.SkipWithError("rows refused");
    auto store = Store::Open(folder / "births.sqlite");
    auto report = store->Import(read->records);
    if (!report || report->added != 100'000) state.SkipWithError("import failed");
    state.PauseTiming();
    store = Store::Open(folder / "other.sqlite");  // closes the imported list
    std::filesystem::remove_all(folder);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ImportCsv100k)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

}  // namespace

BENCHMARK_MAIN();
