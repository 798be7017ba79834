#include "ephemeris/chart_angles.h"

#include <cmath>

#include "ephemeris/angles.h"
#include "ephemeris/constants.h"
#include "ephemeris/time_base.h"

namespace solvane::ephemeris {

TropicalAngles ComputeTropicalAngles(double jdn, double ut_hours, double longitude,
                                     double latitude) {
  const double t = JulianCenturies1900(jdn, ut_hours);
  double ramc = 15 * (ut_hours + 6.6460656 + 2400.0513 * t + 0.0000258 * t * t) - longitude;
  // Subtracting 360 while >= 360 is exact at every step, so one fmod gives the same value; a
  // negative angle stays negative, as only its sine, cosine and tangent are used.
  if (ramc >= 360) ramc = std::fmod(ramc, 360.0);
  return AnglesFromRamc(ramc, t, latitude);
}

TropicalAngles AnglesFromRamc(double ramc_degrees, double t, double latitude) {
  TropicalAngles out{};
  out.ramc = ramc_degrees;
  const double ramc = ramc_degrees * DegToRad;
  const double obliquity = DegToRad * (23.452294 - 0.0130125 * t);

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

void CalcChartAngles(core::ChartState& state) {
  const core::BirthData& birth = state.birth;
  const double ut = BirthUniversalHours(birth, state.ZoneHours, state.ZoneMinutes);
  const double jdn = JulianDayNumber(birth.Month, birth.Day, birth.Year);
  state.AyanamsaOffset = AyanamsaOffset(JulianCenturies1900(jdn, ut));
  const TropicalAngles angles =
      ComputeTropicalAngles(jdn, ut, SignedLongitude(birth), SignedLatitude(birth));
  state.AscendantString =
      FormatSignPosition(NormalizeDegrees(angles.ascendant + state.AyanamsaOffset));
  state.MidheavenString =
      FormatSignPosition(NormalizeDegrees(angles.midheaven + state.AyanamsaOffset));
}

}  // namespace solvane::ephemeris
