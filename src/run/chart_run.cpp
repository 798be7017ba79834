#include "run/chart_run.h"

#include "report/house_report.h"
#include "vedic/moon.h"

namespace solvane::run {

entry::Verdict RunChartCalculations(const entry::BirthFormSnapshot& form, core::ChartState& state,
                                    const core::PositionsEngine& engine) {
  if (entry::Verdict checked = entry::ValidateBirthForm(form); !checked) return checked;
  entry::FillBirthData(form, state);
  CalculateChart(state, engine);
  return {};
}

void CalculateChart(core::ChartState& state, const core::PositionsEngine& engine) {
  state.positions =
      engine.Compute({state.birth, state.ZoneHours, state.ZoneMinutes, state.ZoneSeconds});
  state.engine = engine.Name();
  DerivePositionTexts(state);
}

void DerivePositionTexts(core::ChartState& state) {
  const core::EnginePositions& p = state.positions;
  state.AyanamsaOffset = p.ayanamsa_offset;
  state.AscendantString = p.longitude[core::kAscendant].LongText();
  state.MidheavenString = p.longitude[core::kMidheaven].LongText();
  state.MoonSiderealString = p.longitude[core::kMoon].LongText();
  const std::string_view rashi = vedic::RashiName(p.longitude[core::kMoon].SignIndex());
  if (!rashi.empty()) state.RashiName = rashi;
  for (int i = 0; i < core::kPositionCount; ++i) {
    state.PositionStrings[i] =
        p.to_the_second ? p.longitude[i].ShortTextWithSeconds() : p.longitude[i].ShortText();
  }
  for (int i = 0; i < core::kWheelBodyCount; ++i) {
    state.BodyNames[i] = core::kBodyNames[i];
    if (p.retrograde[i]) state.BodyNames[i] += " (R) ";
  }
}

entry::Verdict RunChart(const entry::BirthFormSnapshot& form,
                        const display::MonthNameProvider& month_name, core::ChartState& state,
                        display::ChartWindowModel& window, ReportText report_text,
                        const core::PositionsEngine& engine) {
  if (entry::Verdict charted = RunChartCalculations(form, state, engine); !charted) return charted;
  PresentChart(state, form, month_name, window, report_text);
  return {};
}

void PresentChart(const core::ChartState& state, const entry::BirthFormSnapshot& form,
                  const display::MonthNameProvider& month_name, display::ChartWindowModel& window,
                  ReportText report_text) {
  display::FillPositionsPanel(state, window);
  display::ClearSignBoxes(window);
  display::FillBirthDetails(state, form, month_name, window);
  display::FillChartNumbers(state, form, month_name, window);
  display::PlaceBodiesInSigns(state, window);
  const report::PlanetDegrees planets = report::PlanetDegreesOf(state.positions);
  if (report_text == ReportText::kWrite) {
    report::RecordingSink sink;
    window.report_houses = report::BuildHouseReport(planets, sink);
    window.RTBHouseDesc = sink.TakePieces();
  } else {
    window.report_houses = report::PlaceInHouses(planets);
    window.RTBHouseDesc.clear();
  }
  display::ArrangeHouseWheel(state, window);
}

}  // namespace solvane::run
