// The calculation steps of a chart run, in their fixed order, on one chart state.
#pragma once

#include <optional>

#include "core/chart_state.h"
#include "entry/form_rules.h"

namespace solvane::core {

// Checks `form`; when it is refused, returns the refusal and leaves `state` as it was. Otherwise
// stores the birth (name, zone offset, fields) and computes the chart angles, the Moon, the
// fourteen positions and the retrograde marks, in that order.
std::optional<entry::Refusal> RunChartCalculations(const entry::BirthFormSnapshot& form,
                                                   ChartState& state);

// The calculations alone, on a birth and zone offset already in `state`.
void CalculateChart(ChartState& state);

}  // namespace solvane::core
