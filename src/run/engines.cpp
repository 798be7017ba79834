#include "run/engines.h"

#include <string>

#include "precise/precise_positions.h"
#include "run/classic_engine.h"

namespace solvane::run {

core::Result<const core::PositionsEngine*> EngineNamed(std::string_view engine,
                                                       std::string_view node) {
  static const precise::PrecisePositions kPreciseMean(core::NodeKind::kMean);
  static const precise::PrecisePositions kPreciseTrue(core::NodeKind::kTrue);
  if (engine.empty() || engine == "classic") {
    if (node.empty() || node == "classic") return &Classic();
    return core::Fail("The node \"" + std::string(node) +
                      "\" needs the precise positions (--ephemeris precise); the classic "
                      "positions have their own node.");
  }
  if (engine != "precise")
    return core::Fail("The ephemeris \"" + std::string(engine) +
                      "\" is not known: use classic or precise.");
  if (node.empty() || node == "mean") return &kPreciseMean;
  if (node == "true") return &kPreciseTrue;
  return core::Fail("The node \"" + std::string(node) + "\" is not known: use mean or true.");
}

std::string_view NodeName(core::NodeKind node) {
  switch (node) {
    case core::NodeKind::kMean:
      return "mean";
    case core::NodeKind::kTrue:
      return "true";
    case core::NodeKind::kClassic:
      break;
  }
  return "classic";
}

}  // namespace solvane::run
