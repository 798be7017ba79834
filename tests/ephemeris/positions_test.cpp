#include "ephemeris/positions.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/zodiac.h"
#include "ephemeris/chart_angles.h"
#include "ephemeris/constants.h"
#include "ephemeris/orbits.h"
#include "run/chart_run.h"
#include "test_births.h"
#include "vedic/moon.h"

namespace solvane::ephemeris {
namespace {

// Positions of the 1 January 2000 London birth as the chart computes them: the element set at
// J2000.0, precessed to the equinox of date.
TEST(CalcPlanetPositions, London2000) {
  auto s = testing::London2000();
  run::CalculateChart(s);
  const std::array<const char*, 14> want = {
      "16 Sag 31", "19 Lib 27", "08 Sag 03", "07 Sco 43", "04 Aqu 07", "01 Ari 30", "16 Ari 21",
      "20 Cap 56", "09 Cap 20", "17 Sco 36", "00 Ari 26", "15 Sag 45", "10 Can 11", "10 Cap 11"};
  for (int i = 0; i < 14; ++i) EXPECT_EQ(s.PositionStrings[i], want[i]) << "entry " << i;
}

// The same birth with the element set counted from day zero and no precession: the table of
// reference positions for that evaluation. Moon, angles and nodes are common to both.
TEST(CalcPlanetPositions, London2000ElementsFromDayZero) {
  auto s = testing::London2000();
  run::CalculateChart(s);
  const double a = std::fabs(s.AyanamsaOffset);
  const std::array<std::pair<int, const char*>, 9> want = {{
      {kOrbitEarth, "18 Sag 03"},
      {kOrbitMercury, "10 Sag 23"},
      {kOrbitVenus, "09 Sco 32"},
      {kOrbitMars, "05 Aqu 17"},
      {kOrbitJupiter, "01 Ari 34"},
      {kOrbitSaturn, "16 Ari 20"},
      {kOrbitUranus, "21 Cap 00"},
      {kOrbitNeptune, "09 Cap 23"},
      {kOrbitPluto, "17 Sco 39"},
  }};
  for (const auto& [body, text] : want) {
    double x = GeocentricLongitude(body, 1.5 + kJ2000DayNumber) - a;
    while (x < 0) x += 360;
    EXPECT_EQ(core::Angle(x).ShortText(), text) << body;
  }
}

TEST(RahuLongitude, KetuOppositeWithTheSameMinutes) {
  auto s = testing::London2000();
  run::CalculateChart(s);
  const std::string& rahu = s.PositionStrings[core::kRahu];
  const std::string& ketu = s.PositionStrings[core::kKetu];
  EXPECT_EQ(rahu.substr(0, 2), ketu.substr(0, 2));
  EXPECT_EQ(rahu.substr(7), ketu.substr(7));
  EXPECT_EQ(core::SignIndexOf(ketu.substr(3, 3)), (core::SignIndexOf(rahu.substr(3, 3)) + 6) % 12);
}

TEST(CalcPlanetPositions, EveryEntryCarriesASignAcrossTheYears) {
  for (int year = 1901; year <= 2050; year += 7) {
    for (int month : {1, 6, 11}) {
      auto s =
          testing::StateFor(year, month, 28, 23, 59, -13, 0, 179, 59, true, 89, 59, true, true);
      run::CalculateChart(s);
      for (const std::string& p : s.PositionStrings) {
        ASSERT_EQ(p.size(), 9u) << year << ' ' << p;
        EXPECT_GE(core::SignIndexOf(p.substr(3, 3)), 0) << year << ' ' << p;
        EXPECT_LT(std::stoi(p.substr(0, 2)), 30) << p;
        EXPECT_LT(std::stoi(p.substr(7, 2)), 60) << p;
      }
    }
  }
}

TEST(CalcPlanetPositions, DaylightSavingMovesThePlanetsAnHourBack) {
  auto summer = testing::London2000();
  summer.birth.DaylightSaving = core::kTrue;
  auto earlier = testing::London2000();
  earlier.birth.Hour = 11;
  for (auto* s : {&summer, &earlier}) {
    run::CalculateChart(*s);
  }
  EXPECT_EQ(summer.PositionStrings, earlier.PositionStrings);
}

}  // namespace
}  // namespace solvane::ephemeris
