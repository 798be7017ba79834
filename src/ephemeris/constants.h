// Constants of the ephemeris formulas, written as the formulas state them rather than derived from
// a library value of pi, so that every truncated text comes out the same on every machine.
#pragma once

namespace solvane::ephemeris {

inline constexpr double DegToRad = 0.0174532925199433;  // degrees to radians
inline constexpr double RadToDeg = 57.2957795130823;    // radians to degrees (chart angles)
inline constexpr double Pi = 3.14159265358979;          // half turn
inline constexpr double TwoPi = 6.28318530717958;       // full turn

}  // namespace solvane::ephemeris
