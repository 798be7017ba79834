// Birth fields given as text (command-line flags or batch columns) turned into an entry-form
// snapshot, so that they meet exactly the checks a typed form meets.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/result.h"
#include "entry/form_rules.h"

namespace solvane::cli {

// The field names: each is a flag (--name) and a batch column (name).
inline constexpr std::array<std::string_view, 10> kFieldNames = {
    "name", "date", "time", "zone", "dst", "lon", "lat", "city", "state", "country"};

bool IsFieldName(std::string_view name);

// Sets field `name` of `form` from `value`, or says what is wrong with the value and leaves the
// form as it was. Values in range of the syntax but refused by the form (31 April, 180 degrees)
// are taken here and refused later by the form's own check, with its message. Blanks and tabs
// around a parsed value do not count; the name and the place are kept as given, except that a
// name of blanks and tabs only is no name.
core::Result<void> ApplyField(std::string_view name, std::string_view value,
                              entry::BirthFormSnapshot& form);

// The individual parsers behind `ApplyField`.
using FieldParser = core::Result<void> (*)(std::string_view, entry::BirthFormSnapshot&);
core::Result<void> ParseDate(std::string_view text, entry::BirthFormSnapshot& form);  // 1980-08-15
core::Result<void> ParseTime(std::string_view text, entry::BirthFormSnapshot& form);  // 06:30[:SS]
// A list position 0-70 (leading zeros allowed), an abbreviation that occurs once, the text, or an
// exact offset east of Greenwich written with its sign (`ParseOffset`).
core::Result<void> ParseZone(std::string_view text, entry::BirthFormSnapshot& form);
// An exact offset east of Greenwich, "+05:21:10" or "-03:30", held by the entry after the listed
// zones ("Other offset…").
core::Result<void> ParseOffset(std::string_view text, entry::BirthFormSnapshot& form);
core::Result<void> ParseLongitude(std::string_view text, entry::BirthFormSnapshot& form);  // 77E13
core::Result<void> ParseLatitude(std::string_view text, entry::BirthFormSnapshot& form);   // 28N36
// 1/0, true/false, yes/no in any case, or nothing (no).
core::Result<void> ParseDaylightSaving(std::string_view text, entry::BirthFormSnapshot& form);

}  // namespace solvane::cli
