// The place-lookup button's rules: which box must not be empty, and the query it searches for.
#pragma once

#include <string>

#include "core/result.h"
#include "entry/form_rules.h"

namespace solvane::entry {

// The query, or the refusal for the first empty place box (blanks count as text). The query is
// city, state and country, each followed by a blank, then "Latitude Longitude".
core::Result<std::string, Refusal> PlaceLookupQuery(const BirthFormSnapshot& form);

}  // namespace solvane::entry
