// The arc-second positions engine: apparent geocentric longitudes of the Sun, the Moon and the
// planets Mercury to Pluto, the lunar nodes and the chart's angles, tropical (true equinox and
// ecliptic of date) and sidereal (Lahiri), from fitted tables of published theories.
#pragma once

#include <array>

#include "core/chart_state.h"
#include "core/result.h"

namespace solvane::precise {

enum class NodeKind { kMean, kTrue };

struct PreciseInput {
  double jd_ut;               // Julian day, universal time
  double longitude_east_deg;  // observer, degrees, east positive
  double latitude_north_deg;  // degrees, north positive
  NodeKind node = NodeKind::kMean;
};

struct PreciseChart {
  std::array<double, core::kPositionCount> longitude;  // sidereal degrees in [0, 360), by Body
  std::array<double, core::kPositionCount> tropical;   // apparent tropical longitude of date
  std::array<double, core::kPositionCount> speed;      // degrees per day; NaN for the angles
  double ayanamsa_true_deg;                            // positive
  double ayanamsa_mean_deg;
  double jd_tt;
  double delta_t_seconds;
};

// Births from 1901-01-01 to 2050-12-31 in any time zone: universal times from 1900-12-31 0h to
// 2051-01-02 0h.
inline constexpr double kFirstJdUt = 2415384.5;  // 1900-12-31 0h UT
inline constexpr double kEndJdUt = 2470173.5;    // 2051-01-02 0h UT

// The whole chart for one instant and place. Expects finite inputs with `jd_ut` in
// [kFirstJdUt, kEndJdUt) and a latitude within +-90 degrees; an instant outside the tables' reach
// (1900 to 2051) is taken at their edge rather than read past it.
PreciseChart ComputePreciseChart(const PreciseInput& input);

// The same, refusing inputs outside the range above with a message for the user.
core::Result<PreciseChart> ComputePreciseChartChecked(const PreciseInput& input);

// TT - UT1 in seconds (UT1 is taken as UT): measured values to May 2023, then a straight line at
// the mean rate of the last ten measured years.
double DeltaTSeconds(double jd_ut);

// Lahiri's ayanamsa in degrees at `jd_tt`: the true value (mean plus the nutation in longitude of
// the date) or the mean one.
double LahiriAyanamsa(double jd_tt, bool true_value);

}  // namespace solvane::precise
