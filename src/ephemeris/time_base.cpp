#include "ephemeris/time_base.h"

#include <cmath>

#include "core/civil_date.h"
#include "ephemeris/constants.h"

namespace solvane::ephemeris {

using core::FloorDiv;

namespace {

constexpr long kMinutesPerDay = 1440;
constexpr double kHoursPerDay = 24;
constexpr double kDaysPerJulianCentury = 36525;
constexpr double kArcsecondsPerDegree = 3600;
// Julian day number of 1899-12-31, whose noon (J1900.0) the angles' centuries count from.
constexpr double kJ1900DayNumber = 2415020;
// Day count of 1999-12-31 (day 0 of `DayNumber2000`) in the civil-date formula's own count.
constexpr long kDayNumber2000Start = 730530;
// Lahiri ayanamsa terms, arc-seconds: the Moon's node at 1900 and its motion per century, twice
// the Sun's mean longitude at 1900 and its motion per century, and the ayanamsa at 1900 with the
// nutation terms' mean taken out.
constexpr double kNodeArcsecondsAt1900 = 933060;
constexpr double kNodeArcsecondsPerCentury = -6962911;
constexpr double kNodeArcsecondsPerCenturySquared = 7.5;
constexpr double kTwiceSunArcsecondsAt1900 = 2013816;
constexpr double kTwiceSunArcsecondsPerCentury = 259205536;
constexpr double kAyanamsaArcsecondsAt1900 = 80861.27;

}  // namespace

double SignedLongitude(const core::BirthData& birth) {
  const double l = birth.LongitudeDeg + birth.LongitudeMin / 60.0;
  return birth.East != 0 ? -l : l;
}

double SignedLatitude(const core::BirthData& birth) {
  const double b = birth.LatitudeDeg + birth.LatitudeMin / 60.0;
  return birth.South != 0 ? -b : b;
}

double BirthUniversalHours(const core::BirthData& birth, int zone_hours, int zone_minutes,
                           int zone_seconds) {
  const double local_hours = birth.Hour + birth.Minute / 60.0;
  // The shift is formed first, then added: for a longitude on the zone's own side of Greenwich this
  // is the hemisphere rule's arithmetic operation for operation, so those charts match it exactly.
  double shift = zone_hours + zone_minutes / 60.0;
  // Seconds only where an exact offset has them, so that the listed zones' sums stay as they were.
  if (zone_seconds != 0) shift += zone_seconds / 3600.0;
  if (birth.DaylightSaving != 0) shift -= 1;
  return local_hours + shift;
}

double BirthUniversalHours(const core::BirthMoment& moment) {
  return BirthUniversalHours(moment.birth, moment.zone_hours, moment.zone_minutes,
                             moment.zone_seconds);
}

CivilMoment AddMinutes(const CivilMoment& moment, long minutes) {
  const long total = core::DaysFromCivil(moment.year, moment.month, moment.day) * kMinutesPerDay +
                     moment.hour * 60L + moment.minute + minutes;
  const long days = FloorDiv(total, kMinutesPerDay);
  const long minute_of_day = total - days * kMinutesPerDay;
  const core::CivilDate date = core::CivilFromDays(days);
  CivilMoment out{date.year, date.month, date.day, 0, 0, moment.second};
  out.hour = static_cast<int>(minute_of_day / 60);
  out.minute = static_cast<int>(minute_of_day % 60);
  return out;
}

CivilMoment AddSeconds(const CivilMoment& moment, long seconds) {
  const long total = moment.second + seconds;
  const long minutes = FloorDiv(total, 60L);
  CivilMoment out = AddMinutes(moment, minutes);
  out.second = static_cast<int>(total - minutes * 60);
  return out;
}

CivilMoment BirthUniversalMoment(const core::BirthData& birth, int zone_hours, int zone_minutes,
                                 int zone_seconds) {
  const CivilMoment local{birth.Year, birth.Month, birth.Day, birth.Hour, birth.Minute};
  const long minutes = zone_hours * 60L + zone_minutes - (birth.DaylightSaving != 0 ? 60 : 0);
  return AddSeconds(local, minutes * 60 + zone_seconds);
}

CivilMoment BirthUniversalMoment(const core::BirthMoment& moment) {
  return BirthUniversalMoment(moment.birth, moment.zone_hours, moment.zone_minutes,
                              moment.zone_seconds);
}

double JulianDayNumber(int month, int day, int year) {
  const long m = month + 12L * (year + 4800) - 3;
  const long r = m - 12 * FloorDiv(m, 12);
  const long v = FloorDiv(365 * m + 7 + 2 * r, 12);
  long j = FloorDiv(m, 48) + day + v - 32083;
  if (j > 2299171) j = FloorDiv(m, 4800) + j - FloorDiv(m, 1200) + 38;
  return static_cast<double>(j);
}

double JulianCenturies1900(double jdn, double ut_hours) {
  return ((jdn - kJ1900DayNumber) + ut_hours / kHoursPerDay - 0.5) / kDaysPerJulianCentury;
}

double DayNumber2000(int year, int month, int day, int hour, int minute, int second) {
  const long whole = 367L * year - FloorDiv(7L * (year + FloorDiv(month + 9, 12)), 4) +
                     FloorDiv(275L * month, 9) + day - kDayNumber2000Start;
  double hours = hour + minute / 60.0;
  if (second != 0) hours += second / 3600.0;  // whole minutes keep their sums as they were
  return static_cast<double>(whole) + hours / kHoursPerDay;
}

double AyanamsaOffset(double t) {
  double node = (kNodeArcsecondsAt1900 + kNodeArcsecondsPerCentury * t +
                 kNodeArcsecondsPerCenturySquared * t * t) /
                kArcsecondsPerDegree;
  if (node >= 360) node = std::fmod(node, 360.0);  // the same as subtracting 360 while >= 360
  const double twice_sun =
      (kTwiceSunArcsecondsAt1900 + kTwiceSunArcsecondsPerCentury * t) / kArcsecondsPerDegree;
  const double nutation = 1.27 * std::sin(twice_sun * DegToRad) + 17.23 * std::sin(node * DegToRad);
  return (nutation - t * (5025.64 + 1.11 * t) - kAyanamsaArcsecondsAt1900) / kArcsecondsPerDegree;
}

}  // namespace solvane::ephemeris
