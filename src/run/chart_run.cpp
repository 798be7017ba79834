#include "run/chart_run.h"

#include "ephemeris/chart_angles.h"
#include "ephemeris/positions.h"
#include "report/house_report.h"
#include "retrogrades/retrogrades.h"
#include "vedic/moon.h"

namespace solvane::run {

std::optional<entry::Refusal> RunChartCalculations(const entry::BirthFormSnapshot& form,
                                                   core::ChartState& state) {
  if (auto refusal = entry::ValidateBirthForm(form)) return refusal;
  entry::FillBirthData(form, state);
  CalculateChart(state);
  return std::nullopt;
}

void CalculateChart(core::ChartState& state) {
  ephemeris::CalcChartAngles(state);      // ayanamsa, Ascendant, Midheaven
  vedic::CalcVedicDetails(state);         // the Moon and its sign
  ephemeris::CalcPlanetPositions(state);  // needs both of the above
  retrogrades::MarkRetrogrades(state);
}

std::optional<entry::Refusal> RunChart(const entry::BirthFormSnapshot& form,
                                       const display::MonthNameProvider& month_name,
                                       core::ChartState& state, display::ChartWindowModel& window,
                                       ReportText report_text) {
  if (auto refusal = RunChartCalculations(form, state)) return refusal;
  PresentChart(state, form, month_name, window, report_text);
  return std::nullopt;
}

void PresentChart(const core::ChartState& state, const entry::BirthFormSnapshot& form,
                  const display::MonthNameProvider& month_name, display::ChartWindowModel& window,
                  ReportText report_text) {
  display::FillPositionsPanel(state, window);
  display::ClearSignBoxes(window);
  display::FillBirthDetails(state, form, month_name, window);
  display::PlaceBodiesInSigns(state, window);
  // The report reads the planets from the positions table just filled.
  std::array<std::string, report::kPlanetCount> planets;
  for (int k = 0; k < report::kPlanetCount; ++k) planets[k] = window.lblPlanet[k];
  if (report_text == ReportText::kWrite) {
    report::RecordingSink sink;
    window.report_houses =
        report::BuildHouseReport(state.PositionStrings[core::kAscendant], planets, sink);
    window.RTBHouseDesc = sink.TakePieces();
  } else {
    window.report_houses = report::PlaceInHouses(state.PositionStrings[core::kAscendant], planets);
    window.RTBHouseDesc.clear();
  }
  display::ArrangeHouseWheel(state, window);
}

}  // namespace solvane::run
