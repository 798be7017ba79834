#include "ephemeris/angles.h"

#include <cmath>

#include "ephemeris/constants.h"

namespace solvane::ephemeris {

double ArcTan2(double y, double x) {
  const auto sgn = [](double v) { return v > 0 ? 1.0 : (v < 0 ? -1.0 : 0.0); };
  if (x > 0) return std::atan(y / x);
  if (x == 0) return y != 0 ? sgn(y) * Pi / 2 : 0.0;
  return sgn(y) * (Pi - std::atan(std::fabs(y / x)));
}

double ReduceRadians(double radians) {
  const double q = radians / TwoPi;
  const double f = std::trunc(q);
  double r = (q - f) * TwoPi;
  if (r < 0) r += TwoPi;
  return r;
}

}  // namespace solvane::ephemeris
