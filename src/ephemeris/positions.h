// Sidereal positions of the Sun, planets and lunar nodes, and the short position texts.
#pragma once

#include <string>
#include <string_view>

#include "core/chart_state.h"

namespace solvane::ephemeris {

// Nine-character short text of a long position text: two-digit degrees, a blank, the sign
// abbreviation, a blank, two-digit minutes ("05 Tau 07"); seconds dropped. A text without a degree
// sign or an apostrophe yields "0" for the missing parts rather than failing.
std::string ShortPosition(std::string_view long_text);

// Sidereal longitude of the mean ascending lunar node for day count `d`, degrees in 0..360, with
// the ayanamsa magnitude `ayanamsa` already subtracted.
double RahuLongitude(double d, double ayanamsa);

// Reads the birth, the zone offset, `AyanamsaOffset`, `AscendantString`, `MidheavenString` and
// `MoonSiderealString`; writes all fourteen `PositionStrings`. Runs after the chart angles and the
// Moon.
void CalcPlanetPositions(core::ChartState& state);

}  // namespace solvane::ephemeris
