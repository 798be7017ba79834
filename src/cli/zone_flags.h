// The birth moment from a place and the tz database on the command line: --place, --tz, an exact
// offset in --zone, --fold; and what the output says about where the zone came from.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/flags.h"
#include "cli/json_writer.h"
#include "core/chart_state.h"
#include "core/result.h"
#include "entry/form_rules.h"
#include "zones/zone_lookup.h"

namespace solvane::cli {

// The atlas's place a chart took its coordinates (and zone) from.
struct PlaceChoice {
  std::string name, admin1, country_code;
  double latitude_deg = 0;   // north positive
  double longitude_deg = 0;  // east positive
};

// Where the chart's zone came from, and the place matched for --place.
struct ZoneChoice {
  bool from_tz = false;  // false: the zone list (or an exact offset given by hand)
  std::string tz;        // the IANA name, when from_tz
  // The daylight part of the offset the chart uses, seconds (the database's, when it decided it).
  std::int32_t dst_s = 0;
  std::string abbreviation;  // the database's ("IST", "LMT", "+0630"), or the listed zone's
  zones::Status status = zones::Status::kOk;
  std::vector<std::string> notes;
  std::optional<PlaceChoice> place;
};

// What a chart asked of the place and the tz database, from flags or from a batch row: the texts
// given (none when not given) and which birth fields were given and so win over the place's.
struct ZoneRequest {
  std::optional<std::string> place, tz, fold;
  bool zone_given = false, dst_given = false, lon_given = false, lat_given = false;
  bool city_given = false, state_given = false, country_given = false;
  // How messages name the inputs: "--" for flags ("--tz"), "" for batch columns ("tz").
  std::string_view prefix = "--";
};

// A message naming inputs that cannot go together, or a fold that is neither earlier nor later.
std::optional<std::string> ZoneRequestConflict(const ZoneRequest& request);

// Applies the place and the tz database to a form whose own fields are already set: the place's
// coordinates, names and zone, then the zone and daylight saving of the birth moment, except for
// the fields given. A form the entry checks refuse is left for the chart run to refuse with its
// own message. A repeated clock time without a fold is refused, naming both readings; a skipped
// one is charted with the reading before the jump and a note naming both.
core::Result<ZoneChoice> ApplyZoneRequest(const ZoneRequest& request,
                                          entry::BirthFormSnapshot& form);

// A message naming zone flags that cannot go together, or nothing.
std::optional<std::string> ZoneConflict(const Flags& flags);

// Applies --place, --tz and --fold to the form the other flags filled (explicit --lon, --lat,
// --zone and --dst win).
core::Result<ZoneChoice, CliFailure> ApplyZoneFlags(const Flags& flags,
                                                    entry::BirthFormSnapshot& form);

// What a chart's zone is when it came from the form alone: the list (or an exact offset).
ZoneChoice ListZoneChoice(const entry::BirthFormSnapshot& form);

// Seconds added to universal time to get the local clock time of the charted `state`.
std::int32_t ChartOffsetSeconds(const core::ChartState& state);

// The JSON members "Zone" (and "Place" when a place was matched) of the charted `state`.
void WriteZoneMembers(JsonWriter& json, const ZoneChoice& choice, const core::ChartState& state);

// Lines of the text output on the zone, the place and the notes; "" for a chart whose zone came
// from the form alone.
std::string ZoneText(const ZoneChoice& choice, const core::ChartState& state);

}  // namespace solvane::cli
