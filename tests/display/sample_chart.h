// The chart window of the program's sample birth (Delhi, 15 August 1980, 06:30 IST), classic
// engine: the chart the drawing tests draw.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "core/chart_state.h"
#include "display/chart_window_model.h"
#include "entry/sample.h"
#include "run/chart_run.h"

namespace solvane::testing {

inline display::ChartWindowModel SampleChartModel() {
  core::ChartState state;
  display::ChartWindowModel model;
  if (!run::RunChart(entry::SampleBirth(), display::EnglishMonthName, state, model)) {
    std::fputs("the sample birth was refused\n", stderr);
    std::abort();
  }
  return model;
}

}  // namespace solvane::testing
