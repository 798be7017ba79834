#include "run/classic_engine.h"

#include "core/chart_state.h"
#include "ephemeris/chart_angles.h"
#include "ephemeris/positions.h"
#include "retrogrades/retrogrades.h"
#include "vedic/moon.h"

namespace solvane::run {

core::EnginePositions ClassicEngine::Compute(const core::BirthMoment& moment) const {
  core::EnginePositions out;
  const ephemeris::SiderealAngles angles = ephemeris::ComputeSiderealAngles(moment);
  out.ayanamsa_offset = angles.ayanamsa_offset;
  out.longitude[core::kAscendant] = core::Angle(angles.ascendant);
  out.longitude[core::kMidheaven] = core::Angle(angles.midheaven);
  out.longitude[core::kMoon] = core::Angle(vedic::MoonSiderealLongitude(moment));
  ephemeris::ComputePlanetLongitudes(moment, angles.ayanamsa_offset, out);
  retrogrades::MarkRetrogrades(moment.birth, out);
  out.node = core::NodeKind::kClassic;
  return out;
}

const core::PositionsEngine& Classic() {
  static const ClassicEngine engine;
  return engine;
}

}  // namespace solvane::run
