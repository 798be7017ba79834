// A computed chart as text for people and as JSON for programs.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "core/chart_state.h"
#include "display/chart_window.h"
#include "entry/form_rules.h"

namespace solvane::cli {

using Json = nlohmann::ordered_json;

// Every birth field, the zone offset, ayanamsa, angle and Moon texts, the fourteen positions, the
// wheel labels, the chart window's texts under their control names, and where the report placed
// each planet.
Json ChartJson(const core::ChartState& state, const display::ChartWindowModel& window);

// The birth details, the three signs, the positions and the wheel as aligned tables.
std::string ChartText(const core::ChartState& state, const display::ChartWindowModel& window,
                      const entry::BirthFormSnapshot& form);

// One line of JSON; text that is not valid UTF-8 is replaced, never an exception.
std::string JsonLine(const Json& value);

}  // namespace solvane::cli
