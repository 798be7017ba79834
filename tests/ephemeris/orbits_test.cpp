#include "ephemeris/orbits.h"

#include <gtest/gtest.h>

#include "ephemeris/constants.h"

namespace solvane::ephemeris {
namespace {

// The element set evaluated with its time counted from the start of the day count (epoch 0), which
// is the chart's evaluation 1.5 days later: reference values for that evaluation.
TEST(GeocentricLongitude, ElementSetCountedFromDayZero) {
  struct Case {
    int body;
    double d, want;
  };
  const Case cases[] = {
      {kOrbitMercury, 1.5, 274.2462}, {kOrbitVenus, 1.5, 243.3924},   {kOrbitEarth, 1.5, 281.9085},
      {kOrbitMars, 1.5, 329.1465},    {kOrbitJupiter, 1.5, 25.4256},  {kOrbitSaturn, 1.5, 40.1873},
      {kOrbitUranus, 1.5, 314.8661},  {kOrbitNeptune, 1.5, 303.2452}, {kOrbitPluto, 1.5, 251.5066},
      {kOrbitEarth, 0, 280.3796},     {kOrbitMercury, 0, 271.9060},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(GeocentricLongitude(c.body, c.d + kJ2000DayNumber), c.want, 1e-4) << c.body << " d=" << c.d;
}

TEST(GeocentricLongitude, J2000EpochMatchesTheSky) {
  // The Sun's apparent longitude at 2000-01-01 12h is 280.368 (Astronomical Almanac); the model
  // leaves out ~20" of aberration and nutation. Evaluated at J2000.0 the elements agree; counted
  // from day zero they put the Sun 1.5 days (about 1.5 degrees) ahead of the sky.
  EXPECT_NEAR(GeocentricLongitude(kOrbitEarth, kJ2000DayNumber), 280.368, 0.02);
  EXPECT_NEAR(GeocentricLongitude(kOrbitEarth, 2 * kJ2000DayNumber), 280.368 + 1.53, 0.02);
}

TEST(OrbitalElements, EarthAtDay1p5CountedFromDayZero) {
  const OrbitalElementSet e = OrbitalElements(kOrbitEarth, 2 * kJ2000DayNumber);
  EXPECT_NEAR(e.a, 1.00000011, 1e-9);
  EXPECT_NEAR(e.e, 0.0167102, 1e-7);
  EXPECT_NEAR(e.i, 0.0000008633, 1e-10);
  EXPECT_NEAR(e.N, -0.19654, 1e-5);  // a negative node is used as it comes
  EXPECT_NEAR(e.P, 1.79677, 1e-5);
  EXPECT_NEAR(e.L, 1.77924, 1e-5);
  // At J2000.0 itself the elements are their table bases.
  const OrbitalElementSet j = OrbitalElements(kOrbitEarth, kJ2000DayNumber);
  EXPECT_DOUBLE_EQ(j.e, 0.01671022);
  EXPECT_DOUBLE_EQ(j.P, DegToRad * 102.94719);
}

TEST(TrueAnomaly, ApsidesAndKeplersEquation) {
  for (double e : {0.00677323, 0.01671022, 0.09341233, 0.20563069, 0.24880766}) {
    EXPECT_EQ(TrueAnomaly(0, e), 0) << e;
    EXPECT_NEAR(TrueAnomaly(Pi, e), Pi, 1e-9) << e;
    // Away from the apsides the true anomaly runs ahead of the mean anomaly before aphelion.
    EXPECT_GT(TrueAnomaly(1.0, e), 1.0) << e;
    EXPECT_LT(TrueAnomaly(TwoPi - 1.0, e), TwoPi - 1.0) << e;
  }
}

TEST(PrecessionSinceJ2000, GeneralPrecessionInLongitude) {
  EXPECT_EQ(PrecessionSinceJ2000(kJ2000DayNumber), 0);
  EXPECT_NEAR(PrecessionSinceJ2000(kJ2000DayNumber - 36525), -1.3967, 1e-4);   // 1900
  EXPECT_NEAR(PrecessionSinceJ2000(kJ2000DayNumber + 18262.5), 0.6986, 1e-4);  // 2050
}

}  // namespace
}  // namespace solvane::ephemeris
