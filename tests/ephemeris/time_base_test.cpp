#include "ephemeris/time_base.h"

#include <gtest/gtest.h>

#include "test_births.h"

namespace solvane::ephemeris {
namespace {

TEST(JulianDayNumber, CalendarReformAndRangeEnds) {
  struct Case {
    int month, day, year;
    double want;
  };
  const Case cases[] = {
      {1, 1, 2000, 2451545},    // J2000.0's civil date
      {12, 31, 1899, 2415020},  // the 1900-based centuries' day zero
      {1, 1, 1901, 2415386},    // first date the entry form offers
      {12, 31, 2050, 2470172},  // last date the entry form offers
      {10, 15, 1582, 2299171},  // last day still read in the Julian calendar
      {10, 16, 1582, 2299162},  // first Gregorian day
      {2, 29, 2000, 2451604},   // Gregorian leap day of a century year
      {3, 1, 1900, 2415080},    // 1900 is no leap year in the Gregorian calendar
  };
  for (const Case& c : cases)
    EXPECT_EQ(JulianDayNumber(c.month, c.day, c.year), c.want)
        << c.year << '-' << c.month << '-' << c.day;
}

TEST(JulianCenturies1900, CountsFromNoonOfNewYearsEve1899) {
  EXPECT_EQ(JulianCenturies1900(2451545, 12), 1.0);
  // A negative universal hour carries into the previous day.
  EXPECT_DOUBLE_EQ(JulianCenturies1900(2451545, -3), JulianCenturies1900(2451544, 21));
  EXPECT_DOUBLE_EQ(JulianCenturies1900(2451545, 27), JulianCenturies1900(2451546, 3));
}

TEST(DayNumber2000, ZeroAtMidnightBeforeNewYear2000) {
  EXPECT_EQ(DayNumber2000(2000, 1, 1, 0, 0), 1.0);
  EXPECT_EQ(DayNumber2000(1999, 12, 31, 0, 0), 0.0);
  EXPECT_EQ(DayNumber2000(2000, 1, 1, 12, 0), 1.5);
  EXPECT_DOUBLE_EQ(DayNumber2000(2000, 3, 1, 6, 30), 61 + 6.5 / 24);  // 2000 is a leap year
  // The count agrees with the Julian day number across the whole range of the entry form.
  for (int year : {1901, 1950, 2024, 2050})
    EXPECT_EQ(DayNumber2000(year, 7, 4, 0, 0), JulianDayNumber(7, 4, year) - 2451544) << year;
}

TEST(AyanamsaOffset, LahiriWithNutationNegated) {
  EXPECT_NEAR(AyanamsaOffset(1), -23.85399, 5e-6);
  EXPECT_NEAR(AyanamsaOffset(0), -22.46628, 5e-6);
}

// The hemisphere rule for universal time, as the published chart formulas state it: the zone's
// direction is taken from the longitude's hemisphere and daylight saving widens or narrows the zone
// by an hour. The chart uses the signed zone instead; this is the independent check it must meet
// wherever the hemisphere rule is right.
double HemisphereRuleUniversalHours(const core::BirthData& birth) {
  const double local_hours = birth.Hour + birth.Minute / 60.0;
  double zone_hours = birth.ZoneHoursAbs + birth.ZoneMinutesAbs / 60.0;
  const double longitude = SignedLongitude(birth);
  if (birth.DaylightSaving != 0) zone_hours += longitude < 0 ? 1 : -1;
  return longitude < 0 ? local_hours - zone_hours : local_hours + zone_hours;
}

TEST(HemisphereRule, ZoneDirectionFollowsTheHemisphere) {
  struct Case {
    bool east, dst;
    double want;
  };
  const Case cases[] = {
      {true, false, 1.0}, {true, true, 0.0}, {false, false, 12.0}, {false, true, 11.0}};
  for (const Case& c : cases) {
    auto s = testing::StateFor(1980, 8, 15, 6, 30, -5, -30, 77, 13, c.east, 28, 36, false, c.dst);
    EXPECT_DOUBLE_EQ(HemisphereRuleUniversalHours(s.birth), c.want) << c.east << c.dst;
  }
  // Longitude 0° 0' counts as West, East flag or not.
  auto zero = testing::StateFor(2000, 1, 1, 6, 0, -2, 0, 0, 0, true, 0, 0, false, false);
  EXPECT_DOUBLE_EQ(HemisphereRuleUniversalHours(zero.birth), 8.0);
}

TEST(BirthUniversalHours, SignedZoneAndDaylightSaving) {
  struct Case {
    const char* what;
    int hour, minute, zone_hours, zone_minutes, lon_deg;
    bool east, dst;
    double want;
  };
  const Case cases[] = {
      {"Delhi, zone ahead, East", 6, 30, -5, -30, 77, true, false, 1.0},
      {"Delhi with daylight saving", 6, 30, -5, -30, 77, true, true, 0.0},
      {"New York, zone behind, West", 14, 30, 5, 0, 74, false, true, 18.5},
      // West of Greenwich in a zone ahead of UT (Madrid on CET): an hour earlier, not later.
      {"Madrid on CET", 12, 0, -1, 0, 3, false, false, 11.0},
      {"Madrid on CET, summer time", 12, 0, -1, 0, 3, false, true, 10.0},
      {"early morning east of UT", 1, 0, -5, 0, 75, true, false, -4.0},  // date unchanged
      {"zone 0 with daylight saving", 12, 0, 0, 0, 0, true, true, 11.0},
  };
  for (const Case& c : cases) {
    auto s = testing::StateFor(1980, 8, 15, c.hour, c.minute, c.zone_hours, c.zone_minutes,
                               c.lon_deg, 0, c.east, 28, 36, false, c.dst);
    EXPECT_DOUBLE_EQ(BirthUniversalHours(s.birth, s.ZoneHours, s.ZoneMinutes), c.want) << c.what;
  }
}

TEST(BirthUniversalHours, AgreesBitForBitWhereTheHemisphereRuleIsRight) {
  // Longitude on the zone's own side of Greenwich, or zone 0: both rules must give the same U.
  for (int zone = -13; zone <= 12; ++zone) {
    for (int minutes : {0, 30}) {
      for (bool dst : {false, true}) {
        const int zm = zone < 0 ? -minutes : (zone > 0 ? minutes : 0);
        const bool east = zone < 0 || (zone == 0 && zm == 0);
        auto s = testing::StateFor(1999, 3, 7, 17, 47, zone, zm, east ? 80 : 100, 7, east, 10, 0,
                                   false, dst);
        EXPECT_EQ(BirthUniversalHours(s.birth, s.ZoneHours, s.ZoneMinutes),
                  HemisphereRuleUniversalHours(s.birth))
            << zone << ':' << zm << " dst " << dst;
      }
    }
  }
}

TEST(UniversalMoment, CalendarArithmetic) {
  struct Case {
    int year, month, day, hour, minute, zone_hours, zone_minutes;
    bool dst;
    CivilMoment want;
  };
  const Case cases[] = {
      {2001, 3, 1, 1, 0, -5, 0, false, {2001, 2, 28, 20, 0}},    // back into February
      {2000, 3, 1, 1, 0, -5, 0, false, {2000, 2, 29, 20, 0}},    // leap day
      {1999, 12, 31, 22, 0, 3, 30, false, {2000, 1, 1, 1, 30}},  // into the next year
      {1980, 8, 15, 6, 30, -5, -30, false, {1980, 8, 15, 1, 0}},
      {1980, 8, 15, 0, 30, 0, 0, true, {1980, 8, 14, 23, 30}},  // daylight saving: an hour back
      {2050, 12, 31, 23, 59, 12, 0, false, {2051, 1, 1, 11, 59}},
  };
  for (const Case& c : cases) {
    auto s = testing::StateFor(c.year, c.month, c.day, c.hour, c.minute, c.zone_hours,
                               c.zone_minutes, 0, 0, false, 0, 0, false, c.dst);
    EXPECT_EQ(BirthUniversalMoment(s.birth, s.ZoneHours, s.ZoneMinutes), c.want)
        << c.year << '-' << c.month << '-' << c.day;
  }
  // Without daylight saving the chart's moment is the plain zone arithmetic.
  auto s = testing::StateFor(2000, 3, 1, 1, 0, -5, 0, 0, 0, false, 0, 0, false, true);
  EXPECT_EQ(AddMinutes({2000, 3, 1, 1, 0}, s.ZoneHours * 60L + s.ZoneMinutes),
            (CivilMoment{2000, 2, 29, 20, 0}));
  EXPECT_EQ(BirthUniversalMoment(s.birth, s.ZoneHours, s.ZoneMinutes),
            (CivilMoment{2000, 2, 29, 19, 0}));
}

// An exact offset's seconds move the universal moment to the second, across days and years, in
// the same direction as its hours and minutes.
TEST(UniversalMoment, ExactOffsetsToTheSecond) {
  struct Case {
    int year, month, day, hour, minute, zone_hours, zone_minutes, zone_seconds;
    bool dst;
    CivilMoment want;
  };
  const Case cases[] = {
      // Amsterdam 1930, UT+0:19:32.
      {1930, 1, 15, 12, 0, 0, -19, -32, false, {1930, 1, 15, 11, 40, 28}},
      // Amsterdam's summer time of 1930, UT+1:19:32 as zone and daylight hour.
      {1930, 6, 15, 12, 0, 0, -19, -32, true, {1930, 6, 15, 10, 40, 28}},
      // UT+5:21:10 back over New Year.
      {2000, 1, 1, 0, 0, -5, -21, -10, false, {1999, 12, 31, 18, 38, 50}},
      // New York's mean time, UT-4:56:02, forward into March of a leap year.
      {1904, 2, 29, 23, 30, 4, 56, 2, false, {1904, 3, 1, 4, 26, 2}},
  };
  for (const Case& c : cases) {
    auto s = testing::StateFor(c.year, c.month, c.day, c.hour, c.minute, c.zone_hours,
                               c.zone_minutes, 0, 0, false, 0, 0, false, c.dst);
    EXPECT_EQ(BirthUniversalMoment(s.birth, c.zone_hours, c.zone_minutes, c.zone_seconds), c.want)
        << c.year << '-' << c.month << '-' << c.day;
    const CivilMoment& w = c.want;
    // The angles' hours and the planets' day number tell the same moment.
    const double hours = BirthUniversalHours(s.birth, c.zone_hours, c.zone_minutes, c.zone_seconds);
    const double day_shift =
        DayNumber2000(w.year, w.month, w.day, 0, 0) - DayNumber2000(c.year, c.month, c.day, 0, 0);
    EXPECT_NEAR(hours, day_shift * 24 + w.hour + w.minute / 60.0 + w.second / 3600.0, 1e-9)
        << c.year << '-' << c.month << '-' << c.day;
    EXPECT_NEAR(DayNumber2000(w.year, w.month, w.day, w.hour, w.minute, w.second),
                DayNumber2000(w.year, w.month, w.day, 0, 0) +
                    (w.hour * 3600 + w.minute * 60 + w.second) / 86400.0,
                1e-12);
  }
}

}  // namespace
}  // namespace solvane::ephemeris
