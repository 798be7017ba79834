// Retrograde and direct stations of Mercury to Saturn, 1900 to 2051, as committed text tables.
#pragma once

#include <span>

namespace solvane::retrogrades {

// The five planets that can be retrograde on the wheel.
enum class RetrogradePlanet { kMercury, kVenus, kMars, kJupiter, kSaturn };
inline constexpr int kRetrogradePlanetCount = 5;

// One planet's retrograde periods as two parallel lists in chronological order: the i-th period
// runs from `retrograde[i]` to `direct[i]`. Each entry is the Universal Time moment of a geocentric
// station, written "month,day,year,hour,minute," (every field followed by a comma, no leading
// zeros, four-digit year), e.g. "3,15,1900,13,19,".
struct StationTable {
  std::span<const char* const> retrograde;
  std::span<const char* const> direct;
};

// The table of `planet`; both lists are empty for a value outside the enumeration.
StationTable StationTableOf(RetrogradePlanet planet);

}  // namespace solvane::retrogrades
