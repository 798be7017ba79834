// The chart's own formulas as a positions engine: the default everywhere.
#pragma once

#include "core/positions_engine.h"

namespace solvane::run {

class ClassicEngine final : public core::PositionsEngine {
 public:
  std::string_view Name() const override { return "classic"; }
  // The chart angles and the ayanamsa, the Moon, the Sun, planets and nodes, then the retrograde
  // marks of the station tables.
  core::EnginePositions Compute(const core::BirthMoment& moment) const override;
};

// The one classic engine; it holds no state.
const core::PositionsEngine& Classic();

}  // namespace solvane::run
