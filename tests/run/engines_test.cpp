#include "run/engines.h"

#include <gtest/gtest.h>

#include <cmath>

#include "precise/precise_positions.h"
#include "run/chart_run.h"
#include "test_births.h"

namespace solvane::run {
namespace {

TEST(EngineNamed, ChoicesAndRefusals) {
  struct Case {
    const char* engine;
    const char* node;
    const char* want_name;  // nullptr: refused
    core::NodeKind want_node;
  };
  const Case cases[] = {
      {"", "", "classic", core::NodeKind::kClassic},
      {"classic", "classic", "classic", core::NodeKind::kClassic},
      {"precise", "", "precise", core::NodeKind::kMean},
      {"precise", "mean", "precise", core::NodeKind::kMean},
      {"precise", "true", "precise", core::NodeKind::kTrue},
      {"classic", "true", nullptr, {}},  // the classic formulas have their own node
      {"precise", "osculating", nullptr, {}},
      {"swiss", "", nullptr, {}},
      {"Precise", "", nullptr, {}},  // names are exact
  };
  for (const Case& c : cases) {
    const auto engine = EngineNamed(c.engine, c.node);
    ASSERT_EQ(engine.has_value(), c.want_name != nullptr) << c.engine << '/' << c.node;
    if (!engine) {
      EXPECT_FALSE(engine.error().message.empty());
      continue;
    }
    EXPECT_EQ((*engine)->Name(), c.want_name);
    auto state = testing::London2000();
    CalculateChart(state, **engine);
    EXPECT_EQ(state.positions.node, c.want_node) << c.engine << '/' << c.node;
    EXPECT_EQ(state.engine, c.want_name);
  }
}

TEST(PrecisePositions, BirthMomentInUniversalTime) {
  struct Case {
    const char* what;
    int year, month, day, hour, minute, zone_hours, zone_minutes;
    bool dst;
    double want;  // Julian day, UT
  };
  const Case cases[] = {
      {"J2000.0", 2000, 1, 1, 12, 0, 0, 0, false, 2451545.0},
      {"India, into the previous day", 2000, 1, 1, 3, 0, -5, -30, false, 2451544.395833333},
      {"daylight saving takes an hour more", 2000, 1, 1, 13, 0, 0, 0, true, 2451545.0},
      {"New York, into the next year", 1999, 12, 31, 22, 0, 5, 0, false, 2451544.625},
  };
  for (const Case& c : cases) {
    auto s = testing::StateFor(c.year, c.month, c.day, c.hour, c.minute, c.zone_hours,
                               c.zone_minutes, 0, 0, false, 0, 0, false, c.dst);
    EXPECT_NEAR(precise::BirthJulianDayUt({s.birth, s.ZoneHours, s.ZoneMinutes}), c.want, 1e-9)
        << c.what;
  }
}

// Both engines on the same birth: the classic formulas stay within their stated accuracy of the
// arc-second engine (Sun about 0.01 degrees, Moon a few hundredths); the classic node carries its
// fixed shift of one degree; the precise texts carry seconds.
TEST(PrecisePositions, AgreesWithTheClassicFormulasWithinTheirAccuracy) {
  auto classic = testing::London2000();
  CalculateChart(classic);
  auto precise = testing::London2000();
  CalculateChart(precise, **EngineNamed("precise", "mean"));
  const auto difference = [&](core::Body body) {
    const double d = precise.positions.longitude[body].Degrees() -
                     classic.positions.longitude[body].Degrees();
    return std::remainder(d, 360.0);
  };
  EXPECT_NEAR(difference(core::kSun), 0, 0.02);
  EXPECT_NEAR(difference(core::kMoon), 0, 0.1);
  EXPECT_NEAR(difference(core::kAscendant), 0, 0.1);
  EXPECT_NEAR(difference(core::kRahu), 1, 0.1);  // the classic node's shift of -1 degree
  EXPECT_TRUE(precise.positions.to_the_second);
  EXPECT_EQ(precise.PositionStrings[core::kSun].size(), 14u) << precise.PositionStrings[0];
  EXPECT_EQ(precise.PositionStrings[core::kSun].substr(0, 9),
            precise.positions.longitude[core::kSun].ShortText());
  EXPECT_NEAR(-precise.AyanamsaOffset, 23.857, 0.01);  // Lahiri at J2000.0
  // Retrograde exactly where the apparent speed is negative.
  for (int body = core::kMercury; body <= core::kPluto; ++body)
    EXPECT_EQ(precise.positions.retrograde[body], precise.positions.speed[body] < 0) << body;
}

}  // namespace
}  // namespace solvane::run
