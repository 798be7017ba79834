// The 71 named time zones of the entry form and the offset each one gives.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/chart_state.h"

namespace solvane::zones {

struct TimeZoneRow {
  std::string_view text;      // shown in the list exactly as written; never parsed
  std::int16_t zone_hours;    // minus the zone's whole hours: added to local time to get UT
  std::int16_t zone_minutes;  // same sign as zone_hours, or 0
};

inline constexpr int kTimeZoneCount = 71;
inline constexpr int kDefaultTimeZone = 29;  // "Greenwich Mean Time,GMT,0.0"

const std::array<TimeZoneRow, kTimeZoneCount>& TimeZoneTable();

// Sets `ZoneHours` and `ZoneMinutes` of `state` from the zone at list position `position`; a
// position outside the list (nothing selected) leaves them unchanged.
void Zone_Calculation(int position, core::ChartState& state);

}  // namespace solvane::zones
