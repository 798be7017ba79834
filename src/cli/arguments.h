// Birth fields given as text (command-line flags or batch columns) turned into an entry-form
// snapshot, so that they meet exactly the checks a typed form meets.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "entry/form_rules.h"

namespace solvane::cli {

// The field names: each is a flag (--name) and a batch column (name).
inline constexpr std::array<std::string_view, 10> kFieldNames = {
    "name", "date", "time", "zone", "dst", "lon", "lat", "city", "state", "country"};

bool IsFieldName(std::string_view name);

// Sets field `name` of `form` from `value`. Returns what is wrong with the value, or "" when it
// was taken. Values in range of the syntax but refused by the form (31 April, 180 degrees) are
// taken here and refused later by the form's own check, with its message.
std::string ApplyField(std::string_view name, std::string_view value,
                       entry::BirthFormSnapshot& form);

// The individual parsers behind `ApplyField`; each returns an error text or "".
std::string ParseDate(std::string_view text, entry::BirthFormSnapshot& form);  // 1980-08-15
std::string ParseTime(std::string_view text, entry::BirthFormSnapshot& form);  // 06:30[:SS]
std::string ParseZone(std::string_view text, entry::BirthFormSnapshot& form);  // 34, IST or text
std::string ParseLongitude(std::string_view text, entry::BirthFormSnapshot& form);  // 77E13
std::string ParseLatitude(std::string_view text, entry::BirthFormSnapshot& form);   // 28N36
std::string ParseDaylightSaving(std::string_view text, entry::BirthFormSnapshot& form);

}  // namespace solvane::cli
