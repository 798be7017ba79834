#include "cli/batch.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <thread>
#include <vector>

#include "cli/arguments.h"
#include "cli/chart_members.h"
#include "cli/file_output.h"
#include "cli/ordered_pipeline.h"
#include "cli/output.h"
#include "cli/safe_text.h"
#include "cli/zone_flags.h"
#include "core/text.h"
#include "report/house_report.h"
#include "run/chart_run.h"
#include "run/engines.h"

namespace solvane::cli {
namespace {

using Columns = std::vector<std::string>;

// Room for a chart's JSON line (bytes; about 9,000 for a short name and place with two levels of
// periods), so that writing it does not grow the text again and again.
constexpr std::size_t kChartLineBytes = 12288;

core::Unexpected<BatchStop> Stop(BatchStop::Reason reason, std::string message) {
  return {BatchStop{reason, std::move(message)}};
}

// Columns beyond the birth fields: the place and the tz database, and the engine.
constexpr std::string_view kMomentColumns[] = {"place", "tz",        "offset",
                                               "fold",  "ephemeris", "node"};

bool IsMomentColumn(std::string_view name) {
  return std::find(std::begin(kMomentColumns), std::end(kMomentColumns), name) !=
         std::end(kMomentColumns);
}

core::Result<Columns, BatchStop> ColumnsOf(const CsvRecord& header) {
  Columns columns;
  for (const std::string& field : header.fields) {
    std::string name = ColumnName(field);
    if (!IsFieldName(name) && !IsMomentColumn(name))
      return Stop(BatchStop::Reason::kBadHeader,
                  "unknown column " + Quoted(field) +
                      " in the header; the columns are name, date, time, zone, dst, lon, lat, "
                      "city, state, country, place, tz, offset, fold, ephemeris and node");
    if (std::find(columns.begin(), columns.end(), name) != columns.end())
      return Stop(BatchStop::Reason::kBadHeader,
                  "column '" + name + "' appears twice in the header");
    columns.push_back(std::move(name));
  }
  return columns;
}

// The first record that is not blank, read as column names.
core::Result<Columns, BatchStop> ReadHeader(CsvReader& reader) {
  CsvRecord record;
  for (;;) {
    const core::Result<CsvRead, CsvFault> read = reader.Next(record);
    if (!read && read.error().unreadable)
      return Stop(BatchStop::Reason::kUnreadable, read.error().message);
    if (!read)
      return Stop(
          BatchStop::Reason::kBadHeader,
          "header on line " + std::to_string(read.error().line) + ": " + read.error().message);
    if (*read == CsvRead::kEnd)
      return Stop(BatchStop::Reason::kBadHeader,
                  "the input has no header row (expected field names such as name,date,time)");
    if (!IsBlank(record)) return ColumnsOf(record);
  }
}

// A row as the chart takes it: the form, what the place and the tz database are asked, and the
// engine.
struct RowInput {
  entry::BirthFormSnapshot form;
  ZoneRequest zone;
  std::string ephemeris, node;
};

// The cell of `column`, without blanks and tabs around it; "" when the row has no such column.
std::string_view Cell(const CsvRecord& record, const Columns& columns, std::string_view column) {
  const auto at = std::find(columns.begin(), columns.end(), column);
  return at == columns.end() ? std::string_view()
                             : core::TrimBlanksAndTabs(
                                   record.fields[static_cast<std::size_t>(at - columns.begin())]);
}

// The cells of the moment's columns; an empty cell is not given.
core::Result<void> ReadMomentCells(const CsvRecord& record, const Columns& columns, RowInput& row) {
  const auto optional_cell = [&](std::string_view column) -> std::optional<std::string> {
    const std::string_view cell = Cell(record, columns, column);
    return cell.empty() ? std::nullopt : std::optional<std::string>(cell);
  };
  row.zone.prefix = "";
  row.zone.place = optional_cell("place");
  row.zone.tz = optional_cell("tz");
  row.zone.fold = optional_cell("fold");
  row.ephemeris = std::string(Cell(record, columns, "ephemeris"));
  row.node = std::string(Cell(record, columns, "node"));
  const std::string_view offset = Cell(record, columns, "offset");
  if (offset.empty()) return {};
  if (!Cell(record, columns, "zone").empty())
    return core::Fail("zone and offset cannot go together: give the zone or its exact offset");
  row.zone.zone_given = true;
  if (core::Result<void> parsed = ParseOffset(offset, row.form); !parsed)
    return core::Fail("offset: " + parsed.error().message);
  return {};
}

core::Result<RowInput> RowOf(const CsvRecord& record, const Columns& columns) {
  if (record.fields.size() != columns.size())
    return core::Fail("the row has " + std::to_string(record.fields.size()) +
                      " fields; the header has " + std::to_string(columns.size()));
  RowInput row;
  if (core::Result<void> read = ReadMomentCells(record, columns, row); !read)
    return core::Fail(read.error().message);
  // With a place or a zone from the database, an empty cell leaves the field to them.
  const bool empty_defers = row.zone.place || row.zone.tz;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (IsMomentColumn(columns[i])) continue;
    const bool empty = core::TrimBlanksAndTabs(record.fields[i]).empty();
    if (empty && (empty_defers || (columns[i] == "zone" && row.zone.zone_given))) continue;
    if (core::Result<void> applied = ApplyField(columns[i], record.fields[i], row.form); !applied)
      return core::Fail(columns[i] + ": " + applied.error().message);
    bool* given[] = {&row.zone.zone_given,   &row.zone.dst_given,  &row.zone.lon_given,
                     &row.zone.lat_given,    &row.zone.city_given, &row.zone.state_given,
                     &row.zone.country_given};
    const std::string_view names[] = {"zone", "dst", "lon", "lat", "city", "state", "country"};
    for (std::size_t k = 0; k < std::size(names); ++k)
      if (columns[i] == names[k]) *given[k] = true;
  }
  return row;
}

enum class RowOutcome { kCharted, kRefused, kUnwritten };

struct RowAnswer {
  std::string line;  // JSON, without a line break
  RowOutcome outcome;
};

RowAnswer Refused(std::size_t line, std::string_view message, RowOutcome outcome) {
  return {ErrorJsonLine(line, message), outcome};
}

// The row's engine: its own columns, else the batch's.
core::Result<const core::PositionsEngine*> RowEngine(const RowInput& row,
                                                     const BatchOptions& options) {
  const bool own = !row.ephemeris.empty() || !row.node.empty();
  const auto engine = own ? run::EngineNamed(row.ephemeris, row.node)
                          : run::EngineNamed(options.ephemeris, options.node);
  if (!engine) return core::Fail((own ? "ephemeris: " : "") + engine.error().message);
  return *engine;
}

RowAnswer AnswerRow(const CsvRecord& record, const Columns& columns, const BatchOptions& options) {
  core::Result<RowInput> row = RowOf(record, columns);
  if (!row) return Refused(record.line, row.error().message, RowOutcome::kRefused);
  const core::Result<ZoneChoice> zone = ApplyZoneRequest(row->zone, row->form);
  if (!zone) return Refused(record.line, zone.error().message, RowOutcome::kRefused);
  const auto engine = RowEngine(*row, options);
  if (!engine) return Refused(record.line, engine.error().message, RowOutcome::kRefused);
  const entry::BirthFormSnapshot* form = &row->form;
  // Each row is a chart of its own: nothing carries over from the row before.
  core::ChartState state;
  display::ChartWindowModel window;
  const bool with_report = !options.report_folder.empty();
  if (const auto charted = run::RunChart(
          *form, display::EnglishMonthName, state, window,
          with_report ? run::ReportText::kWrite : run::ReportText::kPlacementOnly, **engine);
      !charted)
    return Refused(record.line, charted.error().message.text, RowOutcome::kRefused);
  std::string report_path;
  if (with_report) {
    report_path = options.report_folder + "/" + ReportFileName(record.line, state.birth.Name);
    const core::Result<void> saved = WriteFileReplacing(
        report_path, report::FramedReportRtf(report::PlainText(window.RTBHouseDesc)));
    if (!saved) return Refused(record.line, saved.error().message, RowOutcome::kUnwritten);
  }
  if (options.save_row) {
    if (const core::Result<void> stored = options.save_row(*form); !stored)
      return Refused(record.line, stored.error().message, RowOutcome::kUnwritten);
  }
  RowAnswer answer{"", RowOutcome::kCharted};
  answer.line.reserve(kChartLineBytes);
  JsonWriter json(answer.line);
  json.BeginObject();
  json.IntMember("line", static_cast<long>(record.line));
  WriteChartMembers(json, state, window);
  WriteEngineMembers(json, state);
  WritePeriodMembers(json, state, options.periods);
  if (with_report) json.StringMember("report", report_path);
  WriteZoneMembers(json, *zone, state);
  json.EndObject();
  return answer;
}

void Count(BatchCounts& counts, RowOutcome outcome) {
  switch (outcome) {
    case RowOutcome::kCharted:
      ++counts.charted;
      break;
    case RowOutcome::kRefused:
      ++counts.refused;
      break;
    case RowOutcome::kUnwritten:
      ++counts.unwritten;
      break;
  }
}

// What the reader hands on: a record to chart, or why a record was refused as it was read.
struct ReadRow {
  CsvRecord record;
  std::optional<CsvFault> fault;
};

RowAnswer Answer(const ReadRow& row, const Columns& columns, const BatchOptions& options) {
  return row.fault ? Refused(row.fault->line, row.fault->message, RowOutcome::kRefused)
                   : AnswerRow(row.record, columns, options);
}

// The rows charted one at a time, in order: a batch that writes reports or stores births, or is
// asked for one thread.
core::Result<BatchCounts, BatchStop> RunInOrder(CsvReader& reader, const Columns& columns,
                                                const LineWriter& write,
                                                const BatchOptions& options) {
  BatchCounts counts;
  ReadRow row;
  for (;;) {
    const core::Result<CsvRead, CsvFault> read = reader.Next(row.record);
    if (!read && read.error().unreadable)
      return Stop(BatchStop::Reason::kUnreadable, read.error().message);
    if (read && *read == CsvRead::kEnd) return counts;
    if (read && IsBlank(row.record)) continue;
    row.fault = read ? std::nullopt : std::optional<CsvFault>(read.error());
    const RowAnswer answer = Answer(row, columns, options);
    Count(counts, answer.outcome);
    if (const core::Result<void> written = write(answer.line); !written)
      return Stop(BatchStop::Reason::kUnwritable, written.error().message);
  }
}

// Rows in flight per thread: enough to keep every thread busy, few enough to keep memory small.
constexpr std::size_t kRowsInFlightPerThread = 16;

// The rows charted on `threads` threads and written in order, as RunInOrder writes them. Before the
// reader asks for more input, every row read so far has been written (`before_read`), so that a
// program feeding the batch through a pipe gets its answers before it is asked for more.
core::Result<BatchCounts, BatchStop> RunOnThreads(CsvReader& reader,
                                                  std::function<void()>& before_read,
                                                  const Columns& columns, const LineWriter& write,
                                                  const BatchOptions& options, int threads) {
  BatchCounts counts;
  std::optional<BatchStop> unwritable;
  OrderedPipeline<ReadRow, RowAnswer> pipeline(
      threads, kRowsInFlightPerThread * static_cast<std::size_t>(threads),
      [&](ReadRow& row) { return Answer(row, columns, options); },
      [&](RowAnswer& answer) {
        Count(counts, answer.outcome);
        const core::Result<void> written = write(answer.line);
        if (!written) unwritable = BatchStop{BatchStop::Reason::kUnwritable, written.error().message};
        return written.has_value();
      });
  before_read = [&] { pipeline.Drain(); };
  struct Unhook {  // however this ends, the reader no longer waits on the pipeline
    std::function<void()>& hook;
    ~Unhook() { hook = nullptr; }
  } unhook{before_read};
  std::optional<BatchStop> unreadable;
  for (;;) {
    ReadRow row;
    const core::Result<CsvRead, CsvFault> read = reader.Next(row.record);
    if (!read && read.error().unreadable) {
      unreadable = BatchStop{BatchStop::Reason::kUnreadable, read.error().message};
      break;
    }
    if (read && *read == CsvRead::kEnd) break;
    if (read && IsBlank(row.record)) continue;
    if (!read) row.fault = read.error();
    if (!pipeline.Push(std::move(row))) break;
  }
  pipeline.Drain();
  if (unwritable) return core::Unexpected{*unwritable};
  if (unreadable) return core::Unexpected{*unreadable};
  return counts;
}

}  // namespace

int BatchThreads(int asked) {
  if (asked > 0) return asked;
  return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, kMaxBatchThreads));
}

core::Result<BatchCounts, BatchStop> RunBatch(ByteSource source, const LineWriter& write,
                                              const BatchOptions& options) {
  std::function<void()> before_read;
  CsvReader reader([&](char* buffer, std::size_t size) {
    if (before_read) before_read();
    return source(buffer, size);
  });
  const core::Result<Columns, BatchStop> columns = ReadHeader(reader);
  if (!columns) return core::Unexpected{columns.error()};
  // Reports and stored births are written by the row itself: those batches keep to one thread.
  const bool side_effects = !options.report_folder.empty() || options.save_row;
  if (side_effects || options.threads == 1) return RunInOrder(reader, *columns, write, options);
  return RunOnThreads(reader, before_read, *columns, write, options, BatchThreads(options.threads));
}

core::Result<BatchCounts, BatchStop> RunBatch(std::string_view csv, const LineWriter& write,
                                              const BatchOptions& options) {
  return RunBatch(TextSource(csv), write, options);
}

}  // namespace solvane::cli
