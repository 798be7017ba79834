// Many births at once: CSV in (a header of field names, one birth per row), JSON Lines out.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace solvane::cli {

struct BatchResult {
  std::size_t charted = 0;
  std::size_t refused = 0;  // rows answered with an error line
  std::string fatal;        // why the batch could not start (a bad header), or ""
};

struct BatchOptions {
  // When set, the framed report of every charted row is written as RTF into this folder, named
  // from the row's line number and name.
  std::string report_folder;
};

// Charts every row of `csv` and hands `write` one JSON line per row, in input order, each with its
// "line" number: the chart, or {"line": N, "error": "..."} for a row that is malformed or refused.
// Missing columns take the entry form's first selections; blank lines are skipped.
// With a report folder, each charted line also carries "report" (the file written) or, when the
// file could not be written, "error" (and the row counts as refused).
BatchResult RunBatch(std::string_view csv, const std::function<void(std::string_view)>& write,
                     const BatchOptions& options = {});

}  // namespace solvane::cli
