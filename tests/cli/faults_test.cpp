// solvane-chart when things go wrong around it: targets that cannot be written, writes that fail
// part-way, batch files that are broken in every way a file can be, and a reader that stops early.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/file_output.h"
#include "entry/sample.h"
#include "run/chart_run.h"
#include "report/house_report.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Outcome {
  int status;  // exit status, or 128 + the signal that ended the program
  std::string out;
  std::string err;
  double seconds;
};

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Test cases run as parallel processes: every file a case makes carries the process id.
class Faults : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(::testing::TempDir()) / ("solvane_faults_" + std::to_string(getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path Path(const std::string& name) const { return dir_ / name; }

  // `command` through the shell, its standard error caught in a file.
  Outcome Shell(const std::string& command) const {
    const fs::path err = Path("stderr.txt");
    const auto start = Clock::now();
    FILE* pipe = popen(("(" + command + ") 2>" + err.string()).c_str(), "r");
    Outcome run{};
    std::array<char, 65536> buffer;
    for (std::size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
      run.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.err = Slurp(err);
    return run;
  }

  Outcome Chart(const std::string& args) const {
    return Shell(std::string(SOLVANE_CHART_EXE) + " " + args);
  }

  // A batch file of exactly these bytes.
  Outcome Batch(const std::string& csv) const {
    const fs::path file = Path("batch.csv");
    std::ofstream(file, std::ios::binary) << csv;
    return Chart("--batch " + file.string());
  }

  fs::path dir_;
};

std::vector<std::string> Lines(const std::string& out) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(out.substr(start, end - start));
  EXPECT_EQ(start, out.size()) << "the output ends inside a line";
  return lines;
}

// Every line parses on its own (nlohmann rejects malformed UTF-8 too).
std::vector<nlohmann::json> JsonLines(const std::string& out) {
  std::vector<nlohmann::json> parsed;
  for (const std::string& line : Lines(out)) {
    EXPECT_TRUE(nlohmann::json::accept(line)) << line.substr(0, 300);
    if (nlohmann::json::accept(line)) parsed.push_back(nlohmann::json::parse(line));
  }
  return parsed;
}

std::size_t Entries(const fs::path& dir) {
  return static_cast<std::size_t>(
      std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

TEST_F(Faults, ReportIntoAFolderThatIsNotThereLeavesNothing) {
  std::ofstream(Path("plain_file"), std::ios::binary) << "not a folder";
  struct Case {
    std::string args;
    const char* says;
  };
  const Case cases[] = {
      {"--sample --report " + Path("missing/r.rtf").string(), "cannot write in the folder"},
      {"--sample --report " + Path("missing/deeper/r.rtf").string(), "cannot write in the folder"},
      {"--sample --report " + Path("plain_file/r.rtf").string(), "cannot write in the folder"},
      {"--sample --report " + Path("missing").string() + "/", "names a folder"},
      {"--batch - --report " + Path("missing").string() + " </dev/null", "is not a folder"},
      {"--batch - --report " + Path("plain_file").string() + " </dev/null", "is not a folder"},
  };
  for (const Case& c : cases) {
    const Outcome r = Chart(c.args);
    EXPECT_EQ(r.status, 1) << c.args << "\n" << r.err;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << c.args << "\n" << r.err;
    EXPECT_EQ(r.out, "") << c.args;
    // Nothing appeared: no folder made on the way, no temporary file, the plain file untouched.
    EXPECT_FALSE(fs::exists(Path("missing"))) << c.args;
    EXPECT_EQ(Entries(dir_), 2u) << c.args;  // plain_file and the caught standard error
    EXPECT_EQ(Slurp(Path("plain_file")), "not a folder");
  }
}

// The report as --report writes it, onto a file that exists, with the write failing at several
// points. The old file stays byte for byte, and the half-written copy is gone.
TEST_F(Faults, ReportWriteFailingPartWayKeepsTheOldFile) {
  solvane::core::ChartState state;
  solvane::display::ChartWindowModel window;
  ASSERT_FALSE(solvane::run::RunChart(solvane::entry::SampleBirth(),
                                       solvane::display::EnglishMonthName, state, window));
  const std::string rtf =
      solvane::report::FramedReportRtf(solvane::report::PlainText(window.RTBHouseDesc));
  ASSERT_GT(rtf.size(), 1000u);

  const fs::path target = Path("report.rtf");
  const std::string old_bytes = std::string("{\\rtf1 an older report}\r\n\0\xff", 28);
  struct Case {
    const char* what;
    std::size_t written_before_failure;
    int error;  // 0: the write call reports nothing written
  };
  const Case cases[] = {
      {"fails on the first byte", 0, ENOSPC},
      {"fails after one byte", 1, EIO},
      {"fails half-way", rtf.size() / 2, ENOSPC},
      {"fails on the last byte", rtf.size() - 1, EDQUOT},
      {"stops writing half-way", rtf.size() / 2, 0},
  };
  for (const Case& c : cases) {
    std::ofstream(target, std::ios::binary) << old_bytes;
    chmod(target.c_str(), 0640);
    std::size_t written = 0;
    // Writes at most 100 bytes a call, as a pipe or a full disk may, until the failure point.
    const solvane::cli::WriteCall failing = [&](int fd, const void* data,
                                                std::size_t size) -> ssize_t {
      const std::size_t room = c.written_before_failure - written;
      if (room == 0) {
        if (c.error == 0) return 0;
        errno = c.error;
        return -1;
      }
      const ssize_t n = write(fd, data, std::min({size, room, std::size_t{100}}));
      if (n > 0) written += static_cast<std::size_t>(n);
      return n;
    };
    const std::string error = solvane::cli::WriteFileReplacing(target.string(), rtf, failing);
    EXPECT_NE(error, "") << c.what;
    EXPECT_NE(error.find(target.string()), std::string::npos) << c.what << ": " << error;
    if (c.error != 0) {
      EXPECT_NE(error.find(std::strerror(c.error)), std::string::npos) << error;
    }
    EXPECT_EQ(written, c.written_before_failure) << c.what;
    EXPECT_EQ(Slurp(target), old_bytes) << c.what;
    struct stat st {};
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u) << c.what;
    EXPECT_EQ(Entries(dir_), 1u) << c.what << ": the temporary copy is left behind";
  }
  // With nothing failing the same call replaces the file whole.
  EXPECT_EQ(solvane::cli::WriteFileReplacing(target.string(), rtf), "");
  EXPECT_EQ(Slurp(target), rtf);
}

constexpr const char* kHeader = "name,date,time,zone,lon,lat,city\n";
constexpr const char* kGoodRow = "GOOD,1980-08-15,06:30,IST,77E13,28N36,Delhi\n";

TEST_F(Faults, BatchWithoutAHeaderIsRefusedAsAWhole) {
  const Outcome r = Batch(std::string(kGoodRow) + kGoodRow);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("unknown column 'GOOD' in the header"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("the columns are name, date"), std::string::npos) << r.err;
}

// Each broken row is answered on its own line and the rows after it are still charted.
TEST_F(Faults, BrokenRowsAreAnsweredOneByOne) {
  struct Case {
    const char* what;
    std::string row;
    const char* error;  // part of the row's error, or "" when the row is charted
  };
  const Case cases[] = {
      {"too few fields", "SHORT,1980-08-15\n", "the row has 2 fields; the header has 7"},
      {"too many fields", "LONG,1980-08-15,06:30,IST,77E13,28N36,Delhi,extra\n",
       "the row has 8 fields"},
      {"text after a closing quote", "\"Q\"x,1980-08-15,06:30,IST,77E13,28N36,Delhi\n",
       "unexpected text after a closing quote"},
      {"malformed UTF-8 in the name",
       "\xff\xfe\xc3(,1980-08-15,06:30,IST,77E13,28N36,\xed\xa0\x80\n", ""},
      {"malformed UTF-8 in the date", "U,1980-08\xc3-15,06:30,IST,77E13,28N36,Delhi\n",
       "date: expected YYYY-MM-DD"},
      {"a NUL in the name", std::string("N\0L,1980-08-15,06:30,IST,77E13,28N36,Delhi\n", 43), ""},
      {"a NUL in the zone", std::string("N,1980-08-15,06:30,IS\0T,77E13,28N36,Delhi\n", 42),
       "zone: unknown zone"},
      {"a NUL in the time",
       std::string("N,1980-08-15,06:\0"
                   "30,IST,77E13,28N36,Delhi\n",
                   42),
       "time: expected HH:MM"},
  };
  for (const Case& c : cases) {
    const Outcome r = Batch(std::string(kHeader) + c.row + kGoodRow);
    const bool refused = c.error[0] != '\0';
    EXPECT_EQ(r.status, refused ? 2 : 0) << c.what << "\n" << r.err;
    const auto lines = JsonLines(r.out);
    ASSERT_EQ(lines.size(), 2u) << c.what;
    EXPECT_EQ(lines[0]["line"], 2) << c.what;
    if (refused) {
      ASSERT_TRUE(lines[0].contains("error")) << c.what;
      EXPECT_NE(lines[0]["error"].get<std::string>().find(c.error), std::string::npos)
          << c.what << ": " << lines[0]["error"];
      EXPECT_NE(r.err.find("1 of 2 rows refused"), std::string::npos) << c.what << "\n" << r.err;
    } else {
      EXPECT_FALSE(lines[0].contains("error")) << c.what << ": " << lines[0]["error"];
    }
    EXPECT_EQ(lines[1]["line"], 3) << c.what;
    EXPECT_EQ(lines[1]["PositionStrings"][10], "06 Leo 28") << c.what;
  }
}

TEST_F(Faults, MalformedUtf8ComesOutAsReplacementCharacters) {
  const Outcome r = Batch(std::string(kHeader) +
                          "A\xff"
                          "B,1980-08-15,06:30,IST,77E13,28N36,\xc3\n");
  ASSERT_EQ(r.status, 0) << r.err;
  const auto lines = JsonLines(r.out);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0]["BirthData"]["Name"],
            "A\xEF\xBF\xBD"
            "B");
  EXPECT_EQ(lines[0]["lblCity"], "\xEF\xBF\xBD");
}

TEST_F(Faults, BatchWithANulByteNameKeepsIt) {
  const Outcome r =
      Batch(std::string(kHeader) + std::string("A\0B,1980-08-15,06:30,IST,77E13,28N36,X\n", 38));
  ASSERT_EQ(r.status, 0) << r.err;
  const auto lines = JsonLines(r.out);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0]["BirthData"]["Name"], std::string("A\0B", 3));
}

// A ten-megabyte field in each kind of column: the free text is kept, a value is refused with a
// short message, an unclosed quote swallows the rest of the file; all in reasonable time.
TEST_F(Faults, TenMegabyteFields) {
  const std::string huge(10 << 20, '7');
  struct Case {
    const char* what;
    std::string row;
    std::size_t lines;
    const char* error;
  };
  const Case cases[] = {
      {"name", std::string(10 << 20, 'N') + ",1980-08-15,06:30,IST,77E13,28N36,Delhi\n", 2, ""},
      {"date", "D," + huge + ",06:30,IST,77E13,28N36,Delhi\n", 2, "date: expected YYYY-MM-DD"},
      {"longitude", "L,1980-08-15,06:30,IST," + huge + "E13,28N36,Delhi\n", 2,
       "lon: expected degrees"},
      {"zone", "Z,1980-08-15,06:30," + huge + ",77E13,28N36,Delhi\n", 2, "zone position"},
      {"unclosed quote", "\"" + huge + "\n", 1, "is never closed"},
  };
  for (const Case& c : cases) {
    const Outcome r = Batch(std::string(kHeader) + c.row + kGoodRow);
    EXPECT_LT(r.seconds, 60) << c.what;
    const auto lines = JsonLines(r.out);
    ASSERT_EQ(lines.size(), c.lines) << c.what << "\n" << r.err;
    if (c.error[0] == '\0') {
      EXPECT_EQ(lines[0]["BirthData"]["Name"].get<std::string>().size(), 10u << 20) << c.what;
    } else {
      const std::string error = lines[0]["error"];
      EXPECT_NE(error.find(c.error), std::string::npos) << c.what << ": " << error.substr(0, 200);
      EXPECT_LT(error.size(), 300u) << c.what << ": the message repeats the field";
    }
    if (c.lines == 2) {
      EXPECT_EQ(lines[1]["PositionStrings"][10], "06 Leo 28") << c.what;
    }
  }
}

// `solvane-chart --batch FILE | head -n 3`: head takes three whole lines and leaves; the program
// ends quietly, the way any filter does, also when the shell has SIGPIPE ignored.
TEST_F(Faults, ReaderThatStopsEarly) {
  if (access("/bin/bash", X_OK) != 0) GTEST_SKIP() << "needs bash for PIPESTATUS";
  std::string csv = kHeader;
  for (int i = 0; i < 3000; ++i)
    csv += "P" + std::to_string(i) + ",1980-08-15,06:30,IST,77E13,28N36,Delhi\n";
  std::ofstream(Path("rows.csv"), std::ios::binary) << csv;
  struct Case {
    const char* what;
    const char* before;
  };
  const Case cases[] = {{"SIGPIPE as inherited", ""},
                        {"SIGPIPE ignored by the shell", "trap '' PIPE\n"}};
  for (const Case& c : cases) {
    std::ofstream(Path("pipeline.sh"))
        << c.before << "'" << SOLVANE_CHART_EXE << "' --batch '" << Path("rows.csv").string()
        << "' 2>'" << Path("chart_err.txt").string() << "' | head -n 3\n"
        << "echo \"${PIPESTATUS[0]}\" >'" << Path("status.txt").string() << "'\n";
    const Outcome r = Shell("/bin/bash '" + Path("pipeline.sh").string() + "'");
    EXPECT_EQ(r.status, 0) << c.what;
    EXPECT_LT(r.seconds, 60) << c.what;
    EXPECT_EQ(Slurp(Path("chart_err.txt")), "") << c.what;
    EXPECT_EQ(r.err, "") << c.what;
    // Ended by the closed pipe, as the shell reports it: not a failure message, not success.
    EXPECT_EQ(Slurp(Path("status.txt")), "141\n") << c.what;
    const auto lines = JsonLines(r.out);
    ASSERT_EQ(lines.size(), 3u) << c.what;
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(lines[i]["line"], i + 2) << c.what;
      EXPECT_EQ(lines[i]["BirthData"]["Name"], "P" + std::to_string(i)) << c.what;
    }
  }
}

}  // namespace
