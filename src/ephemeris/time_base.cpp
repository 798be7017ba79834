#include "ephemeris/time_base.h"

#include <cmath>

#include "core/civil_date.h"
#include "ephemeris/constants.h"

namespace solvane::ephemeris {

using core::FloorDiv;

double SignedLongitude(const core::BirthData& birth) {
  const double l = birth.LongitudeDeg + birth.LongitudeMin / 60.0;
  return birth.East != 0 ? -l : l;
}

double SignedLatitude(const core::BirthData& birth) {
  const double b = birth.LatitudeDeg + birth.LatitudeMin / 60.0;
  return birth.South != 0 ? -b : b;
}

AnglesTime AnglesUniversalTime(const core::BirthData& birth) {
  AnglesTime t{};
  t.local_hours = birth.Hour + birth.Minute / 60.0;
  t.zone_hours = birth.ZoneHoursAbs + birth.ZoneMinutesAbs / 60.0;
  t.longitude = SignedLongitude(birth);
  t.latitude = SignedLatitude(birth);
  if (birth.DaylightSaving != 0) t.zone_hours += t.longitude < 0 ? 1 : -1;
  t.universal = t.longitude < 0 ? t.local_hours - t.zone_hours : t.local_hours + t.zone_hours;
  return t;
}

double BirthUniversalHours(const core::BirthData& birth, int zone_hours, int zone_minutes) {
  const double local_hours = birth.Hour + birth.Minute / 60.0;
  // The shift is formed first, then added: for a longitude on the zone's own side of Greenwich this
  // is the hemisphere rule's arithmetic operation for operation, so those charts match it exactly.
  double shift = zone_hours + zone_minutes / 60.0;
  if (birth.DaylightSaving != 0) shift -= 1;
  return local_hours + shift;
}

CivilMoment AddMinutes(const CivilMoment& moment, long minutes) {
  const long total = core::DaysFromCivil(moment.year, moment.month, moment.day) * 1440L +
                     moment.hour * 60L + moment.minute + minutes;
  const long days = FloorDiv(total, 1440);
  const long minute_of_day = total - days * 1440;
  const core::CivilDate date = core::CivilFromDays(days);
  CivilMoment out{date.year, date.month, date.day, 0, 0};
  out.hour = static_cast<int>(minute_of_day / 60);
  out.minute = static_cast<int>(minute_of_day % 60);
  return out;
}

CivilMoment PlanetsUniversalMoment(const core::BirthData& birth, int zone_hours, int zone_minutes) {
  const CivilMoment local{birth.Year, birth.Month, birth.Day, birth.Hour, birth.Minute};
  return AddMinutes(local, zone_hours * 60L + zone_minutes);
}

CivilMoment BirthUniversalMoment(const core::BirthData& birth, int zone_hours, int zone_minutes) {
  const CivilMoment local{birth.Year, birth.Month, birth.Day, birth.Hour, birth.Minute};
  return AddMinutes(local, zone_hours * 60L + zone_minutes - (birth.DaylightSaving != 0 ? 60 : 0));
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
  return ((jdn - 2415020) + ut_hours / 24 - 0.5) / 36525;
}

double DayNumber2000(int year, int month, int day, int hour, int minute) {
  const long whole = 367L * year - FloorDiv(7L * (year + FloorDiv(month + 9, 12)), 4) +
                     FloorDiv(275L * month, 9) + day - 730530;
  return static_cast<double>(whole) + (hour + minute / 60.0) / 24;
}

double AyanamsaOffset(double t) {
  double node = (933060 - 6962911 * t + 7.5 * t * t) / 3600;
  if (node >= 360) node = std::fmod(node, 360.0);  // the same as subtracting 360 while >= 360
  const double twice_sun = (2013816 + 259205536 * t) / 3600;
  const double nutation = 1.27 * std::sin(twice_sun * DegToRad) + 17.23 * std::sin(node * DegToRad);
  return (nutation - t * (5025.64 + 1.11 * t) - 80861.27) / 3600;
}

}  // namespace solvane::ephemeris
