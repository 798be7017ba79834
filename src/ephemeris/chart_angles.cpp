#include "ephemeris/chart_angles.h"

#include <cmath>

#include "core/angle.h"
#include "ephemeris/angles.h"
#include "ephemeris/constants.h"
#include "ephemeris/time_base.h"

namespace solvane::ephemeris {
namespace {

// Sidereal time at Greenwich, hours: its value at 1900 January 0.5, its rate per Julian century of
// universal time and the quadratic term.
constexpr double kSiderealHoursAt1900 = 6.6460656;
constexpr double kSiderealHoursPerCentury = 2400.0513;
constexpr double kSiderealHoursPerCenturySquared = 0.0000258;
constexpr double kDegreesPerHour = 15;
// Mean obliquity of the ecliptic, degrees, at 1900 and its change per Julian century.
constexpr double kObliquityAt1900 = 23.452294;
constexpr double kObliquityPerCentury = -0.0130125;

}  // namespace

TropicalAngles ComputeTropicalAngles(double jdn, double ut_hours, double longitude,
                                     double latitude) {
  const double t = JulianCenturies1900(jdn, ut_hours);
  double ramc = kDegreesPerHour * (ut_hours + kSiderealHoursAt1900 + kSiderealHoursPerCentury * t +
                                   kSiderealHoursPerCenturySquared * t * t) -
                longitude;
  // Subtracting 360 while >= 360 is exact at every step, so one fmod gives the same value; a
  // negative angle stays negative, as only its sine, cosine and tangent are used.
  if (ramc >= 360) ramc = std::fmod(ramc, 360.0);
  return AnglesFromRamc(ramc, t, latitude);
}

TropicalAngles AnglesFromRamc(double ramc_degrees, double t, double latitude) {
  TropicalAngles out{};
  out.ramc = ramc_degrees;
  const double ramc = ramc_degrees * DegToRad;
  const double obliquity = DegToRad * (kObliquityAt1900 + kObliquityPerCentury * t);

  // Fold each arctangent into a half turn, then pick the half turn by a sign.
  double m = ArcTan2(std::tan(ramc), std::cos(obliquity));
  if (m < 0) m += Pi;
  if (std::sin(ramc) < 0) m += Pi;
  out.midheaven = m * RadToDeg;

  const double x =
      -std::sin(ramc) * std::cos(obliquity) - std::sin(obliquity) * std::tan(latitude * DegToRad);
  const double y = std::cos(ramc);
  double a = ArcTan2(y, x);
  if (a < 0) a += Pi;
  if (std::cos(ramc) < 0) a += Pi;
  double ascendant = a * RadToDeg;
  while (ascendant >= 360) ascendant -= 360;
  out.ascendant = ascendant;
  return out;
}

SiderealAngles ComputeSiderealAngles(const core::BirthMoment& moment) {
  const core::BirthData& birth = moment.birth;
  const double ut = BirthUniversalHours(moment);
  const double jdn = JulianDayNumber(birth.Month, birth.Day, birth.Year);
  const double ayanamsa = AyanamsaOffset(JulianCenturies1900(jdn, ut));
  const TropicalAngles angles =
      ComputeTropicalAngles(jdn, ut, SignedLongitude(birth), SignedLatitude(birth));
  return {ayanamsa, core::WrapDegrees(angles.ascendant + ayanamsa),
          core::WrapDegrees(angles.midheaven + ayanamsa)};
}

}  // namespace solvane::ephemeris
