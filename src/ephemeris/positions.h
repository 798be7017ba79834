// Sidereal positions of the Sun, planets and lunar nodes.
#pragma once

#include "core/positions_engine.h"

namespace solvane::ephemeris {

// Sidereal longitude of the mean ascending lunar node for day count `d`, degrees in 0..360, with
// the ayanamsa magnitude `ayanamsa` already subtracted.
double RahuLongitude(double d, double ayanamsa);

// Writes the sidereal longitudes of the Sun, Mercury to Pluto, Rahu and Ketu of the universal birth
// moment into `out`, for the ayanamsa `ayanamsa_offset` of the chart angles (degrees, negative).
void ComputePlanetLongitudes(const core::BirthMoment& moment, double ayanamsa_offset,
                             core::EnginePositions& out);

}  // namespace solvane::ephemeris
