#include <gtest/gtest.h>

#include "precise/precise_engine.h"

namespace solvane::precise {
namespace {

struct PublishedDeltaT {
  const char* date;
  double jd_ut;
  double seconds;
  double tolerance;  // the source's rounding, seconds
};

// Meeus, Astronomical Algorithms (2nd ed.), table 10.A: Delta T at the start of the year to 0.1 s.
// IERS: 32.184 s + TAI-UTC (Bulletin C) - UT1-UTC (EOP C04) at 0h UTC:
//   2000-01-01: 32.184 + 32 - 0.3554752;  2010-01-01: 32.184 + 34 - 0.1140783;
//   2017-01-01: 32.184 + 37 - 0.5912821;  2020-01-01: 32.184 + 37 + 0.1771554.
constexpr PublishedDeltaT kPublished[] = {
    {"1900", 2415020.5, -2.7, 0.1},
    {"1930", 2425977.5, 24.0, 0.1},
    {"1940", 2429630.5, 24.3, 0.1},
    {"1950", 2433282.5, 29.1, 0.1},
    {"1960", 2436934.5, 33.1, 0.1},
    {"1970", 2440587.5, 40.2, 0.1},
    {"1980", 2444239.5, 50.5, 0.1},
    {"1990", 2447892.5, 56.9, 0.1},
    {"2000-01-01", 2451544.5, 63.8285, 0.001},
    {"2010-01-01", 2455197.5, 66.0699, 0.001},
    {"2017-01-01", 2457754.5, 68.5927, 0.001},
    {"2020-01-01", 2458849.5, 69.3612, 0.001},
};

TEST(DeltaT, MatchesPublishedValues) {
  for (const PublishedDeltaT& p : kPublished) {
    EXPECT_NEAR(DeltaTSeconds(p.jd_ut), p.seconds, p.tolerance) << p.date;
  }
}

// Where one source of values hands over to the next (half-yearly to monthly in February 1973,
// measured to continued in May 2023) Delta T must not jump: a jump is a jump in the Moon.
TEST(DeltaT, ContinuousAcrossItsSources) {
  struct Joint {
    const char* what;
    double jd_ut;
    double tolerance;  // seconds
  };
  // The half-yearly values are smoothed and rounded to 0.01 s; the monthly ones are not.
  for (const Joint& j :
       {Joint{"1973-02-01", 2441714.5, 0.15}, Joint{"2023-05-01", 2460065.5, 1e-6}}) {
    EXPECT_NEAR(DeltaTSeconds(j.jd_ut - 1e-6), DeltaTSeconds(j.jd_ut + 1e-6), j.tolerance)
        << j.what;
  }
}

// After the data the value goes on at the last decade's rate (0.21 s a year): it keeps rising
// slowly, reaching about 75 s by the end of 2050.
TEST(DeltaT, ContinuationIsGentle) {
  double previous = DeltaTSeconds(2460065.5);
  for (double jd = 2460065.5 + 365.25; jd < 2470174.5; jd += 365.25) {
    const double now = DeltaTSeconds(jd);
    EXPECT_GT(now, previous);
    EXPECT_LT(now - previous, 0.3) << "JD " << jd;
    previous = now;
  }
  EXPECT_NEAR(DeltaTSeconds(2469807.5), 74.8, 0.3);  // 2051-01-01
}

}  // namespace
}  // namespace solvane::precise
