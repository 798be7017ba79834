// Any bytes as a batch file: the CSV reader must always make progress, read back what it would
// write and read the same however the input is cut into reads; the batch must answer every row
// with one complete JSON line, never throwing, and the same whether its input comes whole or in
// pieces.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "cli/batch.h"
#include "cli/csv.h"
#include "core/text.h"
#include "fuzz/fuzz_support.h"

namespace {

using solvane::cli::CsvRead;
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

// Reads up to `step` bytes a call, as a pipe may: the reader must not care where reads end.
solvane::cli::ByteSource Trickle(std::string_view text, std::size_t step) {
  return [text, step, at = std::size_t{0}](
             char* buffer, std::size_t size) mutable -> solvane::core::Result<std::size_t> {
    const std::size_t n = std::min({size, step, text.size() - at});
    if (n > 0) std::memcpy(buffer, text.data() + at, n);  // an empty text may have no data
    at += n;
    return n;
  };
}

// What one call of Next gave: a record, or a fault with its message (and no fields).
struct Read {
  CsvRecord record;
  std::string fault;
  bool operator==(const Read& o) const {
    return record.fields == o.record.fields && record.line == o.record.line && fault == o.fault;
  }
};

// Everything `source` reads as, checking as it goes that reading ends, line numbers never go back
// and fields hold only bytes of the input.
std::vector<Read> ReadAll(solvane::cli::ByteSource source, std::size_t input_size) {
  CsvReader reader(std::move(source));
  std::vector<Read> reads;
  CsvRecord record;
  std::size_t last_line = 0, field_bytes = 0;
  for (;;) {
    const auto next = reader.Next(record);
    FUZZ_CHECK(next || !next.error().unreadable, "an input in memory is unreadable");
    if (next && *next == CsvRead::kEnd) break;
    FUZZ_CHECK(reads.size() <= input_size, "more records than bytes: no progress");
    const std::size_t line = next ? record.line : next.error().line;
    FUZZ_CHECK(line > last_line, "record on line %zu after one on line %zu", line, last_line);
    last_line = line;
    if (!next) {
      FUZZ_CHECK(!next.error().message.empty(), "a fault without a message");
      reads.push_back({CsvRecord{{}, line}, next.error().message});
      continue;
    }
    FUZZ_CHECK(!record.fields.empty(), "a record without fields");
    for (const auto& field : record.fields) {
      field_bytes += field.size();
      FUZZ_CHECK(field.find('\0') == std::string::npos, "a NUL byte read as data");
    }
    FUZZ_CHECK(field_bytes <= input_size, "fields hold more bytes than the input");
    reads.push_back({record, ""});
  }
  return reads;
}

void CheckReader(std::string_view text, std::size_t step) {
  const std::vector<Read> reads = ReadAll(solvane::cli::TextSource(text), text.size());
  FUZZ_CHECK(ReadAll(Trickle(text, step), text.size()) == reads,
             "reading %zu bytes at a time gives other records", step);

  // What was read, written out with full quoting, reads back field for field.
  std::vector<std::vector<std::string>> fields;
  for (const Read& r : reads)
    if (r.fault.empty()) fields.push_back(r.record.fields);
  const std::string again = Written(fields);
  const std::vector<Read> reread = ReadAll(solvane::cli::TextSource(again), again.size());
  FUZZ_CHECK(reread.size() == fields.size(), "%zu records read back as %zu", fields.size(),
             reread.size());
  for (std::size_t i = 0; i < fields.size(); ++i) {
    FUZZ_CHECK(reread[i].fault.empty(), "a fully quoted copy of record %zu is malformed: %s", i,
               reread[i].fault.c_str());
    FUZZ_CHECK(reread[i].record.fields == fields[i], "record %zu changed on rereading", i);
  }
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

bool IsBlank(const Read& r) {
  return r.fault.empty() && r.record.fields.size() == 1 &&
         solvane::core::TrimBlanksAndTabs(r.record.fields[0]).empty();
}

// One output line: a whole JSON object naming its input line; a chart or an error. 1 for a chart.
std::size_t CheckLine(const std::string& line, std::size_t input_line, std::size_t i) {
  FUZZ_CHECK(line.find('\n') == std::string::npos && line.find('\r') == std::string::npos,
             "output line %zu holds a line break", i);
  FUZZ_CHECK(nlohmann::json::accept(line), "output line %zu is not JSON: %.300s", i, line.c_str());
  const nlohmann::json json = nlohmann::json::parse(line);
  FUZZ_CHECK(json.is_object(), "output line %zu is not an object", i);
  FUZZ_CHECK(json.contains("line") && json["line"].is_number_integer() &&
                 json["line"].get<std::size_t>() == input_line,
             "output line %zu does not name input line %zu", i, input_line);
  if (json.contains("error")) {
    FUZZ_CHECK(json["error"].is_string() && !json["error"].get<std::string>().empty(),
               "output line %zu has an empty error", i);
    FUZZ_CHECK(json.size() == 2, "error line %zu carries more than line and error", i);
    return 0;
  }
  FUZZ_CHECK(json.contains("PositionStrings") && json["PositionStrings"].size() == 14,
             "charted line %zu lacks the fourteen positions", i);
  return 1;
}

// The lines a batch writes, never throwing.
std::vector<std::string> BatchLines(
    solvane::cli::ByteSource source,
    solvane::core::Result<solvane::cli::BatchCounts, solvane::cli::BatchStop>& result) {
  std::vector<std::string> lines;
  try {
    result = solvane::cli::RunBatch(std::move(source),
                                    [&](std::string_view line) -> solvane::core::Result<void> {
                                      lines.emplace_back(line);
                                      return {};
                                    });
  } catch (const std::exception& e) {
    FUZZ_CHECK(false, "the batch threw: %s", e.what());
  } catch (...) {
    FUZZ_CHECK(false, "the batch threw something that is not an exception");
  }
  return lines;
}

void CheckBatch(std::string_view csv, std::size_t step) {
  solvane::core::Result<solvane::cli::BatchCounts, solvane::cli::BatchStop> result =
      solvane::cli::BatchCounts{};
  const std::vector<std::string> lines = BatchLines(solvane::cli::TextSource(csv), result);
  auto trickled_result = result;
  FUZZ_CHECK(BatchLines(Trickle(csv, step), trickled_result) == lines,
             "the batch answers differently when its input comes %zu bytes at a time", step);
  if (!result) {
    FUZZ_CHECK(result.error().reason == solvane::cli::BatchStop::Reason::kBadHeader,
               "a batch in memory stopped for another reason than its header");
    FUZZ_CHECK(lines.empty(), "a batch refused as a whole still wrote %zu lines", lines.size());
    return;
  }
  FUZZ_CHECK(result->unwritten == 0, "a report written without a report folder");
  FUZZ_CHECK(lines.size() == result->charted + result->refused,
             "%zu lines for %zu charted and %zu refused rows", lines.size(), result->charted,
             result->refused);

  // One line per record after the header, blank lines skipped, in input order.
  std::vector<std::size_t> row_lines;
  bool header = true;
  for (const Read& r : ReadAll(solvane::cli::TextSource(csv), csv.size())) {
    if (IsBlank(r)) continue;
    if (!header) row_lines.push_back(r.record.line);
    header = false;
  }
  FUZZ_CHECK(row_lines.size() == lines.size(), "%zu rows answered with %zu lines", row_lines.size(),
             lines.size());
  std::size_t charted = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) charted += CheckLine(lines[i], row_lines[i], i);
  FUZZ_CHECK(charted == result->charted, "%zu charted lines, %zu counted", charted,
             result->charted);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxBytes) return -1;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // How many bytes each read hands over, from the input itself: 1 to 7.
  const std::size_t step = size > 0 ? 1 + data[0] % 7 : 1;
  CheckReader(text, step);
  CheckBatch(FirstLines(text, kMaxBatchLines), step);
  return 0;
}
