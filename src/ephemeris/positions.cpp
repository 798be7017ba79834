#include "ephemeris/positions.h"

#include <array>
#include <cmath>

#include "ephemeris/angles.h"
#include "ephemeris/constants.h"
#include "ephemeris/orbits.h"
#include "ephemeris/time_base.h"

namespace solvane::ephemeris {
namespace {

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

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

}  // namespace

std::string ShortPosition(std::string_view long_text) {
  const std::string_view t = TrimBlanks(long_text);
  const std::size_t degree_at = t.find(kDegreeSign);
  const std::size_t apostrophe_at = t.find('\'');
  std::string_view degrees;
  std::string_view minutes;
  if (degree_at != std::string_view::npos) {
    degrees = TrimBlanks(t.substr(0, degree_at));
    const std::size_t after = degree_at + kDegreeSign.size();
    if (apostrophe_at != std::string_view::npos && apostrophe_at > after)
      minutes = TrimBlanks(t.substr(after, apostrophe_at - after));
  }
  const std::string_view sign =
      TrimBlanks(long_text.size() >= 3 ? long_text.substr(long_text.size() - 3) : long_text);

  std::string out;
  out.reserve(9);
  if (degrees.size() <= 1) out += '0';
  out += degrees;
  out += ' ';
  out += sign;
  out += ' ';
  if (minutes.size() <= 1) out += '0';
  out += minutes;
  return out;
}

double RahuLongitude(double d, double ayanamsa) {
  double node = ReduceRadians(DegToRad * (125.1228 - 0.0529538083 * d));
  // The conversion uses 3.1416 and a fixed shift of one degree, as the chart always has.
  double rahu = node * (180 / 3.1416);
  rahu -= 1;
  rahu -= ayanamsa;
  while (rahu < 0) rahu += 360;
  return rahu;
}

void CalcPlanetPositions(core::ChartState& state) {
  const CivilMoment ut = BirthUniversalMoment(state.birth, state.ZoneHours, state.ZoneMinutes);
  const double d = DayNumber2000(ut.year, ut.month, ut.day, ut.hour, ut.minute);
  const double ayanamsa = std::fabs(state.AyanamsaOffset);
  // The elements give longitudes on the equinox of J2000; the ayanamsa is measured from the
  // equinox of the birth date, so precess to it first.
  const double precession = PrecessionSinceJ2000(d);

  for (const auto& [entry, orbit] : kPlanetEntries) {
    double x = GeocentricLongitude(orbit, d) + precession - ayanamsa;
    while (x < 0) x += 360;
    while (x >= 360) x -= 360;
    state.PositionStrings[entry] = ShortPosition(FormatSignPosition(x));
  }

  const double rahu = RahuLongitude(d, ayanamsa);
  double ketu = rahu + 180;
  while (ketu > 360) ketu -= 360;

  state.PositionStrings[core::kMoon] = ShortPosition(state.MoonSiderealString);
  state.PositionStrings[core::kAscendant] = ShortPosition(state.AscendantString);
  state.PositionStrings[core::kMidheaven] = ShortPosition(state.MidheavenString);
  state.PositionStrings[core::kRahu] = ShortPosition(FormatSignPosition(rahu));
  state.PositionStrings[core::kKetu] = ShortPosition(FormatSignPosition(ketu));
}

}  // namespace solvane::ephemeris
