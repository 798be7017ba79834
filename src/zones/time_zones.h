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
// The entry after the 71 listed zones that holds an exact offset.
inline constexpr int kOtherOffsetIndex = kTimeZoneCount;

const std::array<TimeZoneRow, kTimeZoneCount>& TimeZoneTable();

// Sets `ZoneHours` and `ZoneMinutes` of `state` from the zone at list position `position` (and
// `ZoneSeconds` to 0); a position outside the list (nothing selected) leaves them unchanged.
void Zone_Calculation(int position, core::ChartState& state);

// Sets `ZoneHours`, `ZoneMinutes` and `ZoneSeconds` of `state` for an exact offset of
// `offset_s_east` seconds east of Greenwich (what is added to UT to get local time), each part
// with the sign the chart state keeps: minus the offset.
void ExactOffset_Calculation(std::int32_t offset_s_east, core::ChartState& state);

}  // namespace solvane::zones
