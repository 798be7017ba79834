// The TZ rules that carry the zones past 2037, with change instants printed by zdump.
#include "zones/posix_rule.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "core/civil_date.h"

namespace solvane::zones {
namespace {

std::int64_t Ut(int y, int mo, int d, int h, int mi = 0) {
  return core::DaysFromCivil(y, mo, d) * 86400 + h * 3600 + mi * 60;
}

TEST(ParsePosixRule, ReadsTheFormsTzifFilesCarry) {
  struct Case {
    const char* text;
    std::int32_t standard_s, daylight_s;
    const char *standard_abbreviation, *daylight_abbreviation;
    std::int32_t start_time_s, end_time_s;
  };
  const Case cases[] = {
      {"CET-1CEST,M3.5.0,M10.5.0/3", 3600, 7200, "CET", "CEST", 7200, 10800},
      {"<-02>2<-01>,M3.5.0/-1,M10.5.0/0", -7200, -3600, "-02", "-01", -3600, 0},   // Nuuk
      {"IST-2IDT,M3.4.4/26,M10.5.0", 7200, 10800, "IST", "IDT", 26 * 3600, 7200},  // Jerusalem
      {"IST-1GMT0,M10.5.0,M3.5.0/1", 3600, 0, "IST", "GMT", 7200, 3600},  // Dublin: negative
      {"<+1030>-10:30<+11>-11,M10.1.0,M4.1.0", 37800, 39600, "+1030", "+11", 7200, 7200},
      {"<-03>3", -10800, 0, "-03", "", 7200, 7200},  // no daylight saving
      {"EST5EDT,J60/0,300/1:30:15", -18000, -14400, "EST", "EDT", 0, 5415},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto rule = ParsePosixRule(c.text);
    ASSERT_TRUE(rule);
    EXPECT_EQ(rule->standard_offset_s, c.standard_s);
    EXPECT_EQ(rule->standard_abbreviation, c.standard_abbreviation);
    EXPECT_EQ(rule->daylight_abbreviation, c.daylight_abbreviation);
    EXPECT_EQ(rule->has_daylight, *c.daylight_abbreviation != '\0');
    if (!rule->has_daylight) continue;
    EXPECT_EQ(rule->daylight_offset_s, c.daylight_s);
    EXPECT_EQ(rule->start.time_s, c.start_time_s);
    EXPECT_EQ(rule->end.time_s, c.end_time_s);
  }
}

TEST(ParsePosixRule, RefusesMalformedText) {
  for (const char* text :
       {"", "CE", "CET", "CET-1CEST", "CET-1CEST,M3.5.0", "CET-1CEST,M13.5.0,M10.5.0",
        "CET-1CEST,M3.6.0,M10.5.0", "CET-1CEST,M3.5.7,M10.5.0", "CET-1CEST,J0,J365",
        "CET-1CEST,366,10", "CET-1CEST,M3.5.0/168,M10.5.0", "<+05", "CET-1CEST,M3.5.0,M10.5.0x",
        "CET-25"})
    EXPECT_FALSE(ParsePosixRule(text)) << text;
}

TEST(PeriodAt, ChangesFallWhereZdumpPutsThem) {
  struct Case {
    const char* rule;
    std::int64_t at_s;
    bool daylight;
    std::int64_t begin_s, end_s;
  };
  const Case cases[] = {
      // Berlin 2040: summer time from 25 March 01:00 UT to 28 October 01:00 UT.
      {"CET-1CEST,M3.5.0,M10.5.0/3", Ut(2040, 7, 1, 0), true, Ut(2040, 3, 25, 1),
       Ut(2040, 10, 28, 1)},
      {"CET-1CEST,M3.5.0,M10.5.0/3", Ut(2040, 12, 1, 0), false, Ut(2040, 10, 28, 1),
       Ut(2041, 3, 31, 1)},
      // Nuuk 2040: a change at -1:00 local time, the day before on the clock.
      {"<-02>2<-01>,M3.5.0/-1,M10.5.0/0", Ut(2040, 3, 25, 1), true, Ut(2040, 3, 25, 1),
       Ut(2040, 10, 28, 1)},
      // Jerusalem 2040: 26:00 on the Thursday before the last Sunday of March.
      {"IST-2IDT,M3.4.4/26,M10.5.0", Ut(2040, 3, 23, 0) - 1, false, Ut(2039, 10, 29, 23),
       Ut(2040, 3, 23, 0)},
      {"IST-2IDT,M3.4.4/26,M10.5.0", Ut(2040, 5, 1, 0), true, Ut(2040, 3, 23, 0),
       Ut(2040, 10, 27, 23)},
      // Sydney 2045: summer time spans the new year.
      {"AEST-10AEDT,M10.1.0,M4.1.0/3", Ut(2045, 1, 15, 0), true, Ut(2044, 10, 1, 16),
       Ut(2045, 4, 1, 16)},
      // Day counts: J60 is 1 March in every year, 59 is 29 February in a leap year.
      {"UTC0DST,J60/0,J61/0", Ut(2040, 3, 1, 12), true, Ut(2040, 3, 1, 0), Ut(2040, 3, 1, 23)},
      {"UTC0DST,59/0,60/0", Ut(2040, 2, 29, 12), true, Ut(2040, 2, 29, 0), Ut(2040, 2, 29, 23)},
      {"UTC0DST,59/0,60/0", Ut(2041, 3, 1, 12), true, Ut(2041, 3, 1, 0), Ut(2041, 3, 1, 23)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.rule) + " at " + std::to_string(c.at_s));
    const auto rule = ParsePosixRule(c.rule);
    ASSERT_TRUE(rule);
    const PosixPeriod p = PeriodAt(*rule, c.at_s);
    EXPECT_EQ(p.daylight, c.daylight);
    EXPECT_EQ(p.begin_s, c.begin_s);
    EXPECT_EQ(p.end_s, c.end_s);
  }
}

TEST(TzifFooter, FoundAfterTheDataBlocks) {
  std::ifstream file("/usr/share/zoneinfo/Europe/Berlin", std::ios::binary);
  const std::string tzif{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  ASSERT_GT(tzif.size(), 100u);
  EXPECT_EQ(TzifFooter(tzif), "CET-1CEST,M3.5.0,M10.5.0/3");
  // Cut short anywhere, the file yields nothing rather than bytes of its tables.
  for (std::size_t cut :
       {std::size_t{0}, std::size_t{43}, std::size_t{44}, tzif.size() / 2, tzif.size() - 2})
    EXPECT_FALSE(TzifFooter(std::string_view(tzif).substr(0, cut))) << cut;
  std::string version1 = tzif;
  version1[4] = '\0';
  EXPECT_FALSE(TzifFooter(version1));
}

}  // namespace
}  // namespace solvane::zones
