#include "run/chart_run.h"

#include <gtest/gtest.h>

#include "entry/sample.h"
#include "test_births.h"

namespace solvane::run {
namespace {

TEST(RunChartCalculations, RefusedFormChangesNothing) {
  core::ChartState state;
  ASSERT_TRUE(RunChartCalculations(testing::LondonForm(), state));
  const core::ChartState before = state;
  entry::BirthFormSnapshot bad = testing::LondonForm();
  bad.txtName = "DIFFERENT";
  bad.txtLatD = "95";
  const auto refusal = testing::RefusalOf(RunChartCalculations(bad, state));
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->focus, "txtLatD");
  EXPECT_EQ(state.birth, before.birth);
  EXPECT_EQ(state.PositionStrings, before.PositionStrings);
  EXPECT_EQ(state.RashiName, before.RashiName);
}

TEST(RunChartCalculations, WholeChartOfTheReferenceBirths) {
  struct Case {
    const char* what;
    entry::BirthFormSnapshot form;
    const char* ascendant;
    const char* rashi;
    std::array<const char*, 7> body_names;
  };
  const entry::BirthFormSnapshot delhi = entry::SampleBirth();  // 15 August 1980, New Delhi
  const Case cases[] = {
      {"London 2000",
       testing::LondonForm(),
       "00 Ari 26",
       "Libra (Thula)",
       {"Sun", "Moon", "Mercury", "Venus", "Mars", "Jupiter", "Saturn (R) "}},
      {"Delhi 1980",
       delhi,
       "06 Leo 28",
       nullptr,
       {"Sun", "Moon", "Mercury", "Venus", "Mars", "Jupiter", "Saturn"}},
  };
  for (const Case& c : cases) {
    core::ChartState state;
    ASSERT_TRUE(RunChartCalculations(c.form, state)) << c.what;
    EXPECT_EQ(state.PositionStrings[core::kAscendant], c.ascendant) << c.what;
    if (c.rashi) {
      EXPECT_EQ(state.RashiName, c.rashi) << c.what;
    }
    for (int i = 0; i < core::kWheelBodyCount; ++i)
      EXPECT_EQ(state.BodyNames[i], c.body_names[i]) << c.what;
  }
}

TEST(RunChartCalculations, SecondsNeverCountAndRunsRepeat) {
  entry::BirthFormSnapshot form = testing::LondonForm();
  core::ChartState first, again;
  ASSERT_TRUE(RunChartCalculations(form, first));
  form.cboSS = 59;
  ASSERT_TRUE(RunChartCalculations(form, again));
  ASSERT_TRUE(RunChartCalculations(form, again));  // a second run on the same state
  EXPECT_EQ(first.PositionStrings, again.PositionStrings);
  EXPECT_EQ(first.BodyNames, again.BodyNames);
  EXPECT_EQ(first.MoonSiderealString, again.MoonSiderealString);
}

TEST(RunChartCalculations, MarksDoNotCarryIntoTheNextChart) {
  entry::BirthFormSnapshot retro = testing::LondonForm();
  retro.cboYear = 1976 - entry::kFirstYear;
  retro.cboMonth = 4;  // 10 May 1976: Mercury retrograde
  retro.cboDate = 9;
  core::ChartState state;
  ASSERT_TRUE(RunChartCalculations(retro, state));
  EXPECT_EQ(state.BodyNames[core::kMercury], "Mercury (R) ");
  ASSERT_TRUE(RunChartCalculations(testing::LondonForm(), state));
  EXPECT_EQ(state.BodyNames[core::kMercury], "Mercury");
}

TEST(RunChartCalculations, WestOfGreenwichInAZoneAheadOfUniversalTime) {
  // Madrid (3° 42' W) on Central European Time: noon on the clock is 11:00 UT, the same moment
  // as 11:00 on the Greenwich meridian.
  entry::BirthFormSnapshot madrid = testing::LondonForm();
  madrid.cmbTimeZone = 20;  // CET
  madrid.txtLonD = "3";
  madrid.txtLonM = "42";
  madrid.optLongEast = false;
  entry::BirthFormSnapshot greenwich = madrid;
  greenwich.cmbTimeZone = 29;
  greenwich.cboHH = 11;
  core::ChartState a, b;
  ASSERT_TRUE(RunChartCalculations(madrid, a));
  ASSERT_TRUE(RunChartCalculations(greenwich, b));
  EXPECT_EQ(a.MoonSiderealString, b.MoonSiderealString);
  EXPECT_EQ(a.AscendantString, b.AscendantString);
  EXPECT_EQ(a.PositionStrings, b.PositionStrings);
}

}  // namespace
}  // namespace solvane::run
