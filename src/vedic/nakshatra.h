// The 27 lunar mansions (nakshatras), their quarters (padas) and lords, and the navamsa (D9) sign
// of a sidereal longitude.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/chart_state.h"

namespace solvane::vedic {

inline constexpr int kNakshatraCount = 27;
inline constexpr int kPadasPerNakshatra = 4;
// Spans in arc-seconds, where the boundaries are whole numbers: 13°20' and 3°20'.
inline constexpr std::int64_t kNakshatraArcSeconds = 48'000;
inline constexpr std::int64_t kPadaArcSeconds = 12'000;
inline constexpr std::int64_t kTurnArcSeconds = 1'296'000;

// The nine lords of the nakshatras and of the Vimshottari periods, in the order both repeat.
enum class Lord : std::uint8_t {
  kKetu = 0,
  kVenus,
  kSun,
  kMoon,
  kMars,
  kRahu,
  kJupiter,
  kSaturn,
  kMercury,
};
inline constexpr int kLordCount = 9;

inline constexpr std::array<std::string_view, kLordCount> kLordNames = {
    "Ketu", "Venus", "Sun", "Moon", "Mars", "Rahu", "Jupiter", "Saturn", "Mercury"};

inline constexpr std::array<std::string_view, kNakshatraCount> kNakshatraNames = {
    "Ashwini",
    "Bharani",
    "Krittika",
    "Rohini",
    "Mrigashira",
    "Ardra",
    "Punarvasu",
    "Pushya",
    "Ashlesha",
    "Magha",
    "Purva Phalguni",
    "Uttara Phalguni",
    "Hasta",
    "Chitra",
    "Swati",
    "Vishakha",
    "Anuradha",
    "Jyeshtha",
    "Mula",
    "Purva Ashadha",
    "Uttara Ashadha",
    "Shravana",
    "Dhanishta",
    "Shatabhisha",
    "Purva Bhadrapada",
    "Uttara Bhadrapada",
    "Revati"};

// The bodies of a nakshatra table, in the order Indian charts list them.
inline constexpr std::array<core::Body, 13> kNakshatraTableBodies = {
    core::kSun,     core::kMoon,   core::kMercury,  core::kVenus,   core::kMars,
    core::kJupiter, core::kSaturn, core::kUranus,   core::kNeptune, core::kPluto,
    core::kRahu,    core::kKetu,   core::kAscendant};

constexpr std::string_view LordName(Lord lord) { return kLordNames[static_cast<int>(lord)]; }

// The lord `steps` places after `lord` in the repeating order.
constexpr Lord LordAfter(Lord lord, int steps) {
  return static_cast<Lord>((static_cast<int>(lord) + steps) % kLordCount);
}

struct NakshatraPlace {
  int index = 0;  // 0 (Ashwini) .. 26 (Revati)
  int pada = 1;   // 1..4
  Lord lord = Lord::kKetu;
  // Share of the nakshatra's 13°20' still ahead of the longitude, in (0, 1]: 1 at its start.
  double fraction_remaining = 1;

  int Number() const { return index + 1; }
  std::string_view Name() const { return kNakshatraNames[index]; }
};

// A sidereal longitude (degrees, any value; wrapped into one turn) in whole micro-arc-seconds,
// 0 .. 1'296'000'000'000 - 1. Rounding there puts a boundary typed as degrees and minutes
// (13 + 20 / 60.0, which is not exact) on the boundary, and is far finer than any ephemeris. A
// value that is not finite reads as 0.
std::int64_t MicroArcSeconds(double sidereal_degrees);

// The nakshatra, pada and lord of a sidereal longitude in degrees.
NakshatraPlace NakshatraOf(double sidereal_degrees);

// The navamsa (D9) sign 0 (Aries) .. 11 (Pisces) of a sidereal longitude in degrees: the 3°20'
// part of the zodiac it falls in, counted from Aries, modulo 12.
int NavamsaSignIndex(double sidereal_degrees);

}  // namespace solvane::vedic
