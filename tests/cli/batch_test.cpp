#include "cli/batch.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <nlohmann/json.hpp>

namespace solvane::cli {
namespace {

struct Outcome {
  core::Result<BatchCounts, BatchStop> result = BatchCounts{};
  std::vector<nlohmann::json> lines;
};

LineWriter Collect(std::vector<nlohmann::json>& lines) {
  return [&lines](std::string_view line) -> core::Result<void> {
    lines.push_back(nlohmann::json::parse(line));  // every line must be valid JSON
    return {};
  };
}

Outcome Batch(std::string_view csv, const BatchOptions& options = {}) {
  Outcome out;
  out.result = RunBatch(csv, Collect(out.lines), options);
  return out;
}

TEST(RunBatch, RowsInOrderWithErrorsInPlace) {
  const Outcome o = Batch(
      "Date,name,time,lon,lat\n"
      "2000-01-01,TEST,12:00,0E0,51N30\n"
      "2001-02-29,LEAP,12:00,0E0,51N30\n"
      "\n"
      "2000-01-01,\"QUOTED, NAME\",25:00,0E0,51N30\n"
      "2000-01-01,SHORT\n"
      "1976-05-10,RETRO,06:00,0E0,0N0\n");
  ASSERT_TRUE(o.result);
  EXPECT_EQ(o.result->charted, 2u);
  EXPECT_EQ(o.result->refused, 3u);
  ASSERT_EQ(o.lines.size(), 5u);
  EXPECT_EQ(o.lines[0]["line"], 2);
  EXPECT_EQ(o.lines[0]["PositionStrings"][0], "16 Sag 31");
  EXPECT_EQ(o.lines[0]["BirthData"]["Name"], "TEST");
  // Without a report folder the report's text is not written, but its houses still are.
  EXPECT_EQ(o.lines[0]["ReportHouses"]["Jupiter"], 1);
  EXPECT_EQ(o.lines[0]["ReportSections"][0]["planets"][1], "Saturn");
  EXPECT_EQ(o.lines[1]["line"], 3);
  EXPECT_EQ(o.lines[1]["error"], "Please Enter Correct Date Or Month!");
  EXPECT_EQ(o.lines[2]["line"], 5);
  EXPECT_NE(o.lines[2]["error"].get<std::string>().find("time:"), std::string::npos);
  EXPECT_EQ(o.lines[3]["line"], 6);
  EXPECT_NE(o.lines[3]["error"].get<std::string>().find("2 fields"), std::string::npos);
  EXPECT_EQ(o.lines[4]["BodyNames"][2], "Mercury (R) ");
}

// The periods of every row follow --year-days and --dasha-levels, as a single chart's do.
TEST(RunBatch, PeriodsFollowTheOptions) {
  const char* csv = "name,date,time,lon,lat\nTEST,2000-01-01,12:00,0E0,51N30\n";
  struct Case {
    double year_days;
    int levels;
  } cases[] = {
      {vedic::kJulianYearDays, 2}, {vedic::kSavanaYearDays, 1}, {vedic::kJulianYearDays, 3}};
  for (const Case& c : cases) {
    BatchOptions options;
    options.periods = {c.year_days, c.levels, std::nullopt};
    const Outcome o = Batch(csv, options);
    ASSERT_EQ(o.lines.size(), 1u);
    const nlohmann::json& dasha = o.lines[0]["Dasha"];
    EXPECT_EQ(dasha["year_days"], c.year_days);
    // Count the levels down the first mahadasha.
    int levels = 1;
    for (const nlohmann::json* period = &dasha["periods"][0]; period->contains("sub");
         period = &(*period)["sub"][0])
      ++levels;
    EXPECT_EQ(levels, c.levels) << c.year_days;
  }
}

TEST(RunBatch, MissingColumnsTakeTheFormsFirstSelections) {
  const Outcome o = Batch("name,lon,lat\nA,0E0,0N0\n");
  ASSERT_EQ(o.lines.size(), 1u);
  EXPECT_EQ(o.lines[0]["BirthData"]["Year"], 1901);
  EXPECT_EQ(o.lines[0]["BirthData"]["Month"], 1);
  EXPECT_EQ(o.lines[0]["ZoneHours"], 0);
  // Without a longitude the form refuses, as it would an empty box.
  const Outcome refused = Batch("name\nA\n");
  EXPECT_EQ(refused.lines[0]["error"],
            "Please Enter Value Between 0 And 179 in the Degree of Longitude");
}

TEST(RunBatch, RowsDoNotLeakIntoEachOther) {
  const Outcome o = Batch("name,date,lon,lat,dst\nA,1976-05-10,0E0,0N0,1\nB,2000-01-01,0E0,0N0,\n");
  ASSERT_EQ(o.lines.size(), 2u);
  EXPECT_EQ(o.lines[1]["BirthData"]["DaylightSaving"], 0);
  EXPECT_EQ(o.lines[1]["BodyNames"][2], "Mercury");
}

// Header names are read like values (blanks and tabs around them do not count, any case), and
// lines of blanks and tabs are skipped like empty ones, before and after the header.
TEST(RunBatch, BlanksAroundNamesAndBlankLines) {
  const Outcome o = Batch(" \t\n\t Name\t, LON ,lat\r\n  \nA,0E0,0N0\n\t\t\nB,1E0,0N0\n   ");
  ASSERT_TRUE(o.result) << o.result.error().message;
  EXPECT_EQ(o.result->charted, 2u);
  ASSERT_EQ(o.lines.size(), 2u);
  EXPECT_EQ(o.lines[0]["line"], 4);
  EXPECT_EQ(o.lines[1]["line"], 6);
  EXPECT_EQ(o.lines[1]["BirthData"]["LongitudeDeg"], 1);
}

TEST(RunBatch, BadHeadersStopBeforeAnyRow) {
  struct Case {
    std::string csv;
    const char* says;
  };
  const Case cases[] = {
      {"", "no header row"},
      {"\n \n\t\n", "no header row"},
      {"name,colour\nA,red\n", "unknown column 'colour'"},
      {"name,name\nA,B\n", "'name' appears twice"},
      {"\"name\nA\n", "is never closed"},
      {"name,date\r0E0,1980-01-01\r", "carriage return alone"},
      {std::string("\xFF\xFEn\0a\0m\0e\0\n\0", 12), "UTF-16"},
      {std::string("n\0a\0m\0e\0\n\0", 10), "NUL byte"},
      {"na\xC3\xA9\xFF" + std::string(60, 'x') + "\nA\n", "unknown column 'na\xC3\xA9\\xff"},
  };
  for (const Case& c : cases) {
    const Outcome o = Batch(c.csv);
    ASSERT_FALSE(o.result) << c.csv;
    EXPECT_EQ(o.result.error().reason, BatchStop::Reason::kBadHeader) << c.csv;
    EXPECT_NE(o.result.error().message.find(c.says), std::string::npos)
        << c.csv << ": " << o.result.error().message;
    EXPECT_TRUE(o.lines.empty()) << c.csv;
  }
}

// A name that is not letters is refused as the form refuses it; the line is still valid JSON.
TEST(RunBatch, BrokenEncodingStillGivesValidJson) {
  const Outcome o = Batch("name,lon,lat,city\n\xFF\xFE NAME,0E0,0N0,x\nA,0E0,0N0,\xC3\n");
  ASSERT_EQ(o.lines.size(), 2u);
  EXPECT_EQ(o.lines[0]["error"], "Please Enter only Letters");
  EXPECT_EQ(o.lines[1]["lblCity"], "\xEF\xBF\xBD");
}

// Rows are answered as they are read: the line of a row is written before the source is asked
// for the bytes after that row, so a reader sees it while the input is still open. On one thread
// or several.
TEST(RunBatch, StreamsRowByRow) {
  const std::vector<std::string> pieces = {"name,lon,lat\n", "A,0E0,0N0\n", "B,0E0,0N0\n",
                                           "C,0E0,0N0\n"};
  for (const int threads : {1, 2, 4}) {
    std::vector<nlohmann::json> lines;
    std::vector<std::size_t> lines_at_read;
    ByteSource source = [&, next = std::size_t{0}](
                            char* buffer, std::size_t size) mutable -> core::Result<std::size_t> {
      lines_at_read.push_back(lines.size());
      if (next == pieces.size()) return std::size_t{0};
      const std::string& piece = pieces[next++];
      EXPECT_LE(piece.size(), size);
      std::memcpy(buffer, piece.data(), piece.size());
      return piece.size();
    };
    BatchOptions options;
    options.threads = threads;
    const auto result = RunBatch(source, Collect(lines), options);
    ASSERT_TRUE(result);
    EXPECT_EQ(lines.size(), 3u);
    // Reads: the header, row A, row B (A answered), row C (B answered), the end (C answered).
    EXPECT_EQ(lines_at_read, (std::vector<std::size_t>{0, 0, 1, 2, 3})) << threads;
  }
}

TEST(RunBatch, StopsAtAFailingInputOrOutput) {
  const std::string csv = "name,lon,lat\nA,0E0,0N0\nB,0E0,0N0\nC,0E0,0N0\n";
  for (const int threads : {1, 2, 4}) {
    BatchOptions options;
    options.threads = threads;
    // The input fails after the header and the first two rows.
    const std::size_t cut = csv.find("C,");
    ByteSource failing = [&, at = std::size_t{0}](
                             char* buffer, std::size_t) mutable -> core::Result<std::size_t> {
      if (at == cut) return core::Fail("cannot read standard input: Input/output error");
      buffer[0] = csv[at++];
      return std::size_t{1};
    };
    std::vector<nlohmann::json> lines;
    const auto unreadable = RunBatch(failing, Collect(lines), options);
    ASSERT_FALSE(unreadable);
    EXPECT_EQ(unreadable.error().reason, BatchStop::Reason::kUnreadable);
    EXPECT_EQ(unreadable.error().message, "cannot read standard input: Input/output error");
    EXPECT_EQ(lines.size(), 2u) << threads;

    // The output fails on the second line: the batch goes no further.
    std::size_t written = 0;
    const auto unwritable = RunBatch(
        csv,
        [&](std::string_view) -> core::Result<void> {
          if (++written == 2) return core::Fail("cannot write the output: No space left on device");
          return {};
        },
        options);
    ASSERT_FALSE(unwritable);
    EXPECT_EQ(unwritable.error().reason, BatchStop::Reason::kUnwritable);
    EXPECT_EQ(unwritable.error().message, "cannot write the output: No space left on device");
    EXPECT_EQ(written, 2u) << threads;
  }
}

// Charted on several threads, a batch writes the same lines in the same order as on one, and counts
// the same: rows charted, refused as read, refused by the form, blank lines, rows of both engines.
TEST(RunBatch, SameOutputOnAnyNumberOfThreads) {
  std::string csv = "name,date,time,lon,lat,ephemeris\n";
  for (int i = 0; i < 300; ++i) {
    const std::string day = std::to_string(1 + i % 28);
    switch (i % 6) {
      case 0:
        csv += "\n";  // blank: skipped
        break;
      case 1:
        csv += "P,2000-02-30,12:00,0E0,51N30,\n";  // refused by the form
        break;
      case 2:
        csv += "\"UNCLOSED,2000-01-01\n";  // refused as read
        csv += "\"\n";
        break;
      default:
        csv += "P,19" + std::to_string(10 + i % 90) + "-03-" + day + "," + std::to_string(i % 24) +
               ":30," + std::to_string(i % 180) + "E0,20N0," + (i % 2 ? "precise" : "") + "\n";
    }
  }
  const auto run = [&](int threads) {
    BatchOptions options;
    options.threads = threads;
    std::string out;
    const auto result = RunBatch(
        csv,
        [&](std::string_view line) -> core::Result<void> {
          out.append(line).push_back('\n');
          return {};
        },
        options);
    EXPECT_TRUE(result);
    return std::make_pair(out, result ? std::vector<std::size_t>{result->charted, result->refused,
                                                                  result->unwritten}
                                      : std::vector<std::size_t>{});
  };
  const auto one = run(1);
  EXPECT_EQ(one.second, (std::vector<std::size_t>{150, 100, 0}));
  for (const int threads : {2, 3, 8}) {
    const auto several = run(threads);
    EXPECT_EQ(several.second, one.second) << threads;
    EXPECT_TRUE(several.first == one.first) << threads << " threads wrote other lines";
  }
}

// A row whose report file cannot be written is answered in the error shape and counted apart
// from the refused rows; the rows around it still get their reports.
TEST(RunBatch, RowWhoseReportCannotBeWritten) {
  namespace fs = std::filesystem;
  const fs::path dir =
      fs::path(::testing::TempDir()) / ("solvane_batch_reports_" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "3-B.rtf");  // a folder where row 3's report should go
  BatchOptions options;
  options.report_folder = dir.string();
  const Outcome o = Batch("name,lon,lat\nA,0E0,0N0\nB,0E0,0N0\nC,0E0,0N0\n", options);
  ASSERT_TRUE(o.result);
  EXPECT_EQ(o.result->charted, 2u);
  EXPECT_EQ(o.result->refused, 0u);
  EXPECT_EQ(o.result->unwritten, 1u);
  ASSERT_EQ(o.lines.size(), 3u);
  EXPECT_EQ(o.lines[0]["report"], (dir / "2-A.rtf").string());
  EXPECT_EQ(o.lines[1], (nlohmann::json{{"line", 3},
                                        {"error", "'" + (dir / "3-B.rtf").string() +
                                                      "' names a folder, not a file"}}));
  EXPECT_TRUE(fs::is_regular_file(dir / "4-C.rtf"));
  fs::remove_all(dir);
}

}  // namespace
}  // namespace solvane::cli
