// solvane-chart --find-place: places from the built-in atlas with coordinates in the flags' syntax.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "entry/atlas.h"

namespace solvane::cli {

// "CITY[, STATE][, COUNTRY]" split at its first two commas, each part without outer blanks.
// (entry::Atlas::Lookup reads the text itself, a lone second part as a state or a country.)
struct PlaceQuery {
  std::string city, state, country;
};
PlaceQuery ParsePlaceQuery(std::string_view text);

// One line per place: name, division and country, then the coordinates as --lat/--lon flags and
// in degrees and minutes.
std::string PlacesText(const std::vector<entry::Place>& places);
// The same as a JSON array; each place also gives its IANA time zone and GeoNames id.
std::string PlacesJson(const std::vector<entry::Place>& places);

// The answer to a lookup: the note, when there is one, on a line before the places.
std::string PlacesText(const entry::PlaceMatches& matches);
// The same as a JSON object: {"note": "" when there is none, "places": [as PlacesJson]}.
std::string PlacesJson(const entry::PlaceMatches& matches);

}  // namespace solvane::cli
