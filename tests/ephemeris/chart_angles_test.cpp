#include "ephemeris/chart_angles.h"

#include <gtest/gtest.h>

#include "ephemeris/time_base.h"
#include "run/chart_run.h"
#include "test_births.h"

namespace solvane::ephemeris {
namespace {

TEST(ComputeTropicalAngles, ReferenceBirths) {
  struct Case {
    const char* what;
    core::ChartState state;
    double jdn, ut, t, ramc, midheaven, ascendant;
  };
  const Case cases[] = {
      {"London 2000-01-01 12:00", testing::London2000(), 2451545, 12, 1, 280.46087, 279.6145,
       24.2979},
      {"Delhi 1980-08-15 06:30", testing::Delhi1980(), 2444467, 1.0, 0.8062024, 55.8137, -1, -1},
  };
  for (const Case& c : cases) {
    const core::BirthData& b = c.state.birth;
    const double jdn = JulianDayNumber(b.Month, b.Day, b.Year);
    const double ut = BirthUniversalHours(b, c.state.ZoneHours, c.state.ZoneMinutes);
    EXPECT_EQ(jdn, c.jdn) << c.what;
    EXPECT_DOUBLE_EQ(ut, c.ut) << c.what;
    EXPECT_NEAR(JulianCenturies1900(jdn, ut), c.t, 1e-7) << c.what;
    const TropicalAngles a = ComputeTropicalAngles(jdn, ut, SignedLongitude(b), SignedLatitude(b));
    EXPECT_NEAR(a.ramc, c.ramc, 1e-4) << c.what;
    if (c.midheaven >= 0) {
      EXPECT_NEAR(a.midheaven, c.midheaven, 1e-4) << c.what;
    }
    if (c.ascendant >= 0) {
      EXPECT_NEAR(a.ascendant, c.ascendant, 1e-4) << c.what;
    }
  }
}

TEST(AnglesFromRamc, EquatorAtZeroSiderealAngle) {
  // x = 0 and y = 1: the Ascendant is a quarter turn from the Midheaven at 0.
  const TropicalAngles a = AnglesFromRamc(0, 1, 0);
  EXPECT_NEAR(a.ascendant, 90.0, 1e-12);
  EXPECT_NEAR(a.midheaven, 0.0, 1e-12);
}

TEST(AnglesFromRamc, HalfTurnsFollowTheSigns) {
  // The Midheaven lies below 180 while sin(RAMC) >= 0, the Ascendant while cos(RAMC) >= 0.
  for (double ramc = 1; ramc < 360; ramc += 7.3) {
    const TropicalAngles a = AnglesFromRamc(ramc, 0.9, 40);
    EXPECT_EQ(a.midheaven < 180, ramc < 180) << ramc;
    EXPECT_EQ(a.ascendant < 180, ramc < 90 || ramc > 270) << ramc;
    EXPECT_NEAR(a.midheaven, ramc, 2.5) << "the Midheaven stays near the sidereal angle";
  }
}

TEST(CalcChartAngles, LongTextsOfTheReferenceBirths) {
  struct Case {
    const char* what;
    core::ChartState state;
    const char* ascendant;
    const char* midheaven;
    double ayanamsa;
  };
  const Case cases[] = {
      {"London", testing::London2000(), "0\xC2\xB0 26' 38\" Ari", "15\xC2\xB0 45' 37\" Sag",
       -23.85399},
      {"Delhi", testing::Delhi1980(), "6\xC2\xB0 28' 56\" Leo", "4\xC2\xB0 29' 5\" Tau",
       -23.584},  // Lahiri, August 1980: 23° 35'.
  };
  for (Case c : cases) {
    run::CalculateChart(c.state);
    EXPECT_EQ(c.state.AscendantString, c.ascendant) << c.what;
    EXPECT_EQ(c.state.MidheavenString, c.midheaven) << c.what;
    EXPECT_NEAR(c.state.AyanamsaOffset, c.ayanamsa, 1e-3) << c.what;
  }
}

TEST(CalcChartAngles, DaylightSavingMovesTheAnglesAnHourBack) {
  auto plain = testing::Delhi1980();
  auto summer = testing::Delhi1980();
  summer.birth.DaylightSaving = core::kTrue;
  auto earlier = testing::Delhi1980();
  earlier.birth.Hour = 5;  // 05:30 standard time is the same moment as 06:30 summer time
  run::CalculateChart(plain);
  run::CalculateChart(summer);
  run::CalculateChart(earlier);
  EXPECT_NE(summer.AscendantString, plain.AscendantString);
  EXPECT_EQ(summer.AscendantString, earlier.AscendantString);
  EXPECT_EQ(summer.MidheavenString, earlier.MidheavenString);
}

}  // namespace
}  // namespace solvane::ephemeris
