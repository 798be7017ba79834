// Apparent geocentric places from the full series, the slow and careful way the tables are fitted
// to: light time, annual aberration (ERFA), then IAU 2006 bias-precession (ERFA) into the mean
// equator of date and the mean obliquity into the ecliptic of date.
//
// Longitudes are referred to the mean equinox of date. Nutation turns the equinox along the
// ecliptic (the plane itself does not nutate), so the true longitude of date is this plus the
// nutation in longitude, which the engine adds from its own table: left in, nutation's 5 to 14
// day terms (0.2") would need many more coefficients in every fit. Light deflection is left to
// the engine too: near conjunction it changes too fast to fit.
#pragma once

#include <string>

#include "theory.h"

namespace solvane::precise_tables {

enum class Planet { kMercury, kVenus, kMars, kJupiter, kSaturn, kUranus, kNeptune, kPluto };

// Degrees and astronomical units; the longitude in [0, 360).
struct Place {
  double longitude;
  double latitude;
  double distance;  // geometric, at the time the light left
};

struct MoonPlace {
  Place place;
  double node;  // osculating ascending node, mean equinox of date, degrees in [0, 360)
};

class Ephemeris {
 public:
  // Reads the series from the folder extract_astronomia.mjs wrote.
  explicit Ephemeris(const std::string& folder);

  Place Sun(double jd_tt) const;
  MoonPlace Moon(double jd_tt) const;
  Place Of(Planet planet, double jd_tt) const;

 private:
  Vec3 Heliocentric(Planet planet, double jd_tt) const;  // ICRS, AU
  Place Observe(const Vec3& natural, const double to_date[3][3], const Vec3& earth_velocity,
                double sun_distance) const;

  Vsop87b earth_, mercury_, venus_, mars_, jupiter_, saturn_, uranus_, neptune_;
  ElpMpp02 moon_;
  PlutoMeeus pluto_;
  double vsop_to_icrs_[3][3];          // VSOP87's J2000 ecliptic to the ICRS
  double fk5_ecliptic_to_icrs_[3][3];  // Meeus's Pluto
  double moon_to_icrs_[3][3];          // ELP/MPP02
};

}  // namespace solvane::precise_tables
