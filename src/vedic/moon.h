// The Moon's sidereal position from a 25-term lunar series, and the Moon sign.
#pragma once

#include <string_view>

#include "core/chart_state.h"

namespace solvane::vedic {

// Ayanamsa (degrees, negative) for `t` Julian centuries from J2000.0. It differs from the
// 1900-based ayanamsa of the other bodies by a few arc-seconds.
double AyanamsaOffset2000(double t);

// Tropical geocentric longitude of the Moon, degrees in 0..360, for `t` centuries from J2000.0.
double MoonTropicalLongitude(double t);

// Moon-sign label of a three-letter abbreviation ("Lib" -> "Libra (Thula)"), or empty.
std::string_view RashiNameOf(std::string_view abbreviation);

// Reads the birth and the zone offset of `state`; writes `MoonSiderealString`, and `RashiName` when
// the sign is recognised (otherwise `RashiName` keeps its value).
void CalcVedicDetails(core::ChartState& state);

}  // namespace solvane::vedic
