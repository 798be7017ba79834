// The chart sheet's texts: what page 1 says (birth data, positions, periods) and how the house
// report falls into headings and paragraphs. The drawing (chart_sheet.h) only lays these out.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/chart_state.h"
#include "display/chart_window_model.h"
#include "entry/form_rules.h"
#include "report/rich_text.h"

namespace solvane::display {

// How the sheet lists the Vimshottari periods.
struct SheetPeriodOptions {
  double year_days = 365.25;  // days in a year of the periods
  // The date whose running periods page 1 shows (days since 1970-01-01), normally today; none
  // leaves the current periods out.
  std::optional<long> current_day;
};

// Everything the sheet is made from. `zone_note` says how the zone was chosen ("from the zone
// list", "from the tz database for Asia/Kolkata"); an empty note is left out.
struct SheetSource {
  const core::ChartState& state;
  const ChartWindowModel& window;
  const entry::BirthFormSnapshot& form;
  SheetPeriodOptions periods;
  std::string zone_note;
};

// A labelled line: "Date of birth" "15 August 1980".
struct SheetLine {
  std::string label;
  std::string value;
  friend bool operator==(const SheetLine&, const SheetLine&) = default;
};

// One row of the positions table.
struct SheetPositionRow {
  std::string body;     // "Sun", "Ascendant"
  std::string sign;     // "Cancer"; "" for a position without a sign
  std::string degrees;  // within the sign, truncated: "28° 46'", or "28° 46' 07\"" to the second
  std::string nakshatra;   // "Ashlesha"
  std::string pada;        // "4"
  std::string retrograde;  // "R" for a body moving backwards, else ""
  friend bool operator==(const SheetPositionRow&, const SheetPositionRow&) = default;
};

inline constexpr const char* kSheetPositionHeadings[] = {"Body",      "Sign", "Degrees",
                                                         "Nakshatra", "Pada", "Retrograde"};

struct ChartSheetModel {
  std::string title;                   // the person's name
  std::vector<SheetLine> birth_lines;  // date, time, zone, place, coordinates, ephemeris
  std::vector<SheetPositionRow> positions;
  std::vector<SheetLine> period_lines;  // balance at birth, then the periods running now
  std::string periods_note;             // the year's length; why dates may be off
};

// Page 1's texts. The rows run Sun..Pluto, Rahu, Ketu, Ascendant, Midheaven.
ChartSheetModel BuildChartSheet(const SheetSource& source);

// A paragraph of the house report: its runs in their formats, without the line break. A heading
// is a paragraph written in bold throughout; it is kept on the page of the paragraph after it.
struct ReportParagraph {
  std::vector<report::RichTextPiece> runs;
  bool heading = false;
  bool Empty() const { return runs.empty(); }
};

// The report's pieces cut at their "\r\n" line breaks; an empty line gives an empty paragraph.
std::vector<ReportParagraph> ReportParagraphs(const std::vector<report::RichTextPiece>& pieces);

// ---- Pages of the report ----

// A laid-out paragraph as pagination sees it: the heights of its lines (any unit, the same for
// all); no lines for an empty paragraph, which only puts a gap between the others.
struct ParagraphLines {
  std::vector<double> line_heights;
  bool heading = false;
};

struct PagingRules {
  double first_page_top = 0;  // where the report starts on its first page (under its title)
  double page_height = 0;     // the text area of every page
  double gap = 0;             // what an empty paragraph adds, except at the top of a page
  int kept_lines = 3;         // a heading stays with this many lines of the paragraph after it
};

// Where a line goes: its page (0 = the report's first) and its top on that page.
struct LinePlace {
  int paragraph = 0;
  int line = 0;
  int page = 0;
  double top = 0;
  friend bool operator==(const LinePlace&, const LinePlace&) = default;
};

// Fills pages top to bottom, breaking between lines. A heading goes to the next page unless it and
// the start of its paragraph fit on this one; a line taller than a page still gets a page.
std::vector<LinePlace> PaginateParagraphs(const std::vector<ParagraphLines>& paragraphs,
                                          const PagingRules& rules);

}  // namespace solvane::display
