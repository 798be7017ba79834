// The chart sheet as PDF: --pdf FILE.
#pragma once

#include <optional>
#include <string>

#include "cli/chart_members.h"
#include "cli/flags.h"
#include "core/chart_state.h"
#include "core/result.h"
#include "display/chart_window_model.h"
#include "entry/form_rules.h"

namespace solvane::cli {

// A message naming PDF flags that cannot go together, or nothing.
std::optional<std::string> PdfConflict(const Flags& flags);

// Writes the sheet --pdf names (nothing when it was not given).
core::Result<void, CliFailure> WritePdfSheet(const Flags& flags, const core::ChartState& state,
                                             const display::ChartWindowModel& window,
                                             const entry::BirthFormSnapshot& form,
                                             const PeriodOptions& periods);

}  // namespace solvane::cli
