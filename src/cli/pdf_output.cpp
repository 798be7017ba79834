#include "cli/pdf_output.h"

#include <ctime>
#include <string_view>

#include "cli/file_output.h"
#include "cli/gui_session.h"
#include "core/civil_date.h"
#include "display/chart_sheet.h"
#include "entry/time_zones.h"

namespace solvane::cli {
namespace {

// Today's date on the local clock, as days since 1970-01-01: the periods the sheet calls current.
std::optional<long> LocalToday() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return std::nullopt;
  return core::DaysFromCivil(local.tm_year + 1900L, local.tm_mon + 1L, local.tm_mday);
}

// How the chart's zone was chosen, in the order the flags take precedence.
std::string ZoneNote(const Flags& flags, const entry::BirthFormSnapshot& form) {
  if (flags.fields.count("zone") > 0)
    return form.cmbTimeZone == entry::kTimeZoneCount ? "an exact offset given with --zone"
                                                     : "from the zone list (--zone)";
  if (flags.tz) return "from the tz database for " + *flags.tz;
  if (flags.place) return "from the tz database at the place found for --place";
  if (flags.saved) return "as saved with the birth";
  if (flags.sample) return "the sample birth's zone";
  return "the first zone of the list (none was given)";
}

std::optional<display::ChartStyle> SquareStyle(const Flags& flags) {
  if (flags.chart_style == "wheel") return std::nullopt;
  return display::ChartStyleFromName(flags.chart_style);
}

}  // namespace

std::optional<std::string> PdfConflict(const Flags& flags) {
  if (flags.pdf && flags.batch)
    return "--pdf and --batch cannot go together: --pdf writes the sheet of one chart, while "
           "--batch charts many (chart each birth on its own to get its sheet)";
  return std::nullopt;
}

core::Result<void, CliFailure> WritePdfSheet(const Flags& flags, const core::ChartState& state,
                                             const display::ChartWindowModel& window,
                                             const entry::BirthFormSnapshot& form,
                                             const PeriodOptions& periods) {
  if (!flags.pdf) return {};
  const display::SheetPeriodOptions sheet_periods{
      periods.year_days, periods.marked_date_day ? periods.marked_date_day : LocalToday()};
  const display::SheetInput input{{state, window, form, sheet_periods, ZoneNote(flags, form)},
                                  SquareStyle(flags)};
  return WithGui([&]() -> core::Result<void, CliFailure> {
    const auto pdf = display::ChartSheetPdf(input);
    if (!pdf) return core::Unexpected{CliFailure{kExitFailure, "--pdf: " + pdf.error().message}};
    const auto written = WriteFileReplacing(
        *flags.pdf, std::string_view(pdf->constData(), static_cast<std::size_t>(pdf->size())));
    if (!written)
      return core::Unexpected{CliFailure{kExitFailure, "--pdf: " + written.error().message}};
    return {};
  });
}

}  // namespace solvane::cli
