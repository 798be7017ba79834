// The place-lookup button's rules: which box must not be empty, and the query it searches for.
#pragma once

#include <string>
#include <variant>

#include "entry/form_rules.h"

namespace solvane::entry {

// The refusal for the first empty place box (blanks count as text), or the query:
// city, state and country, each followed by a blank, then "Latitude Longitude".
std::variant<Refusal, std::string> PlaceLookupQuery(const BirthFormSnapshot& form);

}  // namespace solvane::entry
