#include "vedic/dasha.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "core/civil_date.h"

namespace solvane::vedic {
namespace {

double Dms(int degrees, int minutes, int seconds = 0) {
  return degrees + minutes / 60.0 + seconds / 3600.0;
}

Vimshottari Periods(double moon, double birth_day, double year_days = kJulianYearDays) {
  auto periods = Vimshottari::FromMoon(moon, birth_day, year_days);
  EXPECT_TRUE(periods.has_value()) << periods.error().message;
  return *periods;
}

const double kBirth1980 = core::DaysFromCivil(1980, 8, 15) + 390 / 1440.0;  // 06:30

// Balance = the arc still to run / 13°20' x the lord's years, in whole years, twelfths of a year
// and days of year / 12.
TEST(Vimshottari, BalanceAtStartMiddleAndEndOfANakshatra) {
  struct Case {
    const char* what;
    double moon, year_days, years;
    const char* text;
  };
  const Case cases[] = {
      {"0°: all of Ketu's 7", 0, kJulianYearDays, 7, "Ketu 7 years 0 months 0 days"},
      {"6°40': half of 7 = 3.5", Dms(6, 40), kJulianYearDays, 3.5, "Ketu 3 years 6 months 0 days"},
      // 8°20' / 13°20' = 0.625; x 7 = 4.375 y = 4 y + 4.5 months; 0.5 x 30.4375 = 15.2 days
      {"5°: 4.375 years", 5, kJulianYearDays, 4.375, "Ketu 4 years 4 months 15 days"},
      // 1' / 800' x 7 = 0.00875 y = 0.105 months; x 30.4375 = 3.2 days
      {"13°19': a minute left", Dms(13, 19), kJulianYearDays, 7.0 / 800,
       "Ketu 0 years 0 months 3 days"},
      {"13°20': all of Venus' 20", Dms(13, 20), kJulianYearDays, 20,
       "Venus 20 years 0 months 0 days"},
      // Krittika 26°40'..40°: 10° left = 0.75 x 6 = 4.5
      {"30°: three quarters of the Sun's 6", 30, kJulianYearDays, 4.5,
       "Sun 4 years 6 months 0 days"},
      // Rohini 40°..53°20', middle 46°40': half of 10
      {"46°40': half of the Moon's 10", Dms(46, 40), kSavanaYearDays, 5,
       "Moon 5 years 0 months 0 days"},
      // Punarvasu 80°..93°20': 8°20' left = 0.625 x 16 = 10
      {"85°: 0.625 of Jupiter's 16", 85, kGregorianYearDays, 10,
       "Jupiter 10 years 0 months 0 days"},
      // 1' / 800' x 17 = 0.02125 y = 0.255 months; x 30 = 7.65 days
      {"359°59': a minute of Revati left", Dms(359, 59), kSavanaYearDays, 17.0 / 800,
       "Mercury 0 years 0 months 7 days"},
      // 1" / 48000" x 17 y x 365.25 = 0.13 days
      {"359°59'59\": an arc-second left", Dms(359, 59, 59), kJulianYearDays, 17.0 / 48000,
       "Mercury 0 years 0 months 0 days"},
  };
  for (const Case& c : cases) {
    const Vimshottari v = Periods(c.moon, kBirth1980, c.year_days);
    EXPECT_NEAR(v.BalanceYears(), c.years, 1e-9) << c.what;
    EXPECT_EQ(BalanceText(v), c.text) << c.what;
    // The running mahadasha ends the balance after birth.
    const Mahadashas mahas = v.ListedMahadashas();
    EXPECT_NEAR(mahas[0].end_day - kBirth1980, c.years * c.year_days, 1e-6) << c.what;
  }
}

// Every level's parts fill their parent without gap or overlap, and the listing fills exactly
// 120 years from birth, for Moons at a nakshatra's start, inside it and near its end.
TEST(Vimshottari, LevelsAddUpToTheirParents) {
  const double moons[] = {0, Dms(6, 40), 5, Dms(13, 19, 59), 200.123456, Dms(359, 59, 59)};
  const double years[] = {kJulianYearDays, kGregorianYearDays, kSavanaYearDays};
  for (double moon : moons) {
    for (double year_days : years) {
      const Vimshottari v = Periods(moon, kBirth1980, year_days);
      const std::string what = std::to_string(moon) + " / " + std::to_string(year_days);
      const Mahadashas mahas = v.ListedMahadashas();
      EXPECT_DOUBLE_EQ(mahas[0].shown_start_day, kBirth1980) << what;
      EXPECT_NEAR(mahas[mahas.size() - 1].shown_end_day, kBirth1980 + 120 * year_days, 1e-6);
      // The nine whole mahadashas of the cycle: 120 years from the notional start.
      EXPECT_NEAR(mahas[std::min(8, mahas.size() - 1)].end_day - v.CycleStartDay(), 120 * year_days,
                  1e-6)
          << what;
      for (int i = 0; i + 1 < mahas.size(); ++i)
        EXPECT_EQ(mahas[i].end_day, mahas[i + 1].start_day) << what;
      for (const DashaPeriod& maha : mahas) {
        const SubPeriods antars = v.SubPeriodsOf(maha, Span::kWhole);
        ASSERT_EQ(antars.size(), 9);
        EXPECT_EQ(antars[0].lord, maha.lord) << what;
        EXPECT_EQ(antars[0].start_day, maha.start_day) << what;
        EXPECT_EQ(antars[8].end_day, maha.end_day) << what;
        for (const DashaPeriod& antar : antars) {
          const SubPeriods pratys = v.SubPeriodsOf(antar, Span::kWhole);
          ASSERT_EQ(pratys.size(), 9);
          EXPECT_EQ(pratys[0].lord, antar.lord);
          EXPECT_EQ(pratys[0].start_day, antar.start_day);
          EXPECT_EQ(pratys[8].end_day, antar.end_day);
          for (int i = 0; i + 1 < 9; ++i) EXPECT_EQ(pratys[i].end_day, pratys[i + 1].start_day);
          EXPECT_TRUE(v.SubPeriodsOf(pratys[0], Span::kWhole).empty());
        }
      }
    }
  }
}

// Sub-period length = parent years x sub years / 120, in days.
TEST(Vimshottari, SubPeriodLengths) {
  struct Case {
    const char* what;
    double moon, year_days;
    int maha;                       // index among the listed mahadashas
    double antar_days, praty_days;  // the first antardasha and its first pratyantardasha
  };
  const Case cases[] = {
      // Ketu/Ketu 7 x 7 / 120 = 0.408333 y x 360 = 147 d; /Ketu 147 x 7 / 120 = 8.575 d
      {"Ketu, years of 360 days", 0, kSavanaYearDays, 0, 147, 8.575},
      // Venus/Venus 20 x 20 / 120 = 3.3333 y x 365.25 = 1217.5 d; /Venus 1217.5 / 6 = 202.916667
      {"Venus, years of 365.25 days", Dms(13, 20), kJulianYearDays, 0, 1217.5, 1217.5 / 6},
      // Sun/Sun 6 x 6 / 120 = 0.3 y x 365.25 = 109.575 d; /Sun 109.575 x 6 / 120 = 5.47875 d
      {"Sun after Venus", 13.5, kJulianYearDays, 1, 109.575, 5.47875},
  };
  for (const Case& c : cases) {
    const Vimshottari v = Periods(c.moon, kBirth1980, c.year_days);
    const DashaPeriod antar = v.SubPeriodsOf(v.ListedMahadashas()[c.maha], Span::kWhole)[0];
    EXPECT_NEAR(antar.end_day - antar.start_day, c.antar_days, 1e-6) << c.what;
    const DashaPeriod praty = v.SubPeriodsOf(antar, Span::kWhole)[0];
    EXPECT_NEAR(praty.end_day - praty.start_day, c.praty_days, 1e-6) << c.what;
  }
}

// A Moon half-way through Ashwini: 3.5 of Ketu's 7 years are behind at birth. Ketu's antardashas
// (x 7 / 120 years): Ketu 0.408, Venus 1.167, Sun 0.35, Moon 0.583, Mars 0.408 end at 2.917, Rahu
// (1.05) runs to 3.967: at 3.5, Rahu is 0.583 in. Rahu's pratyantardashas (x 1.05 / 120): Rahu
// 0.1575, Jupiter 0.14, Saturn 0.16625 end at 0.46375, Mercury runs to 0.6125: Mercury.
TEST(Vimshottari, ListingClipsAtBirthAndAfter120Years) {
  const Vimshottari v = Periods(Dms(6, 40), kBirth1980);
  const Mahadashas mahas = v.ListedMahadashas();
  ASSERT_EQ(mahas.size(), 10);
  EXPECT_TRUE(mahas[0].StartsBeforeBirth());
  EXPECT_NEAR(kBirth1980 - mahas[0].start_day, 3.5 * kJulianYearDays, 1e-6);
  // The cycle comes round to Ketu again for the 3.5 years that complete the 120.
  EXPECT_EQ(mahas[9].lord, Lord::kKetu);
  EXPECT_TRUE(mahas[9].EndsAfterListing());
  EXPECT_NEAR(mahas[9].shown_end_day - mahas[9].shown_start_day, 3.5 * kJulianYearDays, 1e-6);

  const SubPeriods antars = v.SubPeriodsOf(mahas[0]);
  ASSERT_EQ(antars.size(), 4);  // Rahu, Jupiter, Saturn, Mercury
  EXPECT_EQ(antars[0].lord, Lord::kRahu);
  EXPECT_EQ(antars[0].shown_start_day, kBirth1980);
  EXPECT_EQ(antars[3].lord, Lord::kMercury);
  const SubPeriods pratys = v.SubPeriodsOf(antars[0]);
  EXPECT_EQ(pratys[0].lord, Lord::kMercury);
  EXPECT_TRUE(pratys[0].StartsBeforeBirth());

  const auto at_birth = v.RunningAt(kBirth1980);
  ASSERT_TRUE(at_birth.has_value());
  EXPECT_EQ(PathText(*at_birth), "Ketu / Rahu / Mercury");
  // The last 3.5 years: Ketu's own antardashas up to Rahu's again.
  const SubPeriods last = v.SubPeriodsOf(mahas[9]);
  EXPECT_EQ(last[0].lord, Lord::kKetu);
  EXPECT_EQ(last[last.size() - 1].lord, Lord::kRahu);
}

// Walking every listed period visits each level as one unbroken chain from birth to the end.
TEST(Vimshottari, VisitListedChainsEachLevel) {
  for (double moon : {0.0, Dms(6, 40), 301.7}) {
    const Vimshottari v = Periods(moon, kBirth1980);
    double reached[kDashaLevelCount] = {kBirth1980, kBirth1980, kBirth1980};
    int count = 0;
    v.VisitListed([&](const DashaPeriod& p) {
      double& at = reached[static_cast<int>(p.level)];
      EXPECT_EQ(p.shown_start_day, at) << moon << " period " << count;
      at = p.shown_end_day;
      ++count;
    });
    for (double end : reached) EXPECT_NEAR(end, v.ListEndDay(), 1e-6) << moon;
    if (moon == 0) {
      EXPECT_EQ(count, 9 + 81 + 729) << "a cycle that starts at birth";
    }
  }
}

// Dates of a birth on a leap day: 7 years of 365.25 days from 2000-02-29 at 18:00 (day 11016.75)
// reach day 13573.5, 2007-03-01; at 00:00 they reach 13572.75, 2007-02-28; 360-day years reach
// 11016.75 + 2520 = 13536.75, 2007-01-23. Venus' 20 more years of 365.25 days end at 20878.5,
// 2027-03-01.
TEST(Vimshottari, BirthOnTheLeapDay) {
  struct Case {
    const char* what;
    double birth_minutes, year_days;
    const char* ketu_end;
    const char* venus_end;
  };
  const Case cases[] = {
      {"18:00, 365.25", 18 * 60, kJulianYearDays, "2007-03-01", "2027-03-01"},
      {"00:00, 365.25", 0, kJulianYearDays, "2007-02-28", "2027-02-28"},
      // 7 x 365.2425 = 2556.6975 -> 13573.4475; 27 x 365.2425 = 9861.5475 -> 20878.2975
      {"18:00, 365.2425", 18 * 60, kGregorianYearDays, "2007-03-01", "2027-03-01"},
      // 27 x 360 = 9720 -> 20736.75: 2026-10-10
      {"18:00, 360", 18 * 60, kSavanaYearDays, "2007-01-23", "2026-10-10"},
  };
  for (const Case& c : cases) {
    const double birth = core::DaysFromCivil(2000, 2, 29) + c.birth_minutes / 1440;
    const Vimshottari v = Periods(0, birth, c.year_days);
    const Mahadashas mahas = v.ListedMahadashas();
    EXPECT_EQ(DateText(mahas[0].shown_start_day), "2000-02-29") << c.what;
    EXPECT_EQ(DateText(mahas[0].end_day), c.ketu_end) << c.what;
    EXPECT_EQ(DateText(mahas[1].end_day), c.venus_end) << c.what;
  }
}

// Years of 360 days from 2000-01-01 00:00 (day 10957): Ketu's 2520 days end on day 13477,
// 2006-11-25, at midnight. Years of 365.25 days: Ketu ends at 13513.75, 2006-12-31 18:00.
TEST(Vimshottari, RunningOnDatesAtABoundary) {
  const double birth = core::DaysFromCivil(2000, 1, 1);
  struct Case {
    const char* what;
    double year_days;
    int year, month, day;
    const char* path;  // empty when no period is listed
  };
  const Case cases[] = {
      {"birth date", kSavanaYearDays, 2000, 1, 1, "Ketu / Ketu / Ketu"},
      {"day before the birth", kSavanaYearDays, 1999, 12, 31, ""},
      // The last antardasha of Ketu is Mercury's, whose last pratyantardasha is Saturn's.
      {"last day of Ketu", kSavanaYearDays, 2006, 11, 24, "Ketu / Mercury / Saturn"},
      {"Venus starts at midnight", kSavanaYearDays, 2006, 11, 25, "Venus / Venus / Venus"},
      {"Ketu until the day before", kJulianYearDays, 2006, 12, 30, "Ketu / Mercury / Saturn"},
      {"Venus starts at 18:00: its day", kJulianYearDays, 2006, 12, 31, "Venus / Venus / Venus"},
      // 120 x 365.25 = 43830 days; 2000-01-01 to 2120-01-01 is 120 x 365 + 29 leap days = 43829,
      // so 2120-01-02 (00:00) ends the listing. Each level ends with the lord before its
      // parent's: Mercury, then Saturn, then Jupiter.
      {"last listed date", kJulianYearDays, 2120, 1, 1, "Mercury / Saturn / Jupiter"},
      {"end of the listing", kJulianYearDays, 2120, 1, 2, ""},
  };
  for (const Case& c : cases) {
    const Vimshottari v = Periods(0, birth, c.year_days);
    const auto path = v.RunningOnDate(core::DaysFromCivil(c.year, c.month, c.day));
    if (*c.path == '\0') {
      EXPECT_FALSE(path.has_value()) << c.what;
      continue;
    }
    ASSERT_TRUE(path.has_value()) << c.what << ": " << path.error().message;
    EXPECT_EQ(PathText(*path), c.path) << c.what;
  }
  // At the instant, not the date: Ketu still runs at 12:00 on 2006-12-31.
  const Vimshottari v = Periods(0, birth);
  EXPECT_EQ(PathText(*v.RunningAt(13513.5)), "Ketu / Mercury / Saturn");
  EXPECT_EQ(PathText(*v.RunningAt(13513.75)), "Venus / Venus / Venus");
}

TEST(Vimshottari, RefusesWhatItCannotPlace) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    const char* what;
    double moon, birth, year_days;
  };
  const Case cases[] = {
      {"Moon not a number", nan, 0, kJulianYearDays},
      {"birth not a number", 0, nan, kJulianYearDays},
      {"birth infinite", 0, inf, kJulianYearDays},
      {"zero-day year", 0, 0, 0},
      {"negative year", 0, 0, -365.25},
      {"year not a number", 0, 0, nan},
  };
  for (const Case& c : cases)
    EXPECT_FALSE(Vimshottari::FromMoon(c.moon, c.birth, c.year_days).has_value()) << c.what;

  const Vimshottari v = Periods(0, kBirth1980);
  const auto before = v.RunningOnDate(core::DaysFromCivil(1970, 1, 1));
  ASSERT_FALSE(before.has_value());
  EXPECT_EQ(before.error().message, "1970-01-01 lies before the birth (1980-08-15).");
  EXPECT_FALSE(v.RunningAt(nan).has_value());
}

TEST(PeriodTexts, DurationDateAndNotes) {
  struct Duration {
    double years, year_days;
    const char* want;
  };
  const Duration durations[] = {
      {0, kJulianYearDays, "0 years 0 months 0 days"},
      {1.75, kJulianYearDays, "1 year 9 months 0 days"},
      {1 + 1.0 / 12 + 1.0 / 365.25, kJulianYearDays, "1 year 1 month 1 day"},
      {7 - 1e-12, kJulianYearDays, "7 years 0 months 0 days"},  // rounding, not 6 y 11 m 30 d
      {2.0 / 12 - 1e-12, kSavanaYearDays, "0 years 2 months 0 days"},
      // 0.5 month of 365.2425 / 12 = 15.22 days
      {1.0 / 24, kGregorianYearDays, "0 years 0 months 15 days"},
      {std::numeric_limits<double>::quiet_NaN(), kJulianYearDays, "0 years 0 months 0 days"},
  };
  for (const Duration& d : durations)
    EXPECT_EQ(DurationText(d.years, d.year_days), d.want) << d.years;

  EXPECT_EQ(DateText(0), "1970-01-01");
  EXPECT_EQ(DateText(-0.25), "1969-12-31");  // 18:00 the day before
  EXPECT_EQ(DateText(core::DaysFromCivil(1901, 1, 1) + 0.999), "1901-01-01");
  EXPECT_EQ(DateText(std::numeric_limits<double>::infinity()), "");

  EXPECT_EQ(PeriodsNote(365.25, false), "Years of 365.25 days.");
  EXPECT_EQ(PeriodsNote(360, true), "Years of 360 days. " + std::string(kApproximateNote));
  EXPECT_EQ(PeriodsNote(365.2425, false), "Years of 365.2425 days.");
}

TEST(ParseYearLength, ChoicesAndRefusal) {
  EXPECT_EQ(*ParseYearLength("365.25"), YearLength::kJulian);
  EXPECT_EQ(*ParseYearLength("365.2425"), YearLength::kGregorian);
  EXPECT_EQ(*ParseYearLength("360"), YearLength::kSavana);
  EXPECT_EQ(YearDays(*ParseYearLength("savana")), 360);
  const auto bad = ParseYearLength("365");
  ASSERT_FALSE(bad.has_value());
  EXPECT_EQ(bad.error().message,
            "The year of the periods must be 365.25, 365.2425 or 360 days, not \"365\".");
}

}  // namespace
}  // namespace solvane::vedic
