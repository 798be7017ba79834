// Runs the chart calculations N times over varied births, for instruction counts under callgrind:
// the difference between two values of N divided by their difference is the cost of one chart.
#include <cstdio>
#include <cstdlib>

#include "entry/sample.h"
#include "run/chart_run.h"

int main(int argc, char** argv) {
  using namespace solvane;
  const long n = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 1000;
  entry::BirthFormSnapshot form = entry::SampleBirth();
  core::ChartState state;
  unsigned checksum = 0;
  for (long i = 0; i < n; ++i) {
    form.cboYear = static_cast<int>(i % 150);
    form.cboDate = static_cast<int>(i % 28);
    form.cboHH = static_cast<int>(i % 24);
    if (!run::RunChartCalculations(form, state)) return 1;
    checksum += static_cast<unsigned char>(state.PositionStrings[0][0]);
  }
  std::printf("%ld charts, checksum %u\n", n, checksum);
  return 0;
}
