// Births used across the suites, with the zone offset the entry form would give them.
#pragma once

#include <optional>

#include "core/chart_state.h"
#include "entry/form_rules.h"

namespace solvane::testing {

// A chart state holding a birth and its signed zone offset, ready for the calculation steps.
inline core::ChartState StateFor(int year, int month, int day, int hour, int minute, int zone_hours,
                                 int zone_minutes, int lon_deg, int lon_min, bool east, int lat_deg,
                                 int lat_min, bool south, bool dst) {
  core::ChartState s;
  core::BirthData& b = s.birth;
  b.Name = "TEST";
  b.Year = static_cast<std::int16_t>(year);
  b.Month = static_cast<std::int16_t>(month);
  b.Day = static_cast<std::int16_t>(day);
  b.Hour = static_cast<std::int16_t>(hour);
  b.Minute = static_cast<std::int16_t>(minute);
  s.ZoneHours = static_cast<std::int16_t>(zone_hours);
  s.ZoneMinutes = static_cast<std::int16_t>(zone_minutes);
  b.ZoneHoursAbs = static_cast<std::int16_t>(zone_hours < 0 ? -zone_hours : zone_hours);
  b.ZoneMinutesAbs = static_cast<std::int16_t>(zone_minutes < 0 ? -zone_minutes : zone_minutes);
  b.LongitudeDeg = static_cast<std::int16_t>(lon_deg);
  b.LongitudeMin = static_cast<std::int16_t>(lon_min);
  b.East = east ? core::kTrue : core::kFalse;
  b.LatitudeDeg = static_cast<std::int16_t>(lat_deg);
  b.LatitudeMin = static_cast<std::int16_t>(lat_min);
  b.South = south ? core::kTrue : core::kFalse;
  b.DaylightSaving = dst ? core::kTrue : core::kFalse;
  return s;
}

// 1 January 2000, 12:00 GMT, Greenwich meridian, 51° 30' N: the reference birth of the suites.
inline core::ChartState London2000() {
  return StateFor(2000, 1, 1, 12, 0, 0, 0, 0, 0, true, 51, 30, false, false);
}

// 15 August 1980, 06:30 Indian time, 77° 13' E, 28° 36' N.
inline core::ChartState Delhi1980() {
  return StateFor(1980, 8, 15, 6, 30, -5, -30, 77, 13, true, 28, 36, false, false);
}

// A form that passes every check: London, 1 January 2000 at 12:00.
inline entry::BirthFormSnapshot LondonForm() {
  entry::BirthFormSnapshot f;
  f.txtName = "TEST";
  f.cboYear = 2000 - entry::kFirstYear;
  f.cboHH = 12;
  f.txtLonD = "0";
  f.txtLonM = "0";
  f.txtLatD = "51";
  f.txtLatM = "30";
  return f;
}

// The refusal of a check, or nothing when it passed: what the tests compare.
inline std::optional<entry::Refusal> RefusalOf(const entry::Verdict& verdict) {
  if (verdict) return std::nullopt;
  return verdict.error();
}

}  // namespace solvane::testing
