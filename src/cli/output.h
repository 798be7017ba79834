// A computed chart as text for people and as JSON for programs.
#pragma once

#include <string>

#include "cli/json_writer.h"
#include "core/chart_state.h"
#include "display/chart_window_model.h"
#include "entry/form_rules.h"

namespace solvane::cli {

// Every birth field, the zone offset, ayanamsa, angle and Moon texts, the fourteen positions, the
// wheel labels, the chart window's texts under their control names, and where the report placed
// each planet: the members of a JSON object the caller has begun.
void WriteChartMembers(JsonWriter& json, const core::ChartState& state,
                       const display::ChartWindowModel& window);

// {"line": N, "error": "..."}
std::string ErrorJsonLine(std::size_t line, std::string_view error);

// The birth details, the three signs, the positions with each body's house on the wheel and in
// the report, and the wheel's houses, as aligned tables. What came from the user (the name and
// the place) is shown terminal-safe (see safe_text.h).
std::string ChartText(const core::ChartState& state, const display::ChartWindowModel& window,
                      const entry::BirthFormSnapshot& form);

}  // namespace solvane::cli
