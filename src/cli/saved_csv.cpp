#include "cli/saved_csv.h"

#include <algorithm>
#include <optional>

#include "cli/arguments.h"
#include "core/text.h"
#include "entry/birth_record_form.h"
#include "entry/form_rules.h"
#include "zones/offset_text.h"

namespace solvane::cli {
namespace {

void AppendField(std::string_view field, std::string& out) {
  // Blanks at the ends are quoted too: a spreadsheet would otherwise drop them.
  const bool quote = field.find_first_of(",\"\r\n") != std::string_view::npos ||
                     (!field.empty() && (field.front() == ' ' || field.back() == ' ' ||
                                         field.front() == '\t' || field.back() == '\t'));
  if (!quote) {
    out += field;
    return;
  }
  out += '"';
  for (const char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

using Columns = std::vector<std::string>;

core::Unexpected<SavedCsvStop> Stop(bool unreadable, std::string message) {
  return {SavedCsvStop{unreadable, std::move(message)}};
}

core::Result<Columns, SavedCsvStop> ColumnsOf(const CsvRecord& header) {
  Columns columns;
  for (const std::string& field : header.fields) {
    std::string name = ColumnName(field);
    if (!IsFieldName(name))
      return Stop(false, "line " + std::to_string(header.line) + ": unknown column '" +
                             std::string(core::TrimBlanksAndTabs(field).substr(0, 40)) +
                             "' in the header; the columns are " + std::string(kSavedCsvHeader));
    if (std::find(columns.begin(), columns.end(), name) != columns.end())
      return Stop(false, "line " + std::to_string(header.line) + ": column '" + name +
                             "' appears twice in the header");
    columns.push_back(std::move(name));
  }
  return columns;
}

core::Result<Columns, SavedCsvStop> ReadHeader(CsvReader& reader) {
  CsvRecord record;
  for (;;) {
    const core::Result<CsvRead, CsvFault> read = reader.Next(record);
    if (!read)
      return Stop(read.error().unreadable,
                  read.error().unreadable ? read.error().message
                                          : "header on line " + std::to_string(read.error().line) +
                                                ": " + read.error().message);
    if (*read == CsvRead::kEnd)
      return Stop(false,
                  "the file has no header row (expected " + std::string(kSavedCsvHeader) + ")");
    if (!IsBlank(record)) return ColumnsOf(record);
  }
}

// The record of a row, after the checks a typed form meets; or why the row is refused.
core::Result<store::BirthRecord> RecordOf(const CsvRecord& row, const Columns& columns) {
  if (row.fields.size() != columns.size())
    return core::Fail("the row has " + std::to_string(row.fields.size()) +
                      " fields; the header has " + std::to_string(columns.size()));
  entry::BirthFormSnapshot form;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (core::Result<void> applied = ApplyField(columns[i], row.fields[i], form); !applied)
      return core::Fail(columns[i] + ": " + applied.error().message);
  }
  if (const auto checked = entry::ValidateBirthForm(form); !checked)
    return core::Fail(checked.error().message.text);
  auto record = entry::RecordFromForm(form);
  if (!record) return core::Fail(record.error().message);
  if (const auto problem = store::CheckRecord(*record)) return core::Fail(*problem);
  return record;
}

}  // namespace

std::string ZoneText(const store::BirthRecord& record) {
  if (record.zone_index != store::kExactOffsetZone) return std::to_string(record.zone_index);
  return zones::FormatExactOffset(record.offset_seconds_east);
}

std::string SavedCsvRow(const store::BirthRecord& record) {
  const std::string fields[] = {record.name,
                                store::DateText(record),
                                store::TimeText(record),
                                ZoneText(record),
                                record.daylight_saving ? "yes" : "no",
                                store::LongitudeText(record),
                                store::LatitudeText(record),
                                record.city,
                                record.state,
                                record.country};
  std::string row;
  for (const std::string& field : fields) {
    if (&field != &fields[0]) row += ',';
    AppendField(field, row);
  }
  return row;
}

std::string SavedCsvText(std::span<const store::BirthRecord> records) {
  std::string text(kSavedCsvHeader);
  text += "\r\n";
  for (const store::BirthRecord& record : records) {
    text += SavedCsvRow(record);
    text += "\r\n";
  }
  return text;
}

core::Result<SavedCsvRead, SavedCsvStop> ReadSavedCsv(ByteSource source) {
  CsvReader reader(std::move(source));
  const auto columns = ReadHeader(reader);
  if (!columns) return core::Unexpected{columns.error()};
  SavedCsvRead result;
  CsvRecord row;
  for (;;) {
    const core::Result<CsvRead, CsvFault> read = reader.Next(row);
    if (!read && read.error().unreadable) return Stop(true, read.error().message);
    if (read && *read == CsvRead::kEnd) return result;
    if (read && IsBlank(row)) continue;
    ++result.rows;
    if (!read) {
      result.refused.push_back({read.error().line, read.error().message});
      continue;
    }
    auto record = RecordOf(row, *columns);
    if (!record) {
      result.refused.push_back({row.line, record.error().message});
      continue;
    }
    result.records.push_back(std::move(*record));
  }
}

}  // namespace solvane::cli
