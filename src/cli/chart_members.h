// The members of a chart's output beyond the chart window's texts: the engine and its numbers,
// the nakshatras, the navamsa and the Vimshottari periods.
#pragma once

#include <optional>
#include <string>

#include "cli/json_writer.h"
#include "core/chart_state.h"
#include "core/result.h"
#include "vedic/dasha.h"

namespace solvane::cli {

// How the periods are listed: the year's length and how many levels deep (1..3).
struct PeriodOptions {
  double year_days = vedic::kJulianYearDays;
  int levels = 2;
  // The date whose running periods the text marks (days since 1970-01-01), or none.
  std::optional<long> marked_date_day;
};

// The local day number of the birth: days since 1970-01-01 plus the clock's fraction of a day.
double BirthDayNumber(const core::BirthData& birth);

// The periods of the chart's Moon; approximate unless the engine holds to the arc-second.
core::Result<vedic::Vimshottari> ChartPeriods(const core::ChartState& state, double year_days);

// The JSON members "Ephemeris", "Node", "Longitudes" (sidereal degrees of every position at full
// precision) and "Ayanamsa" (degrees, positive).
void WriteEngineMembers(JsonWriter& json, const core::ChartState& state);

// The JSON members "Nakshatras", "Navamsa" and "Dasha" of the enclosing object.
void WritePeriodMembers(JsonWriter& json, const core::ChartState& state,
                        const PeriodOptions& options);

// The text sections "Nakshatras" and "Vimshottari periods", each ending in an empty line; the
// periods running on the marked date say so at the end of their lines.
std::string PeriodsText(const core::ChartState& state, const PeriodOptions& options);

}  // namespace solvane::cli
