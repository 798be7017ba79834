// Births whose zone is easy to get wrong, with the offsets the tz database gives for them (each
// checked against zdump), and what the entry form should then hold.
#include "zones/zone_lookup.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "zones/offset_text.h"
#include "zones/suggestion.h"

namespace solvane::zones {
namespace {

constexpr std::int32_t kHour_s = 3600;
// An offset east of UT in seconds, from hours, minutes and seconds.
constexpr std::int32_t Hm(int hours, int minutes = 0, int seconds = 0) {
  return hours * 3600 + minutes * 60 + seconds;
}
constexpr int kEst = 27;      // "Eastern Standard Time,EST,-5.0"
constexpr int kIst = 34;      // "Indian Time, IST, +5.3"
constexpr int kCet = 20;      // "Central European Time,CET,+1.0"
constexpr int kBst = 16;      // "British Summer Time,BST,+1.0"
constexpr int kGmt = 29;      // "Greenwich Mean Time,GMT,0.0"
constexpr int kBaghdad = 12;  // "Baghdad Time, BAT, +3.0"
constexpr int kAest = 8;      // "Australian Eastern Standard Time,AEST,+10.0"

struct NamedCase {
  const char* what;
  const char* zone;
  double longitude_deg;
  LocalDateTime local;
  Fold fold;
  std::int32_t total_s, standard_s, daylight_s;
  const char* abbreviation;
  Status status;
  int form_index;
  bool form_dst;
};

TEST(LookUp, NamedBirths) {
  // clang-format off
  const NamedCase cases[] = {
      // India kept war time, UT+6:30, from 1 September 1942 to 15 October 1945.
      {"Mumbai war time", "Asia/Kolkata", 72.88, {1942, 9, 1, 12, 0, 0}, Fold::kUnset,
       Hm(6, 30), Hm(5, 30), Hm(1), "+0630", Status::kHistorical, kIst, true},
      // Nepal moved from UT+5:30 to UT+5:45 at the start of 1986; 00:00-00:15 never showed.
      {"Kathmandu 1985", "Asia/Kathmandu", 85.32, {1985, 12, 31, 12, 0, 0}, Fold::kUnset,
       Hm(5, 30), Hm(5, 30), 0, "+0530", Status::kOk, kIst, false},
      {"Kathmandu 1986", "Asia/Kathmandu", 85.32, {1986, 1, 1, 12, 0, 0}, Fold::kUnset,
       Hm(5, 45), Hm(5, 45), 0, "+0545", Status::kOk, kOtherOffsetIndex, false},
      {"Kathmandu gap", "Asia/Kathmandu", 85.32, {1986, 1, 1, 0, 5, 0}, Fold::kLater,
       Hm(5, 45), Hm(5, 45), 0, "+0545", Status::kSkipped, kOtherOffsetIndex, false},
      // Berlin's double summer time: standard UT+1 plus two hours.
      {"Berlin 1945", "Europe/Berlin", 13.4, {1945, 6, 15, 12, 0, 0}, Fold::kUnset,
       Hm(3), Hm(1), Hm(2), "CEMT", Status::kHistorical, kBaghdad, false},
      // Britain kept UT+1 all year from 27 October 1968 to 31 October 1971 as its standard time.
      {"London 1969 winter", "Europe/London", -0.13, {1969, 12, 15, 12, 0, 0}, Fold::kUnset,
       Hm(1), Hm(1), 0, "BST", Status::kHistorical, kBst, false},
      {"London 1972 winter", "Europe/London", -0.13, {1972, 1, 15, 12, 0, 0}, Fold::kUnset,
       0, 0, 0, "GMT", Status::kOk, kGmt, false},
      // The United States' year-round daylight time of the 1974 energy crisis.
      {"New York 1974", "America/New_York", -74.0, {1974, 1, 15, 12, 0, 0}, Fold::kUnset,
       -Hm(4), -Hm(5), Hm(1), "EDT", Status::kOk, kEst, true},
      {"New York 1975", "America/New_York", -74.0, {1975, 1, 15, 12, 0, 0}, Fold::kUnset,
       -Hm(5), -Hm(5), 0, "EST", Status::kOk, kEst, false},
      // Amsterdam Mean Time, UT+0:19:32, and its summer time an hour ahead.
      {"Amsterdam winter", "Europe/Amsterdam", 4.9, {1930, 1, 15, 12, 0, 0}, Fold::kUnset,
       Hm(0, 19, 32), Hm(0, 19, 32), 0, "AMT", Status::kHistorical, kOtherOffsetIndex, false},
      {"Amsterdam summer", "Europe/Amsterdam", 4.9, {1930, 7, 15, 12, 0, 0}, Fold::kUnset,
       Hm(1, 19, 32), Hm(0, 19, 32), Hm(1), "NST", Status::kHistorical, kOtherOffsetIndex, false},
      // Spring forward and fall back in 2023.
      {"Berlin skipped, before", "Europe/Berlin", 13.4, {2023, 3, 26, 2, 30, 0}, Fold::kEarlier,
       Hm(1), Hm(1), 0, "CET", Status::kSkipped, kCet, false},
      {"Berlin skipped, after", "Europe/Berlin", 13.4, {2023, 3, 26, 2, 30, 0}, Fold::kLater,
       Hm(2), Hm(1), Hm(1), "CEST", Status::kSkipped, kCet, true},
      {"Berlin repeated, first", "Europe/Berlin", 13.4, {2023, 10, 29, 2, 30, 0}, Fold::kEarlier,
       Hm(2), Hm(1), Hm(1), "CEST", Status::kRepeated, kCet, true},
      {"Berlin repeated, second", "Europe/Berlin", 13.4, {2023, 10, 29, 2, 30, 0}, Fold::kLater,
       Hm(1), Hm(1), 0, "CET", Status::kRepeated, kCet, false},
      // Nepal kept local mean time until 1920: Pokhara's own (83°59' E), not Kathmandu's 5:41:16.
      {"Pokhara 1910", "Asia/Kathmandu", 83 + 59 / 60.0, {1910, 6, 1, 12, 0, 0}, Fold::kUnset,
       Hm(5, 35, 56), Hm(5, 35, 56), 0, "LMT", Status::kLmt, kOtherOffsetIndex, false},
      // Tonga's mean time lay east of the date line though Nuku'alofa lies at 175°12' W.
      {"Nuku'alofa 1930", "Pacific/Tongatapu", -175.2, {1930, 6, 1, 12, 0, 0}, Fold::kUnset,
       Hm(12, 19, 12), Hm(12, 19, 12), 0, "LMT", Status::kLmt, kOtherOffsetIndex, false},
      // Past the files' last transition (2037) the zones' TZ rules take over.
      {"New York 2045 summer", "America/New_York", -74.0, {2045, 7, 1, 12, 0, 0}, Fold::kUnset,
       -Hm(4), -Hm(5), Hm(1), "EDT", Status::kOk, kEst, true},
      {"Sydney 2045 summer", "Australia/Sydney", 151.2, {2045, 1, 15, 12, 0, 0}, Fold::kUnset,
       Hm(11), Hm(10), Hm(1), "AEDT", Status::kOk, kAest, true},
      // Ireland's winter time is the database's daylight saving, one hour negative.
      {"Dublin winter", "Europe/Dublin", -6.26, {2000, 1, 15, 12, 0, 0}, Fold::kUnset,
       0, Hm(1), -Hm(1), "GMT", Status::kOk, kGmt, false},
  };
  // clang-format on
  for (const NamedCase& c : cases) {
    SCOPED_TRACE(c.what);
    const auto s = Suggest("", {c.zone, c.longitude_deg, c.local, c.fold});
    ASSERT_TRUE(s) << s.error().message;
    const Reading& r = s->answer.reading;
    EXPECT_EQ(r.total_offset_s, c.total_s);
    EXPECT_EQ(r.standard_offset_s, c.standard_s);
    EXPECT_EQ(r.daylight_s, c.daylight_s);
    EXPECT_EQ(r.abbreviation, c.abbreviation);
    EXPECT_EQ(s->answer.status, c.status);
    EXPECT_FALSE(s->answer.needs_choice);
    EXPECT_EQ(s->form.index, c.form_index);
    EXPECT_EQ(s->form.daylight_saving, c.form_dst);
    EXPECT_EQ(s->form.offset_s, c.total_s);
  }
}

// A time the clocks skipped or showed twice, asked without a fold: both readings, no choice made.
TEST(LookUp, SkippedOrRepeatedWithoutFoldAsksForAChoice) {
  struct Case {
    LocalDateTime local;
    Status status;
    std::int32_t earlier_s, later_s;  // Berlin's offsets before and after each change of 2023
    const char* text;
  };
  const Case cases[] = {
      {{2023, 3, 26, 2, 30, 0},
       Status::kSkipped,
       kHour_s,
       2 * kHour_s,
       "For Berlin on 26 March 2023 at 02:30: either Central European Time,CET,+1.0 "
       "(Europe/Berlin, UT+1:00) before the jump, or Central European Time,CET,+1.0, daylight "
       "saving (Europe/Berlin, UT+2:00) after it"},
      {{2023, 10, 29, 2, 30, 0},
       Status::kRepeated,
       2 * kHour_s,
       kHour_s,
       "For Berlin on 29 October 2023 at 02:30: either Central European Time,CET,+1.0, daylight "
       "saving (Europe/Berlin, UT+2:00) the first time, or Central European Time,CET,+1.0 "
       "(Europe/Berlin, UT+1:00) the second time"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto s = Suggest("Berlin", {"Europe/Berlin", 13.4, c.local, Fold::kUnset});
    ASSERT_TRUE(s) << s.error().message;
    EXPECT_EQ(s->answer.status, c.status);
    EXPECT_TRUE(s->answer.needs_choice);
    ASSERT_TRUE(s->answer.earlier && s->answer.later);
    EXPECT_EQ(s->answer.earlier->total_offset_s, c.earlier_s);
    EXPECT_EQ(s->answer.later->total_offset_s, c.later_s);
    // The two readings are an hour apart in UT, the wall clock being the same.
    EXPECT_EQ(s->answer.earlier->ut_s - s->answer.later->ut_s, c.later_s - c.earlier_s);
    EXPECT_EQ(s->text, c.text);
    ASSERT_FALSE(s->answer.notes.empty());
    EXPECT_NE(s->answer.notes[0].find("Choose which one was meant."), std::string::npos);
  }
}

TEST(Suggest, TextNamesTheListedZoneAndTheExactOffset) {
  struct Case {
    const char* place;
    const char* zone;
    double longitude_deg;
    LocalDateTime local;
    const char* text;
  };
  const Case cases[] = {
      {"Mumbai",
       "Asia/Kolkata",
       72.88,
       {1990, 3, 21, 14, 45, 0},
       "For Mumbai on 21 March 1990 at 14:45: Indian Time, IST, +5.3 (Asia/Kolkata, UT+5:30)"},
      {"New York",
       "America/New_York",
       -74.0,
       {1974, 1, 15, 9, 5, 30},
       "For New York on 15 January 1974 at 09:05:30: Eastern Standard Time,EST,-5.0, daylight "
       "saving (America/New_York, UT-4:00)"},
      {"Amsterdam",
       "Europe/Amsterdam",
       4.9,
       {1930, 1, 15, 12, 0, 0},
       "For Amsterdam on 15 January 1930 at 12:00: Other offset\u2026 (Europe/Amsterdam, "
       "UT+0:19:32)"},
  };
  for (const Case& c : cases) {
    const auto s = Suggest(c.place, {c.zone, c.longitude_deg, c.local, Fold::kUnset});
    ASSERT_TRUE(s) << s.error().message;
    EXPECT_EQ(s->text, c.text);
  }
}

bool HasNote(const ZoneAnswer& answer, std::string_view words) {
  for (const std::string& note : answer.notes)
    if (note.find(words) != std::string::npos) return true;
  return false;
}

TEST(LookUp, NotesSayWhatTheDatabaseCannotVouchFor) {
  struct Case {
    const char* zone;
    double longitude_deg;
    int year;
    bool lmt_note, india_note, history_note;
  };
  const Case cases[] = {
      {"Asia/Kathmandu", 83 + 59 / 60.0, 1910, true, false, true},  // local mean time
      {"Asia/Kolkata", 88.36, 1950, false, true, true},   // city times still kept in India
      {"Asia/Calcutta", 88.36, 1950, false, true, true},  // the same zone by its old name
      {"Asia/Kolkata", 88.36, 1960, false, false, true},
      {"Asia/Kolkata", 88.36, 1970, false, false, false},
      {"America/New_York", -74.0, 1990, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.zone) + " " + std::to_string(c.year));
    const auto a = LookUp({c.zone, c.longitude_deg, {c.year, 6, 1, 12, 0, 0}, Fold::kUnset});
    ASSERT_TRUE(a) << a.error().message;
    EXPECT_EQ(HasNote(*a, "UT+5:35:56, is the birth place's own, from its longitude 83\u00B059' E"),
              c.lmt_note);
    EXPECT_EQ(HasNote(*a, "Bombay Time"), c.india_note);
    EXPECT_EQ(HasNote(*a, "before 1970"), c.history_note);
    EXPECT_EQ(a->historical, c.history_note);
  }
}

TEST(LookUp, RefusesWhatItCannotAnswer) {
  struct Case {
    const char* zone;
    double longitude_deg;
    LocalDateTime local;
    const char* message_part;
  };
  const Case cases[] = {
      {"Europe/Atlantis", 0, {1990, 1, 1, 0, 0, 0}, "\"Europe/Atlantis\""},
      {"", 0, {1990, 1, 1, 0, 0, 0}, "no time zone"},
      {"Europe/Berlin", 0, {1900, 12, 31, 0, 0, 0}, "1900"},
      {"Europe/Berlin", 0, {2051, 1, 1, 0, 0, 0}, "2051"},
      {"Europe/Berlin", 0, {1990, 2, 29, 0, 0, 0}, "no such date"},
      {"Europe/Berlin", 0, {1990, 4, 31, 0, 0, 0}, "no such date"},
      {"Europe/Berlin", 0, {1990, 1, 1, 24, 0, 0}, "no such date"},
      {"Europe/Berlin", 0, {1990, 13, 1, 0, 0, 0}, "no such date"},
      {"Europe/Berlin", 180.5, {1990, 1, 1, 0, 0, 0}, "longitude"},
      {"Europe/Berlin",
       std::numeric_limits<double>::quiet_NaN(),
       {1990, 1, 1, 0, 0, 0},
       "longitude"},
  };
  for (const Case& c : cases) {
    const auto a = LookUp({c.zone, c.longitude_deg, c.local, Fold::kUnset});
    ASSERT_FALSE(a) << c.zone << " " << c.message_part;
    EXPECT_NE(a.error().message.find(c.message_part), std::string::npos) << a.error().message;
  }
}

TEST(DatabaseHasHistory, DebianKeepsTheHistoryOfEveryZone) {
  // Debian's tzdata is built with the tz project's backzone file; without it Amsterdam would
  // follow Brussels and every suggestion would carry a warning.
  EXPECT_TRUE(DatabaseHasHistory());
  const auto r = ReadingAt("Europe/Amsterdam", -1261051200);  // 1930-01-15 12:00 UT
  ASSERT_TRUE(r);
  EXPECT_EQ(FormatUtOffset(r->total_offset_s), "UT+0:19:32");
}

TEST(FormZoneFor, ChoosesAmongZonesOfTheSameOffset) {
  struct Case {
    std::int32_t total_s, standard_s;
    const char* abbreviation;
    const char* standard_abbreviation;
    int index;
    bool dst;
  };
  const Case cases[] = {
      {-4 * kHour_s, -5 * kHour_s, "EDT", "EST", kEst, true},   // EST, not CDT or CWT
      {-5 * kHour_s, -6 * kHour_s, "CDT", "CST", 21, true},     // "Central Standard Time"
      {-5 * kHour_s, -5 * kHour_s, "-05", "-05", kEst, false},  // the plain standard time
      {2 * kHour_s, 2 * kHour_s, "EET", "EET", 26, false},      // by abbreviation
      {2 * kHour_s, 2 * kHour_s, "SAST", "SAST", 26, false},    // not "BDST": first plain one
      {3 * kHour_s, kHour_s, "CEMT", "CET", kBaghdad, false},   // two hours: by the total
      {20700, 20700, "+0545", "+0545", kOtherOffsetIndex, false},
      {-kHour_s * 3 - 1800, -kHour_s * 3 - 1800, "NST", "NST", 50, false},  // Newfoundland
  };
  for (const Case& c : cases) {
    Reading r;
    r.total_offset_s = c.total_s;
    r.standard_offset_s = c.standard_s;
    r.daylight_s = c.total_s - c.standard_s;
    r.abbreviation = c.abbreviation;
    r.standard_abbreviation = c.standard_abbreviation;
    const FormZone f = FormZoneFor(r);
    EXPECT_EQ(f.index, c.index) << c.abbreviation;
    EXPECT_EQ(f.daylight_saving, c.dst) << c.abbreviation;
  }
}

}  // namespace
}  // namespace solvane::zones
