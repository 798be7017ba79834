#include "ephemeris/positions.h"

#include <array>
#include <cmath>

#include "core/angle.h"
#include "core/chart_state.h"
#include "ephemeris/angles.h"
#include "ephemeris/constants.h"
#include "ephemeris/orbits.h"
#include "ephemeris/time_base.h"

namespace solvane::ephemeris {
namespace {

// Which orbit feeds each of the position entries 0 and 2..9 (entry 1 is the Moon).
constexpr std::array<std::pair<int, int>, 9> kPlanetEntries = {{
    {core::kSun, kOrbitEarth},
    {core::kMercury, kOrbitMercury},
    {core::kVenus, kOrbitVenus},
    {core::kMars, kOrbitMars},
    {core::kJupiter, kOrbitJupiter},
    {core::kSaturn, kOrbitSaturn},
    {core::kUranus, kOrbitUranus},
    {core::kNeptune, kOrbitNeptune},
    {core::kPluto, kOrbitPluto},
}};

// Mean longitude of the Moon's ascending node, degrees, at the day count's start and its daily
// motion (degrees per day, westward).
constexpr double kNodeAtDayZero = 125.1228;
constexpr double kNodeDegreesPerDay = 0.0529538083;
// The classic formulas convert radians with this rounded half turn and shift the node by a degree.
constexpr double kRoundedHalfTurn = 3.1416;
constexpr double kNodeShiftDegrees = 1;

}  // namespace

double RahuLongitude(double d, double ayanamsa) {
  double node = ReduceRadians(DegToRad * (kNodeAtDayZero - kNodeDegreesPerDay * d));
  double rahu = node * (180 / kRoundedHalfTurn);
  rahu -= kNodeShiftDegrees;
  rahu -= ayanamsa;
  return core::WrapDegrees(rahu);
}

void ComputePlanetLongitudes(const core::BirthMoment& moment, double ayanamsa_offset,
                             core::EnginePositions& out) {
  const CivilMoment ut = BirthUniversalMoment(moment);
  const double d = DayNumber2000(ut.year, ut.month, ut.day, ut.hour, ut.minute, ut.second);
  const double ayanamsa = std::fabs(ayanamsa_offset);
  // The elements give longitudes on the equinox of J2000; the ayanamsa is measured from the
  // equinox of the birth date, so precess to it first.
  const double precession = PrecessionSinceJ2000(d);
  for (const auto& [entry, orbit] : kPlanetEntries) {
    out.longitude[entry] =
        core::Angle::Wrapped(GeocentricLongitude(orbit, d) + precession - ayanamsa);
  }
  const double rahu = RahuLongitude(d, ayanamsa);
  out.longitude[core::kRahu] = core::Angle(rahu);
  out.longitude[core::kKetu] = core::Angle::Wrapped(rahu + 180);
}

}  // namespace solvane::ephemeris
