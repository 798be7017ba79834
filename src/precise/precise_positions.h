// The precise engine behind the chart run's engine seam.
#pragma once

#include "core/positions_engine.h"

namespace solvane::precise {

class PrecisePositions final : public core::PositionsEngine {
 public:
  // `node` is kMean or kTrue; the classic node belongs to the classic formulas only.
  explicit PrecisePositions(core::NodeKind node) : node_(node) {}
  std::string_view Name() const override { return "precise"; }
  // Every position to the arc-second, the daily speeds, and a planet retrograde when its apparent
  // speed is negative.
  core::EnginePositions Compute(const core::BirthMoment& moment) const override;

 private:
  core::NodeKind node_;
};

// Julian day (universal time) of the birth: the civil date and clock time less the zone offset
// (and an hour more with daylight saving).
double BirthJulianDayUt(const core::BirthMoment& moment);

}  // namespace solvane::precise
