// The chart alone as a picture file: --svg FILE with --chart-style wheel|south|north|east.
#pragma once

#include <optional>
#include <string>

#include "cli/flags.h"
#include "core/chart_state.h"
#include "core/result.h"
#include "display/chart_window_model.h"
#include "entry/form_rules.h"

namespace solvane::cli {

// A message naming picture flags that cannot go together or are out of range, or nothing.
std::optional<std::string> PictureConflict(const Flags& flags);

// Writes the picture --svg names (nothing when it was not given).
core::Result<void, CliFailure> WriteChartPicture(const Flags& flags, const core::ChartState& state,
                                                 const display::ChartWindowModel& window,
                                                 const entry::BirthFormSnapshot& form);

}  // namespace solvane::cli
