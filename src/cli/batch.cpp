#include "cli/batch.h"

#include <algorithm>
#include <vector>

#include "cli/arguments.h"
#include "cli/csv.h"
#include "cli/file_output.h"
#include "cli/output.h"
#include "run/chart_run.h"
#include "report/house_report.h"

namespace solvane::cli {
namespace {

std::string Normalised(std::string_view name) {
  while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  std::string out(name);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; });
  return out;
}

}  // namespace

BatchResult RunBatch(std::string_view csv, const std::function<void(std::string_view)>& write,
                     const BatchOptions& options) {
  BatchResult result;
  CsvReader reader(csv);
  CsvRecord record;

  std::vector<std::string> columns;
  while (columns.empty()) {
    if (!reader.Next(record)) {
      result.fatal = "the input has no header row (expected field names such as name,date,time)";
      return result;
    }
    if (record.error.empty() && record.fields.size() == 1 && record.fields[0].empty()) continue;
    if (!record.error.empty()) {
      result.fatal = "header on line " + std::to_string(record.line) + ": " + record.error;
      return result;
    }
    for (const std::string& field : record.fields) {
      std::string name = Normalised(field);
      if (!IsFieldName(name)) {
        result.fatal = "unknown column '" + field.substr(0, 40) +
                       "' in the header; the columns are name, date, time, zone, dst, lon, lat, "
                       "city, state and country";
        return result;
      }
      if (std::find(columns.begin(), columns.end(), name) != columns.end()) {
        result.fatal = "column '" + name + "' appears twice in the header";
        return result;
      }
      columns.push_back(std::move(name));
    }
  }

  core::ChartState state;
  display::ChartWindowModel window;
  std::string line_text;
  while (reader.Next(record)) {
    if (record.error.empty() && record.fields.size() == 1 && record.fields[0].empty()) continue;
    std::string error = record.error;
    if (error.empty() && record.fields.size() != columns.size())
      error = "the row has " + std::to_string(record.fields.size()) + " fields; the header has " +
              std::to_string(columns.size());
    entry::BirthFormSnapshot form;
    for (std::size_t i = 0; error.empty() && i < columns.size(); ++i) {
      if (std::string e = ApplyField(columns[i], record.fields[i], form); !e.empty())
        error = columns[i] + ": " + e;
    }
    if (error.empty()) {
      // Each row is a chart of its own: nothing carries over from the row before.
      state = core::ChartState{};
      window = display::ChartWindowModel{};
      const auto report_text = options.report_folder.empty() ? run::ReportText::kPlacementOnly
                                                             : run::ReportText::kWrite;
      if (const auto refusal =
              run::RunChart(form, display::EnglishMonthName, state, window, report_text))
        error = refusal->message.text;
    }
    if (!error.empty()) {
      ++result.refused;
      write(ErrorJsonLine(record.line, error));
      continue;
    }
    std::string report_path, report_error;
    if (!options.report_folder.empty()) {
      report_path = options.report_folder + "/" + ReportFileName(record.line, state.birth.Name);
      report_error = WriteFileReplacing(
          report_path, report::FramedReportRtf(report::PlainText(window.RTBHouseDesc)));
    }
    line_text.clear();
    JsonWriter json(line_text);
    json.BeginObject();
    json.Key("line");
    json.Int(static_cast<long>(record.line));
    WriteChartMembers(json, state, window);
    if (!report_error.empty()) {
      json.Key("error");
      json.String(report_error);
      ++result.refused;
    } else {
      if (!report_path.empty()) {
        json.Key("report");
        json.String(report_path);
      }
      ++result.charted;
    }
    json.EndObject();
    write(line_text);
  }
  return result;
}

}  // namespace solvane::cli
