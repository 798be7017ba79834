#include "retrogrades/retrogrades.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/civil_date.h"
#include "run/chart_run.h"

namespace solvane::retrogrades {
namespace {

using P = RetrogradePlanet;

core::ChartState ChartBornOn(int month, int day, int year, int hour, int minute) {
  core::ChartState state;
  state.birth.Month = static_cast<std::int16_t>(month);
  state.birth.Day = static_cast<std::int16_t>(day);
  state.birth.Year = static_cast<std::int16_t>(year);
  state.birth.Hour = static_cast<std::int16_t>(hour);
  state.birth.Minute = static_cast<std::int16_t>(minute);
  return state;
}

std::array<std::string, core::kWheelBodyCount> LabelsMarking(const std::vector<int>& marked) {
  std::array<std::string, core::kWheelBodyCount> labels;
  for (int i = 0; i < core::kWheelBodyCount; ++i) labels[i] = std::string(core::kBodyNames[i]);
  for (int body : marked) labels[body] += " (R) ";
  return labels;
}

// Marks the state's birth and derives the wheel labels, as a chart run does.
void MarkAndLabel(core::ChartState& state) {
  MarkRetrogrades(state.birth, state.positions);
  run::DerivePositionTexts(state);
}

int DayOf(const StationMoment& moment) {
  return core::DaysFromCivil(moment.year, moment.month, moment.day);
}

std::string EntryText(const StationMoment& m) {
  return std::to_string(m.month) + ',' + std::to_string(m.day) + ',' + std::to_string(m.year) +
         ',' + std::to_string(m.hour) + ',' + std::to_string(m.minute) + ',';
}

// The birth hours are chosen on the wrong side of the station's time, so comparing moments instead
// of calendar dates would change the marks.
TEST(MarkRetrogrades, BirthDatesAroundStations) {
  struct Case {
    int month, day, year, hour, minute;
    std::vector<int> marked;
    const char* why;
  };
  const Case cases[] = {
      {5, 10, 1976, 0, 0, {core::kMercury}, "Mercury retrograde 9 May to 2 June 1976"},
      {5, 9, 1976, 23, 30, {}, "Mercury's retrograde station day (station 4:59 UT)"},
      {6, 2, 1976, 0, 30, {}, "Mercury's direct station day (station 1:23 UT)"},
      {1, 1, 2000, 12, 0, {core::kSaturn}, "Jupiter went direct on 20 December 1999"},
      {1, 15, 1976, 12, 0, {core::kMercury, core::kMars, core::kSaturn}, "three overlapping"},
      {12, 31, 2050, 12, 0, {core::kJupiter}, "Jupiter's last period ends 21 April 2051"},
      {12, 21, 2050, 6, 0, {}, "Mercury direct (11:33) and Jupiter retrograde (13:21) station"},
      {1, 14, 1901, 0, 0, {core::kMars}, "day after Mars's first station in the table"},
      {1, 13, 1901, 12, 0, {}, "Mars's first station day (6:16 UT)"},
  };
  for (const Case& c : cases) {
    core::ChartState state = ChartBornOn(c.month, c.day, c.year, c.hour, c.minute);
    state.BodyNames.fill("stale");
    MarkAndLabel(state);
    EXPECT_EQ(state.BodyNames, LabelsMarking(c.marked))
        << c.year << '-' << c.month << '-' << c.day << ": " << c.why;
  }
}

TEST(MarkRetrogrades, SecondChartClearsTheFirstChartsMarks) {
  core::ChartState state = ChartBornOn(5, 10, 1976, 12, 0);
  MarkAndLabel(state);
  ASSERT_EQ(state.BodyNames[core::kMercury], "Mercury (R) ");
  state.birth = ChartBornOn(6, 2, 1976, 12, 0).birth;
  MarkAndLabel(state);
  EXPECT_EQ(state.BodyNames, LabelsMarking({}));
}

TEST(IsRetrograde, TableEndsAndPeriodEdges) {
  struct Case {
    P planet;
    int month, day, year;
    bool want;
  };
  const Case cases[] = {
      {P::kMercury, 3, 15, 1900, false},  // first station of any table
      {P::kMercury, 3, 16, 1900, true},  {P::kMercury, 4, 6, 1900, true},
      {P::kMercury, 4, 7, 1900, false},  {P::kMercury, 2, 29, 2000, true},  // leap day inside
      {P::kMercury, 12, 20, 2050, true}, {P::kVenus, 6, 17, 1900, true},
      {P::kVenus, 11, 6, 2050, false},   {P::kMars, 1, 19, 1976, true},  // across a year end
      {P::kMars, 1, 20, 1976, false},    {P::kJupiter, 12, 31, 2000, true},
      {P::kJupiter, 12, 22, 2050, true}, {P::kJupiter, 4, 20, 2051, true},  // last table day
      {P::kJupiter, 4, 21, 2051, false}, {P::kSaturn, 10, 5, 2050, true},
      {P::kSaturn, 10, 6, 2050, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsRetrograde(c.planet, c.month, c.day, c.year), c.want)
        << static_cast<int>(c.planet) << ' ' << c.year << '-' << c.month << '-' << c.day;
  }
  for (P planet : {P::kMercury, P::kVenus, P::kMars, P::kJupiter, P::kSaturn}) {
    EXPECT_FALSE(IsRetrograde(planet, 1, 1, 1900)) << static_cast<int>(planet);
    EXPECT_FALSE(IsRetrograde(planet, 6, 1, 2051)) << static_cast<int>(planet);
  }
  EXPECT_FALSE(IsRetrograde(static_cast<P>(kRetrogradePlanetCount), 5, 10, 1976));
}

TEST(StationTables, EveryTableIsCompleteOrderedAndWellFormed) {
  struct Facts {
    P planet;
    const char* name;
    std::size_t periods;
    const char *first_retrograde, *first_direct, *last_retrograde, *last_direct;
    int min_days, max_days;  // calendar days from a retrograde station to its direct station
  };
  const Facts tables[] = {
      {P::kMercury, "Mercury", 476, "3,15,1900,13,19,", "4,7,1900,18,42,", "12,1,2050,17,17,",
       "12,21,2050,11,33,", 19, 25},
      {P::kVenus, "Venus", 95, "6,16,1900,22,56,", "7,30,1900,2,44,", "9,25,2050,22,15,",
       "11,6,2050,19,4,", 40, 44},
      {P::kMars, "Mars", 71, "1,13,1901,6,16,", "4,4,1901,7,21,", "7,15,2050,5,50,",
       "9,13,2050,9,41,", 60, 81},
      {P::kJupiter, "Jupiter", 139, "3,27,1900,20,39,", "7,29,1900,1,35,", "12,21,2050,13,21,",
       "4,21,2051,23,46,", 117, 124},
      {P::kSaturn, "Saturn", 146, "4,14,1900,6,2,", "9,2,1900,14,39,", "5,18,2050,13,6,",
       "10,6,2050,11,5,", 133, 142},
  };
  for (const Facts& facts : tables) {
    SCOPED_TRACE(facts.name);
    const StationTable table = StationTableOf(facts.planet);
    ASSERT_EQ(table.retrograde.size(), facts.periods);
    ASSERT_EQ(table.direct.size(), facts.periods);
    EXPECT_STREQ(table.retrograde.front(), facts.first_retrograde);
    EXPECT_STREQ(table.direct.front(), facts.first_direct);
    EXPECT_STREQ(table.retrograde.back(), facts.last_retrograde);
    EXPECT_STREQ(table.direct.back(), facts.last_direct);

    int previous_direct_day = INT_MIN;
    for (std::size_t i = 0; i < facts.periods; ++i) {
      const auto retrograde = ParseStationEntry(table.retrograde[i]);
      const auto direct = ParseStationEntry(table.direct[i]);
      ASSERT_TRUE(retrograde && direct) << table.retrograde[i] << ' ' << table.direct[i];
      // Written back, an entry must be itself: no leading zeros, a four-digit year.
      EXPECT_EQ(EntryText(*retrograde), table.retrograde[i]);
      EXPECT_EQ(EntryText(*direct), table.direct[i]);
      EXPECT_GE(retrograde->year, 1000) << table.retrograde[i];

      const int retrograde_day = DayOf(*retrograde);
      const int direct_day = DayOf(*direct);
      EXPECT_GT(retrograde_day, previous_direct_day) << "overlaps at " << table.retrograde[i];
      EXPECT_GE(direct_day - retrograde_day, facts.min_days) << table.retrograde[i];
      EXPECT_LE(direct_day - retrograde_day, facts.max_days) << table.retrograde[i];
      previous_direct_day = direct_day;
    }
  }
}

// Periods users check the tables against, as published; each must stand as one period.
TEST(StationTables, CarryThePublishedPeriodsVerbatim) {
  struct Row {
    P planet;
    std::string_view retrograde, direct;
  };
  const Row rows[] = {
      {P::kMercury, "2,21,2000,0,39,", "3,14,2000,20,28,"},
      {P::kMercury, "6,23,2000,8,32,", "7,17,2000,13,9,"},
      {P::kMercury, "10,18,2000,13,39,", "11,8,2000,2,32,"},
      {P::kMercury, "5,9,1976,4,59,", "6,2,1976,1,23,"},
      {P::kVenus, "7,30,1999,2,16,", "9,11,1999,1,1,"},
      {P::kMars, "3,18,1999,14,17,", "6,4,1999,5,42,"},
      {P::kMars, "11,6,1975,13,2,", "1,20,1976,21,20,"},
      {P::kJupiter, "9,29,2000,0,45,", "1,25,2001,14,49,"},
      {P::kJupiter, "3,14,1947,10,19,", "7,15,1947,0,3,"},
      {P::kSaturn, "8,30,1999,12,3,", "1,12,2000,4,2,"},
      {P::kSaturn, "11,20,1946,14,9,", "4,3,1947,18,26,"},
  };
  for (const Row& row : rows) {
    const StationTable table = StationTableOf(row.planet);
    std::size_t i = 0;
    while (i < table.retrograde.size() && table.retrograde[i] != row.retrograde) ++i;
    ASSERT_LT(i, table.retrograde.size()) << row.retrograde << " missing";
    EXPECT_EQ(table.direct[i], row.direct) << "period starting " << row.retrograde;
  }
}

TEST(ParseStationEntry, AcceptsOnlyFiveCommaTerminatedFieldsFormingAValidMoment) {
  struct Case {
    std::string_view text;
    bool valid;
  };
  const Case cases[] = {
      {"3,15,1900,13,19,", true},      {"12,31,2050,23,59,", true},
      {"2,29,2000,0,0,", true},        {"", false},
      {"3,15,1900,13,19", false},      {"3,15,1900,13,", false},
      {"3,15,1900,13,19,,", false},    {"3,15,1900,13,19,7", false},
      {",3,15,1900,13,19,", false},    {"3,,1900,13,19,", false},
      {"a,15,1900,13,19,", false},     {"-3,15,1900,13,19,", false},
      {" 3,15,1900,13,19,", false},    {"3,15,19000,13,19,", false},
      {"99999999999,1,1,1,1,", false},  // would overflow an int
      {"13,1,1900,0,0,", false},       {"0,1,1900,0,0,", false},
      {"2,29,1900,0,0,", false},  // 1900 is not a leap year
      {"4,31,1999,0,0,", false},       {"1,0,1999,0,0,", false},
      {"1,1,0,0,0,", false},           {"3,15,1900,24,0,", false},
      {"3,15,1900,13,60,", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseStationEntry(c.text).has_value(), c.valid) << '"' << c.text << '"';
  }

  const std::optional<StationMoment> moment = ParseStationEntry("3,15,1900,13,19,");
  ASSERT_TRUE(moment);
  EXPECT_EQ(EntryText(*moment), "3,15,1900,13,19,");

  // A view that stops short of its closing comma, in a buffer with nothing after it.
  const std::string_view full = "3,15,1900,13,19,";
  const std::vector<char> cut(full.begin(), full.end() - 1);
  EXPECT_FALSE(ParseStationEntry(std::string_view(cut.data(), cut.size())));
}

TEST(DaysFromCivil, EpochLeapRulesAndCarry) {
  struct Case {
    int year, month, day, want;
  };
  const Case cases[] = {
      {1970, 1, 1, 0},       {1900, 1, 1, -25567},
      {1900, 2, 28, -25509}, {1900, 3, 1, -25508},  // no 29 February in 1900
      {2000, 2, 29, 11016},  {2000, 3, 1, 11017},
      {2051, 4, 21, 29695},  {2000, 2, 30, 11017},  // a day past the month's end carries on
  };
  for (const Case& c : cases) {
    EXPECT_EQ(core::DaysFromCivil(c.year, c.month, c.day), c.want)
        << c.year << '-' << c.month << '-' << c.day;
  }
}

}  // namespace
}  // namespace solvane::retrogrades
