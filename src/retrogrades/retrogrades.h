// Which of Mercury to Saturn are retrograde on the birth date, and the wheel labels that show it.
#pragma once

#include <optional>
#include <string_view>

#include "core/chart_state.h"
#include "retrogrades/station_tables.h"

namespace solvane::retrogrades {

// One station-table entry, read from its "month,day,year,hour,minute," text.
struct StationMoment {
  int month = 0;
  int day = 0;
  int year = 0;
  int hour = 0;
  int minute = 0;
};

// The entry's fields, or nothing unless `entry` is exactly five unsigned decimal fields of at most
// four digits, each followed by a comma, forming a valid Gregorian date (year 1..9999) with hour
// 0..23 and minute 0..59. Never reads past `entry.size()`.
std::optional<StationMoment> ParseStationEntry(std::string_view entry);

// True when the civil date `month`/`day`/`year` lies strictly between the calendar dates of a
// retrograde station of `planet` and the direct station that ends that period. Hours play no part:
// a date on either station's day, or outside the table's span, counts as direct.
bool IsRetrograde(RetrogradePlanet planet, int month, int day, int year);

// Rewrites `state.BodyNames` to the plain labels "Sun".."Saturn" and appends " (R) " to the label
// of each of Mercury, Venus, Mars, Jupiter and Saturn that is retrograde on the birth date as
// entered (`state.birth` Month/Day/Year, no zone conversion).
void MarkRetrogrades(core::ChartState& state);

}  // namespace solvane::retrogrades
