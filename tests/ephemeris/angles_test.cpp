#include "ephemeris/angles.h"

#include <gtest/gtest.h>

#include "ephemeris/constants.h"

namespace solvane::ephemeris {
namespace {

TEST(NormalizeDegrees, OneStepEachWay) {
  struct Case {
    double in, want;
  };
  const Case cases[] = {{-10, 350}, {725, 365}, {360, 360}, {0, 0}, {-370, -10}, {359.5, 359.5}};
  for (const Case& c : cases) EXPECT_EQ(NormalizeDegrees(c.in), c.want) << c.in;
}

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

TEST(FormatSignPosition, TruncatedPartsAndSign) {
  struct Case {
    double degrees;
    const char* want;
  };
  const Case cases[] = {
      {0, "0\xC2\xB0 0' 0\" Ari"},
      {35.125, "5\xC2\xB0 7' 30\" Tau"},
      {-35.125, "5\xC2\xB0 7' 30\" Tau"},       // the sign of the angle is dropped
      {35.12, "5\xC2\xB0 7' 11\" Tau"},         // truncation after floating-point subtraction
      {30, "0\xC2\xB0 0' 0\" Tau"},             // a boundary belongs to the next sign
      {29.9999999, "29\xC2\xB0 59' 59\" Ari"},  // no carry into the next sign
      {359.99, "29\xC2\xB0 59' 24\" Pis"},      // 0.99000000000001 of a degree
      {360, "0\xC2\xB0 0' 0\" "},               // one turn exactly has no sign
  };
  for (const Case& c : cases) EXPECT_EQ(FormatSignPosition(c.degrees), c.want) << c.degrees;
}

}  // namespace
}  // namespace solvane::ephemeris
