#include "apparent.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>

namespace solvane::precise_tables {
namespace {

constexpr double kJ2000 = 2451545.0;  // Julian day, TT
constexpr double kLightAuPerDay = ERFA_CMPS * ERFA_DAYSEC / ERFA_DAU;
constexpr double kRadToDeg = 57.29577951308232087679815;

Vec3 Multiply(const double m[3][3], const Vec3& v) {
  double in[3] = {v[0], v[1], v[2]}, out[3];
  eraRxp(const_cast<double(*)[3]>(m), in, out);
  return {out[0], out[1], out[2]};
}

Vec3 Add(const Vec3& a, const Vec3& b, double scale = 1.0) {
  return {a[0] + scale * b[0], a[1] + scale * b[1], a[2] + scale * b[2]};
}

double Length(const Vec3& v) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

double Wrap360(double degrees) {
  const double w = std::fmod(degrees, 360.0);
  return w < 0 ? w + 360.0 : w;
}

// ICRS to the mean ecliptic and equinox of date (IAU 2006 frame bias and precession).
void MeanEclipticOfDate(double jd_tt, double m[3][3]) {
  eraPmat06(jd_tt, 0.0, m);
  eraRx(eraObl06(jd_tt, 0.0), m);
}

struct EarthState {
  Vec3 sun_barycentric;  // ICRS, AU
  Vec3 earth_velocity;   // barycentric, AU per day
};

// The Sun's barycentric offset comes from ERFA's Earth model (good to a few km), which the
// heliocentric series lack; it moves the Sun by up to 0.01 AU.
EarthState EarthAt(double jd_tt) {
  double pvh[2][3], pvb[2][3];
  eraEpv00(jd_tt, 0.0, pvh, pvb);
  return {{pvb[0][0] - pvh[0][0], pvb[0][1] - pvh[0][1], pvb[0][2] - pvh[0][2]},
          {pvb[1][0], pvb[1][1], pvb[1][2]}};
}

}  // namespace

Ephemeris::Ephemeris(const std::string& folder)
    : earth_(folder + "/vsop87b_earth.txt"),
      mercury_(folder + "/vsop87b_mercury.txt"),
      venus_(folder + "/vsop87b_venus.txt"),
      mars_(folder + "/vsop87b_mars.txt"),
      jupiter_(folder + "/vsop87b_jupiter.txt"),
      saturn_(folder + "/vsop87b_saturn.txt"),
      uranus_(folder + "/vsop87b_uranus.txt"),
      neptune_(folder + "/vsop87b_neptune.txt"),
      moon_(folder + "/elpmpp02.txt"),
      pluto_(folder + "/pluto.txt") {
  // VSOP87 is referred to DE200's dynamical ecliptic and equinox of J2000. Meeus (Astronomical
  // Algorithms, chapter 32) takes it to FK5 by a small turn: -0.09033" in longitude and
  // 0.03916" (cos L - sin L) in latitude. Meeus's Pluto is given in the FK5 ecliptic already.
  // Both then go to the equator with FK5's obliquity (23 26' 21.448"). FK5 is taken for the
  // ICRS: against DE431 that left the Sun, Venus and Mars within 0.02" on average, where ERFA's
  // FK5-to-Hipparcos turn on top moved them 0.03" away.
  constexpr double kTurnZ = -0.09033 * ERFA_DAS2R, kTurnXY = -0.03916 * ERFA_DAS2R;
  double vsop_to_fk5[3][3] = {{1, -kTurnZ, kTurnXY}, {kTurnZ, 1, -kTurnXY}, {-kTurnXY, kTurnXY, 1}};
  eraRx(-84381.448 * ERFA_DAS2R, vsop_to_fk5);
  eraCr(vsop_to_fk5, vsop_to_icrs_);
  eraIr(fk5_ecliptic_to_icrs_);
  eraRx(-84381.448 * ERFA_DAS2R, fk5_ecliptic_to_icrs_);
  // ELP/MPP02's DE405 fit is referred to the inertial mean ecliptic of J2000 in DE405's (ICRF)
  // frame, which is IAU 2006's ecliptic of J2000.
  double icrs_to_ecliptic[3][3];
  eraEcm06(kJ2000, 0.0, icrs_to_ecliptic);
  eraTr(icrs_to_ecliptic, moon_to_icrs_);
}

Vec3 Ephemeris::Heliocentric(Planet planet, double jd_tt) const {
  Vec3 ecliptic{};
  switch (planet) {
    case Planet::kMercury:
      ecliptic = mercury_.Position(jd_tt);
      break;
    case Planet::kVenus:
      ecliptic = venus_.Position(jd_tt);
      break;
    case Planet::kMars:
      ecliptic = mars_.Position(jd_tt);
      break;
    case Planet::kJupiter:
      ecliptic = jupiter_.Position(jd_tt);
      break;
    case Planet::kSaturn:
      ecliptic = saturn_.Position(jd_tt);
      break;
    case Planet::kUranus:
      ecliptic = uranus_.Position(jd_tt);
      break;
    case Planet::kNeptune:
      ecliptic = neptune_.Position(jd_tt);
      break;
    case Planet::kPluto:
      return Multiply(fk5_ecliptic_to_icrs_, pluto_.Position(jd_tt));
  }
  return Multiply(vsop_to_icrs_, ecliptic);
}

// `natural` is the light-time corrected direction from the Earth (ICRS, AU): aberrate it, turn it
// into the true ecliptic of date.
Place Ephemeris::Observe(const Vec3& natural, const double to_date[3][3],
                         const Vec3& earth_velocity, double sun_distance) const {
  const double distance = Length(natural);
  double p[3] = {natural[0] / distance, natural[1] / distance, natural[2] / distance};
  double v[3] = {earth_velocity[0] / kLightAuPerDay, earth_velocity[1] / kLightAuPerDay,
                 earth_velocity[2] / kLightAuPerDay};
  const double bm1 = std::sqrt(1.0 - eraPdp(v, v));
  double apparent[3];
  eraAb(p, v, sun_distance, bm1, apparent);
  const Vec3 ecliptic = Multiply(to_date, {apparent[0], apparent[1], apparent[2]});
  return {Wrap360(std::atan2(ecliptic[1], ecliptic[0]) * kRadToDeg),
          std::asin(ecliptic[2] / Length(ecliptic)) * kRadToDeg, distance};
}

Place Ephemeris::Of(Planet planet, double jd_tt) const {
  const EarthState now = EarthAt(jd_tt);
  const Vec3 earth_helio = Multiply(vsop_to_icrs_, earth_.Position(jd_tt));
  const Vec3 earth = Add(earth_helio, now.sun_barycentric);
  Vec3 natural{};
  double light_time = 0;  // days
  for (int pass = 0; pass < 3; ++pass) {
    const double emitted = jd_tt - light_time;
    natural = Add(Add(Heliocentric(planet, emitted), EarthAt(emitted).sun_barycentric), earth, -1);
    light_time = Length(natural) / kLightAuPerDay;
  }
  double to_date[3][3];
  MeanEclipticOfDate(jd_tt, to_date);
  return Observe(natural, to_date, now.earth_velocity, Length(earth_helio));
}

Place Ephemeris::Sun(double jd_tt) const {
  const EarthState now = EarthAt(jd_tt);
  const Vec3 earth_helio = Multiply(vsop_to_icrs_, earth_.Position(jd_tt));
  const Vec3 earth = Add(earth_helio, now.sun_barycentric);
  Vec3 natural{};
  double light_time = 0;
  for (int pass = 0; pass < 3; ++pass) {
    natural = Add(EarthAt(jd_tt - light_time).sun_barycentric, earth, -1);
    light_time = Length(natural) / kLightAuPerDay;
  }
  double to_date[3][3];
  MeanEclipticOfDate(jd_tt, to_date);
  return Observe(natural, to_date, now.earth_velocity, Length(earth_helio));
}

MoonPlace Ephemeris::Moon(double jd_tt) const {
  const PositionVelocity ecliptic = moon_.PositionAndVelocity(jd_tt);
  const Vec3 r = Multiply(moon_to_icrs_, ecliptic.position);
  const Vec3 v = Multiply(moon_to_icrs_, ecliptic.velocity);
  const EarthState now = EarthAt(jd_tt);
  // Over the 1.3 s the light takes both the Moon and the Earth move in straight lines to well
  // under a millimetre: the Moon as it was, seen from where the Earth is now.
  const double light_time = Length(r) / kLightAuPerDay;
  const Vec3 natural = Add(Add(r, v, -light_time), now.earth_velocity, -light_time);
  const double sun_distance = Length(Multiply(vsop_to_icrs_, earth_.Position(jd_tt)));
  double m[3][3];
  MeanEclipticOfDate(jd_tt, m);
  MoonPlace out{Observe(natural, m, now.earth_velocity, sun_distance), 0.0};

  // The osculating orbit's plane, from the geometric position and velocity in the (fixed)
  // ecliptic frame of this instant; its ascending node is where the normal's projection points
  // 90 degrees behind.
  const Vec3 rd = Multiply(m, r), vd = Multiply(m, v);
  const double nx = rd[1] * vd[2] - rd[2] * vd[1];
  const double ny = rd[2] * vd[0] - rd[0] * vd[2];
  out.node = Wrap360(std::atan2(nx, -ny) * kRadToDeg);
  return out;
}

}  // namespace solvane::precise_tables
