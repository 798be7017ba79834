// What the command line asked for, shared by the program's modes (one chart, a batch, the saved
// births, the files a chart is written to).
#pragma once

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace solvane::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // reading or writing failed
inline constexpr int kExitRefused = 2;  // a malformed flag, or a birth the form refuses

// Why a mode could not go on: the message for standard error and the exit status it ends with.
struct CliFailure {
  int status = kExitFailure;
  std::string message;
};

// The flags as given. Optional texts are set only when their flag was given; `given` lists the
// flags that were given, in the order they are defined, for the checks of what cannot go together.
struct Flags {
  std::map<std::string, std::string> fields;  // birth fields by name, --dst among them
  std::string format = "text";
  bool sample = false;
  bool report_text = false;
  bool list_zones = false;
  std::string ephemeris, node;  // "" for the defaults: classic, and its own node
  std::string year_days = "365.25";
  int dasha_levels = 2;
  std::optional<std::string> dasha_date;  // mark the periods running then (default: today)
  std::optional<std::string> batch, report, find_place;
  int jobs = 0;  // rows of a batch charted at once; 0 for one per processor core

  // Saved births.
  bool save = false;                      // store the birth (or every charted row of a batch)
  std::optional<std::string> saved;       // chart the stored birth of this name
  std::optional<std::string> list_saved;  // list the stored births matching this ("" for all)
  std::optional<std::string> export_saved, import_saved;  // CSV files
  std::optional<std::string> births_db;  // another database file than the user's own

  // Files the chart is written to.
  std::optional<std::string> pdf, svg;
  std::string chart_style = "wheel";  // wheel, south, north or east

  // The birth moment from the place and the tz database.
  std::optional<std::string> place, tz, fold;

  std::vector<std::string> given;

  bool Given(std::string_view flag) const {
    return std::find(given.begin(), given.end(), flag) != given.end();
  }
};

}  // namespace solvane::cli
