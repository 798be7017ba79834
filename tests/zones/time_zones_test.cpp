#include "zones/time_zones.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace solvane::zones {
namespace {

// Reads the offset written at the end of an entry's text ("+10.5"), for an independent check of
// the table's values.
double OffsetInText(std::string_view text) {
  return std::stod(std::string(text.substr(text.rfind(',') + 1)));
}

TEST(TimeZoneTable, ValuesFollowTheTextsExceptIndianTime) {
  const auto& zones = TimeZoneTable();
  for (int i = 0; i < kTimeZoneCount; ++i) {
    const TimeZoneRow& row = zones[static_cast<std::size_t>(i)];
    double offset = OffsetInText(row.text);
    if (i == 34) offset = 5.5;  // "+5.3" stands for five and a half hours
    EXPECT_EQ(row.zone_hours, -static_cast<int>(std::trunc(offset))) << row.text;
    EXPECT_EQ(row.zone_minutes, -static_cast<int>(std::round((offset - std::trunc(offset)) * 60)))
        << row.text;
  }
}

TEST(TimeZoneTable, TextsAsShown) {
  const auto& zones = TimeZoneTable();
  int with_blanks = 0;
  for (const TimeZoneRow& row : zones) with_blanks += row.text.find(", ") != std::string_view::npos;
  EXPECT_EQ(with_blanks, 8);
  EXPECT_EQ(zones[0].text, "Alaska/Hawaii Daylight Time,AHDT,-9.0");
  EXPECT_EQ(zones[29].text, "Greenwich Mean Time,GMT,0.0");
  EXPECT_EQ(zones[34].text, "Indian Time, IST, +5.3");
  EXPECT_EQ(zones[35].text, "Int'l Date Line East,IDLE,+12.0");
  EXPECT_EQ(zones[61].text, "Universal Time, UT, 0.0");
  EXPECT_EQ(zones[70].text, "Yukon War Time,YWT,-8.0");
  EXPECT_EQ(zones[kDefaultTimeZone].text, "Greenwich Mean Time,GMT,0.0");
}

TEST(Zone_Calculation, OffsetsByPosition) {
  struct Case {
    int position, hours, minutes;
  };
  const Case cases[] = {
      {29, 0, 0},     // default, GMT
      {27, 5, 0},     // EST
      {5, -10, -30},  // ACDT
      {50, 3, 30},    // Newfoundland
      {34, -5, -30},  // IST: not 18 minutes
      {46, -13, 0},   // the largest magnitude
      {36, 12, 0},    // IDLW
  };
  for (const Case& c : cases) {
    core::ChartState s;
    Zone_Calculation(c.position, s);
    EXPECT_EQ(s.ZoneHours, c.hours) << c.position;
    EXPECT_EQ(s.ZoneMinutes, c.minutes) << c.position;
  }
}

TEST(Zone_Calculation, NoSelectionLeavesTheOffset) {
  core::ChartState s;
  Zone_Calculation(5, s);
  for (int position : {-1, 71, 1000}) {
    Zone_Calculation(position, s);
    EXPECT_EQ(s.ZoneHours, -10);
    EXPECT_EQ(s.ZoneMinutes, -30);
  }
}

}  // namespace
}  // namespace solvane::zones
