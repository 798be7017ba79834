// The birth as the chart run stores it: a name and fourteen 16-bit fields.
#pragma once

#include <cstdint>
#include <string>

namespace solvane::core {

// Flags are 16-bit values, -1 for true and 0 for false; readers only test for non-zero.
inline constexpr std::int16_t kTrue = -1;
inline constexpr std::int16_t kFalse = 0;

// Magnitudes only: the hemispheres live in `East` and `South`, and the zone's direction lives in
// `ChartState::ZoneHours` / `ZoneMinutes`, not here.
struct BirthData {
  std::string Name;                 // as typed, not trimmed
  std::int16_t Month = 0;           // 1..12
  std::int16_t Day = 0;             // 1..31
  std::int16_t Year = 0;            // 1901..2050
  std::int16_t Hour = 0;            // local clock hour, 0..23
  std::int16_t Minute = 0;          // local clock minute, 0..59
  std::int16_t ZoneHoursAbs = 0;    // 0..13
  std::int16_t ZoneMinutesAbs = 0;  // 0 or 30
  std::int16_t LongitudeDeg = 0;    // 0..179
  std::int16_t LongitudeMin = 0;    // 0..59
  std::int16_t LatitudeDeg = 0;     // 0..89
  std::int16_t LatitudeMin = 0;     // 0..59
  std::int16_t East = kFalse;       // longitude lies East of Greenwich
  std::int16_t South = kFalse;      // latitude lies South of the equator
  std::int16_t DaylightSaving = kFalse;

  friend bool operator==(const BirthData&, const BirthData&) = default;
};

}  // namespace solvane::core
