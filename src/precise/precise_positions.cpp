#include "precise/precise_positions.h"

#include "core/chart_state.h"
#include "core/civil_date.h"
#include "precise/precise_engine.h"

namespace solvane::precise {
namespace {

constexpr double kJulianDayOf1970 = 2440587.5;  // 1970-01-01 0h UT
constexpr double kMinutesPerDay = 1440;
constexpr double kSecondsPerDay = 86400;

}  // namespace

double BirthJulianDayUt(const core::BirthMoment& moment) {
  const core::BirthData& b = moment.birth;
  const long local_minutes = b.Hour * 60L + b.Minute;
  const long zone_minutes = moment.zone_hours * 60L + moment.zone_minutes;
  const long summer_minutes = b.DaylightSaving != 0 ? 60 : 0;
  const long minutes = local_minutes + zone_minutes - summer_minutes;
  const double day_fraction =
      moment.zone_seconds == 0
          ? static_cast<double>(minutes) / kMinutesPerDay
          : static_cast<double>(minutes * 60 + moment.zone_seconds) / kSecondsPerDay;
  return kJulianDayOf1970 + static_cast<double>(core::DaysFromCivil(b.Year, b.Month, b.Day)) +
         day_fraction;
}

core::EnginePositions PrecisePositions::Compute(const core::BirthMoment& moment) const {
  const core::BirthData& b = moment.birth;
  PreciseInput input;
  input.jd_ut = BirthJulianDayUt(moment);
  const double longitude = b.LongitudeDeg + b.LongitudeMin / 60.0;
  const double latitude = b.LatitudeDeg + b.LatitudeMin / 60.0;
  input.longitude_east_deg = b.East != 0 ? longitude : -longitude;
  input.latitude_north_deg = b.South != 0 ? -latitude : latitude;
  input.node = node_ == core::NodeKind::kTrue ? NodeKind::kTrue : NodeKind::kMean;
  const PreciseChart chart = ComputePreciseChart(input);

  core::EnginePositions out;
  for (int i = 0; i < core::kBodyCount; ++i) {
    out.longitude[i] = core::Angle::Wrapped(chart.longitude[i]);
    out.speed[i] = chart.speed[i];
  }
  for (int i = core::kMercury; i <= core::kPluto; ++i) out.retrograde[i] = chart.speed[i] < 0;
  out.ayanamsa_offset = -chart.ayanamsa_true_deg;
  out.node = node_ == core::NodeKind::kTrue ? core::NodeKind::kTrue : core::NodeKind::kMean;
  out.to_the_second = true;
  return out;
}

}  // namespace solvane::precise
