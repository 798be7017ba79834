// The rule a zone follows after its last listed transition: the POSIX TZ string that ends every
// TZif file ("CET-1CEST,M3.5.0,M10.5.0/3"). The tz reader we use stops at the last transition
// (2037 in Debian's files), so births up to 2050 need this rule to know their daylight saving.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace solvane::zones {

// One end of the daylight-saving period, as a day of the year and a local clock time.
struct PosixDate {
  enum class Kind { kJulianNoLeap, kZeroBased, kMonthWeekDay };
  Kind kind = Kind::kMonthWeekDay;
  int day = 0;                 // kJulianNoLeap: 1..365 (29 February never counted);
                               // kZeroBased: 0..365 (29 February counted)
  int month = 0;               // kMonthWeekDay: 1..12
  int week = 0;                // kMonthWeekDay: 1..5, 5 meaning the last in the month
  int weekday = 0;             // kMonthWeekDay: 0 Sunday .. 6 Saturday
  std::int32_t time_s = 7200;  // local clock time of the change, seconds (-167 h .. 167 h)
};

struct PosixRule {
  std::string standard_abbreviation;
  std::string daylight_abbreviation;   // empty: the zone keeps standard time all year
  std::int32_t standard_offset_s = 0;  // seconds added to UT to get local standard time
  std::int32_t daylight_offset_s = 0;  // seconds added to UT to get local daylight time
  bool has_daylight = false;
  PosixDate start;  // change to daylight time, on the standard-time clock
  PosixDate end;    // change back to standard time, on the daylight-time clock
};

// Reads a TZ string in the form TZif files carry (POSIX, with RFC 8536's hours up to 167 and
// negative transition times); nothing when it is malformed or names daylight time without rules.
std::optional<PosixRule> ParsePosixRule(std::string_view text);

// The stretch of time around `ut_s` (seconds since 1970-01-01 UT) in which `rule` keeps one
// offset; `begin_s` and `end_s` are the UT instants of the changes that bound it.
struct PosixPeriod {
  std::int64_t begin_s = 0;
  std::int64_t end_s = 0;
  bool daylight = false;
};
PosixPeriod PeriodAt(const PosixRule& rule, std::int64_t ut_s);

// The TZ string at the end of TZif file contents `tzif`; nothing for a version-1 file or a file
// that is cut short.
std::optional<std::string> TzifFooter(std::string_view tzif);

}  // namespace solvane::zones
