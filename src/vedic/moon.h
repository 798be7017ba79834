// The Moon's sidereal position from a 25-term lunar series, and the Moon sign.
#pragma once

#include <string_view>

#include "core/positions_engine.h"

namespace solvane::vedic {

// Ayanamsa (degrees, negative) for `t` Julian centuries from J2000.0. It differs from the
// 1900-based ayanamsa of the other bodies by a few arc-seconds.
double AyanamsaOffset2000(double t);

// Tropical geocentric longitude of the Moon, degrees in 0..360, for `t` centuries from J2000.0.
double MoonTropicalLongitude(double t);

// Moon-sign label of sign 0 (Aries) .. 11 ("Libra (Thula)" for 6), or empty outside that range.
std::string_view RashiName(int sign);

// Sidereal longitude of the Moon at the birth moment, degrees in [0, 360).
double MoonSiderealLongitude(const core::BirthMoment& moment);

}  // namespace solvane::vedic
