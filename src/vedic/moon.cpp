#include "vedic/moon.h"

#include <array>
#include <cmath>

#include "core/angle.h"
#include "ephemeris/constants.h"
#include "ephemeris/time_base.h"

namespace solvane::vedic {
namespace {

using ephemeris::DegToRad;

// One periodic term of the Moon's longitude: coefficient (degrees) times the sine of
// d*D + m*M + mp*M' + f*F; `eccentric` rows are multiplied once more by E.
struct LunarTerm {
  double coefficient;
  int d, m, mp, f;
  bool eccentric;
};

// The 25 leading terms of the Moon's longitude, in the order of Meeus' table 47.A.
constexpr std::array<LunarTerm, 25> MoonLongitudeTerms = {{
    {+6.288774, 0, 0, 1, 0, false},  {+1.274027, 2, 0, -1, 0, false},
    {+0.658314, 2, 0, 0, 0, false},  {+0.213618, 0, 0, 2, 0, false},
    {-0.185116, 0, 1, 0, 0, true},   {-0.114332, 0, 0, 0, 2, false},
    {+0.058793, 2, 0, -2, 0, false}, {+0.057066, 2, -1, -1, 0, true},
    {+0.053322, 2, 0, 1, 0, false},  {+0.045758, 2, -1, 0, 0, true},
    {-0.040923, 0, 1, -1, 0, true},  {-0.034720, 1, 0, 0, 0, false},
    {-0.030383, 0, 1, 1, 0, true},   {+0.015327, 2, 0, 0, -2, false},
    {-0.012528, 0, 0, 1, 2, false},  {+0.010980, 0, 0, 1, -2, false},
    {+0.010675, 4, 0, -1, 0, false}, {+0.010034, 0, 0, 3, 0, false},
    {+0.008548, 4, 0, -2, 0, false}, {-0.007888, 2, 1, -1, 0, true},
    {-0.006766, 2, 1, 0, 0, true},   {-0.005163, 1, 0, -1, 0, false},
    {+0.004987, 1, 1, 0, 0, true},   {+0.004036, 2, -1, 1, 0, true},
    {+0.003994, 2, 0, 2, 0, false},
}};

// Moon-sign labels, Aries first.
constexpr std::array<std::string_view, core::kSignCount> kRashiNames = {
    "Aries (Mesha)",       "Taurus (Vrishabha)",    "Gemini (Mithuna)",   "Cancer (Kataka)",
    "Leo (Simha)",         "Virgo (Kanya)",         "Libra (Thula)",      "Scorpio (Vrishcika)",
    "Sagittarius (Dhanush)", "Capricorn (Makara)", "Aquarius (Kumbha)", "Pisces (Meena)"};

// Julian day of J2000.0, 2000 January 1 at 12h, which the lunar series' centuries count from.
constexpr double kJ2000JulianDay = 2451545;
constexpr double kHoursPerDay = 24;
constexpr double kDaysPerJulianCentury = 36525;

// A sum of multiples of the arguments, formed the way the table writes it (2D - M' is 2*D - M').
double Argument(const LunarTerm& term, double d, double m, double mp, double f) {
  double sum = 0;
  bool first = true;
  const auto add = [&](int k, double x) {
    if (k == 0) return;
    const double part = (k == 1 || k == -1) ? x : std::abs(k) * x;
    if (first) {
      sum = k < 0 ? -part : part;
      first = false;
    } else {
      sum = k < 0 ? sum - part : sum + part;
    }
  };
  add(term.d, d);
  add(term.m, m);
  add(term.mp, mp);
  add(term.f, f);
  return sum;
}

}  // namespace

double AyanamsaOffset2000(double t) {
  const double node = 125.044555 - 1934.1361849 * t + 0.0020762 * t * t;
  const double sun = 280.466449 + 36000.7698231 * t + 0.0003106 * t * t;
  const double x = 17.23 * std::sin(node * DegToRad) + 1.27 * std::sin(2 * sun * DegToRad) -
                   (5025.64 + 1.11 * t) * t;
  return (x - 85886.27) / 3600;
}

double MoonTropicalLongitude(double t) {
  const double mean_longitude = 218.3164591 + 481267.88134236 * t;
  const double d = 297.8502042 + 445267.1115168 * t;
  const double m = 357.5291092 + 35999.0502909 * t;
  const double mp = 134.9634114 + 477198.8676313 * t;
  const double f = 93.2720993 + 483202.0175273 * t;
  const double e = 1 - 0.002516 * t - 0.0000074 * t * t;

  double sum = 0;
  for (const LunarTerm& term : MoonLongitudeTerms) {
    double value = term.coefficient * std::sin(Argument(term, d, m, mp, f) * DegToRad);
    if (term.eccentric) value *= e;
    sum += value;
  }

  // Whole turns are taken off at once; each turn the step-by-step loop would subtract is exact, so
  // the remainder is the same. The bounds stay strict: exactly 0 and exactly 360 are kept.
  double lambda = mean_longitude + sum;
  if (lambda < 0) {
    lambda = std::fmod(lambda, 360.0);
    if (lambda < 0) lambda += 360;
  }
  if (lambda > 360) {
    const double r = std::fmod(lambda, 360.0);
    lambda = r == 0 ? 360 : r;
  }
  return lambda;
}

std::string_view RashiName(int sign) {
  return sign >= 0 && sign < core::kSignCount ? kRashiNames[sign] : std::string_view{};
}

double MoonSiderealLongitude(const core::BirthMoment& moment) {
  const core::BirthData& birth = moment.birth;
  const double ut = ephemeris::BirthUniversalHours(moment);  // an exact offset to the second
  const double jdn = ephemeris::JulianDayNumber(birth.Month, birth.Day, birth.Year);
  const double t = (jdn - kJ2000JulianDay + ut / kHoursPerDay - 0.5) / kDaysPerJulianCentury;
  return core::WrapDegrees(MoonTropicalLongitude(t) + AyanamsaOffset2000(t));
}

}  // namespace solvane::vedic
