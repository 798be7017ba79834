// Angle helpers and the long text form of a zodiacal position.
#pragma once

#include <string>

namespace solvane::ephemeris {

// One step each way, not a loop: below 0 gains one turn, then above 360 loses one; 360 stays 360.
double NormalizeDegrees(double degrees);

// Quadrant-aware arctangent in radians, -Pi..Pi. For x < 0 and y = 0 it answers 0, not a half turn,
// and the callers rely on that.
double ArcTan2(double y, double x);

// Angle brought into 0 (inclusive) .. TwoPi (exclusive), radians.
double ReduceRadians(double radians);

// Long position text of a longitude in degrees: degrees within the sign, "° ", minutes, "' ",
// seconds, a double quote and a blank, then the sign abbreviation; every part truncated. The sign
// of `degrees` is ignored; 360 (and above) gets no abbreviation. Example: 35.125 -> 5° 7' 30" Tau.
std::string FormatSignPosition(double degrees);

}  // namespace solvane::ephemeris
