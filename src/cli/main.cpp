// solvane-chart: the chart of one birth from flags, or of many from a CSV file.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <exception>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/batch.h"
#include "cli/chart_members.h"
#include "cli/file_output.h"
#include "cli/flags.h"
#include "cli/output.h"
#include "cli/pdf_output.h"
#include "cli/picture_output.h"
#include "cli/places.h"
#include "cli/safe_text.h"
#include "cli/saved_births.h"
#include "cli/zone_flags.h"
#include "core/civil_date.h"
#include "core/text.h"
#include "core/version.h"
#include "entry/sample.h"
#include "entry/time_zones.h"
#include "report/house_report.h"
#include "run/chart_run.h"
#include "run/engines.h"
#include "vedic/dasha.h"

namespace {

using namespace solvane;
using cli::CliFailure;
using cli::Flags;
using cli::kExitFailure;
using cli::kExitOk;
using cli::kExitRefused;

// The batch's output is written in blocks of about this many bytes, and whenever the program is
// about to wait for more input.
constexpr std::size_t kOutputBlockBytes = std::size_t{64} << 10;
// Characters of a place shown back in the message that it was not found.
constexpr std::size_t kPlaceShownCharacters = 80;

constexpr const char* kUsage =
    "usage: solvane-chart --name NAME --date YYYY-MM-DD --time HH:MM --zone ZONE --lon 77E13 "
    "--lat 28N36 [--dst] [--format text|json]\n"
    "       solvane-chart --batch FILE|-    (see --help)";

constexpr const char* kDescription =
    "Casts a Vedic (sidereal) natal chart: the Moon sign, the Ascendant and Midheaven, and the\n"
    "positions of the Sun, Moon, planets and lunar nodes. Unset fields take the entry form's\n"
    "first selections (1 January 1901, 0:00, Greenwich Mean Time, East, North).";

void Say(std::string_view message) {
  const std::string line = "solvane-chart: " + std::string(message) + "\n";
  (void)cli::WriteAll(STDERR_FILENO, line, "standard error");  // nowhere left to report it
}

int Refuse(std::string_view message) {
  Say(std::string(message) + "\n" + kUsage);
  return kExitRefused;
}

// Ends a mode that could not go on; a refusal shows the usage too.
int Exit(const CliFailure& failure) {
  if (failure.status == kExitRefused) return Refuse(failure.message);
  Say(failure.message);
  return failure.status;
}

core::Result<void> WriteOut(std::string_view text) {
  return cli::WriteAll(STDOUT_FILENO, text, "the output");
}

int Finish(const core::Result<void>& written) {
  if (written) return kExitOk;
  Say(written.error().message);
  return kExitFailure;
}

// The values of the options whose presence matters, until they are known to be given.
struct OptionTexts {
  std::string dst, batch, report, find_place, list_saved;
};

// An option whose value is kept only when it is given.
void TextOption(CLI::App& app, const char* flag, std::optional<std::string>& target,
                const char* help, const char* type) {
  app.add_option_function<std::string>(
         flag, [&target](const std::string& value) { target = value; }, help)
      ->type_name(type);
}

void AddSavedFlags(CLI::App& app, Flags& flags, OptionTexts& texts) {
  app.add_flag("--save", flags.save,
               "store the birth in the saved births (with --batch: every charted row)");
  TextOption(app, "--saved", flags.saved, "chart the saved birth of this name", "NAME");
  app.add_option("--list-saved", texts.list_saved,
                 "list the saved births, or those whose name, place or date matches QUERY")
      ->expected(0, 1)
      ->type_name("[QUERY]");
  TextOption(app, "--export-saved", flags.export_saved,
             "write every saved birth to a CSV file in the batch format", "FILE");
  TextOption(app, "--import-saved", flags.import_saved,
             "store the births of a CSV file in the batch format", "FILE");
  TextOption(app, "--births-db", flags.births_db,
             "the saved births' database file (default: the user's own)", "FILE");
}

void AddFileFlags(CLI::App& app, Flags& flags) {
  TextOption(app, "--pdf", flags.pdf,
             "write the chart sheet (birth data, positions, charts, periods, house report) as PDF",
             "FILE");
  TextOption(app, "--svg", flags.svg, "write the chart alone as an SVG picture", "FILE");
  app.add_option("--chart-style", flags.chart_style,
                 "the chart's style in --svg and --pdf: wheel (default), south, north or east")
      ->check(CLI::IsMember({"wheel", "south", "north", "east"}));
}

void AddMomentFlags(CLI::App& app, Flags& flags) {
  TextOption(app, "--place", flags.place,
             "take longitude, latitude, zone and daylight saving from the atlas's best match for "
             "\"CITY[, STATE][, COUNTRY]\" (--lon, --lat, --zone, --dst win)",
             "PLACE");
  TextOption(app, "--tz", flags.tz,
             "take the zone and daylight saving from the tz database (for example Asia/Kolkata)",
             "ZONE");
  TextOption(app, "--fold", flags.fold,
             "which reading of a local time the clock showed twice: earlier or later", "WHICH");
}

void AddFlags(CLI::App& app, Flags& flags, OptionTexts& texts) {
  const auto field_option = [&](const char* flag, const char* help) {
    const std::string name = std::string(flag).substr(2);
    app.add_option_function<std::string>(
           flag, [&flags, name](const std::string& v) { flags.fields[name] = v; }, help)
        ->type_name("TEXT");
  };
  field_option("--name", "person's name (required)");
  field_option("--date", "date of birth, YYYY-MM-DD, 1901 to 2050");
  field_option("--time", "local clock time of birth, HH:MM (seconds accepted, not used)");
  field_option("--zone",
               "time zone: list position 0-70, unique abbreviation (IST), its text, or an exact "
               "offset east of Greenwich (+05:21:10, -03:30)");
  field_option("--lon", "longitude: degrees, E or W, minutes (77E13, 74W0)");
  field_option("--lat", "latitude: degrees, N or S, minutes (28N36, 33S52)");
  field_option("--city", "city, shown with the chart");
  field_option("--state", "state, shown with the chart");
  field_option("--country", "country, shown with the chart");
  app.add_option("--dst", texts.dst,
                 "the clock showed daylight-saving time (a value: yes/no, true/false, 1/0)")
      ->expected(0, 1)
      ->default_str("yes")  // what --dst alone stands for
      ->type_name("[YES|NO]");
  app.add_option("--format", flags.format, "output: text (default) or json")
      ->check(CLI::IsMember({"text", "json"}));
  app.add_flag("--sample", flags.sample,
               "chart the built-in sample birth (other flags override it)");
  app.add_option(
         "--batch", texts.batch,
         "chart every row of a CSV file (- for standard input) whose header names the "
         "fields (name,date,time,zone,dst,lon,lat,city,state,country, and place,tz,offset,fold,"
         "ephemeris,node); writes JSON Lines")
      ->type_name("FILE");
  app.add_option("--report", texts.report,
                 "write the house report as RTF to FILE (with --batch: one file per row into the "
                 "folder FILE)")
      ->type_name("FILE");
  app.add_flag("--report-text", flags.report_text,
               "add the house report as plain text to the output");
  app.add_option("--find-place", texts.find_place,
                 "look a place up in the built-in atlas: \"CITY[, STATE][, COUNTRY]\"; prints "
                 "its --lat and --lon")
      ->type_name("PLACE");
  app.add_flag("--list-zones", flags.list_zones, "list the time zones with their positions");
  app.add_option("--ephemeris", flags.ephemeris,
                 "positions: classic (the chart's own formulas, default) or precise (arc-seconds)");
  app.add_option("--node", flags.node,
                 "with --ephemeris precise: the lunar node, mean (default) or true");
  app.add_option("--year-days", flags.year_days,
                 "days in a year of the Vimshottari periods: 365.25 (default), 365.2425 or 360");
  app.add_option("--dasha-levels", flags.dasha_levels,
                 "levels of periods in the text output: 1, 2 (default) or 3")
      ->check(CLI::Range(1, 3));
  app.add_option("--jobs", flags.jobs,
                 "with --batch: rows charted at once (default: one per processor core; the "
                 "output is the same)")
      ->check(CLI::Range(1, static_cast<int>(cli::kMaxBatchThreads)));
  TextOption(app, "--dasha-date", flags.dasha_date,
             "mark the periods running on this date, YYYY-MM-DD (default: today)", "DATE");
  AddMomentFlags(app, flags);
  AddSavedFlags(app, flags, texts);
  AddFileFlags(app, flags);
}

// The flags, or the exit status when parsing ends the program (help, version, a parse error).
core::Result<Flags, int> ParseFlags(int argc, char** argv) {
  CLI::App app{kDescription, "solvane-chart"};
  app.set_version_flag("--version", "solvane-chart " + std::string(core::kVersion));
  app.get_formatter()->column_width(30);
  Flags flags;
  OptionTexts texts;
  AddFlags(app, flags, texts);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    return core::Unexpected{Finish(WriteOut(app.help()))};
  } catch (const CLI::CallForVersion& e) {
    return core::Unexpected{Finish(WriteOut(std::string(e.what()) + "\n"))};
  } catch (const CLI::ParseError& e) {
    return core::Unexpected{Refuse(cli::TerminalSafe(e.what()))};  // it may quote any argument
  }
  if (app.count("--dst") > 0) flags.fields["dst"] = texts.dst;
  if (app.count("--batch") > 0) flags.batch = texts.batch;
  if (app.count("--report") > 0) flags.report = texts.report;
  if (app.count("--find-place") > 0) flags.find_place = texts.find_place;
  if (app.count("--list-saved") > 0) flags.list_saved = texts.list_saved;
  for (const CLI::Option* option : app.get_options())
    if (option->count() > 0) flags.given.push_back(option->get_name());
  return flags;
}

// A message naming two flags that cannot go together, or nothing.
std::optional<std::string> Conflict(const Flags& flags) {
  static const std::vector<std::string> kBirthFlags = {
      "--name",  "--date",    "--time",   "--zone",  "--dst", "--lon",  "--lat",  "--city",
      "--state", "--country", "--sample", "--place", "--tz",  "--fold", "--saved"};
  const auto first_of = [&](const std::vector<std::string>& list) -> std::optional<std::string> {
    for (const std::string& flag : flags.given)
      if (std::find(list.begin(), list.end(), flag) != list.end()) return flag;
    return std::nullopt;
  };
  std::vector<std::string> chart_flags = kBirthFlags;
  chart_flags.insert(
      chart_flags.end(),
      {"--report", "--report-text", "--pdf", "--svg", "--chart-style", "--save", "--list-saved",
       "--export-saved", "--import-saved", "--batch", "--list-zones"});
  if (flags.find_place) {
    if (const auto other = first_of(chart_flags))
      return "--find-place and " + *other +
             " cannot go together: --find-place only looks a place up";
  }
  chart_flags.back() = "--format";  // --list-zones takes no other flag at all
  if (flags.list_zones) {
    if (const auto other = first_of(chart_flags))
      return "--list-zones and " + *other +
             " cannot go together: --list-zones only lists the zones";
  }
  if (!flags.batch && flags.Given("--jobs"))
    return "--jobs goes with --batch only: a single chart is charted on one thread";
  if (flags.batch) {
    if (const auto other = first_of(kBirthFlags))
      return "--batch and " + *other +
             " cannot go together: --batch takes its births from the file, not from flags";
    if (flags.dasha_date)
      return "--batch and --dasha-date cannot go together: the mark is in the text output, and "
             "--batch writes JSON Lines";
    if (flags.report_text || (flags.Given("--format") && flags.format == "text"))
      return std::string("--batch and ") + (flags.report_text ? "--report-text" : "--format text") +
             " cannot go together: --batch writes JSON Lines";
  }
  return std::nullopt;
}

// A flag that names a file or a place must name one.
std::optional<std::string> EmptyValue(const Flags& flags) {
  const std::pair<const char*, const std::optional<std::string>*> files[] = {
      {"--batch", &flags.batch},
      {"--report", &flags.report},
      {"--export-saved", &flags.export_saved},
      {"--import-saved", &flags.import_saved},
      {"--births-db", &flags.births_db},
      {"--pdf", &flags.pdf},
      {"--svg", &flags.svg}};
  struct Named {
    const char* flag;
    const std::optional<std::string>* value;
    const char* missing;
  };
  const Named texts[] = {{"--find-place", &flags.find_place, "place"},
                         {"--place", &flags.place, "place"},
                         {"--tz", &flags.tz, "zone"},
                         {"--saved", &flags.saved, "name"}};
  for (const auto& [flag, value] : files)
    if (*value && core::TrimBlanksAndTabs(**value).empty())
      return std::string(flag) + ": no file name given";
  for (const auto& [flag, value, missing] : texts)
    if (*value && core::TrimBlanksAndTabs(**value).empty())
      return std::string(flag) + ": no " + missing + " given";
  return std::nullopt;
}

int FindPlace(const Flags& flags) {
  const entry::PlaceMatches matches = entry::Atlas::BuiltIn().Lookup(*flags.find_place, 10);
  if (matches.places.empty()) {
    Say("no place called " + cli::Quoted(*flags.find_place, kPlaceShownCharacters) +
        " in the atlas");
    return kExitRefused;
  }
  return Finish(
      WriteOut(flags.format == "json" ? cli::PlacesJson(matches) : cli::PlacesText(matches)));
}

int ListZones() {
  std::string text;
  const auto& zones = entry::TimeZoneTable();
  for (int i = 0; i < entry::kTimeZoneCount; ++i) {
    text += (i < 10 ? " " : "") + std::to_string(i) + "  ";
    text += zones[static_cast<std::size_t>(i)].text;
    text += '\n';
  }
  return Finish(WriteOut(text));
}

// The batch's output: lines gathered into blocks, written when a block is full and before the
// program waits for input, so that a reader sees each row's line while the input is still open.
class BatchOutput {
 public:
  core::Result<void> Add(std::string_view line) {
    buffer_ += line;
    buffer_ += '\n';
    return buffer_.size() >= kOutputBlockBytes ? Flush() : core::Result<void>();
  }
  core::Result<void> Flush() {
    if (!failure_.empty()) return core::Fail(failure_);
    core::Result<void> written = WriteOut(buffer_);
    buffer_.clear();
    if (!written) failure_ = written.error().message;
    return written;
  }
  const std::string& failure() const { return failure_; }

 private:
  std::string buffer_;
  std::string failure_;  // why the output could not be written, or ""
};

// The batch input as a descriptor and the name messages give it.
core::Result<std::pair<int, std::string>> OpenBatchInput(const std::string& path) {
  if (path == "-") return std::pair<int, std::string>{STDIN_FILENO, "standard input"};
  const std::string name = "'" + cli::TerminalSafe(path) + "'";
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return core::Fail("cannot open " + name + ": " + std::strerror(errno));
  struct stat st {};
  if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    close(fd);
    return core::Fail("cannot read " + name + ": it is a folder, not a CSV file");
  }
  return std::pair<int, std::string>{fd, name};
}

int BatchStatus(const core::Result<cli::BatchCounts, cli::BatchStop>& result) {
  if (!result) {
    Say(result.error().message);
    return result.error().reason == cli::BatchStop::Reason::kBadHeader ? kExitRefused
                                                                       : kExitFailure;
  }
  const cli::BatchCounts& counts = *result;
  const std::size_t rows = counts.charted + counts.refused + counts.unwritten;
  int status = kExitOk;
  if (counts.unwritten > 0) {
    Say(std::to_string(counts.unwritten) + " of " + std::to_string(rows) +
        " rows' reports could not be written");
    status = kExitFailure;
  }
  if (counts.refused > 0) {
    Say(std::to_string(counts.refused) + " of " + std::to_string(rows) + " rows refused");
    if (status == kExitOk) status = kExitRefused;
  }
  return status;
}

int Batch(const Flags& flags) {
  const auto year = vedic::ParseYearLength(flags.year_days);
  if (!year) return Refuse("--year-days: " + year.error().message);
  if (flags.report) {
    struct stat folder {};
    if (stat(flags.report->c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode)) {
      Say("--report: '" + cli::TerminalSafe(*flags.report) +
          "' is not a folder; with --batch it names the folder that receives one report per "
          "row");
      return kExitFailure;
    }
  }
  const auto input = OpenBatchInput(*flags.batch);
  if (!input) {
    Say(input.error().message);
    return kExitFailure;
  }
  std::unique_ptr<cli::BatchSaving> saving;
  if (flags.save) {
    auto opened = cli::OpenBatchSaving(flags);
    if (!opened) return Exit(opened.error());
    saving = std::move(*opened);
  }
  cli::BatchOptions options{flags.report.value_or(""),
                            {},
                            flags.ephemeris,
                            flags.node,
                            {vedic::YearDays(*year), flags.dasha_levels, std::nullopt},
                            flags.jobs};
  if (saving)
    options.save_row = [&](const entry::BirthFormSnapshot& form) { return saving->Save(form); };
  BatchOutput output;
  cli::ByteSource read = cli::DescriptorSource(input->first, input->second);
  cli::ByteSource source = [&](char* buffer, std::size_t size) -> core::Result<std::size_t> {
    if (core::Result<void> flushed = output.Flush(); !flushed) return core::Fail(output.failure());
    return read(buffer, size);
  };
  const auto result = cli::RunBatch(
      source, [&](std::string_view line) { return output.Add(line); }, options);
  if (const core::Result<void> flushed = output.Flush(); !flushed) {
    Say(output.failure());
    return kExitFailure;
  }
  if (saving) {
    if (auto finished = saving->Finish(); !finished) return Exit(finished.error());
  }
  return BatchStatus(result);
}

// The birth the flags describe: a saved birth or the sample, then the fields given, then what the
// place and the tz database say of the moment.
struct BirthOfFlags {
  entry::BirthFormSnapshot form;
  cli::ZoneChoice zone;
};

core::Result<BirthOfFlags, CliFailure> BirthOf(const Flags& flags) {
  BirthOfFlags birth;
  if (flags.saved) {
    auto saved = cli::SavedForm(flags);
    if (!saved) return core::Unexpected{saved.error()};
    birth.form = *saved;
  } else if (flags.sample) {
    birth.form = entry::SampleBirth();
  }
  for (const auto& [name, value] : flags.fields) {
    if (core::Result<void> applied = cli::ApplyField(name, value, birth.form); !applied)
      return core::Unexpected{
          CliFailure{kExitRefused, "--" + name + ": " + applied.error().message}};
  }
  auto zone = cli::ApplyZoneFlags(flags, birth.form);
  if (!zone) return core::Unexpected{zone.error()};
  birth.zone = *zone;
  return birth;
}

std::string ChartOutput(const Flags& flags, const core::ChartState& state,
                        const display::ChartWindowModel& window, const BirthOfFlags& birth,
                        const std::string& report, const cli::PeriodOptions& periods) {
  if (flags.format == "json") {
    std::string text;
    cli::JsonWriter json(text);
    json.BeginObject();
    cli::WriteChartMembers(json, state, window);
    cli::WriteEngineMembers(json, state);
    cli::WritePeriodMembers(json, state, periods);
    if (flags.report_text) json.StringMember("ReportText", report);
    cli::WriteZoneMembers(json, birth.zone, state);
    json.EndObject();
    return text + '\n';
  }
  std::string text = cli::ChartText(state, window, birth.form);
  if (const std::string zone = cli::ZoneText(birth.zone, state); !zone.empty()) text += "\n" + zone;
  text += '\n';
  text += cli::PeriodsText(state, periods);
  if (flags.report_text) {
    text += "\n";
    for (const char c : report)
      if (c != '\r') text += c;  // the terminal's line breaks
  }
  return text;
}

// The date whose running periods the text marks: --dasha-date, or the computer's date today.
core::Result<long> MarkedDay(const Flags& flags) {
  if (!flags.dasha_date) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) return core::Fail("today's date is not known");
    return core::DaysFromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  }
  const std::string& text = *flags.dasha_date;
  const auto digits = [&](std::size_t from, std::size_t count) {
    int value = 0;
    for (std::size_t i = from; i < from + count; ++i) {
      if (text[i] < '0' || text[i] > '9') return -1;
      value = value * 10 + (text[i] - '0');
    }
    return value;
  };
  const bool shaped = text.size() == 10 && text[4] == '-' && text[7] == '-';
  const int year = shaped ? digits(0, 4) : -1, month = shaped ? digits(5, 2) : -1,
            day = shaped ? digits(8, 2) : -1;
  if (year < 1 || month < 1 || day < 1)
    return core::Fail("expected YYYY-MM-DD (for example 2026-12-09), got " + cli::Quoted(text));
  const auto [y, m, d] = core::CivilFromDays(core::DaysFromCivil(year, month, day));
  if (y != year || m != month || d != day)
    return core::Fail(cli::Quoted(text) + " is not a date of the calendar");
  return core::DaysFromCivil(year, month, day);
}

// The files the chart is written to besides the output, and the saved births, in that order.
core::Result<void, CliFailure> WriteChartFiles(const Flags& flags, const core::ChartState& state,
                                               const display::ChartWindowModel& window,
                                               const BirthOfFlags& birth, const std::string& report,
                                               const cli::PeriodOptions& periods) {
  if (flags.report) {
    const core::Result<void> saved =
        cli::WriteFileReplacing(*flags.report, report::FramedReportRtf(report));
    if (!saved)
      return core::Unexpected{CliFailure{kExitFailure, "--report: " + saved.error().message}};
  }
  if (auto pdf = cli::WritePdfSheet(flags, state, window, birth.form, periods); !pdf) return pdf;
  if (auto svg = cli::WriteChartPicture(flags, state, window, birth.form); !svg) return svg;
  if (flags.save) return cli::SaveBirth(flags, birth.form);
  return {};
}

int Chart(const Flags& flags) {
  const auto birth = BirthOf(flags);
  if (!birth) return Exit(birth.error());
  const auto engine = run::EngineNamed(flags.ephemeris, flags.node);
  if (!engine) return Refuse(engine.error().message);
  const auto year = vedic::ParseYearLength(flags.year_days);
  if (!year) return Refuse("--year-days: " + year.error().message);
  const auto marked = MarkedDay(flags);
  if (!marked) return Refuse("--dasha-date: " + marked.error().message);
  const cli::PeriodOptions periods{vedic::YearDays(*year), flags.dasha_levels, *marked};
  core::ChartState state;
  display::ChartWindowModel window;
  if (const auto charted = run::RunChart(birth->form, display::EnglishMonthName, state, window,
                                         run::ReportText::kWrite, **engine);
      !charted) {
    Say(charted.error().message.text);
    return kExitRefused;
  }
  const std::string report = report::PlainText(window.RTBHouseDesc);
  if (auto written = WriteChartFiles(flags, state, window, *birth, report, periods); !written)
    return Exit(written.error());
  return Finish(WriteOut(ChartOutput(flags, state, window, *birth, report, periods)));
}

int Run(int argc, char** argv) {
  const core::Result<Flags, int> flags = ParseFlags(argc, argv);
  if (!flags) return flags.error();
  if (const auto conflict = Conflict(*flags)) return Refuse(*conflict);
  if (const auto empty = EmptyValue(*flags)) return Refuse(*empty);
  for (const auto check :
       {cli::ZoneConflict, cli::SavedConflict, cli::PdfConflict, cli::PictureConflict})
    if (const auto conflict = check(*flags)) return Refuse(*conflict);
  if (flags->find_place) return FindPlace(*flags);
  if (flags->list_zones) return ListZones();
  if (flags->list_saved) return cli::ListSaved(*flags);
  if (flags->export_saved) return cli::ExportSaved(*flags);
  if (flags->import_saved) return cli::ImportSaved(*flags);
  if (flags->batch) return Batch(*flags);
  return Chart(*flags);
}

}  // namespace

int main(int argc, char** argv) {
  // A reader that stops early (`| head`) ends the program the way it ends any filter: quietly, by
  // SIGPIPE, with the shell's status 141. A parent that ignores SIGPIPE would pass that on and
  // turn the closed pipe into an error message and status 1. Nothing is left half-done: report
  // files are complete and renamed before the output that follows them is written.
  std::signal(SIGPIPE, SIG_DFL);
  // Every failure the program expects is a result; this is for the ones it does not (memory).
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    Say(std::string("cannot go on: ") + e.what());
  } catch (...) {
    Say("cannot go on: an unexpected failure");
  }
  return kExitFailure;
}
