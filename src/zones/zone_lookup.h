// The zone and daylight saving of a birth moment, from the system's tz database: what the clock
// at the birth place read against universal time, with what the database cannot vouch for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"

namespace solvane::zones {

// A local clock reading (proleptic Gregorian date), as written on a birth record.
struct LocalDateTime {
  int year = 1901;  // 1901..2050
  int month = 1;    // 1..12
  int day = 1;
  int hour = 0;    // 0..23
  int minute = 0;  // 0..59
  int second = 0;  // 0..59
};

// Which reading of a clock time that showed twice, or never, the caller chose. For a repeated
// time: its first or second occurrence. For a skipped time: the offset in force before or after
// the jump.
enum class Fold { kUnset, kEarlier, kLater };

enum class Status {
  kOk,
  kLmt,         // local mean time: the offset is the birth place's, from its longitude
  kSkipped,     // the clocks jumped over this time
  kRepeated,    // the clocks showed this time twice
  kHistorical,  // the database's own notes call data this old uncertain
};

// One way of reading the clock against universal time.
struct Reading {
  std::int32_t total_offset_s = 0;     // added to UT to get the local clock time
  std::int32_t standard_offset_s = 0;  // the zone's standard time
  std::int32_t daylight_s = 0;         // total minus standard (negative in Ireland's winters)
  std::string abbreviation;            // as the database writes it: "IST", "+0630", "LMT"
  std::string standard_abbreviation;   // that of the standard time: "IST" for "+0630" in 1942
  bool is_dst = false;                 // the database's daylight-saving flag
  std::int64_t ut_s = 0;               // the birth moment, seconds since 1970-01-01 UT
};

struct ZoneAnswer {
  std::string zone;  // the IANA name asked for
  Status status = Status::kOk;
  Reading reading;  // the one to use; with `needs_choice`, only the earlier of the two
  // A skipped or repeated time with no fold given: the caller must ask which reading was meant.
  bool needs_choice = false;
  std::optional<Reading> earlier;  // skipped or repeated: the first reading (before the jump)
  std::optional<Reading> later;    // skipped or repeated: the second reading (after the jump)
  bool historical = false;         // before 1970: the database's data is less certain
  std::vector<std::string> notes;  // short texts for the user, the most important first
};

struct ZoneQuery {
  std::string_view zone;     // IANA name: "Asia/Kolkata"
  double longitude_deg = 0;  // birth place, east positive; used for local mean time
  LocalDateTime local;
  Fold fold = Fold::kUnset;
};

// The reading of `query.local` in `query.zone`. Fails for an unknown zone, a date outside
// 1901..2050, an impossible date or time, or a longitude outside -180..180.
core::Result<ZoneAnswer> LookUp(const ZoneQuery& query);

// The database's own reading of `zone` at the UT instant `ut_s` (seconds since 1970), local mean
// time included as the database states it.
core::Result<Reading> ReadingAt(std::string_view zone, std::int64_t ut_s);

// Whether the system's database keeps history from before 1970 (some builds fold old zones into
// their neighbours): Europe/Amsterdam on 1930-01-15 must read UT+0:19:32. Checked once.
bool DatabaseHasHistory();

}  // namespace solvane::zones
