#include "vedic/nakshatra.h"

#include <cmath>

#include "core/angle.h"

namespace solvane::vedic {
namespace {

constexpr std::int64_t kMicro = 1'000'000;  // micro-arc-seconds per arc-second
constexpr std::int64_t kNakshatraMicro = kNakshatraArcSeconds * kMicro;
constexpr std::int64_t kPadaMicro = kPadaArcSeconds * kMicro;
constexpr std::int64_t kTurnMicro = kTurnArcSeconds * kMicro;
constexpr double kMicroPerDegree = 3600.0 * 1e6;

}  // namespace

std::int64_t MicroArcSeconds(double sidereal_degrees) {
  if (!std::isfinite(sidereal_degrees)) return 0;
  // Engines deliver longitudes already in [0, 360): skip the wrapping's fmod, a quarter of the
  // table's cost.
  const double degrees = sidereal_degrees >= 0 && sidereal_degrees < core::kDegreesPerTurn
                             ? sidereal_degrees
                             : core::WrapDegrees(sidereal_degrees);
  // Non-negative, so adding a half and truncating rounds to nearest, cheaper than llround.
  const auto micro = static_cast<std::int64_t>(degrees * kMicroPerDegree + 0.5);
  // Just below a whole turn rounds up to it, which is 0° Aries again.
  return micro >= kTurnMicro ? micro - kTurnMicro : micro;
}

NakshatraPlace NakshatraOf(double sidereal_degrees) {
  const std::int64_t micro = MicroArcSeconds(sidereal_degrees);
  NakshatraPlace place;
  place.index = static_cast<int>(micro / kNakshatraMicro);
  const std::int64_t within = micro - place.index * kNakshatraMicro;
  place.pada = static_cast<int>(within / kPadaMicro) + 1;
  place.lord = static_cast<Lord>(place.index % kLordCount);
  place.fraction_remaining =
      static_cast<double>(kNakshatraMicro - within) / static_cast<double>(kNakshatraMicro);
  return place;
}

int NavamsaSignIndex(double sidereal_degrees) {
  return static_cast<int>(MicroArcSeconds(sidereal_degrees) / kPadaMicro % core::kSignCount);
}

}  // namespace solvane::vedic
