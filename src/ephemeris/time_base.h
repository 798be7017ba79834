// Time base of the chart: from the civil birth moment to the arguments of the formulas.
#pragma once

#include <cstdint>

#include "core/birth_data.h"
#include "core/positions_engine.h"

namespace solvane::ephemeris {

// Universal hours of the birth for the chart angles and the Moon: local clock time plus the signed
// zone offset (`zone_hours`, `zone_minutes`, `zone_seconds` as stored in the chart state), one
// hour less with daylight saving. Not brought into 0..24: the date stays the civil birth date.
double BirthUniversalHours(const core::BirthData& birth, int zone_hours, int zone_minutes,
                           int zone_seconds = 0);
// The same for the moment an engine is handed.
double BirthUniversalHours(const core::BirthMoment& moment);

// Signed geographic longitude (positive West) and latitude (positive North), in degrees.
double SignedLongitude(const core::BirthData& birth);
double SignedLatitude(const core::BirthData& birth);

// A calendar moment to the second.
struct CivilMoment {
  int year, month, day, hour, minute;
  int second = 0;
  friend bool operator==(const CivilMoment&, const CivilMoment&) = default;
};

// `moment` moved by `minutes` or `seconds` (may be negative), with ordinary Gregorian calendar
// arithmetic.
CivilMoment AddMinutes(const CivilMoment& moment, long minutes);
CivilMoment AddSeconds(const CivilMoment& moment, long seconds);

// The universal birth moment used for the Sun, planets and nodes: the local birth moment plus the
// signed zone offset, and 60 minutes earlier when the clock showed daylight-saving time.
CivilMoment BirthUniversalMoment(const core::BirthData& birth, int zone_hours, int zone_minutes,
                                 int zone_seconds = 0);
CivilMoment BirthUniversalMoment(const core::BirthMoment& moment);

// Julian day number of a civil date: Julian calendar up to 1582-10-15, Gregorian from the next day.
double JulianDayNumber(int month, int day, int year);

// Julian centuries since 1899-12-31 12h UT, for Julian day number `jdn` and `ut_hours` (may lie
// outside 0..24; the excess carries into the day fraction).
double JulianCenturies1900(double jdn, double ut_hours);

// Days since 1999-12-31 0h UT (1.5 at J2000.0), valid from 1900-03-01 to 2100-02-28.
double DayNumber2000(int year, int month, int day, int hour, int minute, int second = 0);

// Lahiri ayanamsa with nutation, sign reversed (degrees, negative): add it to a tropical longitude.
// `t` is in Julian centuries from 1900 (`JulianCenturies1900`).
double AyanamsaOffset(double t);

}  // namespace solvane::ephemeris
