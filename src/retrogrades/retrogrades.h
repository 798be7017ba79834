// Which of Mercury to Saturn are retrograde on the birth date, and the wheel labels that show it.
#pragma once

#include <optional>
#include <string_view>

#include "core/positions_engine.h"
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

// Sets the retrograde mark of each of Mercury, Venus, Mars, Jupiter and Saturn in `out` from the
// station tables, for the birth date as entered (Month/Day/Year, no zone conversion); clears the
// marks of every other body.
void MarkRetrogrades(const core::BirthData& birth, core::EnginePositions& out);

}  // namespace solvane::retrogrades
