// solvane-chart when things go wrong around it: targets that cannot be written, writes that fail
// part-way, batch files that are broken in every way a file can be, and a reader that stops early.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/file_output.h"
#include "entry/sample.h"
#include "report/house_report.h"
#include "run/chart_run.h"

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
  ASSERT_TRUE(solvane::run::RunChart(solvane::entry::SampleBirth(),
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
    const solvane::core::Result<void> replaced =
        solvane::cli::WriteFileReplacing(target.string(), rtf, failing);
    ASSERT_FALSE(replaced) << c.what;
    const std::string& error = replaced.error().message;
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
  EXPECT_TRUE(solvane::cli::WriteFileReplacing(target.string(), rtf));
  EXPECT_EQ(Slurp(target), rtf);
}

// A number written in letters (0 as A, 1 as B ...), for names the form takes.
std::string Letters(int n) {
  std::string out;
  do {
    out.insert(out.begin(), static_cast<char>('A' + n % 10));
    n /= 10;
  } while (n > 0);
  return out;
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
       "\xff\xfe\xc3(,1980-08-15,06:30,IST,77E13,28N36,\xed\xa0\x80\n",
       "Please Enter only Letters"},
      {"malformed UTF-8 in the city", "U,1980-08-15,06:30,IST,77E13,28N36,\xed\xa0\x80\n", ""},
      {"malformed UTF-8 in the date", "U,1980-08\xc3-15,06:30,IST,77E13,28N36,Delhi\n",
       "date: expected YYYY-MM-DD"},
      {"a NUL in the name", std::string("N\0L,1980-08-15,06:30,IST,77E13,28N36,Delhi\n", 43),
       "NUL byte"},
      {"a NUL in the zone", std::string("N,1980-08-15,06:30,IS\0T,77E13,28N36,Delhi\n", 42),
       "NUL byte"},
      {"a NUL in a quoted city",
       std::string("N,1980-08-15,06:30,IST,77E13,28N36,\"D") + '\0' + "\"\n", "NUL byte"},
      {"a carriage return alone", "N,1980-08-15,06:30,IST,77E13,28N36,De\rlhi\n",
       "carriage return alone"},
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
                          "AB,1980-08-15,06:30,IST,77E13,28N36,\xc3"
                          "D\xff\n");
  ASSERT_EQ(r.status, 0) << r.err;
  const auto lines = JsonLines(r.out);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0]["lblCity"],
            "\xEF\xBF\xBD"
            "D\xEF\xBF\xBD");
}

// Long fields in each kind of column: under the row limit the free text is kept and a value is
// refused with a short message; over it the row is refused as too long without being held; an
// unclosed quote swallows the rest of the file. All in reasonable time.
TEST_F(Faults, LongFields) {
  const std::string half(512 << 10, '7');
  const std::string huge(10 << 20, '7');
  struct Case {
    const char* what;
    std::string row;
    std::size_t lines;
    const char* error;
  };
  const Case cases[] = {
      {"name", std::string(512 << 10, 'N') + ",1980-08-15,06:30,IST,77E13,28N36,Delhi\n", 2, ""},
      {"date", "D," + half + ",06:30,IST,77E13,28N36,Delhi\n", 2, "date: expected YYYY-MM-DD"},
      {"longitude", "L,1980-08-15,06:30,IST," + half + "E13,28N36,Delhi\n", 2,
       "lon: expected degrees"},
      {"zone", "Z,1980-08-15,06:30," + half + ",77E13,28N36,Delhi\n", 2, "zone position"},
      {"ten-megabyte name", std::string(10 << 20, 'N') + ",1980-08-15,06:30,IST,77E13,28N36,X\n", 2,
       "longer than 1 MiB"},
      {"ten-megabyte date", "D," + huge + ",06:30,IST,77E13,28N36,Delhi\n", 2, "longer than 1 MiB"},
      {"unclosed quote", "\"" + huge + "\n", 1, "longer than 1 MiB"},
      {"short unclosed quote", "\"" + half + "\n", 1, "is never closed"},
  };
  for (const Case& c : cases) {
    const Outcome r = Batch(std::string(kHeader) + c.row + kGoodRow);
    EXPECT_LT(r.seconds, 60) << c.what;
    const auto lines = JsonLines(r.out);
    ASSERT_EQ(lines.size(), c.lines) << c.what << "\n" << r.err;
    if (c.error[0] == '\0') {
      EXPECT_EQ(lines[0]["BirthData"]["Name"].get<std::string>().size(), 512u << 10) << c.what;
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
    csv += "P" + Letters(i) + ",1980-08-15,06:30,IST,77E13,28N36,Delhi\n";
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
      EXPECT_EQ(lines[i]["BirthData"]["Name"], "P" + Letters(i)) << c.what;
    }
  }
}

// Inputs that cannot be read as a batch: a message and status 1, never an abort. Files in the
// wrong shape are refused as a bad header would be, with a message that says what is wrong.
TEST_F(Faults, BatchInputsThatCannotBeRead) {
  std::ofstream(Path("utf16.csv"), std::ios::binary)
      << std::string("\xFF\xFEn\0a\0m\0e\0\n\0A\0\n\0", 16);
  std::ofstream(Path("mac.csv"), std::ios::binary) << "name,lon,lat\rA,0E0,0N0\r";
  std::ofstream(Path("locked.csv"), std::ios::binary) << "name\nA\n";
  chmod(Path("locked.csv").c_str(), 0);
  struct Case {
    std::string args;
    int status;
    const char* says;
  };
  std::vector<Case> cases = {
      {"--batch " + dir_.string(), 1, "is a folder, not a CSV file"},
      {"--batch /proc/self/mem", 1, "cannot read '/proc/self/mem'"},  // fails on reading
      {"--batch - <&-", 1, "cannot read standard input"},
      {"--batch " + Path("utf16.csv").string(), 2, "UTF-16"},
      {"--batch " + Path("mac.csv").string(), 2, "carriage return alone"},
  };
  if (geteuid() != 0)  // the superuser reads any file
    cases.push_back({"--batch " + Path("locked.csv").string(), 1, "Permission denied"});
  for (const Case& c : cases) {
    const Outcome r = Chart(c.args);
    EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << c.args << "\n" << r.err;
    EXPECT_EQ(r.out, "") << c.args;
  }
}

// `solvane-chart --batch -` fed through a pipe that stays open: each row is answered while the
// input is still open, as a filter in a pipeline must.
TEST_F(Faults, BatchAnswersWhileTheInputIsOpen) {
  int in[2], out[2];
  ASSERT_EQ(pipe(in), 0);
  ASSERT_EQ(pipe(out), 0);
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    dup2(in[0], STDIN_FILENO);
    dup2(out[1], STDOUT_FILENO);
    for (const int fd : {in[0], in[1], out[0], out[1]}) close(fd);
    execl(SOLVANE_CHART_EXE, "solvane-chart", "--batch", "-", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  // A line of output, or "" when none comes within a minute (the program would be waiting for the
  // input to end).
  const auto next_line = [&]() {
    std::string line;
    pollfd ready{out[0], POLLIN, 0};
    char c;
    while (poll(&ready, 1, 60000) > 0 && read(out[0], &c, 1) == 1) {
      if (c == '\n') return line;
      line += c;
    }
    return std::string();
  };
  const std::string rows[] = {"name,lon,lat\nA,0E0,0N0\n", "B,1E0,0N0\n"};
  ASSERT_EQ(write(in[1], rows[0].data(), rows[0].size()), static_cast<ssize_t>(rows[0].size()));
  const std::string first = next_line();
  ASSERT_TRUE(nlohmann::json::accept(first)) << "'" << first << "'";
  EXPECT_EQ(nlohmann::json::parse(first)["line"], 2);
  ASSERT_EQ(write(in[1], rows[1].data(), rows[1].size()), static_cast<ssize_t>(rows[1].size()));
  const std::string second = next_line();
  ASSERT_TRUE(nlohmann::json::accept(second)) << "'" << second << "'";
  EXPECT_EQ(nlohmann::json::parse(second)["BirthData"]["LongitudeDeg"], 1);
  close(in[1]);
  EXPECT_EQ(next_line(), "");  // the end of the output
  close(out[0]);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

// --report writes only a regular file, or through a link to one; anything else keeps its kind and
// its content. A long name the file system takes is taken.
TEST_F(Faults, ReportTargetsThatMustBeLeftAlone) {
  ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0600), 0);
  std::ofstream(Path("read_only.rtf")) << "kept";
  chmod(Path("read_only.rtf").c_str(), 0444);
  std::ofstream(Path("target.rtf")) << "old";
  fs::create_symlink("target.rtf", Path("link.rtf"));
  const std::string long_name(250, 'r');
  struct Case {
    std::string target;
    int status;
    const char* says;
  };
  const Case cases[] = {
      {Path("fifo").string(), 1, "is a device, FIFO or socket"},
      {"/dev/null", 1, "is a device, FIFO or socket"},
      {Path("read_only.rtf").string(), 1, "is read-only"},
      {Path("link.rtf").string(), 0, ""},
      {Path(long_name).string(), 0, ""},
  };
  for (const Case& c : cases) {
    const Outcome r = Chart("--sample --report '" + c.target + "'");
    EXPECT_EQ(r.status, c.status) << c.target << "\n" << r.err;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << c.target << "\n" << r.err;
    EXPECT_EQ(r.out.empty(), c.status != 0) << c.target;
  }
  EXPECT_EQ(fs::status(Path("fifo")).type(), fs::file_type::fifo);
  EXPECT_EQ(fs::status("/dev/null").type(), fs::file_type::character);
  EXPECT_EQ(Slurp(Path("read_only.rtf")), "kept");
  EXPECT_TRUE(fs::is_symlink(Path("link.rtf")));
  EXPECT_EQ(Slurp(Path("target.rtf")).rfind("{\\rtf1", 0), 0u);
  EXPECT_EQ(Slurp(Path(long_name)).rfind("{\\rtf1", 0), 0u);
}

// Every output into a full disk says so and ends with status 1.
TEST_F(Faults, WritesIntoAFullDisk) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  std::ofstream(Path("rows.csv")) << kHeader << kGoodRow;
  const std::string cases[] = {
      "--list-zones",
      "--help",
      "--version",
      "--find-place Delhi",
      "--sample",
      "--sample --format json --report-text",
      "--batch " + Path("rows.csv").string(),
  };
  for (const std::string& args : cases) {
    const Outcome r = Chart(args + " >/dev/full");
    EXPECT_EQ(r.status, 1) << args << "\n" << r.err;
    EXPECT_NE(r.err.find(std::string("cannot write the output: ") + std::strerror(ENOSPC)),
              std::string::npos)
        << args << "\n"
        << r.err;
  }
}

// A batch row whose report cannot be written: the error shape on its line, status 1.
TEST_F(Faults, BatchReportThatCannotBeWritten) {
  fs::create_directories(Path("reports") / "2-GOOD.rtf");
  std::ofstream(Path("rows.csv")) << kHeader << kGoodRow << "OTHER" << (kGoodRow + 4);
  const Outcome r =
      Chart("--batch " + Path("rows.csv").string() + " --report " + Path("reports").string());
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.err.find("1 of 2 rows' reports could not be written"), std::string::npos) << r.err;
  const auto lines = JsonLines(r.out);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].size(), 2u) << lines[0];
  EXPECT_EQ(lines[0]["line"], 2);
  EXPECT_NE(lines[0]["error"].get<std::string>().find("names a folder"), std::string::npos);
  EXPECT_TRUE(fs::is_regular_file(Path("reports") / "3-OTHER.rtf"));
}

// Control characters given in the place or in a refused value come out escaped: nothing from
// the input can move, recolour or clear the terminal.
TEST_F(Faults, TerminalSafeText) {
  const Outcome r =
      Chart("--sample --city '\x1b[31mRED\r' --state 'two\nlines' --country '\xc2\x9b\x7f'");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Place           \\x1b[31mRED\\r, two\\nlines, \\u009b\\x7f\n"),
            std::string::npos)
      << r.out;
  const Outcome refused = Chart("--sample --date '\x1b]0;title\x07'");
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("got '\\x1b]0;title\\x07'"), std::string::npos) << refused.err;
  const Outcome unparsed = Chart("--sample --format '\x1b[2J' '\x1b[31m'");
  EXPECT_EQ(unparsed.status, 2);
  EXPECT_NE(unparsed.err.find("\\x1b[2J"), std::string::npos) << unparsed.err;
  for (const std::string* text : {&r.out, &refused.err, &unparsed.err}) {
    for (const char c : *text) {
      const auto byte = static_cast<unsigned char>(c);
      EXPECT_TRUE(byte >= 0x20 || c == '\n') << static_cast<int>(byte);
      EXPECT_NE(byte, 0x7f);
    }
    EXPECT_EQ(text->find("\xc2\x9b"), std::string::npos);
  }
}

}  // namespace
