#include "cli/picture_output.h"

namespace solvane::cli {

std::optional<std::string> PictureConflict(const Flags&) { return std::nullopt; }

core::Result<void, CliFailure> WriteChartPicture(const Flags& flags, const core::ChartState&,
                                                 const display::ChartWindowModel&,
                                                 const entry::BirthFormSnapshot&) {
  if (!flags.svg) return {};
  return core::Unexpected{CliFailure{kExitFailure, "--svg is not available yet"}};
}

}  // namespace solvane::cli
