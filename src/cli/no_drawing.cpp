// A solvane-chart built without Qt (no desktop program): the chart sheet and pictures are refused
// with a message instead of being left out of the flags.
#include "cli/pdf_output.h"
#include "cli/picture_output.h"

namespace solvane::cli {
namespace {

constexpr const char* kNoDrawing =
    ": this solvane-chart was built without the desktop program's drawing (Qt); build it with "
    "the desktop program to write charts as files";

}  // namespace

std::optional<std::string> PdfConflict(const Flags& flags) {
  if (flags.pdf) return std::string("--pdf") + kNoDrawing;
  return std::nullopt;
}

std::optional<std::string> PictureConflict(const Flags& flags) {
  if (flags.svg) return std::string("--svg") + kNoDrawing;
  return std::nullopt;
}

core::Result<void, CliFailure> WritePdfSheet(const Flags&, const core::ChartState&,
                                             const display::ChartWindowModel&,
                                             const entry::BirthFormSnapshot&,
                                             const PeriodOptions&) {
  return {};
}

core::Result<void, CliFailure> WriteChartPicture(const Flags&, const core::ChartState&,
                                                 const display::ChartWindowModel&,
                                                 const entry::BirthFormSnapshot&) {
  return {};
}

}  // namespace solvane::cli
