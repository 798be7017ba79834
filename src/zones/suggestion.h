// What the entry form should hold for a birth moment read from the tz database, and the line
// that suggests it to the user.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/result.h"
#include "zones/time_zones.h"
#include "zones/zone_lookup.h"

namespace solvane::zones {

// The entry after the 71 listed zones (kOtherOffsetIndex) holds an exact offset.
inline constexpr std::string_view kOtherOffsetText = "Other offset\u2026";

struct FormZone {
  int index = 0;                 // 0..70: a listed zone; kOtherOffsetIndex: the exact offset
  bool daylight_saving = false;  // tick "Daylight Saving Time" (one hour on the listed zone)
  std::int32_t offset_s = 0;     // the offset the form then gives, seconds east of UT
};

// A listed zone with daylight saving ticked when the reading's standard offset is listed and it
// kept one hour of daylight saving; else a listed zone of its total offset; else the exact
// offset. Where several listed zones share an offset, the one with the database's abbreviation
// wins, then one that is not a daylight, summer or war time, then the first.
FormZone FormZoneFor(const Reading& reading);

// The form's text for `form`: the zone as the list shows it, ", daylight saving" when ticked.
std::string FormZoneText(const FormZone& form);

struct Suggestion {
  ZoneAnswer answer;
  FormZone form;                         // for answer.reading
  std::optional<FormZone> earlier_form;  // for a skipped or repeated time
  std::optional<FormZone> later_form;
  // "For Mumbai on 21 March 1990 at 14:45: Indian Time, IST, +5.3 (Asia/Kolkata, UT+5:30)";
  // both readings when the caller must choose. The notes are in answer.notes.
  std::string text;
};

// The suggestion for a birth at `place` (a name for the text only) described by `query`.
core::Result<Suggestion> Suggest(std::string_view place, const ZoneQuery& query);

}  // namespace solvane::zones
