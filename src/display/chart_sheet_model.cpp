#include "display/chart_sheet_model.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "core/civil_date.h"
#include "core/zodiac.h"
#include "entry/time_zones.h"
#include "vedic/dasha.h"
#include "vedic/nakshatra.h"

namespace solvane::display {
namespace {

constexpr int kSecondsPerMinute = 60;
constexpr int kSecondsPerHour = 3600;
constexpr double kMinutesPerDay = 1440;

// The rows' order: the planets, the nodes, then the two angles.
constexpr core::Body kRowOrder[] = {
    core::kSun,     core::kMoon,   core::kMercury,   core::kVenus,    core::kMars,
    core::kJupiter, core::kSaturn, core::kUranus,    core::kNeptune,  core::kPluto,
    core::kRahu,    core::kKetu,   core::kAscendant, core::kMidheaven};

std::string TwoDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

// "UTC+05:21:10" for an offset typed by hand; seconds only where there are some.
std::string OffsetText(int seconds_east) {
  const int size = std::abs(seconds_east);
  std::string text = std::string("UTC") + (seconds_east < 0 ? "-" : "+") +
                     TwoDigits(size / kSecondsPerHour) + ":" +
                     TwoDigits(size % kSecondsPerHour / kSecondsPerMinute);
  if (size % kSecondsPerMinute != 0) text += ":" + TwoDigits(size % kSecondsPerMinute);
  return text;
}

std::string ZoneText(const SheetSource& source) {
  const int position = source.form.cmbTimeZone;
  std::string zone;
  if (position >= 0 && position < entry::kTimeZoneCount)
    zone = entry::TimeZoneTable()[static_cast<std::size_t>(position)].text;
  else if (position == entry::kTimeZoneCount)
    zone = OffsetText(source.form.otherOffsetSecondsEast);
  if (source.state.birth.DaylightSaving) zone += ", daylight saving";
  return zone;
}

std::string AyanamsaText(const core::ChartState& state) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6f\xC2\xB0", -state.positions.ayanamsa_offset);
  return text;
}

std::vector<SheetLine> BirthLines(const SheetSource& source) {
  const ChartWindowModel& window = source.window;
  std::vector<SheetLine> lines = {{"Date of birth", window.chart_date},
                                  {"Time of birth", window.chart_time},
                                  {"Time zone", ZoneText(source)}};
  if (!source.zone_note.empty()) lines.push_back({"Zone chosen", source.zone_note});
  if (!window.chart_place.empty()) lines.push_back({"Place", window.chart_place});
  lines.push_back({"Latitude", window.lblLatitude});
  lines.push_back({"Longitude", window.lblLongitude});
  const bool precise = source.state.positions.to_the_second;
  lines.push_back(
      {"Ephemeris", std::string(source.state.engine) +
                        (precise ? " (to the arc-second)" : " (the chart's formulas)")});
  lines.push_back({"Ayanamsa", AyanamsaText(source.state)});
  return lines;
}

std::string DegreesText(core::SignDms dms, bool with_seconds) {
  std::string text =
      TwoDigits(dms.degrees) + std::string(core::kDegreeSign) + " " + TwoDigits(dms.minutes) + "'";
  if (with_seconds) text += " " + TwoDigits(dms.seconds) + "\"";
  return text;
}

SheetPositionRow PositionRow(const core::EnginePositions& positions, core::Body body) {
  SheetPositionRow row;
  row.body = core::kBodyNames[body];
  const core::Angle longitude = positions.longitude[body];
  const int sign = longitude.SignIndex();
  if (sign >= 0) {
    row.sign = core::kSignNames[static_cast<std::size_t>(sign)];
    row.degrees = DegreesText(longitude.InSign(), positions.to_the_second);
    const vedic::NakshatraPlace place = vedic::NakshatraOf(longitude.Degrees());
    row.nakshatra = place.Name();
    row.pada = std::to_string(place.pada);
  }
  if (positions.retrograde[body]) row.retrograde = "R";
  return row;
}

std::string SpanText(const vedic::DashaPeriod& period) {
  return std::string(vedic::LordName(period.lord)) + " " + vedic::DateText(period.shown_start_day) +
         " to " + vedic::DateText(period.shown_end_day);
}

double BirthDay(const core::BirthData& b) {
  return static_cast<double>(core::DaysFromCivil(b.Year, b.Month, b.Day)) +
         (b.Hour * 60 + b.Minute) / kMinutesPerDay;
}

void AddPeriods(const SheetSource& source, ChartSheetModel& sheet) {
  const core::EnginePositions& positions = source.state.positions;
  const auto periods = vedic::Vimshottari::FromMoon(
      positions.longitude[core::kMoon].Degrees(), BirthDay(source.state.birth),
      source.periods.year_days, !positions.to_the_second);
  if (!periods) {
    sheet.period_lines.push_back({"Periods", "not available: " + periods.error().message});
    return;
  }
  sheet.periods_note = vedic::PeriodsNote(periods->YearDays(), periods->Approximate());
  std::string balance = vedic::BalanceText(*periods);
  if (const vedic::Mahadashas listed = periods->ListedMahadashas(); !listed.empty())
    balance += " (to " + vedic::DateText(listed[0].shown_end_day) + ")";
  sheet.period_lines.push_back({"Balance at birth", balance});
  if (!source.periods.current_day) return;
  const long day = *source.periods.current_day;
  const std::string label = "Periods on " + vedic::DateText(static_cast<double>(day));
  const auto running = periods->RunningOnDate(day);
  if (!running) {
    sheet.period_lines.push_back({label, "outside the 120 years listed"});
    return;
  }
  sheet.period_lines.push_back({label, vedic::PathText(*running)});
  sheet.period_lines.push_back({"Mahadasha", SpanText(running->mahadasha)});
  sheet.period_lines.push_back({"Antardasha", SpanText(running->antardasha)});
  sheet.period_lines.push_back({"Pratyantardasha", SpanText(running->pratyantardasha)});
}

}  // namespace

ChartSheetModel BuildChartSheet(const SheetSource& source) {
  ChartSheetModel sheet;
  sheet.title = source.state.birth.Name;
  sheet.birth_lines = BirthLines(source);
  for (const core::Body body : kRowOrder)
    sheet.positions.push_back(PositionRow(source.state.positions, body));
  AddPeriods(source, sheet);
  return sheet;
}

std::vector<ReportParagraph> ReportParagraphs(const std::vector<report::RichTextPiece>& pieces) {
  constexpr std::string_view kBreak = "\r\n";
  std::vector<ReportParagraph> paragraphs;
  ReportParagraph current;
  const auto finish = [&] {
    bool all_bold = !current.runs.empty();
    for (const report::RichTextPiece& run : current.runs) all_bold = all_bold && run.bold;
    current.heading = all_bold;
    paragraphs.push_back(std::move(current));
    current = {};
  };
  for (const report::RichTextPiece& piece : pieces) {
    std::string_view rest = piece.text;
    while (!rest.empty()) {
      const std::size_t end = rest.find(kBreak);
      const std::string_view part = rest.substr(0, end);
      if (!part.empty()) current.runs.push_back({piece.bold, piece.colour, std::string(part)});
      if (end == std::string_view::npos) break;
      finish();
      rest.remove_prefix(end + kBreak.size());
    }
  }
  if (!current.runs.empty()) finish();
  return paragraphs;
}

namespace {

double Sum(const std::vector<double>& heights, std::size_t count) {
  double sum = 0;
  for (std::size_t i = 0; i < std::min(count, heights.size()); ++i) sum += heights[i];
  return sum;
}

// The height a paragraph needs left on the page before it starts there.
double NeededToStart(const std::vector<ParagraphLines>& paragraphs, std::size_t index,
                     int kept_lines) {
  const ParagraphLines& paragraph = paragraphs[index];
  if (!paragraph.heading) return paragraph.line_heights.front();
  double needed = Sum(paragraph.line_heights, paragraph.line_heights.size());
  for (std::size_t next = index + 1; next < paragraphs.size(); ++next) {
    if (paragraphs[next].line_heights.empty()) continue;
    needed += Sum(paragraphs[next].line_heights, static_cast<std::size_t>(kept_lines));
    break;
  }
  return needed;
}

}  // namespace

std::vector<LinePlace> PaginateParagraphs(const std::vector<ParagraphLines>& paragraphs,
                                          const PagingRules& rules) {
  std::vector<LinePlace> places;
  int page = 0;
  double y = rules.first_page_top;
  bool page_empty = true;
  double pending_gap = 0;
  const auto next_page = [&] {
    ++page;
    y = 0;
    page_empty = true;
  };
  for (std::size_t i = 0; i < paragraphs.size(); ++i) {
    const std::vector<double>& heights = paragraphs[i].line_heights;
    if (heights.empty()) {
      pending_gap = rules.gap;
      continue;
    }
    if (!page_empty) y += pending_gap;
    pending_gap = 0;
    if (!page_empty && y + NeededToStart(paragraphs, i, rules.kept_lines) > rules.page_height)
      next_page();
    for (std::size_t l = 0; l < heights.size(); ++l) {
      if (!page_empty && y + heights[l] > rules.page_height) next_page();
      places.push_back({static_cast<int>(i), static_cast<int>(l), page, y});
      y += heights[l];
      page_empty = false;
    }
  }
  return places;
}

}  // namespace solvane::display
