#include "cli/batch.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace solvane::cli {
namespace {

struct Outcome {
  BatchResult result;
  std::vector<nlohmann::json> lines;
};

Outcome Batch(std::string_view csv) {
  Outcome out;
  out.result = RunBatch(csv, [&](std::string_view line) {
    out.lines.push_back(nlohmann::json::parse(line));  // every line must be valid JSON
  });
  return out;
}

TEST(RunBatch, RowsInOrderWithErrorsInPlace) {
  const Outcome o = Batch(
      "Date,name,time,lon,lat\n"
      "2000-01-01,TEST,12:00,0E0,51N30\n"
      "2001-02-29,LEAP,12:00,0E0,51N30\n"
      "\n"
      "2000-01-01,\"QUOTED, NAME\",25:00,0E0,51N30\n"
      "2000-01-01,SHORT\n"
      "1976-05-10,RETRO,06:00,0E0,0N0\n");
  ASSERT_TRUE(o.result.fatal.empty());
  EXPECT_EQ(o.result.charted, 2u);
  EXPECT_EQ(o.result.refused, 3u);
  ASSERT_EQ(o.lines.size(), 5u);
  EXPECT_EQ(o.lines[0]["line"], 2);
  EXPECT_EQ(o.lines[0]["PositionStrings"][0], "16 Sag 31");
  EXPECT_EQ(o.lines[0]["BirthData"]["Name"], "TEST");
  // Without a report folder the report's text is not written, but its houses still are.
  EXPECT_EQ(o.lines[0]["ReportHouses"]["Jupiter"], 1);
  EXPECT_EQ(o.lines[0]["ReportSections"][0]["planets"][1], "Saturn");
  EXPECT_EQ(o.lines[1]["line"], 3);
  EXPECT_EQ(o.lines[1]["error"], "Please Enter Correct Date Or Month!");
  EXPECT_EQ(o.lines[2]["line"], 5);
  EXPECT_NE(o.lines[2]["error"].get<std::string>().find("time:"), std::string::npos);
  EXPECT_EQ(o.lines[3]["line"], 6);
  EXPECT_NE(o.lines[3]["error"].get<std::string>().find("2 fields"), std::string::npos);
  EXPECT_EQ(o.lines[4]["BodyNames"][2], "Mercury (R) ");
}

TEST(RunBatch, MissingColumnsTakeTheFormsFirstSelections) {
  const Outcome o = Batch("name,lon,lat\nA,0E0,0N0\n");
  ASSERT_EQ(o.lines.size(), 1u);
  EXPECT_EQ(o.lines[0]["BirthData"]["Year"], 1901);
  EXPECT_EQ(o.lines[0]["BirthData"]["Month"], 1);
  EXPECT_EQ(o.lines[0]["ZoneHours"], 0);
  // Without a longitude the form refuses, as it would an empty box.
  const Outcome refused = Batch("name\nA\n");
  EXPECT_EQ(refused.lines[0]["error"],
            "Please Enter Value Between 0 And 179 in the Degree of Longitude");
}

TEST(RunBatch, RowsDoNotLeakIntoEachOther) {
  const Outcome o = Batch("name,date,lon,lat,dst\nA,1976-05-10,0E0,0N0,1\nB,2000-01-01,0E0,0N0,\n");
  ASSERT_EQ(o.lines.size(), 2u);
  EXPECT_EQ(o.lines[1]["BirthData"]["DaylightSaving"], 0);
  EXPECT_EQ(o.lines[1]["BodyNames"][2], "Mercury");
}

TEST(RunBatch, BadHeadersStopBeforeAnyRow) {
  for (const char* csv : {"", "\n\n", "name,colour\nA,red\n", "name,name\nA,B\n", "\"name\nA\n"}) {
    const Outcome o = Batch(csv);
    EXPECT_FALSE(o.result.fatal.empty()) << csv;
    EXPECT_TRUE(o.lines.empty()) << csv;
  }
}

TEST(RunBatch, BrokenEncodingStillGivesValidJson) {
  const Outcome o = Batch("name,lon,lat\n\xFF\xFE NAME,0E0,0N0\n");
  ASSERT_EQ(o.lines.size(), 1u);
  EXPECT_TRUE(o.lines[0].contains("PositionStrings"));
}

}  // namespace
}  // namespace solvane::cli
