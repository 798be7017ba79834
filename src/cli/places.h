// solvane-chart --find-place: places from the built-in atlas with coordinates in the flags' syntax.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "entry/atlas.h"

namespace solvane::cli {

// "CITY[, STATE][, COUNTRY]" split at its first two commas, each part without outer blanks.
struct PlaceQuery {
  std::string city, state, country;
};
PlaceQuery ParsePlaceQuery(std::string_view text);

// One line per place: name, division and country, then the coordinates as --lat/--lon flags and
// in degrees and minutes.
std::string PlacesText(const std::vector<entry::Place>& places);
// The same as a JSON array.
std::string PlacesJson(const std::vector<entry::Place>& places);

}  // namespace solvane::cli
