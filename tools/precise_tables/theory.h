// The published series behind the precise tables, read from the text that extract_astronomia.mjs
// writes and evaluated in full: VSOP87B for the Earth and the planets Mercury to Neptune, ELP/MPP02
// (its DE405 fit) for the Moon, and Meeus's periodic terms (Astronomical Algorithms, chapter 37)
// for Pluto. All times are TT Julian days (TT and TDB differ by under 2 ms, which no table here
// can see).
#pragma once

#include <array>
#include <string>
#include <vector>

namespace solvane::precise_tables {

using Vec3 = std::array<double, 3>;

// Rectangular position (and velocity, per day) in the mean ecliptic and equinox of J2000.
struct PositionVelocity {
  Vec3 position;
  Vec3 velocity;
};

class Vsop87b {
 public:
  // Reads vsop87b_<body>.txt; throws std::runtime_error when it cannot.
  explicit Vsop87b(const std::string& path);
  // Heliocentric position, astronomical units.
  Vec3 Position(double jd_tt) const;

 private:
  struct Term {
    double amplitude, phase, frequency;
  };
  // [coordinate L/B/R][power of time]
  std::array<std::vector<std::vector<Term>>, 3> series_;
};

class ElpMpp02 {
 public:
  explicit ElpMpp02(const std::string& path);
  // Geocentric position and velocity of the Moon, astronomical units and AU per day.
  PositionVelocity PositionAndVelocity(double jd_tt) const;

 private:
  struct Term {
    double amplitude;
    std::array<double, 5> phase;  // polynomial in Julian centuries, radians
  };
  // Value and derivative per Julian century of one coordinate's series.
  std::array<double, 2> Sum(int coordinate, double t) const;

  std::array<double, 5> mean_longitude_{};  // W1, radians, polynomial in Julian centuries
  std::array<std::vector<std::vector<Term>>, 3> series_;
};

class PlutoMeeus {
 public:
  explicit PlutoMeeus(const std::string& path);
  // Heliocentric position, astronomical units (FK5 J2000 ecliptic, taken as the VSOP87 frame).
  Vec3 Position(double jd_tt) const;

 private:
  struct Term {
    int j, s, p;
    double lon_a, lon_b, lat_a, lat_b, r_a, r_b;  // degrees, degrees, AU
  };
  std::vector<Term> terms_;
};

}  // namespace solvane::precise_tables
