#include "store/births_file.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>

#include "core/text.h"

namespace solvane::store {
namespace {

enum Column {
  kName,
  kDate,
  kTime,
  kZone,
  kDst,
  kLon,
  kLat,
  kCity,
  kState,
  kCountry,
  kOffset,
  kTz,
  kPlaceId,
  kNote,
  kCreated,
  kChanged,
  kColumnCount
};

constexpr std::array<std::string_view, kColumnCount> kColumnNames = {
    "name",  "date",    "time",   "zone", "dst",      "lon",  "lat",     "city",
    "state", "country", "offset", "tz",   "place_id", "note", "created", "changed"};

void WriteField(std::string_view field, std::ostream& out) {
  const bool quote = field.find_first_of(",\"\r\n") != std::string_view::npos ||
                     (!field.empty() && (field.front() == ' ' || field.back() == ' '));
  if (!quote) {
    out << field;
    return;
  }
  out << '"';
  for (char c : field) out << (c == '"' ? "\"\"" : std::string(1, c));
  out << '"';
}

std::array<std::string, kColumnCount> Fields(const BirthRecord& r) {
  const bool exact = r.zone_index == kExactOffsetZone;
  return {r.name,
          DateText(r),
          TimeText(r),
          exact ? std::string() : std::to_string(r.zone_index),
          r.daylight_saving ? "1" : "0",
          LongitudeText(r),
          LatitudeText(r),
          r.city,
          r.state,
          r.country,
          exact ? std::to_string(r.offset_seconds_east) : std::string(),
          r.tz_name,
          r.place_id,
          r.note,
          r.created_utc,
          r.changed_utc};
}

struct CsvRow {
  int line;  // where the row starts, from 1
  std::vector<std::string> fields;
};

// Splits RFC 4180 text into rows; a quoted field may hold commas, quotes and line breaks.
core::Result<std::vector<CsvRow>> SplitCsv(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::vector<CsvRow> rows;
  CsvRow row{1, {""}};
  int line = 1;
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    std::string& field = row.fields.back();
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"', ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
        line += c == '\n';
      }
    } else if (c == '"' && field.empty()) {
      quoted = true;
    } else if (c == ',') {
      row.fields.emplace_back();
    } else if (c == '\n' || c == '\r') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      if (row.fields.size() > 1 || !row.fields.front().empty()) rows.push_back(std::move(row));
      row = CsvRow{++line, {""}};
    } else {
      field += c;
    }
  }
  if (quoted) return core::Fail("line " + std::to_string(row.line) + ": a quote is never closed");
  if (row.fields.size() > 1 || !row.fields.front().empty()) rows.push_back(std::move(row));
  return rows;
}

std::optional<int> Number(std::string_view text) {
  text = core::TrimBlanksAndTabs(text);
  int value = 0;
  const char* end = text.data() + text.size();
  if (text.starts_with('+')) text.remove_prefix(1);
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

// "1980-08-15" or "06:30": numbers between separators, each of them required.
template <std::size_t N>
std::optional<std::array<int, N>> Parts(std::string_view text, char separator) {
  std::array<int, N> parts{};
  for (std::size_t i = 0; i < N; ++i) {
    const std::size_t end = i + 1 < N ? text.find(separator) : text.size();
    if (end == std::string_view::npos) return std::nullopt;
    const auto value = Number(text.substr(0, end));
    if (!value || text.substr(0, end).find_first_of("+- ") != std::string_view::npos)
      return std::nullopt;
    parts[i] = *value;
    text.remove_prefix(std::min(text.size(), end + 1));
  }
  return parts;
}

// "+05:21:10", "-03:30" or "+5", as solvane-chart takes an exact offset in the zone column: seconds
// east of Greenwich. The range is CheckRecord's to judge.
std::optional<int> SignedOffset(std::string_view text) {
  constexpr int kSecondsPerMinute = 60;
  const int sign = text.front() == '-' ? -1 : 1;
  text.remove_prefix(1);
  const std::size_t parts = 1 + std::count(text.begin(), text.end(), ':');
  int seconds = 0;
  if (parts == 1) {
    const auto h = Parts<1>(text, ':');
    if (!h) return std::nullopt;
    seconds = (*h)[0] * kSecondsPerMinute * kSecondsPerMinute;
  } else if (parts == 2) {
    const auto hm = Parts<2>(text, ':');
    if (!hm || (*hm)[1] >= kSecondsPerMinute) return std::nullopt;
    seconds = ((*hm)[0] * kSecondsPerMinute + (*hm)[1]) * kSecondsPerMinute;
  } else if (parts == 3) {
    const auto hms = Parts<3>(text, ':');
    if (!hms || (*hms)[1] >= kSecondsPerMinute || (*hms)[2] >= kSecondsPerMinute)
      return std::nullopt;
    seconds = ((*hms)[0] * kSecondsPerMinute + (*hms)[1]) * kSecondsPerMinute + (*hms)[2];
  } else {
    return std::nullopt;
  }
  return sign * seconds;
}

// "77E13": degrees, a hemisphere letter, minutes.
bool ReadCoordinate(std::string_view text, char positive, char negative, int& degrees, int& minutes,
                    bool& is_negative) {
  text = core::TrimBlanksAndTabs(text);
  const std::size_t letter =
      text.find_first_of(std::string{positive, negative, char(positive + 32), char(negative + 32)});
  if (letter == std::string_view::npos) return false;
  const auto deg = Number(text.substr(0, letter));
  const auto min = Number(text.substr(letter + 1));
  if (!deg || !min) return false;
  degrees = *deg, minutes = *min;
  is_negative = (text[letter] & ~32) == negative;
  return true;
}

// "2024-05-01T12:34:56Z" or with milliseconds, as the list writes its timestamps; or empty.
bool IsTimestamp(std::string_view text) {
  static constexpr std::string_view kShape = "dddd-dd-ddTdd:dd:dd.dddZ";
  if (text.empty()) return true;
  if (text.size() != kShape.size() && text.size() != kShape.size() - 4) return false;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (kShape[i] == 'd' ? !digit : text[i] != kShape[i]) return false;
  }
  return text.back() == 'Z';
}

std::optional<bool> Flag(std::string_view text) {
  text = core::TrimBlanksAndTabs(text);
  for (std::string_view yes : {"1", "true", "yes", "-1"})
    if (text == yes) return true;
  for (std::string_view no : {"", "0", "false", "no"})
    if (text == no) return false;
  return std::nullopt;
}

// Column positions in the file for each known column, -1 when absent.
core::Result<std::array<int, kColumnCount>> MapHeader(const CsvRow& header) {
  std::array<int, kColumnCount> where;
  where.fill(-1);
  for (std::size_t i = 0; i < header.fields.size(); ++i) {
    const std::string_view name = core::TrimBlanksAndTabs(header.fields[i]);
    const auto known = std::find(kColumnNames.begin(), kColumnNames.end(), name);
    if (known == kColumnNames.end())
      return core::Fail("unknown column '" + std::string(name.substr(0, 40)) +
                        "' in the header; the columns are " + std::string(kBirthsCsvHeader));
    int& slot = where[known - kColumnNames.begin()];
    if (slot >= 0) return core::Fail("column '" + std::string(name) + "' appears twice");
    slot = static_cast<int>(i);
  }
  for (Column needed : {kName, kDate, kLon, kLat})
    if (where[needed] < 0)
      return core::Fail("the header lacks the column '" + std::string(kColumnNames[needed]) + "'");
  return where;
}

// Why the row's fields do not make a record, or nothing; fills `r` as it goes.
std::optional<std::string> ReadFields(const std::array<std::string_view, kColumnCount>& f,
                                      BirthRecord& r) {
  r.name = f[kName], r.city = f[kCity], r.state = f[kState], r.country = f[kCountry];
  r.tz_name = f[kTz], r.place_id = f[kPlaceId], r.note = f[kNote];
  r.created_utc = core::TrimBlanksAndTabs(f[kCreated]);
  r.changed_utc = core::TrimBlanksAndTabs(f[kChanged]);
  if (!IsTimestamp(r.created_utc) || !IsTimestamp(r.changed_utc))
    return "created and changed must be UTC times like 2024-05-01T12:34:56Z";
  const auto date = Parts<3>(core::TrimBlanksAndTabs(f[kDate]), '-');
  if (!date) return "the date is not YYYY-MM-DD";
  r.year = (*date)[0], r.month = (*date)[1], r.day = (*date)[2];
  if (!core::TrimBlanksAndTabs(f[kTime]).empty()) {
    const auto time = Parts<2>(core::TrimBlanksAndTabs(f[kTime]), ':');
    if (!time) return "the time is not HH:MM";
    r.hour = (*time)[0], r.minute = (*time)[1];
  }
  if (const std::string_view zone = core::TrimBlanksAndTabs(f[kZone]);
      zone.starts_with('+') || zone.starts_with('-')) {
    const auto offset = SignedOffset(zone);
    if (!offset) return "the zone's offset is not like +05:30 or -03:30:45";
    r.zone_index = kExactOffsetZone, r.offset_seconds_east = *offset;
  } else if (zone.empty() && !core::TrimBlanksAndTabs(f[kOffset]).empty()) {
    const auto offset = Number(f[kOffset]);
    if (!offset) return "the offset is not a whole number of seconds";
    r.zone_index = kExactOffsetZone, r.offset_seconds_east = *offset;
  } else if (!core::TrimBlanksAndTabs(f[kZone]).empty()) {
    const auto zone = Number(f[kZone]);
    if (!zone) return "the zone is not a list position 0-70";
    r.zone_index = *zone;
  }
  const auto dst = Flag(f[kDst]);
  if (!dst) return "dst is not 1 or 0";
  r.daylight_saving = *dst;
  bool west = false;
  if (!ReadCoordinate(f[kLon], 'E', 'W', r.longitude_deg, r.longitude_min, west))
    return "the longitude is not like 77E13";
  r.east = !west;
  if (!ReadCoordinate(f[kLat], 'N', 'S', r.latitude_deg, r.latitude_min, r.south))
    return "the latitude is not like 28N36";
  return CheckRecord(r);
}

}  // namespace

void WriteBirthsCsv(std::span<const BirthRecord> records, std::ostream& out) {
  out << kBirthsCsvHeader << "\r\n";
  for (const BirthRecord& record : records) {
    const auto fields = Fields(record);
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (i > 0) out << ',';
      WriteField(fields[i], out);
    }
    out << "\r\n";
  }
}

}  // namespace solvane::store

namespace solvane::store {

core::Result<void> ExportBirths(std::span<const BirthRecord> records,
                                const std::filesystem::path& file) {
  const std::filesystem::path temporary = file.string() + ".partial";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (out) WriteBirthsCsv(records, out);
    out.flush();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return core::Fail("Could not write " + file.string() +
                        ": the folder cannot be written or the disk is full. Choose another "
                        "file or free some space.");
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, file, error);
  if (error) {
    std::filesystem::remove(temporary, error);
    return core::Fail("Could not write " + file.string() + ": " + error.message() + ".");
  }
  return {};
}

core::Result<std::vector<BirthRecord>> ReadBirthsCsv(std::string_view text) {
  auto rows = SplitCsv(text);
  if (!rows) return core::Fail(rows.error().message);
  if (rows->empty()) return core::Fail("the file is empty: it has no header row");
  auto where = MapHeader(rows->front());
  if (!where) return core::Fail("line 1: " + where.error().message);
  std::vector<BirthRecord> records;
  for (std::size_t i = 1; i < rows->size(); ++i) {
    const CsvRow& row = (*rows)[i];
    const std::string at = "line " + std::to_string(row.line) + ": ";
    if (row.fields.size() != rows->front().fields.size())
      return core::Fail(at + "the row has " + std::to_string(row.fields.size()) +
                        " fields; the header has " + std::to_string(rows->front().fields.size()));
    std::array<std::string_view, kColumnCount> fields{};
    for (int c = 0; c < kColumnCount; ++c)
      if ((*where)[c] >= 0) fields[c] = row.fields[(*where)[c]];
    BirthRecord record;
    if (auto problem = ReadFields(fields, record)) return core::Fail(at + *problem);
    records.push_back(std::move(record));
  }
  return records;
}

core::Result<std::vector<BirthRecord>> ReadBirthsFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  if (in) text << in.rdbuf();
  if (!in || in.bad())
    return core::Fail("Could not read " + file.string() + ": check that the file exists.");
  auto records = ReadBirthsCsv(text.str());
  if (!records) return core::Fail(file.string() + ", " + records.error().message);
  return records;
}

}  // namespace solvane::store
