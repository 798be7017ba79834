#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <string>

#include "core/angle.h"
#include "precise/chebyshev.h"
#include "precise/precise_engine.h"
#include "precise/precise_tables.h"

namespace solvane::precise {
namespace {

constexpr double kArcsecPerDegree = 3600.0;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

double Wrap180(double degrees) { return core::WrapDegrees(degrees + 180.0) - 180.0; }

// Apparent daily speeds printed by the Swiss Ephemeris (swetest -ut0 -fPs) at 0h UT, in the
// order Sun .. Pluto, then the true node; the dates catch Mercury, Mars, Jupiter, Saturn and
// Neptune retrograde.
struct SpeedCase {
  const char* date;
  double jd_ut;
  double speed[11];  // degrees per day
};
constexpr SpeedCase kSpeedCases[] = {
    {"2000-01-01",
     2451544.5,
     {1.0193831, 12.1031382, 1.5536350, 1.2084671, 0.7756577, 0.0390695, -0.0208580, 0.0501197,
      0.0354606, 0.0352758, -0.0475371}},
    {"2020-10-13",
     2459135.5,
     {0.9902156, 14.1500383, 0.1254657, 1.1869890, -0.3199044, 0.0919442, 0.0228061, -0.0381371,
      -0.0225313, 0.0041652, -0.0999286}},
    {"2021-08-20",
     2459446.5,
     {0.9621917, 14.1146387, 1.6624277, 1.1786159, 0.6348397, -0.1311528, -0.0684496, 0.0000583,
      -0.0241841, -0.0193365, -0.1214460}},
    {"2023-05-01",
     2460065.5,
     {0.9709990, 12.1499236, -0.6322581, 1.1201560, 0.5492108, 0.2372187, 0.0724812, 0.0574603,
      0.0294300, 0.0003426, 0.0110722}},
};

TEST(PreciseEngine, SpeedsMatchSwissEphemerisAndMarkRetrogrades) {
  constexpr double kToleranceDegPerDay = 2e-4;
  for (const SpeedCase& c : kSpeedCases) {
    const PreciseChart chart = ComputePreciseChart({c.jd_ut, 0.0, 0.0, NodeKind::kTrue});
    for (int body = core::kSun; body <= core::kPluto; ++body) {
      EXPECT_NEAR(chart.speed[body], c.speed[body], kToleranceDegPerDay)
          << c.date << " " << core::kBodyNames[body];
      if (std::abs(c.speed[body]) > kToleranceDegPerDay) {
        EXPECT_EQ(chart.speed[body] < 0, c.speed[body] < 0) << c.date << " retrograde mark";
      }
    }
    EXPECT_NEAR(chart.speed[core::kRahu], c.speed[10], kToleranceDegPerDay) << c.date;
    EXPECT_TRUE(std::isnan(chart.speed[core::kAscendant]));
    EXPECT_TRUE(std::isnan(chart.speed[core::kMidheaven]));
  }
}

// The speed is the derivative of the longitude the engine reports: a central difference over a
// few minutes agrees, wherever in a segment the instant falls.
TEST(PreciseEngine, SpeedIsTheRateOfTheLongitude) {
  constexpr double kStepDays = 0.002;
  for (double jd = 2415400.3; jd < 2470100.0; jd += 1237.77) {
    for (NodeKind node : {NodeKind::kMean, NodeKind::kTrue}) {
      const PreciseChart before = ComputePreciseChart({jd - kStepDays, 10.0, 50.0, node});
      const PreciseChart now = ComputePreciseChart({jd, 10.0, 50.0, node});
      const PreciseChart after = ComputePreciseChart({jd + kStepDays, 10.0, 50.0, node});
      for (int body : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 12, 13}) {
        const double rate =
            Wrap180(after.tropical[body] - before.tropical[body]) / (after.jd_tt - before.jd_tt);
        EXPECT_NEAR(now.speed[body], rate, 2e-4) << "JD " << jd << " " << core::kBodyNames[body];
      }
    }
  }
}

TEST(PreciseEngine, KetuIsOppositeRahuAndSiderealIsTropicalLessAyanamsa) {
  for (double jd = 2415390.5; jd < 2470170.0; jd += 3653.3) {
    for (NodeKind node : {NodeKind::kMean, NodeKind::kTrue}) {
      const PreciseChart chart = ComputePreciseChart({jd, 77.2, 28.6, node});
      EXPECT_NEAR(std::abs(Wrap180(chart.tropical[core::kKetu] - chart.tropical[core::kRahu])),
                  180.0, 1e-9);
      EXPECT_DOUBLE_EQ(chart.speed[core::kKetu], chart.speed[core::kRahu]);
      for (int body = 0; body < core::kPositionCount; ++body) {
        EXPECT_GE(chart.longitude[body], 0.0);
        EXPECT_LT(chart.longitude[body], 360.0);
        EXPECT_NEAR(Wrap180(chart.tropical[body] - chart.ayanamsa_true_deg - chart.longitude[body]),
                    0.0, 1e-9);
      }
    }
  }
}

// Lahiri: 23 15' 00.658" true at 1956 March 21, 0h TT; the mean value lies below it by that
// instant's nutation in longitude (+16.8"); from there the mean value grows with the general
// precession, 5028.796" a century at J2000 (IAU 2006).
TEST(PreciseEngine, LahiriAyanamsaFollowsItsDefinition) {
  constexpr double kEpoch = 2435553.5;
  const double true_at_epoch = LahiriAyanamsa(kEpoch, true);
  EXPECT_NEAR(true_at_epoch, 23.0 + 15.0 / 60.0 + 0.658 / 3600.0, 1e-9);
  const double nutation_arcsec = (true_at_epoch - LahiriAyanamsa(kEpoch, false)) * 3600.0;
  EXPECT_NEAR(nutation_arcsec, 16.8, 0.2);
  // From the epoch to J2000 (0.437797 Julian centuries) the general precession in longitude
  // p_A = 5028.796195 T + 1.1054348 T^2 (arc seconds) adds 2201.4".
  const double t0 = (kEpoch - 2451545.0) / 36525.0;
  const double expected = -(5028.796195 * t0 + 1.1054348 * t0 * t0);
  const double grown = (LahiriAyanamsa(2451545.0, false) - LahiriAyanamsa(kEpoch, false)) * 3600;
  EXPECT_NEAR(grown, expected, 0.01);
}

struct CheckedCase {
  const char* what;
  double jd_ut, longitude, latitude;
  bool accepted;
};
constexpr CheckedCase kCheckedCases[] = {
    {"first instant", kFirstJdUt, 0.0, 0.0, true},
    {"just before", kFirstJdUt - 1e-4, 0.0, 0.0, false},
    {"last instant", kEndJdUt - 1e-4, 0.0, 0.0, true},
    {"end", kEndJdUt, 0.0, 0.0, false},
    {"no time", kNaN, 0.0, 0.0, false},
    {"south pole", 2451545.0, 0.0, -90.0, true},
    {"past the pole", 2451545.0, 0.0, 90.5, false},
    {"no latitude", 2451545.0, 0.0, kNaN, false},
    {"date line", 2451545.0, -180.0, 0.0, true},
    {"past the date line", 2451545.0, 180.5, 0.0, false},
    {"no longitude", 2451545.0, std::numeric_limits<double>::infinity(), 0.0, false},
};

TEST(PreciseEngine, CheckedEntryRefusesWhatTheTablesCannotAnswer) {
  for (const CheckedCase& c : kCheckedCases) {
    const auto chart = ComputePreciseChartChecked({c.jd_ut, c.longitude, c.latitude});
    EXPECT_EQ(chart.has_value(), c.accepted) << c.what;
    if (!chart) {
      EXPECT_FALSE(chart.error().message.empty()) << c.what;
    }
  }
}

// Out-of-range instants are held at the tables' edge: finite, wrapped, never read past.
TEST(PreciseEngine, UncheckedEntryHoldsFarInstantsAtTheEdge) {
  for (double jd : {0.0, 2400000.5, 2500000.5, 1e12, -1e12, kNaN}) {
    const PreciseChart chart = ComputePreciseChart({jd, 0.0, 51.5});
    for (int body = 0; body < core::kPositionCount; ++body) {
      EXPECT_TRUE(chart.longitude[body] >= 0.0 && chart.longitude[body] < 360.0)
          << "JD " << jd << " " << core::kBodyNames[body];
    }
    EXPECT_TRUE(std::isfinite(chart.ayanamsa_true_deg) && std::isfinite(chart.jd_tt));
  }
}

// How far apart two neighbouring segments may be where they meet: twice the largest fitting error
// the generator measured, rounded up, in each table's unit.
double JointTolerance(int table) {
  if (table <= static_cast<int>(Table::kTrueNode)) return 0.05 / kArcsecPerDegree;  // 0.05"
  if (table <= static_cast<int>(Table::kNutationObliquity)) return 1e-4;            // arc seconds
  if (table == static_cast<int>(Table::kSunDistance)) return 1e-5;                  // AU
  // Latitude (degrees) and distance (AU) for light deflection, which needs them roughly only.
  const bool latitude = (table - static_cast<int>(Table::kMercuryLatitude)) % 2 == 0;
  return latitude ? 0.005 : 1e-4;
}

// The engine shares one Chebyshev basis among all tables of a segment length: they must start
// together, use at most three lengths, and fit the basis's order.
TEST(PreciseTables, ShareTheirSegmentGrid) {
  std::set<double> lengths;
  for (const ChebyshevTable& table : kTables) {
    EXPECT_EQ(table.first_jd_tt, kTables[0].first_jd_tt);
    EXPECT_LE(table.coefficient_count, kMaxCoefficients);
    EXPECT_GE(table.coefficient_count, 2);
    EXPECT_LE(table.head_count, table.coefficient_count);
    lengths.insert(table.segment_days);
  }
  EXPECT_LE(lengths.size(), 3u);
}

// The tables reach past every instant a birth can need, Delta T included, and neighbouring
// segments meet: a generator that fitted or unwrapped a segment wrongly shows up as a jump.
TEST(PreciseTables, CoverTheRangeAndSegmentsMeet) {
  EXPECT_LE(TablesFirstJd(), kFirstJdUt - 1.0);
  EXPECT_GE(TablesEndJd(), kEndJdUt + 1.0);
  for (int t = 0; t < kTableCount; ++t) {
    const ChebyshevTable& table = kTables[t];
    const bool degrees = t <= static_cast<int>(Table::kTrueNode);
    double worst = 0;
    for (int s = 1; s < table.segment_count; ++s) {
      const double joint = table.first_jd_tt + s * table.segment_days;
      const double left = Evaluate(table, joint - 1e-7).value;
      const double right = Evaluate(table, joint).value;
      worst = std::max(worst, std::abs(degrees ? Wrap180(right - left) : right - left));
    }
    EXPECT_LT(worst, JointTolerance(t)) << "table " << t;
  }
}

}  // namespace
}  // namespace solvane::precise
