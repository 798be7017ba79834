// How long the chart sheet takes: the PDF of the sample chart with its report drawn in this
// process, and the whole `solvane-chart --sample --pdf` process (start-up, Qt's fonts, the chart,
// the PDF and its write), with the file's size as a counter.
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "display/chart_sheet.h"
#include "entry/sample.h"
#include "run/chart_run.h"
#include "run/engines.h"

namespace solvane::display {
namespace {

struct SampleChart {
  core::ChartState state;
  ChartWindowModel window;
  entry::BirthFormSnapshot form = entry::SampleBirth();

  explicit SampleChart(const char* engine) {
    (void)run::RunChart(form, EnglishMonthName, state, window, run::ReportText::kWrite,
                        **run::EngineNamed(engine));
  }
};

// range(0): 0 the wheel, 1 the South Indian square chart.
void BM_SheetPdfInProcess(benchmark::State& state) {
  const SampleChart chart("classic");
  const SheetInput input{
      {chart.state, chart.window, chart.form, {365.25, 20'000}, "the sample"},
      state.range(0) == 0 ? std::nullopt : std::optional(ChartStyle::kSouthIndian)};
  std::size_t bytes = 0;
  for (auto _ : state) {
    const auto pdf = ChartSheetPdf(input);
    if (!pdf) state.SkipWithError(pdf.error().message.c_str());
    bytes = pdf ? static_cast<std::size_t>(pdf->size()) : 0;
  }
  state.counters["KB"] = static_cast<double>(bytes) / 1024;
  state.SetLabel(state.range(0) == 0 ? "wheel" : "south");
}
BENCHMARK(BM_SheetPdfInProcess)
    ->DenseRange(0, 1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// The whole program, as a user runs it.
void BM_SheetPdfWholeProcess(benchmark::State& state) {
  char folder[] = "/tmp/chart_sheet_bench_XXXXXX";
  if (mkdtemp(folder) == nullptr) return state.SkipWithError("no temporary folder");
  const std::string pdf = std::string(folder) + "/sheet.pdf";
  const std::string command =
      std::string(SOLVANE_CHART_EXE) + " --sample --pdf " + pdf + " > /dev/null";
  for (auto _ : state)
    if (std::system(command.c_str()) != 0) state.SkipWithError("solvane-chart failed");
  struct stat written {};
  if (stat(pdf.c_str(), &written) == 0)
    state.counters["KB"] = static_cast<double>(written.st_size) / 1024;
  unlink(pdf.c_str());
  rmdir(folder);
}
BENCHMARK(BM_SheetPdfWholeProcess)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace solvane::display
