// Moving births in and out as CSV: what is written reads back the same, and a bad file is refused
// with the line at fault.
#include "store/births_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "store/store_test_support.h"

namespace solvane::store {
namespace {

using testing::SampleBirth;
using testing::ScratchFolder;

TEST(BirthsCsv, WrittenRecordsReadBackTheSame) {
  BirthRecord quoted = SampleBirth(" O'Brien, \"Pat\" ");  // comma, quotes, blanks at the ends
  quoted.note = "line one\r\nline two\nthree";
  quoted.zone_index = kExactOffsetZone, quoted.offset_seconds_east = -12600;  // Newfoundland
  quoted.east = false, quoted.south = true, quoted.daylight_saving = true;
  quoted.created_utc = "2024-01-02T03:04:05.678Z", quoted.changed_utc = "2024-02-03T04:05:06.789Z";
  BirthRecord scripts = SampleBirth("अमित शर्मा");
  scripts.city = "Москва", scripts.tz_name = "Europe/Moscow", scripts.place_id = "524901";
  scripts.hour = 0, scripts.minute = 5, scripts.longitude_deg = 180, scripts.longitude_min = 0;
  const std::vector<BirthRecord> records = {SampleBirth(), quoted, scripts};
  std::ostringstream out;
  WriteBirthsCsv(records, out);
  const auto back = ReadBirthsCsv(out.str());
  ASSERT_TRUE(back) << back.error().message << "\n" << out.str();
  EXPECT_EQ(*back, records);
  EXPECT_TRUE(out.str().starts_with(std::string(kBirthsCsvHeader) + "\r\n"));
  EXPECT_NE(out.str().find("\r\nASHA RAO,1980-08-15,06:30,34,0,77E13,28N36,New Delhi,Delhi,India,"),
            std::string::npos)
      << "the first columns read as solvane-chart --batch reads them";
}

TEST(BirthsCsv, ReadsABatchStyleFileWithDefaults) {
  const std::string text =
      "\xEF\xBB\xBF"  // a byte-order mark, as spreadsheets write it
      "lat,lon,name,date,dst\r\n"
      "33S52,151E12,SYDNEY BIRTH,1999-12-31,yes\r\n"
      "\r\n"
      "0N0,0W0,NULL ISLAND,1901-01-01,\r\n";
  const auto records = ReadBirthsCsv(text);
  ASSERT_TRUE(records) << records.error().message;
  ASSERT_EQ(records->size(), 2u);
  const BirthRecord& sydney = (*records)[0];
  EXPECT_EQ(sydney.name, "SYDNEY BIRTH");
  EXPECT_EQ(sydney.latitude_deg, 33);
  EXPECT_TRUE(sydney.south);
  EXPECT_TRUE(sydney.east);
  EXPECT_TRUE(sydney.daylight_saving);
  EXPECT_EQ(sydney.hour, 0) << "no time column: midnight, as the form's first selection";
  EXPECT_EQ(sydney.zone_index, 0);
  EXPECT_FALSE((*records)[1].east);
  EXPECT_FALSE((*records)[1].daylight_saving);
}

// solvane-chart writes an exact offset in the batch's zone column with its sign.
TEST(BirthsCsv, ZoneColumnTakesTheCommandLinesExactOffsets) {
  struct Case {
    const char* zone;
    int offset_seconds_east;
  };
  const Case cases[] = {{"+05:21:10", 5 * 3600 + 21 * 60 + 10},  // Madras time
                        {"-03:30", -(3 * 3600 + 30 * 60)},       // Newfoundland
                        {"+00:00", 0},
                        {"+5", 5 * 3600},
                        {" -00:00:59 ", -59}};
  for (const Case& c : cases) {
    const auto records = ReadBirthsCsv("name,date,zone,lon,lat\nA,1980-08-15," +
                                       std::string(c.zone) + ",77E13,28N36\n");
    ASSERT_TRUE(records) << c.zone << ": " << records.error().message;
    EXPECT_EQ((*records)[0].zone_index, kExactOffsetZone) << c.zone;
    EXPECT_EQ((*records)[0].offset_seconds_east, c.offset_seconds_east) << c.zone;
  }
  for (const char* bad : {"+", "+05:60", "-05:30:60", "+05:30:10:00", "+aa:bb", "+19:00"}) {
    const auto records = ReadBirthsCsv("name,date,zone,lon,lat\nA,1980-08-15," + std::string(bad) +
                                       ",77E13,28N36\n");
    EXPECT_FALSE(records) << bad;
  }
}

TEST(BirthsCsv, RefusesABadFileNamingTheLine) {
  struct Case {
    std::string text;
    std::string want;
  };
  const std::string header = "name,date,time,zone,lon,lat\n";
  const Case cases[] = {
      {"", "no header row"},
      {"name,date,lon,lat,colour\n", "line 1: unknown column 'colour'"},
      {"name,date,lon\n", "lacks the column 'lat'"},
      {"name,name,date,lon,lat\n", "'name' appears twice"},
      {header + "A,1980-08-15,06:30,34,77E13\n", "line 2: the row has 5 fields"},
      {header + "A,1980-8-15x,06:30,34,77E13,28N36\n", "line 2: the date"},
      {header + "A,1980-08-15,6h30,34,77E13,28N36\n", "line 2: the time"},
      {header + "A,1980-08-15,06:30,34,77X13,28N36\n", "line 2: the longitude"},
      {header + "A,1980-08-15,06:30,34,77E13,28E36\n", "line 2: the latitude"},
      {header + "A,1980-08-15,06:30,71,77E13,28N36\n", "line 2: The time zone"},
      {header + "\"A\nB\",1980-08-15,06:30,34,77E13,28N36\nC,1980-02-30,06:30,34,77E13,28N36\n",
       "line 4: The date of birth"},  // the quoted line break counts as a line
      {header + "\"A,1980-08-15,06:30,34,77E13,28N36\n", "a quote is never closed"},
      {"name,date,lon,lat,created\nA,1980-08-15,77E13,28N36,2024-05-01 12:00\n",
       "line 2: created and changed must be UTC times"},
  };
  for (const Case& c : cases) {
    const auto records = ReadBirthsCsv(c.text);
    ASSERT_FALSE(records) << c.text;
    EXPECT_NE(records.error().message.find(c.want), std::string::npos)
        << c.text << " -> " << records.error().message;
  }
}

TEST(ExportBirths, ReplacesTheFileWholeOrNotAtAll) {
  ScratchFolder folder;
  const auto file = folder / "births.csv";
  std::ofstream(file) << "an older export, longer than the new one will be................\n";
  const std::vector<BirthRecord> records = {SampleBirth()};
  ASSERT_TRUE(ExportBirths(records, file));
  EXPECT_EQ(*ReadBirthsFile(file), records);
  EXPECT_FALSE(std::filesystem::exists(folder / "births.csv.partial"));

  const auto refused = ExportBirths(records, "/proc/births.csv");
  ASSERT_FALSE(refused);
  EXPECT_NE(refused.error().message.find("/proc/births.csv"), std::string::npos);
  EXPECT_FALSE(ReadBirthsFile(folder / "missing.csv"));
}

}  // namespace
}  // namespace solvane::store
