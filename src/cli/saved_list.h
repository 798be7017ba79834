// The saved births as solvane-chart lists them: an aligned table for people, JSON for scripts.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "store/birth_record.h"

namespace solvane::cli {

// Columns a terminal gives `utf8`: combining marks and joiners take none, East Asian wide
// characters two, everything else one.
std::size_t DisplayWidth(std::string_view utf8);

// A table with a header row (NAME, DATE, TIME, PLACE), its columns aligned, one birth a line;
// texts made terminal-safe.
std::string SavedListText(std::span<const store::BirthRecord> records);

// A JSON array of objects with the members name, date, time, zone, dst, lon, lat, city, state,
// country, note, created and changed; zone, lon and lat as --zone, --lon and --lat take them.
std::string SavedListJson(std::span<const store::BirthRecord> records);

// "NAME  1980-08-15 06:30  New Delhi, Delhi, India": one birth on one line, for messages.
std::string SavedBirthLine(const store::BirthRecord& record);

}  // namespace solvane::cli
