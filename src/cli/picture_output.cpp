#include "cli/picture_output.h"

#include "cli/gui_session.h"
#include "display/chart_style_painter.h"
#include "display/wheel_painter.h"

namespace solvane::cli {

std::optional<std::string> PictureConflict(const Flags& flags) {
  if (flags.Given("--chart-style") && !flags.svg && !flags.pdf)
    return std::string(
        "--chart-style needs --svg or --pdf: it only chooses how they draw the chart");
  if (!flags.svg) return std::nullopt;
  if (flags.batch)
    return std::string(
        "--svg and --batch cannot go together: a batch charts many births, and --svg writes one "
        "picture");
  // Two outputs into one file would leave only the last, with no word of the first.
  if (flags.pdf && *flags.pdf == *flags.svg)
    return "--svg and --pdf name the same file: " + *flags.svg;
  if (flags.report && *flags.report == *flags.svg)
    return "--svg and --report name the same file: " + *flags.svg;
  display::PictureOptions options;
  if (!display::SetPictureStyle(flags.chart_style, options))
    return "--chart-style: expected wheel, south, north or east, got " + flags.chart_style;
  return std::nullopt;
}

core::Result<void, CliFailure> WriteChartPicture(const Flags& flags, const core::ChartState&,
                                                 const display::ChartWindowModel& window,
                                                 const entry::BirthFormSnapshot&) {
  if (!flags.svg) return {};
  display::PictureOptions options;
  if (!display::SetPictureStyle(flags.chart_style, options))
    return core::Unexpected{CliFailure{kExitRefused, "--chart-style: " + flags.chart_style}};
  // The wheel at the size the chart window shows it.
  if (options.wheel) options.chart_side = display::WheelSize().height();
  return WithGui([&]() -> core::Result<void, CliFailure> {
    const core::Result<void> written = display::WriteChartSvg(*flags.svg, window, options);
    if (!written)
      return core::Unexpected{CliFailure{kExitFailure, "--svg: " + written.error().message}};
    return {};
  });
}

}  // namespace solvane::cli
