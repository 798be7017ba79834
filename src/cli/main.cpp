// solvane-chart: the chart of one birth from flags, or of many from a CSV file.
#include <sys/stat.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <string>

#include "cli/arguments.h"
#include "cli/batch.h"
#include "cli/file_output.h"
#include "cli/output.h"
#include "cli/places.h"
#include "entry/sample.h"
#include "run/chart_run.h"
#include "entry/time_zones.h"
#include "report/house_report.h"

namespace {

using namespace solvane;

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;  // reading or writing failed
constexpr int kExitRefused = 2;  // a malformed flag, or a birth the form refuses

constexpr const char* kUsage =
    "usage: solvane-chart --name NAME --date YYYY-MM-DD --time HH:MM --zone ZONE --lon 77E13 "
    "--lat 28N36 [--dst] [--format text|json]\n"
    "       solvane-chart --batch FILE|-    (see --help)";

// Writes everything or reports why not.
bool WriteAll(std::FILE* stream, std::string_view text) {
  return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
}

std::optional<std::string> ReadAll(const std::string& path, std::string& error) {
  if (path == "-") {
    std::string text((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    if (std::cin.bad()) {
      error = "cannot read standard input";
      return std::nullopt;
    }
    return text;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open '" + path + "': " + std::strerror(errno);
    return std::nullopt;
  }
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    error = "cannot read '" + path + "'";
    return std::nullopt;
  }
  return text;
}

int RunBatchCommand(const std::string& path, const cli::BatchOptions& options) {
  std::string error;
  const std::optional<std::string> csv = ReadAll(path, error);
  if (!csv) {
    std::fprintf(stderr, "solvane-chart: %s\n", error.c_str());
    return kExitFailure;
  }
  std::string buffer;
  bool write_failed = false;
  const auto flush = [&] {
    if (!write_failed && !WriteAll(stdout, buffer)) write_failed = true;
    buffer.clear();
  };
  const cli::BatchResult result = cli::RunBatch(
      *csv,
      [&](std::string_view line) {
        buffer += line;
        buffer += '\n';
        if (buffer.size() >= (1 << 16)) flush();
      },
      options);
  flush();
  if (std::fflush(stdout) != 0) write_failed = true;
  if (!result.fatal.empty()) {
    std::fprintf(stderr, "solvane-chart: %s\n", result.fatal.c_str());
    return kExitRefused;
  }
  if (write_failed) {
    std::fprintf(stderr, "solvane-chart: cannot write the output: %s\n", std::strerror(errno));
    return kExitFailure;
  }
  if (result.refused > 0) {
    std::fprintf(stderr, "solvane-chart: %zu of %zu rows refused\n", result.refused,
                 result.refused + result.charted);
    return kExitRefused;
  }
  return kExitOk;
}

void ListZones() {
  const auto& zones = entry::TimeZoneTable();
  for (int i = 0; i < entry::kTimeZoneCount; ++i)
    std::printf("%2d  %s\n", i, std::string(zones[static_cast<std::size_t>(i)].text).c_str());
}

}  // namespace

int main(int argc, char** argv) {
  // A reader that stops early (`| head`) ends the program the way it ends any filter: quietly, by
  // SIGPIPE, with the shell's status 141. A parent that ignores SIGPIPE would pass that on and
  // turn the closed pipe into an error message and status 1. Nothing is left half-done: report
  // files are complete and renamed before the output that follows them is written.
  std::signal(SIGPIPE, SIG_DFL);
  CLI::App app{
      "Casts a Vedic (sidereal) natal chart: the Moon sign, the Ascendant and Midheaven, and the\n"
      "positions of the Sun, Moon, planets and lunar nodes. Unset fields take the entry form's\n"
      "first selections (1 January 1901, 0:00, Greenwich Mean Time, East, North).",
      "solvane-chart"};
  app.set_version_flag("--version", std::string("solvane-chart ") + SOLVANE_VERSION);
  app.get_formatter()->column_width(30);

  std::map<std::string, std::string> fields;
  const auto field_option = [&](const char* flag, const char* help) {
    const std::string name = std::string(flag).substr(2);
    app.add_option_function<std::string>(
           flag, [&fields, name](const std::string& v) { fields[name] = v; }, help)
        ->type_name("TEXT");
  };
  field_option("--name", "person's name (required)");
  field_option("--date", "date of birth, YYYY-MM-DD, 1901 to 2050");
  field_option("--time", "local clock time of birth, HH:MM (seconds accepted, not used)");
  field_option("--zone", "time zone: list position 0-70, unique abbreviation (IST) or its text");
  field_option("--lon", "longitude: degrees, E or W, minutes (77E13, 74W0)");
  field_option("--lat", "latitude: degrees, N or S, minutes (28N36, 33S52)");
  field_option("--city", "city, shown with the chart");
  field_option("--state", "state, shown with the chart");
  field_option("--country", "country, shown with the chart");
  bool dst = false;
  app.add_flag("--dst", dst, "the clock showed daylight-saving time");
  std::string format = "text";
  app.add_option("--format", format, "output: text (default) or json")
      ->check(CLI::IsMember({"text", "json"}));
  bool sample = false;
  app.add_flag("--sample", sample, "chart the built-in sample birth (other flags override it)");
  std::string batch;
  app.add_option("--batch", batch,
                 "chart every row of a CSV file (- for standard input) whose header names the "
                 "fields (name,date,time,zone,dst,lon,lat,city,state,country); writes JSON Lines")
      ->type_name("FILE");
  std::string report_path;
  app.add_option("--report", report_path,
                 "write the house report as RTF to FILE (with --batch: one file per row into the "
                 "folder FILE)")
      ->type_name("FILE");
  bool report_text = false;
  app.add_flag("--report-text", report_text, "add the house report as plain text to the output");
  std::string find_place;
  app.add_option("--find-place", find_place,
                 "look a place up in the built-in atlas: \"CITY[, STATE][, COUNTRY]\"; prints "
                 "its --lat and --lon")
      ->type_name("PLACE");
  bool list_zones = false;
  app.add_flag("--list-zones", list_zones, "list the time zones with their positions");

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    std::fprintf(stderr, "solvane-chart: %s\n%s\n", e.what(), kUsage);
    return kExitRefused;
  }

  if (!find_place.empty()) {
    const cli::PlaceQuery query = cli::ParsePlaceQuery(find_place);
    const std::vector<entry::Place> places =
        entry::Atlas::BuiltIn().Find(query.city, query.state, query.country, 10);
    if (places.empty()) {
      std::fprintf(stderr, "solvane-chart: no place called '%s' in the atlas\n",
                   find_place.c_str());
      return kExitRefused;
    }
    const std::string text = format == "json" ? cli::PlacesJson(places) : cli::PlacesText(places);
    return WriteAll(stdout, text) && std::fflush(stdout) == 0 ? kExitOk : kExitFailure;
  }
  if (list_zones) {
    ListZones();
    return kExitOk;
  }
  if (!batch.empty()) {
    if (!fields.empty() || sample || dst) {
      std::fprintf(stderr,
                   "solvane-chart: --batch takes its births from the file, not from flags\n%s\n",
                   kUsage);
      return kExitRefused;
    }
    if (!report_path.empty()) {
      struct stat folder {};
      if (stat(report_path.c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode)) {
        std::fprintf(stderr,
                     "solvane-chart: --report: '%s' is not a folder; with --batch it names "
                     "the folder that receives one report per row\n",
                     report_path.c_str());
        return kExitFailure;
      }
    }
    return RunBatchCommand(batch, cli::BatchOptions{report_path});
  }

  entry::BirthFormSnapshot form = sample ? entry::SampleBirth() : entry::BirthFormSnapshot{};
  for (const auto& [name, value] : fields) {
    if (const std::string error = cli::ApplyField(name, value, form); !error.empty()) {
      std::fprintf(stderr, "solvane-chart: --%s: %s\n%s\n", name.c_str(), error.c_str(), kUsage);
      return kExitRefused;
    }
  }
  if (dst) form.chkDST = true;

  core::ChartState state;
  display::ChartWindowModel window;
  if (const auto refusal = run::RunChart(form, display::EnglishMonthName, state, window)) {
    std::fprintf(stderr, "solvane-chart: %s\n", refusal->message.text.c_str());
    return kExitRefused;
  }
  const std::string report = report::PlainText(window.RTBHouseDesc);
  if (!report_path.empty()) {
    const std::string failure =
        cli::WriteFileReplacing(report_path, report::FramedReportRtf(report));
    if (!failure.empty()) {
      std::fprintf(stderr, "solvane-chart: --report: %s\n", failure.c_str());
      return kExitFailure;
    }
  }
  std::string text;
  if (format == "json") {
    cli::JsonWriter json(text);
    json.BeginObject();
    cli::WriteChartMembers(json, state, window);
    if (report_text) {
      json.Key("ReportText");
      json.String(report);
    }
    json.EndObject();
    text += '\n';
  } else {
    text = cli::ChartText(state, window, form);
    if (report_text) {
      text += "\n";
      for (const char c : report)
        if (c != '\r') text += c;  // the terminal's line breaks
    }
  }
  if (!WriteAll(stdout, text) || std::fflush(stdout) != 0) {
    std::fprintf(stderr, "solvane-chart: cannot write the output: %s\n", std::strerror(errno));
    return kExitFailure;
  }
  return kExitOk;
}
