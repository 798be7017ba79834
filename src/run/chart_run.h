// The calculation steps of a chart run, in their fixed order, on one chart state.
#pragma once

#include "core/chart_state.h"
#include "core/positions_engine.h"
#include "display/chart_window_model.h"
#include "entry/form_rules.h"
#include "run/classic_engine.h"

namespace solvane::run {

// Checks `form`; when it is refused, returns the refusal and leaves `state` as it was. Otherwise
// stores the birth (name, zone offset, fields), asks `engine` for every position and derives the
// position texts and labels from them.
entry::Verdict RunChartCalculations(const entry::BirthFormSnapshot& form, core::ChartState& state,
                                    const core::PositionsEngine& engine = Classic());

// The calculations alone, on a birth and zone offset already in `state`.
void CalculateChart(core::ChartState& state, const core::PositionsEngine& engine = Classic());

// The texts of `state` from its positions: the long texts of the Ascendant, Midheaven and Moon, the
// Moon sign (kept when the Moon's value carries no sign), the fourteen short texts (with seconds
// when the engine holds to the arc-second) and the wheel labels with their retrograde marks.
void DerivePositionTexts(core::ChartState& state);

// Whether a run writes the house report's text or only places the planets in its houses (a batch
// that saves no reports has no use for the text).
enum class ReportText { kWrite, kPlacementOnly };

// A whole chart: the calculations, then the chart window of a computed `state`: the positions
// table and signs, the sign boxes, the birth details, the bodies in their signs, the house report
// and the wheel, in that order. `window` should be freshly made, as the window is for every chart.
entry::Verdict RunChart(const entry::BirthFormSnapshot& form,
                        const display::MonthNameProvider& month_name, core::ChartState& state,
                        display::ChartWindowModel& window,
                        ReportText report_text = ReportText::kWrite,
                        const core::PositionsEngine& engine = Classic());
void PresentChart(const core::ChartState& state, const entry::BirthFormSnapshot& form,
                  const display::MonthNameProvider& month_name, display::ChartWindowModel& window,
                  ReportText report_text = ReportText::kWrite);

}  // namespace solvane::run
