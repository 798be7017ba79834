// One zone of the system's tz database as a run of intervals of constant offset, whatever the
// date: the tz library's own intervals up to the file's last transition, the zone's TZ rule after
// it. Close to std::chrono::time_zone::get_info(sys_time), so that it can move there.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/result.h"
#include "zones/posix_rule.h"

namespace date {
class time_zone;
}

namespace solvane::zones {

// Where the operating system keeps the compiled tz database (Debian's tzdata).
inline constexpr std::string_view kZoneInfoDir = "/usr/share/zoneinfo";

// A stretch of time with one offset, as the database states it.
struct Interval {
  std::int64_t begin_s = 0;   // first UT instant, seconds since 1970-01-01
  std::int64_t end_s = 0;     // first UT instant after it
  std::int32_t offset_s = 0;  // added to UT to get local clock time
  bool is_dst = false;        // the database's daylight-saving flag
  std::string abbreviation;
  // The standard offset when the source states it (the TZ rule does; the compiled intervals only
  // flag daylight saving).
  std::optional<std::int32_t> standard_offset_s;
};

class ZoneRules {
 public:
  // The zone named `name` (an IANA name such as "Asia/Kolkata"), loaded once per process.
  static core::Result<std::shared_ptr<const ZoneRules>> Find(std::string_view name);

  const std::string& name() const { return name_; }
  Interval At(std::int64_t ut_s) const;
  // The offset of standard time in force with `interval`, and its abbreviation.
  std::pair<std::int32_t, std::string> StandardOf(const Interval& interval) const;

  ZoneRules(const date::time_zone* zone, std::optional<PosixRule> footer);

 private:
  Interval FromFooter(std::int64_t ut_s) const;

  const date::time_zone* zone_;
  std::string name_;
  std::optional<PosixRule> footer_;  // only when it has daylight saving
  std::int64_t last_transition_s_ = 0;
};

}  // namespace solvane::zones
