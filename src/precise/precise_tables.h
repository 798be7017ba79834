// The fitted tables behind the precise engine. precise_tables.cpp is written by
// tools/precise_tables/generate_precise_tables from published series (see that tool); this header
// is kept by hand and must agree with what the generator writes.
#pragma once

#include <array>

namespace solvane::precise {

// One quantity as Chebyshev series over equal segments of TT time. A segment's leading
// coefficients are kept as double, where the value lives; the rest fit a float's precision.
struct ChebyshevTable {
  double first_jd_tt;   // Julian day (TT) where the first segment starts
  double segment_days;  // days per segment
  int segment_count;
  int coefficient_count;  // per segment
  int head_count;         // leading coefficients per segment kept as double
  const double* head;     // segment_count * head_count
  const float* tail;      // segment_count * (coefficient_count - head_count)
};

// Longitudes are apparent geocentric ecliptic longitudes of date, light time and annual aberration
// applied, referred to the mean equinox of date: adding the nutation in longitude (its own table)
// gives the true equinox's. Light deflection is not applied. Degrees, not wrapped into [0, 360).
// Latitudes go with them (degrees); distances are geometric, astronomical units.
enum class Table : int {
  kSunLongitude,
  kMoonLongitude,
  kMercuryLongitude,
  kVenusLongitude,
  kMarsLongitude,
  kJupiterLongitude,
  kSaturnLongitude,
  kUranusLongitude,
  kNeptuneLongitude,
  kPlutoLongitude,
  kTrueNode,           // osculating ascending node of the Moon, true ecliptic of date, degrees
  kNutationLongitude,  // nutation in longitude, arc seconds (IAU 2000A with IAU 2006 adjustments)
  kNutationObliquity,  // nutation in obliquity, arc seconds
  kSunDistance,        // astronomical units
  kMercuryLatitude,    // Mercury to Pluto: latitude then distance, for light deflection
  kMercuryDistance,
  kVenusLatitude,
  kVenusDistance,
  kMarsLatitude,
  kMarsDistance,
  kJupiterLatitude,
  kJupiterDistance,
  kSaturnLatitude,
  kSaturnDistance,
  kUranusLatitude,
  kUranusDistance,
  kNeptuneLatitude,
  kNeptuneDistance,
  kPlutoLatitude,
  kPlutoDistance,
};
inline constexpr int kTableCount = 30;

extern const std::array<ChebyshevTable, kTableCount> kTables;

// Delta T (TT - UT1, seconds) as the data carries it: half-yearly values from
// kDeltaTHistoricFirstYear, then monthly values (for the first day of each month, UT) from
// kDeltaTMonthlyFirstYear/Month.
extern const double kDeltaTHistoricFirstYear;
extern const int kDeltaTHistoricCount;
extern const double kDeltaTHistoric[];
extern const int kDeltaTMonthlyFirstYear;
extern const int kDeltaTMonthlyFirstMonth;
extern const int kDeltaTMonthlyCount;
extern const double kDeltaTMonthly[];

}  // namespace solvane::precise
