// Many births at once: CSV in (a header of field names, one birth per row), JSON Lines out. Rows
// are read, charted (on several threads when asked) and written in input order, a few at a time,
// so the memory used does not grow with the input.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "cli/chart_members.h"
#include "cli/csv.h"
#include "core/result.h"
#include "entry/form_rules.h"

namespace solvane::cli {

struct BatchOptions {
  // When set, the framed report of every charted row is written as RTF into this folder, named
  // from the row's line number and name.
  std::string report_folder;
  // When set, every charted row's birth is handed to it (to be stored); a failure makes the row's
  // line an error, counted as unwritten.
  std::function<core::Result<void>(const entry::BirthFormSnapshot&)> save_row;
  // The engine of rows that name none in their columns `ephemeris` and `node` (as the flags
  // --ephemeris and --node name it; "" for the defaults).
  std::string ephemeris, node;
  // The periods in every row's "Dasha" member (--year-days, --dasha-levels).
  PeriodOptions periods;
  // Rows charted at once (--jobs): 0 for one per processor core. The output is the same whatever
  // the number. A batch with a report folder or saving its rows charts one row at a time.
  int threads = 1;
};

// The most threads a batch uses by itself, however many cores the machine has.
inline constexpr unsigned kMaxBatchThreads = 16;

// The threads a batch asked for `asked` (as BatchOptions::threads) uses.
int BatchThreads(int asked);

struct BatchCounts {
  std::size_t charted = 0;
  std::size_t refused = 0;    // rows malformed or refused by the form
  std::size_t unwritten = 0;  // charted rows whose report file could not be written or stored
};

// Why a batch stopped before the end of its input.
struct BatchStop {
  enum class Reason {
    kBadHeader,   // no header, or a header that is not a list of field names: nothing charted
    kUnreadable,  // the input could not be read on
    kUnwritable,  // the output could not be written
  };
  Reason reason;
  std::string message;
};

// Receives the output one line at a time, without its line break; a failure stops the batch.
using LineWriter = std::function<core::Result<void>(std::string_view line)>;

// Charts every row of the CSV from `source` and hands `write` one JSON line per row, in input
// order, each with its "line" number: the chart, or {"line": N, "error": "..."} for a row that
// is malformed or refused, or whose report file could not be written. Missing columns take the
// entry form's first selections; empty lines and lines of blanks are skipped. With a report
// folder, each charted line also carries "report", the file written; every charted line ends
// with "Zone" (and "Place" when the row named one).
//
// Besides the birth fields, a row may give `place` and `tz` (as --place and --tz: the birth
// fields given win, and with either of them an empty cell counts as not given), `offset` (an
// exact offset, as --zone +05:21:10), `fold` (earlier or later) and `ephemeris` and `node`.
core::Result<BatchCounts, BatchStop> RunBatch(ByteSource source, const LineWriter& write,
                                              const BatchOptions& options = {});
// The same over CSV text held in memory.
core::Result<BatchCounts, BatchStop> RunBatch(std::string_view csv, const LineWriter& write,
                                              const BatchOptions& options = {});

}  // namespace solvane::cli
