// A computed chart as text for people and as JSON for programs.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "core/chart_state.h"
#include "entry/form_rules.h"

namespace solvane::cli {

using Json = nlohmann::ordered_json;

// Every birth field, the zone offset, ayanamsa, angle and Moon texts, the fourteen positions and
// the wheel labels, under the names the program uses for them.
Json ChartJson(const core::ChartState& state);

// The birth details, the Moon sign and the positions as an aligned table.
std::string ChartText(const core::ChartState& state, const entry::BirthFormSnapshot& form);

// One line of JSON; text that is not valid UTF-8 is replaced, never an exception.
std::string JsonLine(const Json& value);

}  // namespace solvane::cli
