// The seam between the chart run and the engines that compute positions: the run hands an engine
// the birth moment and takes back every position as a number.
#pragma once

#include <array>
#include <limits>
#include <string_view>

#include "core/angle.h"
#include "core/birth_data.h"

namespace solvane::core {

inline constexpr int kBodyCount = 14;  // Sun..Pluto, Ascendant, Midheaven, Rahu, Ketu (see Body)

// The birth as entered and the zone offset the form chose for it (as `ChartState` stores it).
struct BirthMoment {
  BirthData birth;
  int zone_hours = 0;    // added to local clock time to get universal time
  int zone_minutes = 0;  // same sign as zone_hours, or 0
  // Same sign as zone_hours, or 0; -59..59. Only an exact offset ("Other offset…") has any: the
  // listed zones keep 0, and 0 changes no result.
  int zone_seconds = 0;
};

// How the lunar nodes are taken: the classic formulas' mean node with its fixed shift, or (precise
// engine) the mean or the true, osculating node.
enum class NodeKind { kClassic, kMean, kTrue };

inline constexpr double kUnknownSpeed = std::numeric_limits<double>::quiet_NaN();

// Every position of one chart, indexed by `Body`.
struct EnginePositions {
  std::array<Angle, kBodyCount> longitude{};  // sidereal, degrees
  // Degrees per day; kUnknownSpeed where the engine does not compute it.
  std::array<double, kBodyCount> speed = FilledSpeeds();
  std::array<bool, kBodyCount> retrograde{};
  double ayanamsa_offset = 0;  // degrees added to a tropical longitude (negative)
  NodeKind node = NodeKind::kClassic;
  bool to_the_second = false;  // whether the positions hold to the arc-second

  static constexpr std::array<double, kBodyCount> FilledSpeeds() {
    std::array<double, kBodyCount> speeds{};
    speeds.fill(kUnknownSpeed);
    return speeds;
  }
};

class PositionsEngine {
 public:
  virtual ~PositionsEngine() = default;
  // The engine's name as the output labels it: "classic", "precise".
  virtual std::string_view Name() const = 0;
  virtual EnginePositions Compute(const BirthMoment& moment) const = 0;
};

}  // namespace solvane::core
