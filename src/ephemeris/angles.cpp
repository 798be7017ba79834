#include "ephemeris/angles.h"

#include <charconv>
#include <cmath>

#include "ephemeris/constants.h"

namespace solvane::ephemeris {

double NormalizeDegrees(double degrees) {
  if (degrees < 0) degrees += 360;
  if (degrees > 360) degrees -= 360;
  return degrees;
}

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

namespace {

void AppendNumber(std::string& out, long value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

}  // namespace

std::string FormatSignPosition(double degrees) {
  double x = std::fabs(degrees);
  // Only a fault upstream could bring a value this far; keep the integer conversions defined.
  if (!(x < 1e9)) x = 0;
  const double whole = std::floor(x);
  const double f = x - whole;
  const double minutes = std::floor(60 * f);
  const double s = 60 * f - minutes;
  const double seconds = std::floor(60 * s);

  const long d = static_cast<long>(whole);
  const long sign = d / 30;
  std::string out;
  out.reserve(20);
  AppendNumber(out, d % 30);
  out += kDegreeSign;
  out += ' ';
  AppendNumber(out, static_cast<long>(minutes));
  out += "' ";
  AppendNumber(out, static_cast<long>(seconds));
  out += "\" ";
  if (sign < 12) out += SignAbbreviations.substr(3 * sign, 3);
  return out;
}

}  // namespace solvane::ephemeris
