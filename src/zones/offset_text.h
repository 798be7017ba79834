// Offsets from UT as people write them: "UT+5:30" in texts, "+05:21:10" on the command line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/result.h"

namespace solvane::zones {

// The largest offset any zone has kept: 14 hours, in seconds (east or west).
inline constexpr std::int32_t kMaxOffset_s = 14 * 3600;

// An offset split as the form's "Other offset…" entry holds it.
struct ExactOffset {
  bool east = true;  // east of Greenwich: local time ahead of UT
  int hours = 0;     // 0..14
  int minutes = 0;   // 0..59
  int seconds = 0;   // 0..59
  friend bool operator==(const ExactOffset&, const ExactOffset&) = default;
};
ExactOffset SplitOffset(std::int32_t offset_s);

// "UT+5:30", "UT-4:00", "UT+0:19:32" (seconds only when the offset is not whole minutes).
std::string FormatUtOffset(std::int32_t offset_s);

// The exact offset in the command line's form: "+05:30", "+00:19:32", "-03:30".
std::string FormatExactOffset(std::int32_t offset_s);

// Reads "+05:21:10", "-03:30", "+5" (sign, hours, then optionally minutes and seconds) as
// seconds east of Greenwich, from -14:00 to +14:00; anything else fails with a message.
core::Result<std::int32_t> ParseExactOffset(std::string_view text);

}  // namespace solvane::zones
