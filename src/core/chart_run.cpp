#include "core/chart_run.h"

#include "ephemeris/chart_angles.h"
#include "ephemeris/positions.h"
#include "retrogrades/retrogrades.h"
#include "vedic/moon.h"

namespace solvane::core {

std::optional<entry::Refusal> RunChartCalculations(const entry::BirthFormSnapshot& form,
                                                   ChartState& state) {
  if (auto refusal = entry::ValidateBirthForm(form)) return refusal;
  entry::FillBirthData(form, state);
  CalculateChart(state);
  return std::nullopt;
}

void CalculateChart(ChartState& state) {
  ephemeris::CalcChartAngles(state);  // ayanamsa, Ascendant, Midheaven
  vedic::CalcVedicDetails(state);     // the Moon and its sign
  ephemeris::CalcPlanetPositions(state);  // needs both of the above
  retrogrades::MarkRetrogrades(state);
}

}  // namespace solvane::core
