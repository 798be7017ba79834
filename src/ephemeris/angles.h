// Angle helpers of the classic formulas.
#pragma once

namespace solvane::ephemeris {

// Quadrant-aware arctangent in radians, -Pi..Pi. For x < 0 and y = 0 it answers 0, not a half turn,
// and the callers rely on that.
double ArcTan2(double y, double x);

// Angle brought into 0 (inclusive) .. TwoPi (exclusive), radians.
double ReduceRadians(double radians);

}  // namespace solvane::ephemeris
