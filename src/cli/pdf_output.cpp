#include "cli/pdf_output.h"

namespace solvane::cli {

std::optional<std::string> PdfConflict(const Flags&) { return std::nullopt; }

core::Result<void, CliFailure> WritePdfSheet(const Flags& flags, const core::ChartState&,
                                             const display::ChartWindowModel&,
                                             const entry::BirthFormSnapshot&,
                                             const PeriodOptions&) {
  if (!flags.pdf) return {};
  return core::Unexpected{CliFailure{kExitFailure, "--pdf is not available yet"}};
}

}  // namespace solvane::cli
