#include "ephemeris/orbits.h"

#include <array>
#include <cmath>

#include "ephemeris/angles.h"
#include "ephemeris/constants.h"

namespace solvane::ephemeris {
namespace {

// Each element is base + rate * T. Rates of a and e are per unit of T; angle bases are degrees and
// angle rates arc-seconds per unit of T.
struct ElementRow {
  double a, a_rate, e, e_rate;
  double i, i_rate, n, n_rate, p, p_rate, l, l_rate;
};

// Approximate mean elements of the major planets, mean ecliptic and equinox of J2000.
constexpr std::array<ElementRow, kOrbitBodyCount> kElements = {{
    // clang-format off
    {0.38709893, +0.00000066, 0.20563069, +0.00002527,
     7.00487, -23.51, 48.33167, -446.30, 77.45645, +573.57, 252.25084, +538101628.29},
    {0.72333199, +0.00000092, 0.00677323, -0.00004938,
     3.39471, -2.86, 76.68069, -996.89, 131.53298, -108.80, 181.97973, +210664136.06},
    {1.00000011, -0.00000005, 0.01671022, -0.00003804,
     0.00005, -46.94, -11.26064, -18228.25, 102.94719, +1198.28, 100.46435, +129597740.63},
    {1.52366231, -0.00007221, 0.09341233, +0.00011902,
     1.85061, -25.47, 49.57854, -1020.19, 336.04084, +1560.78, 355.45332, +68905103.78},
    {5.20336301, +0.00060737, 0.04839266, -0.00012880,
     1.30530, -4.15, 100.55615, +1217.17, 14.75385, +839.93, 34.40438, +10925078.35},
    {9.53707032, -0.00301530, 0.05415060, -0.00036762,
     2.48446, +6.11, 113.71504, -1591.05, 92.43194, -1948.89, 49.94432, +4401052.95},
    {19.19126393, +0.00152025, 0.04716771, -0.00019150,
     0.76986, -2.09, 74.22988, -1681.40, 170.96424, +1312.56, 313.23218, +1542547.79},
    {30.06896348, -0.00125196, 0.00858587, +0.00002510,
     1.76917, -3.64, 131.72169, -151.25, 44.97135, -844.43, 304.88003, +786449.21},
    {39.48168677, -0.00076912, 0.24880766, +0.00006465,
     17.14175, +11.07, 110.30347, -37.33, 224.06676, -132.25, 238.92881, +522747.90},
    // clang-format on
}};

constexpr double kKeplerTolerance = 0.000000000001;

struct PlaneXY {
  double x, y;
};

}  // namespace

OrbitalElementSet OrbitalElements(int body, double d) {
  const ElementRow& row = kElements[static_cast<std::size_t>(body)];
  const double t = (d - kJ2000DayNumber) / kDaysPerJulianCentury;
  OrbitalElementSet el{};
  el.a = row.a + row.a_rate * t;
  el.e = row.e + row.e_rate * t;
  el.i = DegToRad * (row.i + row.i_rate * t / 3600);
  el.N = DegToRad * (row.n + row.n_rate * t / 3600);
  el.P = DegToRad * (row.p + row.p_rate * t / 3600);
  el.L = ReduceRadians(DegToRad * (row.l + row.l_rate * t / 3600));
  return el;
}

double TrueAnomaly(double m, double e) {
  double ecc = m + e * std::sin(m) * (1 + e * std::cos(m));
  double previous;
  do {
    previous = ecc;
    ecc = previous - (previous - e * std::sin(previous) - m) / (1 - e * std::cos(previous));
  } while (std::fabs(previous - ecc) > kKeplerTolerance);
  double v = 2 * std::atan(std::sqrt((1 + e) / (1 - e)) * std::tan(ecc / 2));
  if (v < 0) v += TwoPi;
  return v;
}

double GeocentricLongitude(int body, double d) {
  const OrbitalElementSet earth = OrbitalElements(kOrbitEarth, d);
  // The Earth's orbit is taken to lie in the ecliptic: its inclination and node are not used.
  const double earth_v = TrueAnomaly(ReduceRadians(earth.L - earth.P), earth.e);
  const double earth_r = earth.a * (1 - earth.e * earth.e) / (1 + earth.e * std::cos(earth_v));
  const PlaneXY e_xy{earth_r * std::cos(earth_v + earth.P), earth_r * std::sin(earth_v + earth.P)};

  PlaneXY b_xy{0, 0};  // the Earth itself: what remains is the Sun seen from the Earth
  if (body != kOrbitEarth) {
    const OrbitalElementSet el = OrbitalElements(body, d);
    const double v = TrueAnomaly(ReduceRadians(el.L - el.P), el.e);
    const double r = el.a * (1 - el.e * el.e) / (1 + el.e * std::cos(v));
    const double u = v + el.P - el.N;
    b_xy.x = r * (std::cos(el.N) * std::cos(u) - std::sin(el.N) * std::sin(u) * std::cos(el.i));
    b_xy.y = r * (std::sin(el.N) * std::cos(u) + std::cos(el.N) * std::sin(u) * std::cos(el.i));
  }

  double longitude = ArcTan2(b_xy.y - e_xy.y, b_xy.x - e_xy.x) * 180 / Pi;
  while (longitude > 360) longitude -= 360;
  while (longitude < 0) longitude += 360;
  return longitude;
}

double PrecessionSinceJ2000(double d) {
  const double t = (d - kJ2000DayNumber) / kDaysPerJulianCentury;
  return (5029.0966 * t + 1.11113 * t * t) / 3600;
}

}  // namespace solvane::ephemeris
