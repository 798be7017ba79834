// Saved births as a CSV file, for moving a list between machines and for spreadsheets. The first
// ten columns are those of solvane-chart --batch; the rest carry what the list adds.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <span>
#include <string_view>
#include <vector>

#include "core/result.h"
#include "store/birth_record.h"

namespace solvane::store {

// The header row, in the order written: name,date,time,zone,dst,lon,lat,city,state,country,
// offset,tz,place_id,note,created,changed. `zone` is the list position 0..70, or empty when
// `offset` (seconds east of Greenwich) gives the zone.
inline constexpr std::string_view kBirthsCsvHeader =
    "name,date,time,zone,dst,lon,lat,city,state,country,offset,tz,place_id,note,created,changed";

// The records as CSV text with a header row (RFC 4180 quoting, CR LF line ends).
void WriteBirthsCsv(std::span<const BirthRecord> records, std::ostream& out);

// Writes the records to `file` through a temporary file beside it, so that a failed export
// leaves any file of that name as it was.
core::Result<void> ExportBirths(std::span<const BirthRecord> records,
                                const std::filesystem::path& file);

// Reads records from CSV text: a header row naming columns of kBirthsCsvHeader in any order
// (name, date and lon/lat required), then one birth per row. Fails on the first bad row, naming
// its line; ids are 0.
core::Result<std::vector<BirthRecord>> ReadBirthsCsv(std::string_view text);
core::Result<std::vector<BirthRecord>> ReadBirthsFile(const std::filesystem::path& file);

}  // namespace solvane::store
