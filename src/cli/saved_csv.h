// Saved births as CSV in the batch's own format, so that an exported list can be charted with
// --batch and read back with --import-saved.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/csv.h"
#include "core/result.h"
#include "store/birth_record.h"

namespace solvane::cli {

// The header row of an exported list: the batch's columns.
inline constexpr std::string_view kSavedCsvHeader =
    "name,date,time,zone,dst,lon,lat,city,state,country";

// The zone as --zone and the batch take it: the list position ("29"), or an exact offset east of
// Greenwich as +05:21:10 (seconds left out when 0: -03:30).
std::string ZoneText(const store::BirthRecord& record);

// One record as a CSV row of the batch's columns (RFC 4180 quoting, no line end). Two records
// with the same row are the same birth as far as a chart can tell.
std::string SavedCsvRow(const store::BirthRecord& record);

// The records with the header, each line ending in CR LF.
std::string SavedCsvText(std::span<const store::BirthRecord> records);

// A row the entry form's rules refuse, or that is not CSV: its line and why.
struct RefusedRow {
  std::size_t line = 0;
  std::string message;
};

struct SavedCsvRead {
  std::vector<store::BirthRecord> records;
  std::vector<RefusedRow> refused;
  std::size_t rows = 0;  // rows read, blank lines not counted
};

// Why the whole file cannot be read: a bad header (refused) or an input that failed.
struct SavedCsvStop {
  bool unreadable = false;
  std::string message;
};

// Reads a CSV with a header of batch columns in any order (missing columns take the entry form's
// first selections). Each row meets the checks of a typed form; a row refused is listed and
// skipped, the rest become records.
core::Result<SavedCsvRead, SavedCsvStop> ReadSavedCsv(ByteSource source);

}  // namespace solvane::cli
