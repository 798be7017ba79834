// The birth moment from a place and the tz database on the command line: --place, --tz, an exact
// offset in --zone, --fold; and what the output says about where the zone came from.
#pragma once

#include <optional>
#include <string>

#include "cli/flags.h"
#include "cli/json_writer.h"
#include "core/result.h"
#include "entry/form_rules.h"

namespace solvane::cli {

// Where the chart's zone came from, and the place matched for --place.
struct ZoneChoice {
  bool from_tz = false;  // false: the zone list (or an exact offset given by hand)
};

// A message naming zone flags that cannot go together, or nothing.
std::optional<std::string> ZoneConflict(const Flags& flags);

// Applies --place, --tz and --fold to the form the other flags filled (explicit --lon, --lat,
// --zone and --dst win).
core::Result<ZoneChoice, CliFailure> ApplyZoneFlags(const Flags& flags,
                                                    entry::BirthFormSnapshot& form);

// The JSON members "Zone" (and "Place" when a place was matched).
void WriteZoneMembers(JsonWriter& json, const ZoneChoice& choice);

}  // namespace solvane::cli
