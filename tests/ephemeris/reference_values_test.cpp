// The classic formulas against published worked examples: J. Meeus, Astronomical Algorithms, 2nd
// edition (Willmann-Bell, 1998). Each tolerance is what the classic formulas are good for, stated
// per quantity; a fault in a constant or a time argument moves the result far beyond it.
#include <gtest/gtest.h>

#include "ephemeris/chart_angles.h"
#include "ephemeris/orbits.h"
#include "ephemeris/time_base.h"
#include "vedic/moon.h"

namespace solvane::ephemeris {
namespace {

// Tropical longitude on the mean equinox of date of an element-set body at a civil moment (time
// given in TT, which the examples use; the formulas do not tell the scales apart).
double OfDate(int body, int year, int month, int day) {
  const double d = DayNumber2000(year, month, day, 0, 0);
  return GeocentricLongitude(body, d) + PrecessionSinceJ2000(d);
}

TEST(ReferenceValues, SunAndPlanetsFromTheElementSets) {
  struct Case {
    const char* source;
    int body, year, month, day;
    double want, tolerance;  // degrees
  };
  const Case cases[] = {
      // Example 25.b: the Sun's geometric longitude, 1992 Oct 13.0 TD, from the full VSOP87.
      {"Meeus 25.b, Sun", kOrbitEarth, 1992, 10, 13, 199.907372, 0.001},
      // Example 33.a: Venus, 1992 Dec 20.0 TD, apparent (the classic formulas leave out ~20" of
      // aberration and nutation).
      {"Meeus 33.a, Venus", kOrbitVenus, 1992, 12, 20, 313.08102, 0.01},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(OfDate(c.body, c.year, c.month, c.day), c.want, c.tolerance) << c.source;
}

TEST(ReferenceValues, MoonFromTheLeadingTerms) {
  // Example 47.a: 1992 Apr 12.0 TD, T = -0.077221081451, lambda = 133.162655 from the full table;
  // the 25 leading terms come within 0.01 degrees.
  EXPECT_NEAR(vedic::MoonTropicalLongitude(-0.077221081451), 133.162655, 0.01);
}

TEST(ReferenceValues, MeanSiderealTimeAtGreenwich) {
  struct Case {
    const char* source;
    double ut_hours;
    double want;  // degrees
  };
  const Case cases[] = {
      {"Meeus 12.a, 1987 Apr 10 0h UT: 13h10m46.3668s", 0, 197.693195},
      {"Meeus 12.b, 1987 Apr 10 19h21m UT", 19.35, 128.7378734},
  };
  const double jdn = JulianDayNumber(4, 10, 1987);
  // Newcomb's expression of the formulas agrees with the IAU 1982 one to about a second of arc.
  for (const Case& c : cases)
    EXPECT_NEAR(ComputeTropicalAngles(jdn, c.ut_hours, 0, 0).ramc, c.want, 0.001) << c.source;
}

}  // namespace
}  // namespace solvane::ephemeris
