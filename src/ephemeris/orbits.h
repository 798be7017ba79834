// Geocentric longitudes of the Sun and the planets from mean Keplerian elements (J2000 mean
// ecliptic and equinox; meant for 1800-2050). No perturbations, light-time, aberration or nutation.
#pragma once

namespace solvane::ephemeris {

// Body index of the element table.
enum OrbitBody : int {
  kOrbitMercury = 0,
  kOrbitVenus = 1,
  kOrbitEarth = 2,  // its reversed direction is the Sun's
  kOrbitMars = 3,
  kOrbitJupiter = 4,
  kOrbitSaturn = 5,
  kOrbitUranus = 6,
  kOrbitNeptune = 7,
  kOrbitPluto = 8,
};
inline constexpr int kOrbitBodyCount = 9;

// Day count (`DayNumber2000`) of J2000.0, 2000-01-01 12h: the epoch the elements refer to.
inline constexpr double kJ2000DayNumber = 1.5;

struct OrbitalElementSet {
  double a;  // semi-major axis, AU
  double e;  // eccentricity
  double i;  // inclination, radians
  double N;  // longitude of the ascending node, radians (may be negative)
  double P;  // longitude of perihelion, radians
  double L;  // mean longitude, radians, 0..TwoPi
};

// Days in a Julian century, the unit of T in the element formulas.
inline constexpr double kDaysPerJulianCentury = 36525;

// Elements of `body` at day count `d`, evaluated at T = (d - kJ2000DayNumber) / 36525, centuries
// from J2000.0.
OrbitalElementSet OrbitalElements(int body, double d);

// True anomaly (radians, 0..TwoPi) for mean anomaly `m` and eccentricity `e`, by Newton's method on
// Kepler's equation to 1e-12 radians.
double TrueAnomaly(double m, double e);

// Tropical geocentric ecliptic longitude of `body` (the Sun for kOrbitEarth), degrees in 0..360,
// referred to the equinox of J2000.
double GeocentricLongitude(int body, double d);

// Precession in longitude from the equinox of J2000 to that of day count `d`, degrees.
double PrecessionSinceJ2000(double d);

}  // namespace solvane::ephemeris
