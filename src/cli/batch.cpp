#include "cli/batch.h"

#include <algorithm>
#include <vector>

#include "cli/arguments.h"
#include "cli/chart_members.h"
#include "cli/file_output.h"
#include "cli/output.h"
#include "cli/safe_text.h"
#include "core/text.h"
#include "report/house_report.h"
#include "run/chart_run.h"

namespace solvane::cli {
namespace {

using Columns = std::vector<std::string>;

// Room for a chart's JSON line (bytes; about 2,300 for a short name and place), so that writing it
// does not grow the text again and again.
constexpr std::size_t kChartLineBytes = 4096;

core::Unexpected<BatchStop> Stop(BatchStop::Reason reason, std::string message) {
  return {BatchStop{reason, std::move(message)}};
}

// An empty line, or one of blanks and tabs only.
bool IsBlank(const CsvRecord& record) {
  return record.fields.size() == 1 && core::TrimBlanksAndTabs(record.fields[0]).empty();
}

// A header field as a column name: without blanks and tabs around it, in lower case.
std::string ColumnName(std::string_view field) {
  std::string name(core::TrimBlanksAndTabs(field));
  std::transform(name.begin(), name.end(), name.begin(),
                 [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; });
  return name;
}

core::Result<Columns, BatchStop> ColumnsOf(const CsvRecord& header) {
  Columns columns;
  for (const std::string& field : header.fields) {
    std::string name = ColumnName(field);
    if (!IsFieldName(name))
      return Stop(BatchStop::Reason::kBadHeader,
                  "unknown column " + Quoted(field) +
                      " in the header; the columns are name, date, time, zone, dst, lon, lat, "
                      "city, state and country");
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

core::Result<entry::BirthFormSnapshot> FormOf(const CsvRecord& record, const Columns& columns) {
  if (record.fields.size() != columns.size())
    return core::Fail("the row has " + std::to_string(record.fields.size()) +
                      " fields; the header has " + std::to_string(columns.size()));
  entry::BirthFormSnapshot form;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (core::Result<void> applied = ApplyField(columns[i], record.fields[i], form); !applied)
      return core::Fail(columns[i] + ": " + applied.error().message);
  }
  return form;
}

enum class RowOutcome { kCharted, kRefused, kUnwritten };

struct RowAnswer {
  std::string line;  // JSON, without a line break
  RowOutcome outcome;
};

RowAnswer Refused(std::size_t line, std::string_view message, RowOutcome outcome) {
  return {ErrorJsonLine(line, message), outcome};
}

RowAnswer AnswerRow(const CsvRecord& record, const Columns& columns, const BatchOptions& options) {
  const core::Result<entry::BirthFormSnapshot> form = FormOf(record, columns);
  if (!form) return Refused(record.line, form.error().message, RowOutcome::kRefused);
  // Each row is a chart of its own: nothing carries over from the row before.
  core::ChartState state;
  display::ChartWindowModel window;
  const bool with_report = !options.report_folder.empty();
  if (const auto refusal =
          run::RunChart(*form, display::EnglishMonthName, state, window,
                        with_report ? run::ReportText::kWrite : run::ReportText::kPlacementOnly))
    return Refused(record.line, refusal->message.text, RowOutcome::kRefused);
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
  WritePeriodMembers(json, state, PeriodOptions{});
  if (with_report) json.StringMember("report", report_path);
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

}  // namespace

core::Result<BatchCounts, BatchStop> RunBatch(ByteSource source, const LineWriter& write,
                                              const BatchOptions& options) {
  CsvReader reader(std::move(source));
  const core::Result<Columns, BatchStop> columns = ReadHeader(reader);
  if (!columns) return core::Unexpected{columns.error()};
  BatchCounts counts;
  CsvRecord record;
  for (;;) {
    const core::Result<CsvRead, CsvFault> read = reader.Next(record);
    if (!read && read.error().unreadable)
      return Stop(BatchStop::Reason::kUnreadable, read.error().message);
    if (read && *read == CsvRead::kEnd) return counts;
    if (read && IsBlank(record)) continue;
    const RowAnswer answer =
        read ? AnswerRow(record, *columns, options)
             : Refused(read.error().line, read.error().message, RowOutcome::kRefused);
    Count(counts, answer.outcome);
    if (const core::Result<void> written = write(answer.line); !written)
      return Stop(BatchStop::Reason::kUnwritable, written.error().message);
  }
}

core::Result<BatchCounts, BatchStop> RunBatch(std::string_view csv, const LineWriter& write,
                                              const BatchOptions& options) {
  return RunBatch(TextSource(csv), write, options);
}

}  // namespace solvane::cli
