#include "ephemeris/angles.h"

#include <gtest/gtest.h>

#include "ephemeris/constants.h"

namespace solvane::ephemeris {
namespace {

TEST(ArcTan2, QuadrantsAndTheZeroForANegativeAxis) {
  struct Case {
    double y, x, want;
  };
  const Case cases[] = {
      {1, -1, 3 * Pi / 4}, {0, -1, 0},  // no half turn for y = 0, x < 0
      {-1, 0, -Pi / 2},    {1, 0, Pi / 2}, {0, 0, 0}, {-1, -1, -3 * Pi / 4}, {1, 1, Pi / 4},
  };
  // The library's atan meets the written constant Pi to within its last digits.
  for (const Case& c : cases) EXPECT_NEAR(ArcTan2(c.y, c.x), c.want, 1e-14) << c.y << ',' << c.x;
}

TEST(ReduceRadians, IntoOneTurn) {
  EXPECT_DOUBLE_EQ(ReduceRadians(TwoPi + 1), 1);
  EXPECT_NEAR(ReduceRadians(-1), TwoPi - 1, 1e-12);
  EXPECT_EQ(ReduceRadians(0), 0);
  for (double x : {-1000.0, -7.0, 3.0, 12.5, 54321.0}) {
    const double r = ReduceRadians(x);
    EXPECT_GE(r, 0) << x;
    EXPECT_LT(r, TwoPi) << x;
  }
}

}  // namespace
}  // namespace solvane::ephemeris
