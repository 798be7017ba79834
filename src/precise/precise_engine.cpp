#include "precise/precise_engine.h"

#include <erfa.h>
#include <erfam.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "core/angle.h"
#include "precise/chebyshev.h"

namespace solvane::precise {
namespace {

constexpr double kDegToRad = 0.0174532925199432957692369;
constexpr double kRadToDeg = 57.2957795130823208767982;
constexpr double kArcsecPerDegree = 3600.0;
constexpr double kSecondsPerDay = 86400.0;
constexpr double kDaysPerCentury = 36525.0;  // Julian century
constexpr double kJ2000 = 2451545.0;         // Julian day, TT

// Lahiri as the Indian Astronomical Ephemeris fixes it: the true ayanamsa is 23 15' 00.658" at
// 1956 March 21, 0h TT.
constexpr double kLahiriEpochJdTt = 2435553.5;
constexpr double kLahiriTrueAtEpochDeg = 23.0 + 15.0 / 60.0 + 0.658 / 3600.0;

// Planets farther than this from the Sun in longitude are bent by light deflection by under
// 0.007": not worth the work.
constexpr double kDeflectionReachDeg = 60.0;
// The Sun's radius seen from 1 AU, radians: deflection is held at its value at the solar limb
// for the rare planet behind the disk, where the formula would grow without bound.
constexpr double kSunRadiusAtOneAu = 4.6524e-3;

constexpr Table kLongitudeTables[] = {Table::kSunLongitude,     Table::kMoonLongitude,
                                      Table::kMercuryLongitude, Table::kVenusLongitude,
                                      Table::kMarsLongitude,    Table::kJupiterLongitude,
                                      Table::kSaturnLongitude,  Table::kUranusLongitude,
                                      Table::kNeptuneLongitude, Table::kPlutoLongitude};

// Latitude and distance tables of Mercury..Pluto follow each other in that order.
Table LatitudeTable(int body) {
  return static_cast<Table>(static_cast<int>(Table::kMercuryLatitude) +
                            2 * (body - core::kMercury));
}
Table DistanceTable(int body) {
  return static_cast<Table>(static_cast<int>(LatitudeTable(body)) + 1);
}

// Within half a turn of zero; for differences of wrapped longitudes (under two turns), cheaper than
// a general wrap.
double Wrap180(double degrees) {
  if (degrees > 180.0) return degrees - 360.0;
  if (degrees <= -180.0) return degrees + 360.0;
  return degrees;
}

// IAU 2006 general precession in longitude, radians.
double GeneralPrecession(double jd_tt) {
  double eps0, psia, oma, bpa, bqa, pia, bpia, epsa, chia, za, zetaa, thetaa, pa, gam, phi, psi;
  eraP06e(jd_tt, 0.0, &eps0, &psia, &oma, &bpa, &bqa, &pia, &bpia, &epsa, &chia, &za, &zetaa,
          &thetaa, &pa, &gam, &phi, &psi);
  return pa;
}

double LahiriMeanAtEpoch() {
  static const double mean =
      kLahiriTrueAtEpochDeg -
      Evaluate(Table::kNutationLongitude, kLahiriEpochJdTt).value / kArcsecPerDegree;
  return mean;
}

double LahiriMean(double jd_tt) {
  static const double precession_at_epoch = GeneralPrecession(kLahiriEpochJdTt);
  return LahiriMeanAtEpoch() + (GeneralPrecession(jd_tt) - precession_at_epoch) * kRadToDeg;
}

// How far the Sun's gravity bends the light of a planet, in longitude (degrees). The planet sits at
// `lon`, `lat` (degrees) and `distance` (AU) from the Earth; the Sun at `sun_lon`, `sun_distance`.
double DeflectionDeg(double lon, double lat, double distance, double sun_lon, double sun_distance) {
  const double cb = std::cos(lat * kDegToRad);
  double p[3] = {cb * std::cos(lon * kDegToRad), cb * std::sin(lon * kDegToRad),
                 std::sin(lat * kDegToRad)};
  // From the Sun to the Earth (the Sun's latitude, under 1", changes nothing here).
  double e[3] = {-std::cos(sun_lon * kDegToRad), -std::sin(sun_lon * kDegToRad), 0.0};
  // From the Sun to the planet.
  double sun_to_planet[3], q[3], sun_to_planet_au;
  for (int i = 0; i < 3; ++i) sun_to_planet[i] = distance * p[i] + sun_distance * e[i];
  eraPn(sun_to_planet, &sun_to_planet_au, q);
  const double limb = kSunRadiusAtOneAu / sun_distance;
  double bent[3];
  eraLd(1.0, p, q, e, sun_distance, 0.5 * limb * limb, bent);
  return Wrap180(std::atan2(bent[1], bent[0]) * kRadToDeg - lon);
}

// The tables hold longitudes from the mean equinox of date; the nutation in longitude turns them
// to the true equinox.
ValueAndRate TrueLongitude(BasisSet& bases, Table table, const ValueAndRate& nutation_longitude) {
  const ValueAndRate mean = bases.Evaluate(table);
  return {mean.value + nutation_longitude.value / kArcsecPerDegree,
          mean.rate + nutation_longitude.rate / kArcsecPerDegree};
}

void ComputePlanets(BasisSet& bases, const ValueAndRate& nutation_longitude, PreciseChart& chart) {
  const double sun_lon =
      core::WrapDegrees(TrueLongitude(bases, Table::kSunLongitude, nutation_longitude).value);
  const double sun_distance = bases.EvaluateValue(Table::kSunDistance);
  for (int body = core::kSun; body <= core::kPluto; ++body) {
    const ValueAndRate lon = TrueLongitude(bases, kLongitudeTables[body], nutation_longitude);
    double apparent = core::WrapDegrees(lon.value);
    if (body >= core::kMercury && std::abs(Wrap180(apparent - sun_lon)) < kDeflectionReachDeg) {
      apparent += DeflectionDeg(apparent, bases.EvaluateValue(LatitudeTable(body)),
                                bases.EvaluateValue(DistanceTable(body)), sun_lon, sun_distance);
      apparent = core::WrapDegrees(apparent);
    }
    chart.tropical[body] = apparent;
    chart.speed[body] = lon.rate;
  }
}

// Meeus's mean ascending node (Astronomical Algorithms, 47.7) on the true equinox of date.
ValueAndRate MeanNode(double jd_tt, const ValueAndRate& nutation_longitude) {
  const double t = (jd_tt - kJ2000) / kDaysPerCentury;
  const double node =
      125.0445479 + t * (-1934.1362891 + t * (0.0020754 + t * (1.0 / 467441.0 - t / 60616000.0)));
  const double per_century =
      -1934.1362891 + t * (2 * 0.0020754 + t * (3.0 / 467441.0 - 4.0 * t / 60616000.0));
  return {node + nutation_longitude.value / kArcsecPerDegree,
          per_century / kDaysPerCentury + nutation_longitude.rate / kArcsecPerDegree};
}

void ComputeNodes(BasisSet& bases, double jd_tt, NodeKind kind,
                  const ValueAndRate& nutation_longitude, PreciseChart& chart) {
  const ValueAndRate node = kind == NodeKind::kTrue
                                ? TrueLongitude(bases, Table::kTrueNode, nutation_longitude)
                                : MeanNode(jd_tt, nutation_longitude);
  chart.tropical[core::kRahu] = core::WrapDegrees(node.value);
  chart.tropical[core::kKetu] = core::WrapDegrees(node.value + 180.0);
  chart.speed[core::kRahu] = chart.speed[core::kKetu] = node.rate;
}

// Ascendant and Midheaven from the apparent sidereal time and the true obliquity.
void ComputeAngles(BasisSet& bases, const PreciseInput& input, double jd_ut, double jd_tt,
                   double dpsi_rad, PreciseChart& chart) {
  const double mean_obliquity = eraObl06(jd_tt, 0.0);
  const double obliquity =
      mean_obliquity + bases.EvaluateValue(Table::kNutationObliquity) * ERFA_DAS2R;
  // The equation of the equinoxes without its complementary terms, which stay under 0.003".
  const double gast = eraGmst06(jd_ut, 0.0, jd_tt, 0.0) + dpsi_rad * std::cos(mean_obliquity);
  const double ramc = gast + input.longitude_east_deg * kDegToRad;
  const double sin_ramc = std::sin(ramc), cos_ramc = std::cos(ramc);
  const double mc = std::atan2(sin_ramc, cos_ramc * std::cos(obliquity));
  const double asc =
      std::atan2(cos_ramc, -(sin_ramc * std::cos(obliquity) +
                             std::tan(input.latitude_north_deg * kDegToRad) * std::sin(obliquity)));
  chart.tropical[core::kAscendant] = core::WrapDegrees(asc * kRadToDeg);
  chart.tropical[core::kMidheaven] = core::WrapDegrees(mc * kRadToDeg);
  chart.speed[core::kAscendant] = chart.speed[core::kMidheaven] =
      std::numeric_limits<double>::quiet_NaN();
}

}  // namespace

double TablesFirstJd() { return kTables[0].first_jd_tt; }

double TablesEndJd() {
  double end = std::numeric_limits<double>::infinity();
  for (const ChebyshevTable& t : kTables) {
    end = std::min(end, t.first_jd_tt + t.segment_count * t.segment_days);
  }
  return end;
}

double LahiriAyanamsa(double jd_tt, bool true_value) {
  const double mean = LahiriMean(jd_tt);
  if (!true_value) return mean;
  return mean + Evaluate(Table::kNutationLongitude, jd_tt).value / kArcsecPerDegree;
}

PreciseChart ComputePreciseChart(const PreciseInput& input) {
  PreciseChart chart{};
  // Keep a day inside the tables, so that Delta T's TT stays in them too.
  static const double first = TablesFirstJd() + 1.0, last = TablesEndJd() - 1.0;
  const double jd_ut = input.jd_ut >= first ? std::min(input.jd_ut, last) : first;  // NaN: first
  chart.delta_t_seconds = DeltaTSeconds(jd_ut);
  chart.jd_tt = jd_ut + chart.delta_t_seconds / kSecondsPerDay;
  const double jd_tt = chart.jd_tt;

  BasisSet bases(jd_tt);
  const ValueAndRate dpsi = bases.Evaluate(Table::kNutationLongitude);  // arc seconds
  ComputePlanets(bases, dpsi, chart);
  ComputeNodes(bases, jd_tt, input.node, dpsi, chart);
  ComputeAngles(bases, input, jd_ut, jd_tt, dpsi.value * ERFA_DAS2R, chart);

  chart.ayanamsa_mean_deg = LahiriMean(jd_tt);
  chart.ayanamsa_true_deg = chart.ayanamsa_mean_deg + dpsi.value / kArcsecPerDegree;
  // Tropical longitudes lie in [0, 360) and the ayanamsa within (0, 360): one turn at most.
  for (int body = 0; body < core::kPositionCount; ++body) {
    const double sidereal = chart.tropical[body] - chart.ayanamsa_true_deg;
    chart.longitude[body] = sidereal < 0.0 ? core::WrapDegrees(sidereal) : sidereal;
  }
  return chart;
}

core::Result<PreciseChart> ComputePreciseChartChecked(const PreciseInput& input) {
  if (!std::isfinite(input.jd_ut) || input.jd_ut < kFirstJdUt || input.jd_ut >= kEndJdUt) {
    return core::Fail("The precise positions cover births from 1901 to 2050 only.");
  }
  if (!std::isfinite(input.latitude_north_deg) || std::abs(input.latitude_north_deg) > 90.0) {
    return core::Fail("The latitude must lie between 90 degrees south and 90 degrees north.");
  }
  if (!std::isfinite(input.longitude_east_deg) || std::abs(input.longitude_east_deg) > 180.0) {
    return core::Fail("The longitude must lie between 180 degrees west and 180 degrees east.");
  }
  return ComputePreciseChart(input);
}

}  // namespace solvane::precise
