// The solvane-chart program as a user runs it: exit codes, where messages go, the outputs.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/chart_process.h"

namespace {

using solvane::testing::ChartRun;

ChartRun Chart(const std::string& args, const std::string& input = "") {
  // Test cases run as parallel processes: each needs files of its own.
  return solvane::testing::RunChartProgram(
      args, input, ::testing::TempDir() + "solvane_chart_" + std::to_string(getpid()));
}

TEST(SolvaneChart, JsonOfTheLondonBirth) {
  const ChartRun r = Chart(
      "--name TEST --date 2000-01-01 --time 12:00 --zone 29 --lon 0E0 --lat 51N30 --format json");
  ASSERT_EQ(r.status, 0) << r.err;
  const auto j = nlohmann::json::parse(r.out);
  const std::vector<std::string> want = {
      "16 Sag 31", "19 Lib 27", "08 Sag 03", "07 Sco 43", "04 Aqu 07", "01 Ari 30", "16 Ari 21",
      "20 Cap 56", "09 Cap 20", "17 Sco 36", "00 Ari 26", "15 Sag 45", "10 Can 11", "10 Cap 11"};
  EXPECT_EQ(j["PositionStrings"].get<std::vector<std::string>>(), want);
  EXPECT_EQ(j["RashiName"], "Libra (Thula)");
  EXPECT_EQ(j["BirthData"]["East"], -1);
  EXPECT_EQ(j["BirthData"]["LatitudeDeg"], 51);
  EXPECT_EQ(j["AscendantString"], "0\xC2\xB0 26' 38\" Ari");
  EXPECT_EQ(j["BodyNames"][6], "Saturn (R) ");
}

TEST(SolvaneChart, ExitCodesAndMessages) {
  struct Case {
    const char* args;
    int status;
    const char* err_says;
  };
  const Case cases[] = {
      {"--sample", 0, ""},
      {"--sample --format json --zone IST", 0, ""},
      {"--sample --date 2001-02-29", 2, "Please Enter Correct Date Or Month!"},
      {"--sample --lon 180E0", 2,
       "Please Enter Value Between 0 And 179 in the Degree of Longitude"},
      {"--sample --name ' '", 2, "Please Enter Name"},
      {"--sample --date 1980/08/15", 2, "--date: expected YYYY-MM-DD"},
      {"--sample --zone NST", 2, "ambiguous"},
      {"--sample --format xml", 2, "usage:"},
      {"--no-such-flag", 2, "usage:"},
      {"--batch /no/such/file.csv", 1, "cannot open"},
      {"--batch - --name X", 2, "--batch takes its births from the file"},
      {"--version", 0, ""},
      {"--help", 0, ""},
      // Leading zeros in a zone position, and --dst with the batch's spellings.
      {"--sample --zone 070", 0, ""},
      {"--sample --dst=no", 0, ""},
      {"--sample --dst No", 0, ""},
      {"--sample --dst maybe", 2, "--dst: expected 1/0, true/false, yes/no"},
      // A name of blanks and tabs is no name.
      {"--sample --name ' \t '", 2, "Please Enter Name"},
      // Flags that cannot go together, each message naming both.
      {"--find-place Delhi --name X", 2, "--find-place and --name cannot go together"},
      {"--find-place Delhi --sample", 2, "--find-place and --sample cannot go together"},
      {"--find-place Delhi --report r.rtf", 2, "--find-place and --report cannot go together"},
      {"--find-place Delhi --list-zones", 2, "--find-place and --list-zones cannot go together"},
      {"--list-zones --dst", 2, "--list-zones and --dst cannot go together"},
      {"--list-zones --format json", 2, "--list-zones and --format cannot go together"},
      {"--list-zones --batch -", 2, "--list-zones and --batch cannot go together"},
      {"--batch - --sample", 2, "--batch and --sample cannot go together"},
      {"--batch - --dst", 2, "--batch and --dst cannot go together"},
      {"--batch - --format text", 2, "--batch and --format text cannot go together"},
      {"--batch - --report-text", 2, "--batch and --report-text cannot go together"},
      // Empty names, and names of blanks and tabs only.
      {"--sample --report ''", 2, "--report: no file name given"},
      {"--sample --report ' \t'", 2, "--report: no file name given"},
      {"--batch ''", 2, "--batch: no file name given"},
      {"--find-place ''", 2, "--find-place: no place given"},
      {"--find-place '  '", 2, "--find-place: no place given"},
      // Rows charted at once: with --batch only, 1 to 16.
      {"--sample --jobs 2", 2, "--jobs goes with --batch only"},
      {"--batch - --jobs 0", 2, "--jobs"},
      {"--batch - --jobs 17", 2, "--jobs"},
  };
  for (const Case& c : cases) {
    const ChartRun r = Chart(c.args);
    EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
    EXPECT_NE(r.err.find(c.err_says), std::string::npos) << c.args << "\n" << r.err;
    if (c.status != 0) {
      EXPECT_EQ(r.out, "") << c.args;
    }
  }
}

// --dst takes the spellings of a batch's dst column; alone it means yes.
TEST(SolvaneChart, DaylightSavingSpellings) {
  struct Case {
    const char* flag;
    int want;  // BirthData.DaylightSaving: -1 yes, 0 no
  };
  const Case cases[] = {{"", 0},
                        {"--dst", -1},
                        {"--dst=yes", -1},
                        {"--dst 1", -1},
                        {"--dst TRUE", -1},
                        {"--dst=no", 0},
                        {"--dst 0", 0},
                        {"--dst False", 0},
                        {"--dst ''", 0},
                        {"--dst --lat 28N36", -1}};
  for (const Case& c : cases) {
    const ChartRun r = Chart(std::string("--sample --format json ") + c.flag);
    ASSERT_EQ(r.status, 0) << c.flag << "\n" << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out)["BirthData"]["DaylightSaving"], c.want) << c.flag;
  }
}

TEST(SolvaneChart, SampleAsText) {
  const ChartRun r = Chart("--sample");
  ASSERT_EQ(r.status, 0);
  for (const char* part :
       {"SAMPLE CHART", "1980-08-15", "Indian Time, IST, +5.3", "28\xC2\xB0 36' N",
        "77\xC2\xB0 13' E", "Moon sign", "Ascendant", "06 Leo 28", "Ketu"})
    EXPECT_NE(r.out.find(part), std::string::npos) << part << "\n" << r.out;
}

// The same lines and the same summary on one thread as on several (--jobs).
TEST(SolvaneChart, BatchFromStandardInput) {
  const std::string csv =
      "name,date,time,zone,lon,lat\n"
      "A,2000-01-01,12:00,GMT,0E0,51N30\n"
      "B,2000-02-30,12:00,GMT,0E0,51N30\n"
      "C,1980-08-15,06:30,IST,77E13,28N36\n";
  const ChartRun r = Chart("--batch -", csv);
  for (const char* jobs : {"--jobs 1", "--jobs 3"}) {
    const ChartRun other = Chart(std::string("--batch - ") + jobs, csv);
    EXPECT_EQ(other.status, r.status) << jobs;
    EXPECT_EQ(other.out, r.out) << jobs;
    EXPECT_EQ(other.err, r.err) << jobs;
  }
  EXPECT_EQ(r.status, 2);  // one row refused
  EXPECT_NE(r.err.find("1 of 3 rows refused"), std::string::npos) << r.err;
  std::vector<nlohmann::json> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = r.out.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(nlohmann::json::parse(r.out.substr(start, end - start)));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0]["PositionStrings"][0], "16 Sag 31");
  EXPECT_EQ(lines[1]["line"], 3);
  EXPECT_TRUE(lines[1].contains("error"));
  EXPECT_EQ(lines[2]["PositionStrings"][10], "06 Leo 28");
}

}  // namespace

namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SolvaneChart, ChartWindowTextsInJson) {
  const ChartRun r = Chart(
      "--name TEST --date 2000-01-01 --time 12:00 --zone GMT --lon 0E0 --lat 51N30 --city London "
      "--format json");
  ASSERT_EQ(r.status, 0) << r.err;
  const auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["lblSunSign"], "Sagittarius");
  EXPECT_EQ(j["lblLagna"], "Aries (Mesha)");
  EXPECT_EQ(j["lblRashi"], "Libra (Thula)");
  EXPECT_EQ(j["lblDOB"], "January/1/2000");
  EXPECT_EQ(j["lblTOB"], "12:0");
  EXPECT_EQ(j["lblLatitude"], "51\xC2\xB0 30' N");
  EXPECT_EQ(j["lblCity"], "London");
  EXPECT_EQ(j["lblPlanet"].size(), 11u);
  EXPECT_EQ(j["lblNatal"][0], "\r\nJupiter\r\nSaturn (R) \r\nAsc");
  EXPECT_EQ(j["imgSign"][0], 1);
  EXPECT_EQ(j["imgSign"][11], 12);
  EXPECT_EQ(j["ReportHouses"]["Jupiter"], 1);
  EXPECT_EQ(j["ReportHouses"]["Moon"], 7);
  EXPECT_EQ(j["ReportSections"][0]["house"], 1);
  EXPECT_EQ(j["ReportSections"][0]["planets"], (nlohmann::json{"Jupiter", "Saturn"}));
}

TEST(SolvaneChart, ReportFileIsTheFramedCopy) {
  const std::string path =
      ::testing::TempDir() + "solvane_report_" + std::to_string(getpid()) + ".rtf";
  const ChartRun r = Chart("--sample --format json --report-text --report " + path);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string report = nlohmann::json::parse(r.out)["ReportText"];
  const std::string header = "Report Generated By https://www.solvane.app\r\n\r\n";
  std::string framed = header + report + header;
  const std::string rtf = Slurp(path);
  EXPECT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
  EXPECT_NE(rtf.find("Verdana"), std::string::npos);

  if (access("/usr/bin/unrtf", X_OK) != 0) {
    std::remove(path.c_str());
    GTEST_SKIP() << "unrtf is not installed";
  }
  // unrtf writes a header of its own, then the text with LF line breaks.
  FILE* pipe = popen(("/usr/bin/unrtf --text " + path + " 2>/dev/null").c_str(), "r");
  std::string text;
  std::array<char, 4096> buffer;
  for (std::size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
    text.append(buffer.data(), n);
  pclose(pipe);
  std::remove(path.c_str());
  const std::string rule = "-----------------\n";
  ASSERT_NE(text.find(rule), std::string::npos) << text.substr(0, 300);
  text = text.substr(text.find(rule) + rule.size());
  std::string want;
  for (const char c : framed)
    if (c != '\r') want += c;
  EXPECT_EQ(text, want);
}

TEST(SolvaneChart, ReportFailuresKeepTheOldFile) {
  const std::string path =
      ::testing::TempDir() + "solvane_keep_" + std::to_string(getpid()) + ".rtf";
  std::ofstream(path, std::ios::binary) << "precious";
  const ChartRun missing_folder = Chart("--sample --report /no/such/folder/r.rtf");
  EXPECT_EQ(missing_folder.status, 1);
  EXPECT_NE(missing_folder.err.find("cannot write in the folder"), std::string::npos)
      << missing_folder.err;
  const ChartRun refused = Chart("--sample --lat 95N0 --report " + path);
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(Slurp(path), "precious");
  std::remove(path.c_str());
}

TEST(SolvaneChart, BatchWritesOneReportPerRow) {
  const std::string dir = ::testing::TempDir() + "solvane_batch_" + std::to_string(getpid());
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const ChartRun r =
      Chart("--batch - --report " + dir,
            "name,date,lon,lat\nASHA RAO,1980-08-15,77E13,28N36\n.O'BRIEN,2000-01-01,0E0,0N0\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(std::filesystem::exists(dir + "/2-ASHA_RAO.rtf"));
  EXPECT_TRUE(std::filesystem::exists(dir + "/3-O_BRIEN.rtf"));
  EXPECT_NE(r.out.find("\"report\":\"" + dir + "/2-ASHA_RAO.rtf\""), std::string::npos) << r.out;
  std::filesystem::remove_all(dir);
  const ChartRun no_folder = Chart("--batch - --report /no/such/folder", "name\nA\n");
  EXPECT_EQ(no_folder.status, 1);
  EXPECT_NE(no_folder.err.find("is not a folder"), std::string::npos);
}

}  // namespace

namespace {

// The period lines of the text output that carry the running mark.
std::vector<std::string> MarkedLines(const std::string& out) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < out.size()) {
    const std::size_t end = out.find('\n', start);
    const std::string line = out.substr(start, end - start);
    if (line.find("(running on ") != std::string::npos) lines.push_back(line);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

}  // namespace

TEST(SolvaneChart, MarksThePeriodsRunningOnADate) {
  // The sample's periods (printed by the same run without a mark): Mars 1986-01-31 to 1993-01-31,
  // within it Mercury 1989-08-01 to 1990-07-30 and Ketu from 1990-07-30. On the day one period
  // hands over, the next is the one running.
  struct Case {
    const char* date;
    std::vector<std::string> marked;
  } cases[] = {
      {"1990-07-01",
       {"  Mars      1986-01-31 to 1993-01-31  (running on 1990-07-01)",
        "    Mercury   1989-08-01 to 1990-07-30  (running on 1990-07-01)"}},
      {"1990-07-30",
       {"  Mars      1986-01-31 to 1993-01-31  (running on 1990-07-30)",
        "    Ketu      1990-07-30 to 1990-12-26  (running on 1990-07-30)"}},
      {"1900-01-01", {}},  // before birth: nothing runs yet
      {"2200-01-01", {}},  // after the 120 years listed
  };
  for (const Case& c : cases) {
    const ChartRun r = Chart(std::string("--sample --dasha-date ") + c.date);
    ASSERT_EQ(r.status, 0) << c.date << r.err;
    EXPECT_EQ(MarkedLines(r.out), c.marked) << c.date;
  }
  // Without the flag, today's periods are marked (the sample's 120 years run to 2100).
  EXPECT_EQ(MarkedLines(Chart("--sample").out).size(), 2u);
  for (const char* bad : {"2026-02-30", "26-12-09", "2026/12/09", "''"}) {
    const ChartRun r = Chart(std::string("--sample --dasha-date ") + bad);
    EXPECT_EQ(r.status, 2) << bad;
    EXPECT_NE(r.err.find("--dasha-date"), std::string::npos) << r.err;
  }
}
