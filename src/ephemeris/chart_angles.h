// Sidereal Ascendant and Midheaven of the birth moment.
#pragma once

#include "core/chart_state.h"

namespace solvane::ephemeris {

// Tropical angles, degrees, and the local sidereal angle they come from.
struct TropicalAngles {
  double ramc;       // local sidereal angle, degrees, before conversion to radians
  double midheaven;  // 0..360
  double ascendant;  // 0..360
};

// Midheaven and Ascendant from the local sidereal angle `ramc_degrees`, centuries `t` from 1900
// (for the obliquity) and the signed latitude in degrees.
TropicalAngles AnglesFromRamc(double ramc_degrees, double t, double latitude);

// Midheaven and Ascendant for Julian day number `jdn`, universal hours `ut_hours`, signed longitude
// (positive West) and latitude (positive North), degrees.
TropicalAngles ComputeTropicalAngles(double jdn, double ut_hours, double longitude,
                                     double latitude);

// Reads the birth and the zone offset of `state`; writes `AyanamsaOffset`, `AscendantString` and
// `MidheavenString`. Runs before the Moon and the planets, which read all three.
void CalcChartAngles(core::ChartState& state);

}  // namespace solvane::ephemeris
