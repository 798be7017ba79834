// Everything one chart run leaves behind, filled step by step in the run's order.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/birth_data.h"
#include "core/positions_engine.h"

namespace solvane::core {

// Indices into `PositionStrings`.
enum Body : int {
  kSun = 0,
  kMoon = 1,
  kMercury = 2,
  kVenus = 3,
  kMars = 4,
  kJupiter = 5,
  kSaturn = 6,
  kUranus = 7,
  kNeptune = 8,
  kPluto = 9,
  kAscendant = 10,
  kMidheaven = 11,
  kRahu = 12,
  kKetu = 13,
};
inline constexpr int kPositionCount = kBodyCount;
inline constexpr int kWheelBodyCount = 7;  // Sun..Saturn carry labels on the wheel

// English names of the positions, indexed by `Body`; the first seven are also the wheel's plain
// labels, before any retrograde mark.
inline constexpr std::array<std::string_view, kPositionCount> kBodyNames = {
    "Sun",    "Moon",    "Mercury", "Venus",     "Mars",      "Jupiter", "Saturn",
    "Uranus", "Neptune", "Pluto",   "Ascendant", "Midheaven", "Rahu",    "Ketu"};
// Short names as Indian charts write them ("Su", "Mo", ... "Asc").
inline constexpr std::array<std::string_view, kPositionCount> kBodyCodes = {
    "Su", "Mo", "Me", "Ve", "Ma", "Ju", "Sa", "Ur", "Ne", "Pl", "Asc", "MC", "Ra", "Ke"};

struct ChartState {
  BirthData birth;

  // Minus the zone's offset from universal time: what is added to local clock time to get UT.
  std::int16_t ZoneHours = 0;
  std::int16_t ZoneMinutes = 0;  // same sign as ZoneHours, or 0
  std::int16_t ZoneSeconds = 0;  // same sign as ZoneHours, or 0; only an exact offset has any

  // The numbers every text below is derived from, as the engine gave them.
  EnginePositions positions;
  std::string_view engine = "classic";  // the engine's name

  double AyanamsaOffset = 0.0;  // degrees to add to a tropical longitude; negative
  std::string AscendantString;  // long position texts: 5° 7' 30" Tau
  std::string MidheavenString;
  std::string MoonSiderealString;
  std::string RashiName;  // "Libra (Thula)"; kept when the Moon's sign is not recognised

  // Nine-character short texts "05 Tau 07", indexed by `Body`.
  std::array<std::string, kPositionCount> PositionStrings;

  // Wheel labels of Sun..Saturn, a planet's followed by " (R) " when it is retrograde.
  std::array<std::string, kWheelBodyCount> BodyNames;
};

}  // namespace solvane::core
