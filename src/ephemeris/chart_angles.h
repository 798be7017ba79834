// Sidereal Ascendant and Midheaven of the birth moment.
#pragma once

#include "core/positions_engine.h"

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

// The ayanamsa of the birth moment and the sidereal Ascendant and Midheaven, degrees in [0, 360).
struct SiderealAngles {
  double ayanamsa_offset;  // degrees added to a tropical longitude (negative)
  double ascendant;
  double midheaven;
};
SiderealAngles ComputeSiderealAngles(const core::BirthMoment& moment);

}  // namespace solvane::ephemeris
