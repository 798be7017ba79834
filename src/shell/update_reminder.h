// When to remind the user to look for a newer version: at most once in fourteen days.
#pragma once

#include <optional>

namespace solvane::shell {

// The start-up code builds on the pieces every window shares.
using namespace widgets;

inline constexpr const char* kReminderText =
    "There maybe an update to this software available\rDo you want to check for an update?";

// `days_to_stored`: whole calendar days from today to the stored reminder date (negative when it
// lies in the past), or nothing when no date is stored or it cannot be read. A reminder is due
// when a date is stored and lies more than 14 days away in either direction (a clock set back
// counts too).
constexpr bool ReminderDue(std::optional<long> days_to_stored) {
  return days_to_stored && (*days_to_stored < -14 || *days_to_stored > 14);
}

}  // namespace solvane::shell
