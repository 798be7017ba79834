// The saved births' CSV and list texts, without the program around them.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/saved_csv.h"
#include "cli/saved_list.h"

namespace {

using solvane::cli::DisplayWidth;
using solvane::cli::ReadSavedCsv;
using solvane::cli::SavedCsvRow;
using solvane::cli::SavedCsvText;
using solvane::cli::SavedListJson;
using solvane::cli::SavedListText;
using solvane::cli::TextSource;
using solvane::cli::ZoneText;
using solvane::store::BirthRecord;

// The built-in sample birth: 15 August 1980, 06:30 IST (list position 34), New Delhi.
BirthRecord Sample(std::string name = "ASHA RAO") {
  BirthRecord r;
  r.name = std::move(name);
  r.year = 1980, r.month = 8, r.day = 15, r.hour = 6, r.minute = 30;
  r.zone_index = 34;
  r.longitude_deg = 77, r.longitude_min = 13, r.east = true;
  r.latitude_deg = 28, r.latitude_min = 36, r.south = false;
  r.city = "New Delhi", r.state = "Delhi", r.country = "India";
  return r;
}

TEST(SavedCsv, ZoneColumnTakesPositionsAndExactOffsets) {
  struct Case {
    int zone_index;
    int offset_seconds_east;
    const char* text;
  };
  // Amsterdam's mean time before 1937 was +0:19:32; Newfoundland is -3:30; 18 h is the limit.
  const Case cases[] = {{0, 0, "0"},
                        {34, 0, "34"},
                        {-1, 19 * 60 + 32, "+00:19:32"},
                        {-1, 5 * 3600 + 21 * 60 + 10, "+05:21:10"},
                        {-1, -(3 * 3600 + 30 * 60), "-03:30"},
                        {-1, 0, "+00:00"},
                        {-1, -18 * 3600, "-18:00"},
                        {-1, -59, "-00:00:59"}};
  for (const Case& c : cases) {
    BirthRecord r = Sample();
    r.zone_index = c.zone_index;
    r.offset_seconds_east = c.offset_seconds_east;
    EXPECT_EQ(ZoneText(r), c.text) << c.offset_seconds_east;
  }
}

TEST(SavedCsv, RowsQuoteWhatCsvNeedsQuoted) {
  struct Case {
    const char* name;
    const char* city;
    const char* row;
  };
  const Case cases[] = {
      {"ASHA RAO", "New Delhi",
       "ASHA RAO,1980-08-15,06:30,34,no,77E13,28N36,New Delhi,Delhi,India"},
      {"RAO, ASHA", "New Delhi",
       "\"RAO, ASHA\",1980-08-15,06:30,34,no,77E13,28N36,New Delhi,Delhi,India"},
      {"ASHA \"A\" RAO", "Delhi\nCantonment",
       "\"ASHA \"\"A\"\" RAO\",1980-08-15,06:30,34,no,77E13,28N36,\"Delhi\nCantonment\",Delhi,"
       "India"},
      // Blanks at the ends would be lost in a spreadsheet without the quotes.
      {"ASHA", " New Delhi ",
       "ASHA,1980-08-15,06:30,34,no,77E13,28N36,\" New Delhi \",Delhi,India"},
  };
  for (const Case& c : cases) {
    BirthRecord r = Sample(c.name);
    r.city = c.city;
    EXPECT_EQ(SavedCsvRow(r), c.row);
  }
}

TEST(SavedCsv, TextReadsBackAsTheSameRecords) {
  std::vector<BirthRecord> records = {Sample(), Sample("MARY-ANN O'BRIEN"), Sample("JOSÉ")};
  records[1].year = 1901, records[1].month = 1, records[1].day = 1, records[1].hour = 0;
  records[1].minute = 0, records[1].zone_index = 0, records[1].east = false;
  records[1].longitude_deg = 6, records[1].longitude_min = 15, records[1].south = true;
  records[1].latitude_deg = 53, records[1].latitude_min = 20, records[1].city = "";
  records[1].state = "Co. Dublin, \"Leinster\"";  // a comma and quotes to quote
  records[2].daylight_saving = true, records[2].state = "", records[2].country = "España";
  records[2].zone_index = 30, records[2].year = 2050, records[2].month = 12, records[2].day = 31;
  const std::string text = SavedCsvText(records);
  const auto read = ReadSavedCsv(TextSource(text));
  ASSERT_TRUE(read) << read.error().message;
  EXPECT_TRUE(read->refused.empty()) << read->refused.front().message;
  EXPECT_EQ(read->rows, records.size());
  EXPECT_EQ(read->records, records);
  EXPECT_EQ(SavedCsvText(read->records), text);
}

TEST(SavedCsv, RefusedRowsAreListedByTheLineTheyStartOn) {
  const std::string text =
      "name,date,time,zone,lon,lat\n"                     // line 1
      "GOOD ONE,1980-08-15,06:30,34,77E13,28N36\n"        // 2
      "\n"                                                // 3: blank, not a row
      "BAD DATE,1981-02-29,06:30,34,77E13,28N36\n"        // 4: no 29 February in 1981
      "\"TWO\nLINES\",1980-08-15,06:30,34,77E13,28N36\n"  // 5-6: a line break in a name
      "BAD LON,1980-08-15,06:30,34,181E0,28N36\n"         // 7: the form takes 0 to 179
      "SHORT,1980-08-15\n"                                // 8
      "BAD \"QUOTE\",1980-08-15,06:30,34,77E13,28N36\n"   // 9: not CSV
      "GOOD TWO,1990-01-31,23:59,IST,0W0,0S0\n";          // 10
  const auto read = ReadSavedCsv(TextSource(text));
  ASSERT_TRUE(read) << read.error().message;
  EXPECT_EQ(read->rows, 7u);
  std::vector<std::size_t> lines;
  for (const auto& row : read->refused) lines.push_back(row.line);
  EXPECT_EQ(lines, (std::vector<std::size_t>{4, 5, 7, 8, 9}));
  ASSERT_EQ(read->records.size(), 2u);
  EXPECT_EQ(read->records[0].name, "GOOD ONE");
  EXPECT_EQ(read->records[1].name, "GOOD TWO");
  EXPECT_EQ(read->records[1].zone_index, 34);  // IST is position 34
  EXPECT_FALSE(read->records[1].east);
  EXPECT_TRUE(read->records[1].south);
}

TEST(SavedCsv, HeaderFaultsStopTheWholeFile) {
  const char* texts[] = {"", "\n\n", "name,date,note\nA,1980-08-15,x\n", "name,date,Name\n"};
  for (const char* text : texts) {
    const auto read = ReadSavedCsv(TextSource(text));
    ASSERT_FALSE(read) << text;
    EXPECT_FALSE(read.error().unreadable);
  }
}

TEST(SavedList, DisplayWidthCountsWhatATerminalShows) {
  struct Case {
    const char* text;
    std::size_t width;
  };
  const Case cases[] = {
      {"ASHA", 4},         {"JOS\xC3\x89", 4},  // É precomposed
      {"JOSE\xCC\x81", 4},                      // E and a combining acute accent
      {"राम", 2},                               // र, the vowel sign ा (a mark), म
      {"王小明", 6},                            // wide CJK ideographs
      {"\xFF", 1},  // a byte that is not UTF-8 shows as one replacement character
  };
  for (const Case& c : cases) EXPECT_EQ(DisplayWidth(c.text), c.width) << c.text;
}

TEST(SavedList, TableColumnsLineUpWhateverTheScript) {
  const std::vector<BirthRecord> records = {Sample("王小明"), Sample("JOSE\xCC\x81"),
                                            Sample("ASHA RAO")};
  const std::string text = SavedListText(records);
  std::vector<std::string> lines;
  for (std::size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
    lines.push_back(text.substr(at, end - at));
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].substr(0, 4), "NAME");
  // The date starts in the same terminal column on every line: after the widest name (8) and 2.
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::size_t at = lines[i].find("1980-08-15");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(DisplayWidth(lines[i].substr(0, at)), 10u) << lines[i];
    EXPECT_NE(lines[i].find("06:30  New Delhi, Delhi, India"), std::string::npos) << lines[i];
  }
  EXPECT_EQ(DisplayWidth(lines[0].substr(0, lines[0].find("DATE"))), 10u);
}

TEST(SavedList, NamesCannotSteerTheTerminal) {
  const std::vector<BirthRecord> records = {Sample("ASHA\x1B[2J")};
  EXPECT_EQ(SavedListText(records).find('\x1B'), std::string::npos);
}

TEST(SavedList, JsonHasEveryMemberAScriptNeeds) {
  BirthRecord r = Sample();
  r.note = "first child";
  r.created_utc = "2024-05-01T12:34:56.789Z";
  r.changed_utc = "2024-05-02T00:00:00.000Z";
  r.daylight_saving = true;
  const auto json = nlohmann::json::parse(SavedListJson(std::vector<BirthRecord>{r}));
  ASSERT_TRUE(json.is_array());
  ASSERT_EQ(json.size(), 1u);
  const nlohmann::json want = {{"name", "ASHA RAO"},
                               {"date", "1980-08-15"},
                               {"time", "06:30"},
                               {"zone", "34"},
                               {"dst", true},
                               {"lon", "77E13"},
                               {"lat", "28N36"},
                               {"city", "New Delhi"},
                               {"state", "Delhi"},
                               {"country", "India"},
                               {"note", "first child"},
                               {"created", "2024-05-01T12:34:56.789Z"},
                               {"changed", "2024-05-02T00:00:00.000Z"}};
  EXPECT_EQ(json[0], want);
  EXPECT_EQ(nlohmann::json::parse(SavedListJson({})), nlohmann::json::array());
}

}  // namespace
