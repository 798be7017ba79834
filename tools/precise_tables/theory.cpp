#include "theory.h"

#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace solvane::precise_tables {
namespace {

constexpr double kJ2000 = 2451545.0;             // Julian day, TT
constexpr double kDaysPerMillennium = 365250.0;  // Julian millennium, days
constexpr double kDaysPerCentury = 36525.0;      // Julian century, days
constexpr double kArcsecToRad = 4.848136811095359935899141e-6;
constexpr double kDegToRad = 1.745329251994329576923691e-2;
constexpr double kKmPerAu = 149597870.7;  // IAU 2012 astronomical unit, km

std::ifstream Open(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  return in;
}

int CoordinateIndex(const std::string& name, const std::string& path) {
  if (name == "L") return 0;
  if (name == "B") return 1;
  if (name == "R") return 2;
  throw std::runtime_error(path + ": unknown coordinate " + name);
}

template <typename Term>
void Store(std::vector<std::vector<Term>>& by_power, size_t power, const Term& term) {
  if (by_power.size() <= power) by_power.resize(power + 1);
  by_power[power].push_back(term);
}

Vec3 Rectangular(double lon, double lat, double r) {
  return {r * std::cos(lat) * std::cos(lon), r * std::cos(lat) * std::sin(lon), r * std::sin(lat)};
}

// Laskar's precession of the ecliptic as ELP/MPP02's authors give it, for taking the Moon from the
// mean ecliptic and equinox of date to the inertial ecliptic and equinox of J2000.
std::array<Vec3, 3> DateToJ2000(double t) {
  const double p =
      t * (0.10180391e-4 +
           t * (0.47020439e-6 + t * (-0.5417367e-9 + t * (-0.2507948e-11 + t * 0.463486e-14))));
  const double q =
      t * (-0.113469002e-3 +
           t * (0.12372674e-6 + t * (0.1265417e-8 + t * (-0.1371808e-11 + t * -0.320334e-14))));
  const double s = std::sqrt(1 - p * p - q * q);
  return {Vec3{1 - 2 * p * p, 2 * p * q, 2 * p * s}, Vec3{2 * p * q, 1 - 2 * q * q, -2 * q * s},
          Vec3{-2 * p * s, 2 * q * s, 1 - 2 * p * p - 2 * q * q}};
}

Vec3 Apply(const std::array<Vec3, 3>& m, const Vec3& v) {
  Vec3 out{};
  for (int i = 0; i < 3; ++i) out[i] = m[i][0] * v[0] + m[i][1] * v[1] + m[i][2] * v[2];
  return out;
}

}  // namespace

Vsop87b::Vsop87b(const std::string& path) {
  std::ifstream in = Open(path);
  std::string coordinate;
  size_t power = 0;
  Term term{};
  while (in >> coordinate >> power >> term.amplitude >> term.phase >> term.frequency) {
    Store(series_[CoordinateIndex(coordinate, path)], power, term);
  }
  if (!in.eof() || series_[2].empty()) throw std::runtime_error(path + ": malformed series");
}

Vec3 Vsop87b::Position(double jd_tt) const {
  const double tau = (jd_tt - kJ2000) / kDaysPerMillennium;
  std::array<double, 3> lbr{};
  for (int c = 0; c < 3; ++c) {
    double value = 0;
    // Highest power first, so that the powers of tau come out of one Horner pass.
    for (size_t power = series_[c].size(); power-- > 0;) {
      double sum = 0;
      for (const Term& term : series_[c][power]) {
        sum += term.amplitude * std::cos(term.phase + term.frequency * tau);
      }
      value = value * tau + sum;
    }
    lbr[c] = value;
  }
  return Rectangular(lbr[0], lbr[1], lbr[2]);
}

ElpMpp02::ElpMpp02(const std::string& path) {
  std::ifstream in = Open(path);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string coordinate;
    fields >> coordinate;
    if (coordinate == "W1") {
      for (double& c : mean_longitude_) fields >> c;
    } else {
      size_t power = 0;
      Term term{};
      fields >> power >> term.amplitude;
      for (double& c : term.phase) fields >> c;
      if (fields.fail()) throw std::runtime_error(path + ": malformed line " + line);
      Store(series_[CoordinateIndex(coordinate, path)], power, term);
    }
    if (fields.fail()) throw std::runtime_error(path + ": malformed line " + line);
  }
  if (mean_longitude_[1] == 0 || series_[2].empty()) {
    throw std::runtime_error(path + ": incomplete series");
  }
}

std::array<double, 2> ElpMpp02::Sum(int coordinate, double t) const {
  double value = 0;
  double rate = 0;
  for (size_t power = series_[coordinate].size(); power-- > 0;) {
    double sum = 0;
    double sum_rate = 0;
    for (const Term& term : series_[coordinate][power]) {
      const auto& f = term.phase;
      const double phase = f[0] + t * (f[1] + t * (f[2] + t * (f[3] + t * f[4])));
      const double phase_rate = f[1] + t * (2 * f[2] + t * (3 * f[3] + t * 4 * f[4]));
      sum += term.amplitude * std::sin(phase);
      sum_rate += term.amplitude * std::cos(phase) * phase_rate;
    }
    // d/dt (value * t + sum) = rate * t + value + sum_rate
    rate = rate * t + value + sum_rate;
    value = value * t + sum;
  }
  return {value, rate};
}

PositionVelocity ElpMpp02::PositionAndVelocity(double jd_tt) const {
  const double t = (jd_tt - kJ2000) / kDaysPerCentury;
  const auto& w = mean_longitude_;
  const auto [v_arcsec, v_rate] = Sum(0, t);
  const auto [u_arcsec, u_rate] = Sum(1, t);
  const auto [r_km, r_rate] = Sum(2, t);
  const double lon =
      w[0] + t * (w[1] + t * (w[2] + t * (w[3] + t * w[4]))) + v_arcsec * kArcsecToRad;
  const double lon_rate =
      w[1] + t * (2 * w[2] + t * (3 * w[3] + t * 4 * w[4])) + v_rate * kArcsecToRad;
  const double lat = u_arcsec * kArcsecToRad;
  const double lat_rate = u_rate * kArcsecToRad;
  const double r = r_km / kKmPerAu;
  const double r_dot = r_rate / kKmPerAu;

  // Position and velocity in the moving frame of date, per century.
  const Vec3 x = Rectangular(lon, lat, r);
  const double cl = std::cos(lon), sl = std::sin(lon), cb = std::cos(lat), sb = std::sin(lat);
  const Vec3 x_dot = {r_dot * cb * cl - r * sb * lat_rate * cl - r * cb * sl * lon_rate,
                      r_dot * cb * sl - r * sb * lat_rate * sl + r * cb * cl * lon_rate,
                      r_dot * sb + r * cb * lat_rate};

  // The frame turns (by about 50" a year); its turning belongs in an inertial velocity.
  constexpr double kStep = 1e-3;  // Julian centuries
  const auto m = DateToJ2000(t);
  const auto m_after = DateToJ2000(t + kStep);
  const auto m_before = DateToJ2000(t - kStep);
  std::array<Vec3, 3> m_dot{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) m_dot[i][j] = (m_after[i][j] - m_before[i][j]) / (2 * kStep);
  PositionVelocity out{Apply(m, x), {}};
  const Vec3 a = Apply(m, x_dot), b = Apply(m_dot, x);
  for (int i = 0; i < 3; ++i) out.velocity[i] = (a[i] + b[i]) / kDaysPerCentury;
  return out;
}

PlutoMeeus::PlutoMeeus(const std::string& path) {
  std::ifstream in = Open(path);
  Term term{};
  while (in >> term.j >> term.s >> term.p >> term.lon_a >> term.lon_b >> term.lat_a >> term.lat_b >>
         term.r_a >> term.r_b) {
    terms_.push_back(term);
  }
  if (!in.eof() || terms_.size() != 43) throw std::runtime_error(path + ": expected 43 terms");
}

Vec3 PlutoMeeus::Position(double jd_tt) const {
  const double t = (jd_tt - kJ2000) / kDaysPerCentury;
  const double jupiter = 34.35 + 3034.9057 * t;  // mean longitudes, degrees
  const double saturn = 50.08 + 1222.1138 * t;
  const double pluto = 238.96 + 144.96 * t;
  double lon = 238.958116 + 144.96 * t;  // degrees
  double lat = -3.908239;                // degrees
  double r = 40.7241346;                 // AU
  for (const Term& term : terms_) {
    const double a = (term.j * jupiter + term.s * saturn + term.p * pluto) * kDegToRad;
    const double s = std::sin(a), c = std::cos(a);
    lon += term.lon_a * s + term.lon_b * c;
    lat += term.lat_a * s + term.lat_b * c;
    r += term.r_a * s + term.r_b * c;
  }
  return Rectangular(lon * kDegToRad, lat * kDegToRad, r);
}

}  // namespace solvane::precise_tables
