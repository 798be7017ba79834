// Any bytes as a batch file: the CSV reader must always make progress and read back what it
// would write, and the batch must answer every row with one complete JSON line, never throwing.
#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "cli/batch.h"
#include "cli/csv.h"
#include "fuzz/fuzz_support.h"

namespace {

using solvane::cli::CsvReader;
using solvane::cli::CsvRecord;

// Larger files only repeat what small ones already exercise, and a chart per row is the slow part.
constexpr std::size_t kMaxBytes = 64 * 1024;
constexpr std::size_t kMaxBatchLines = 40;

// Every field quoted, so nothing in it can be mistaken for a separator.
std::string Written(const std::vector<std::vector<std::string>>& records) {
  std::string out;
  for (const auto& fields : records) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (i > 0) out += ',';
      out += '"';
      for (const char c : fields[i]) {
        if (c == '"') out += '"';
        out += c;
      }
      out += '"';
    }
    out += "\r\n";
  }
  return out;
}

// The records of `text`, checking as it goes that reading ends, line numbers never go back and
// fields hold only bytes of the input. Malformed records are counted, not kept.
std::vector<CsvRecord> ReadAll(std::string_view text, std::size_t& malformed) {
  CsvReader reader(text);
  std::vector<CsvRecord> records;
  CsvRecord record;
  std::size_t last_line = 0, field_bytes = 0;
  malformed = 0;
  while (reader.Next(record)) {
    FUZZ_CHECK(records.size() + malformed <= text.size(), "more records than bytes: no progress");
    FUZZ_CHECK(record.line > last_line, "record on line %zu after one on line %zu", record.line,
               last_line);
    FUZZ_CHECK(!record.fields.empty(), "a record without fields");
    last_line = record.line;
    for (const auto& field : record.fields) field_bytes += field.size();
    FUZZ_CHECK(field_bytes <= text.size(), "fields hold more bytes than the input");
    if (record.error.empty()) {
      records.push_back(record);
    } else {
      ++malformed;
    }
  }
  return records;
}

void CheckReader(std::string_view text) {
  std::size_t malformed = 0;
  const std::vector<CsvRecord> records = ReadAll(text, malformed);

  // What was read, written out with full quoting, reads back field for field.
  std::vector<std::vector<std::string>> fields;
  for (const CsvRecord& r : records) fields.push_back(r.fields);
  const std::string again = Written(fields);
  std::size_t malformed_again = 0;
  const std::vector<CsvRecord> reread = ReadAll(again, malformed_again);
  FUZZ_CHECK(malformed_again == 0, "a fully quoted copy has %zu malformed records",
             malformed_again);
  FUZZ_CHECK(reread.size() == records.size(), "%zu records read back as %zu", records.size(),
             reread.size());
  for (std::size_t i = 0; i < records.size(); ++i)
    FUZZ_CHECK(reread[i].fields == records[i].fields, "record %zu (line %zu) changed on rereading",
               i, records[i].line);
}

// The first `lines` lines of `text`.
std::string_view FirstLines(std::string_view text, std::size_t lines) {
  std::size_t at = 0;
  for (std::size_t n = 0; n < lines; ++n) {
    at = text.find('\n', at);
    if (at == std::string_view::npos) return text;
    ++at;
  }
  return text.substr(0, at);
}

bool IsBlankRecord(const CsvRecord& r) {
  return r.error.empty() && r.fields.size() == 1 && r.fields[0].empty();
}

void CheckBatch(std::string_view csv) {
  std::vector<std::string> lines;
  solvane::cli::BatchResult result;
  try {
    result = solvane::cli::RunBatch(csv, [&](std::string_view line) { lines.emplace_back(line); });
  } catch (const std::exception& e) {
    FUZZ_CHECK(false, "the batch threw: %s", e.what());
  } catch (...) {
    FUZZ_CHECK(false, "the batch threw something that is not an exception");
  }

  if (!result.fatal.empty()) {
    FUZZ_CHECK(lines.empty(), "a batch refused as a whole still wrote %zu lines", lines.size());
    return;
  }
  FUZZ_CHECK(lines.size() == result.charted + result.refused,
             "%zu lines for %zu charted and %zu refused rows", lines.size(), result.charted,
             result.refused);

  // One line per record after the header, blank lines skipped, in input order.
  CsvReader reader(csv);
  CsvRecord record;
  std::vector<std::size_t> row_lines;
  bool header = true;
  while (reader.Next(record)) {
    if (IsBlankRecord(record)) continue;
    if (header) {
      header = false;
      continue;
    }
    row_lines.push_back(record.line);
  }
  FUZZ_CHECK(row_lines.size() == lines.size(), "%zu rows answered with %zu lines", row_lines.size(),
             lines.size());

  std::size_t charted = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    FUZZ_CHECK(line.find('\n') == std::string::npos && line.find('\r') == std::string::npos,
               "output line %zu holds a line break", i);
    FUZZ_CHECK(nlohmann::json::accept(line), "output line %zu is not JSON: %.300s", i,
               line.c_str());
    const nlohmann::json json = nlohmann::json::parse(line);
    FUZZ_CHECK(json.is_object(), "output line %zu is not an object", i);
    FUZZ_CHECK(json.contains("line") && json["line"].is_number_integer() &&
                   json["line"].get<std::size_t>() == row_lines[i],
               "output line %zu does not name input line %zu", i, row_lines[i]);
    if (json.contains("error")) {
      FUZZ_CHECK(json["error"].is_string() && !json["error"].get<std::string>().empty(),
                 "output line %zu has an empty error", i);
    } else {
      ++charted;
      FUZZ_CHECK(json.contains("PositionStrings") && json["PositionStrings"].size() == 14,
                 "charted line %zu lacks the fourteen positions", i);
    }
  }
  FUZZ_CHECK(charted == result.charted, "%zu charted lines, %zu counted", charted, result.charted);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxBytes) return -1;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckReader(text);
  CheckBatch(FirstLines(text, kMaxBatchLines));
  return 0;
}
