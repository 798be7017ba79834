// The chart sheet's texts: the birth lines, the positions table in both engines' precision, the
// periods, and the report cut into headings and paragraphs.
#include "display/chart_sheet_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/civil_date.h"
#include "entry/time_zones.h"
#include "report/report_texts.h"
#include "vedic/dasha.h"

namespace solvane::display {

void PrintTo(const SheetLine& line, std::ostream* out) {
  *out << '{' << line.label << ": " << line.value << '}';
}
void PrintTo(const LinePlace& place, std::ostream* out) {
  *out << "{paragraph " << place.paragraph << " line " << place.line << " page " << place.page
       << " top " << place.top << '}';
}
void PrintTo(const SheetPositionRow& row, std::ostream* out) {
  *out << '{' << row.body << " | " << row.sign << " | " << row.degrees << " | " << row.nakshatra
       << " | " << row.pada << " | " << row.retrograde << '}';
}

namespace {

// A chart made by hand: every body at 1° Aries unless a case moves it.
struct HandChart {
  core::ChartState state;
  ChartWindowModel window;
  entry::BirthFormSnapshot form;

  HandChart() {
    state.birth.Name = "ASHA RAO";
    state.birth.Year = 2000;
    state.birth.Month = 1;
    state.birth.Day = 1;
    for (auto& longitude : state.positions.longitude) longitude = core::Angle(1);
    form.cmbTimeZone = entry::kDefaultTimeZone;
  }
  ChartSheetModel Sheet(SheetPeriodOptions periods = {}, std::string note = "") const {
    return BuildChartSheet({state, window, form, periods, std::move(note)});
  }
};

const SheetPositionRow& RowOf(const ChartSheetModel& sheet, const std::string& body) {
  for (const SheetPositionRow& row : sheet.positions)
    if (row.body == body) return row;
  static const SheetPositionRow kNone;
  ADD_FAILURE() << "no row for " << body;
  return kNone;
}

std::string ValueOf(const std::vector<SheetLine>& lines, const std::string& label) {
  for (const SheetLine& line : lines)
    if (line.label == label) return line.value;
  return "<no line " + label + ">";
}

TEST(ChartSheetModel, PositionRowsInBothPrecisions) {
  struct Case {
    const char* why;
    core::Body body;
    double longitude;
    bool precise, retrograde;
    SheetPositionRow want;
  };
  const Case cases[] = {
      // 118.5° = Cancer 28°30'; Ashlesha spans 106°40'..120°, its 4th pada from 116°40'.
      {"classic, minutes only",
       core::kSun,
       118.5,
       false,
       false,
       {"Sun", "Cancer", "28° 30'", "Ashlesha", "4", ""}},
      // 45.5125° = Taurus 15°30'45"; Rohini from 40°, 2nd pada from 43°20'.
      {"precise shows seconds",
       core::kMoon,
       45.5125,
       true,
       false,
       {"Moon", "Taurus", "15° 30' 45\"", "Rohini", "2", ""}},
      {"classic drops the same seconds",
       core::kMoon,
       45.5125,
       false,
       false,
       {"Moon", "Taurus", "15° 30'", "Rohini", "2", ""}},
      // 200° = 15 x 13°20': the first point of Vishakha, Libra 20°.
      {"retrograde on a nakshatra's first point",
       core::kSaturn,
       200.0,
       false,
       true,
       {"Saturn", "Libra", "20° 00'", "Vishakha", "1", "R"}},
      {"the Midheaven is listed too",
       core::kMidheaven,
       359.99,
       true,
       false,
       {"Midheaven", "Pisces", "29° 59' 24\"", "Revati", "4", ""}},
      {"a value without a sign stays blank",
       core::kKetu,
       -1.0,
       false,
       true,
       {"Ketu", "", "", "", "", "R"}},
  };
  for (const Case& c : cases) {
    HandChart chart;
    chart.state.positions.to_the_second = c.precise;
    chart.state.positions.longitude[c.body] = core::Angle(c.longitude);
    chart.state.positions.retrograde[c.body] = c.retrograde;
    EXPECT_EQ(RowOf(chart.Sheet(), c.want.body), c.want) << c.why;
  }
}

TEST(ChartSheetModel, ZoneLineAndHowItWasChosen) {
  struct Case {
    const char* why;
    int zone;
    int offset_east;
    bool dst;
    std::string note;
    std::string want_zone;
  };
  const std::string gmt(entry::TimeZoneTable()[entry::kDefaultTimeZone].text);
  const Case cases[] = {
      {"a listed zone", entry::kDefaultTimeZone, 0, false, "from the zone list", gmt},
      {"daylight saving is said", entry::kDefaultTimeZone, 0, true, "", gmt + ", daylight saving"},
      // 5 h 21 min 10 s east: Madras mean time, typed as an exact offset.
      {"an offset typed by hand keeps its seconds", entry::kTimeZoneCount, 19270, false, "x",
       "UTC+05:21:10"},
      {"a western offset in whole minutes", entry::kTimeZoneCount, -12600, false, "x", "UTC-03:30"},
  };
  for (const Case& c : cases) {
    HandChart chart;
    chart.form.cmbTimeZone = c.zone;
    chart.form.otherOffsetSecondsEast = c.offset_east;
    chart.state.birth.DaylightSaving = c.dst ? -1 : 0;
    const ChartSheetModel sheet = chart.Sheet({}, c.note);
    EXPECT_EQ(ValueOf(sheet.birth_lines, "Time zone"), c.want_zone) << c.why;
    if (c.note.empty())
      EXPECT_EQ(ValueOf(sheet.birth_lines, "Zone chosen"), "<no line Zone chosen>") << c.why;
    else
      EXPECT_EQ(ValueOf(sheet.birth_lines, "Zone chosen"), c.note) << c.why;
  }
}

TEST(ChartSheetModel, EngineAyanamsaAndAnEmptyPlace) {
  HandChart chart;
  chart.state.engine = "precise";
  chart.state.positions.to_the_second = true;
  chart.state.positions.ayanamsa_offset = -23.584384;  // the sample chart's, as --format text shows
  const ChartSheetModel sheet = chart.Sheet();
  EXPECT_EQ(ValueOf(sheet.birth_lines, "Ephemeris"), "precise (to the arc-second)");
  EXPECT_EQ(ValueOf(sheet.birth_lines, "Ayanamsa"), "23.584384°");
  // Without a place there is no empty "Place" line.
  EXPECT_EQ(ValueOf(sheet.birth_lines, "Place"), "<no line Place>");
}

TEST(ChartSheetModel, PeriodLines) {
  // Moon at 0°: the first point of Ashwini, so the whole of Ketu's 7 years runs from the birth,
  // 2000-01-01 00:00. In years of 365.25 days Ketu ends 2556.75 days later; 2000 and 2004 are leap
  // years, so 2007-01-01 is 2557 days on and Ketu ends on 2006-12-31.
  // Ketu/Ketu lasts 7 x 7 / 120 years (149.1 days); Ketu/Ketu/Ketu 8.7 days, then Ketu/Ketu/Venus
  // 24.9 days: day 10 falls in that one.
  const long birth = core::DaysFromCivil(2000, 1, 1);
  struct Case {
    const char* why;
    std::optional<long> day;
    std::vector<SheetLine> want;
  };
  const SheetLine balance{"Balance at birth", "Ketu 7 years 0 months 0 days (to 2006-12-31)"};
  const Case cases[] = {
      {"no date: the balance alone", std::nullopt, {balance}},
      {"ten days after birth",
       birth + 10,
       {balance,
        {"Periods on 2000-01-11", "Ketu / Ketu / Venus"},
        {"Mahadasha", "Ketu 2000-01-01 to 2006-12-31"},
        {"Antardasha", "Ketu 2000-01-01 to 2000-05-29"},
        {"Pratyantardasha", "Venus 2000-01-09 to 2000-02-03"}}},
      {"a date before birth",
       birth - 1,
       {balance, {"Periods on 1999-12-31", "outside the 120 years listed"}}},
  };
  for (const Case& c : cases) {
    HandChart chart;
    chart.state.positions.longitude[core::kMoon] = core::Angle(0);
    const ChartSheetModel sheet = chart.Sheet({365.25, c.day});
    EXPECT_EQ(sheet.period_lines, c.want) << c.why;
    EXPECT_NE(sheet.periods_note.find("365.25"), std::string::npos) << c.why;
  }
}

TEST(ChartSheetModel, PeriodsNoteSaysWhenDatesAreApproximate) {
  HandChart chart;
  EXPECT_NE(chart.Sheet().periods_note.find(vedic::kApproximateNote), std::string::npos);
  chart.state.positions.to_the_second = true;
  EXPECT_EQ(chart.Sheet().periods_note.find(vedic::kApproximateNote), std::string::npos);
  // A Moon that is not a number gives no periods, and says so rather than inventing them.
  chart.state.positions.longitude[core::kMoon] = core::Angle(std::nan(""));
  const ChartSheetModel sheet = chart.Sheet({365.25, 0});
  ASSERT_EQ(sheet.period_lines.size(), 1u);
  EXPECT_EQ(sheet.period_lines[0].label, "Periods");
}

TEST(ReportParagraphs, CutAtLineBreaksWithHeadingsFound) {
  using report::RichTextPiece;
  const report::Rgb blue = report::kBlue, red = report::kDarkRed, black = report::kBlack;
  // Shaped as the house report writes: a bold heading with one break, its paragraph with two.
  const std::vector<RichTextPiece> pieces = {
      {true, blue, "Sun In First House\r\n"},
      {false, black, "Bright.\r\n\r\n"},
      {true, red, "More About "},
      {true, red, "First House\r\n"},
      {false, black, "Self. "},
      {true, black, "Bold word"},
      {false, black, " and more"},
  };
  const std::vector<ReportParagraph> got = ReportParagraphs(pieces);
  ASSERT_EQ(got.size(), 5u);
  EXPECT_TRUE(got[0].heading);
  EXPECT_EQ(got[0].runs, (std::vector<RichTextPiece>{{true, blue, "Sun In First House"}}));
  EXPECT_FALSE(got[1].heading);
  EXPECT_EQ(got[1].runs, (std::vector<RichTextPiece>{{false, black, "Bright."}}));
  EXPECT_TRUE(got[2].Empty());  // the empty line between a paragraph and the next heading
  EXPECT_FALSE(got[2].heading);
  EXPECT_TRUE(got[3].heading);  // a heading written in two pieces stays one paragraph
  EXPECT_EQ(got[3].runs.size(), 2u);
  // A paragraph with one bold word is not a heading; the last one needs no closing break.
  EXPECT_FALSE(got[4].heading);
  EXPECT_EQ(got[4].runs.size(), 3u);
}

// Paragraphs of lines one unit high: {lines, heading}; no lines for an empty paragraph.
std::vector<ParagraphLines> UnitLines(std::initializer_list<std::pair<int, bool>> shape) {
  std::vector<ParagraphLines> paragraphs;
  for (const auto& [lines, heading] : shape)
    paragraphs.push_back({std::vector<double>(static_cast<std::size_t>(lines), 1.0), heading});
  return paragraphs;
}

TEST(PaginateParagraphs, BreaksBetweenLinesAndKeepsHeadingsWithTheirText) {
  // Pages 10 high, the report starting 2 down on its first page (under its title), gaps of 0.5.
  const PagingRules rules{2, 10, 0.5, 2};
  struct Case {
    const char* why;
    std::vector<ParagraphLines> paragraphs;
    std::vector<LinePlace> some_places;  // {paragraph, line, page, top}
    int pages;
  };
  const Case cases[] = {
      // Lines at 2..9 fill the first page exactly; the ninth starts the next one at its top.
      {"a long paragraph breaks between lines",
       UnitLines({{12, false}}),
       {{0, 7, 0, 9}, {0, 8, 1, 0}, {0, 11, 1, 3}},
       2},
      // After 6 lines and a gap the heading would stand at 8.5..9.5 with its paragraph's first
      // line on the next page: it moves over, and the gap is not carried to the page's top.
      {"a heading never ends a page",
       UnitLines({{6, false}, {0, false}, {1, true}, {3, false}}),
       {{0, 5, 0, 7}, {2, 0, 1, 0}, {3, 0, 1, 1}},
       2},
      // The heading needs itself and two lines, not its whole 20-line paragraph.
      {"a heading stays when the start of its text fits",
       UnitLines({{1, true}, {20, false}}),
       {{0, 0, 0, 2}, {1, 0, 0, 3}, {1, 6, 0, 9}, {1, 7, 1, 0}},
       3},
      {"gaps between paragraphs add up within a page",
       UnitLines({{1, false}, {0, false}, {1, false}}),
       {{0, 0, 0, 2}, {2, 0, 0, 3.5}},
       1},
  };
  for (const Case& c : cases) {
    const std::vector<LinePlace> got = PaginateParagraphs(c.paragraphs, rules);
    for (const LinePlace& want : c.some_places) {
      bool found = false;
      for (const LinePlace& place : got)
        if (place.paragraph == want.paragraph && place.line == want.line) {
          EXPECT_EQ(place, want) << c.why << ": paragraph " << want.paragraph << " line "
                                 << want.line << " on page " << place.page << " at " << place.top;
          found = true;
        }
      EXPECT_TRUE(found) << c.why;
    }
    ASSERT_FALSE(got.empty()) << c.why;
    EXPECT_EQ(got.back().page + 1, c.pages) << c.why;
  }
}

TEST(PaginateParagraphs, EveryLinePlacedOnceInOrder) {
  const std::vector<ParagraphLines> paragraphs =
      UnitLines({{3, true}, {9, false}, {0, false}, {1, true}, {14, false}});
  const std::vector<LinePlace> got = PaginateParagraphs(paragraphs, {0, 7.5, 0.5, 3});
  ASSERT_EQ(got.size(), 27u);
  for (std::size_t i = 1; i < got.size(); ++i) {
    const LinePlace &a = got[i - 1], &b = got[i];
    EXPECT_TRUE(b.page > a.page || (b.page == a.page && b.top >= a.top + 1)) << i;
    EXPECT_LE(b.top + 1, 7.5) << i;  // nothing runs past the foot of a page
  }
}

}  // namespace
}  // namespace solvane::display
