// solvane-chart's JSON output against its published schema (docs/solvane-chart.schema.json):
// a chart, the lines of a batch and a refused row, each member present, typed and in range.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/schema_validator.h"

namespace {

using nlohmann::json;
using solvane::testing::SchemaValidator;
namespace fs = std::filesystem;

const SchemaValidator& Schema() {
  static const SchemaValidator validator = [] {
    std::ifstream in(std::string(SOLVANE_SOURCE_DIR) + "/docs/solvane-chart.schema.json");
    return SchemaValidator(json::parse(in));
  }();
  return validator;
}

// Standard output of solvane-chart with `args`, standard input from `input`.
std::string Output(const std::string& args, const std::string& input = "") {
  const std::string in_path =
      ::testing::TempDir() + "solvane_schema_in_" + std::to_string(getpid()) + ".csv";
  std::ofstream(in_path, std::ios::binary) << input;
  FILE* pipe = popen(
      (std::string(SOLVANE_CHART_EXE) + " " + args + " <" + in_path + " 2>/dev/null").c_str(), "r");
  std::string out;
  std::array<char, 4096> buffer;
  for (std::size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
    out.append(buffer.data(), n);
  pclose(pipe);
  std::remove(in_path.c_str());
  return out;
}

std::string Faults(const json& value, const std::string& pointer) {
  std::string text;
  for (const std::string& fault : Schema().Check(value, pointer)) text += fault + "\n";
  return text;
}

TEST(OutputSchema, ChartsAreValid) {
  const char* cases[] = {
      "--sample --format json --report-text",
      // Saturn retrograde, a birth west and south, daylight saving and a half-hour zone.
      "--name TEST --date 2000-01-01 --time 12:00 --zone GMT --lon 0E0 --lat 51N30 --format json",
      "--name 'JOSÉ' --date 1976-05-10 --time 23:59 --zone 5 --dst --lon 74W0 --lat 33S52 "
      "--city Nowhere --format json",
      // The zone from the atlas and the tz database, with its Place; an exact offset.
      "--name P --place Amsterdam --date 1930-01-15 --time 12:00 --format json",
      "--name X --date 1904-02-29 --time 23:30 --zone -04:56:02 --lon 74W0 --lat 40N43 "
      "--format json",
  };
  for (const char* args : cases) {
    const std::string out = Output(args);
    ASSERT_TRUE(json::accept(out)) << args << "\n" << out;
    const json chart = json::parse(out);
    EXPECT_EQ(Faults(chart, "#/$defs/Chart"), "") << args;
    EXPECT_EQ(Faults(chart, "#"), "") << args;
  }
}

// Every kind of batch line: charted (with its report file), refused by the form, malformed, and
// a row whose report could not be written.
TEST(OutputSchema, BatchLinesAreValid) {
  const fs::path dir =
      fs::path(::testing::TempDir()) / ("solvane_schema_" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "5-D.rtf");  // no report can go there
  const std::string out = Output("--batch - --report " + dir.string(),
                                 "name,date,lon,lat\n"
                                 "A,1980-08-15,77E13,28N36\n"
                                 "B,2001-02-29,0E0,0N0\n"
                                 "C,1980\n"
                                 "D,1980-08-15,0E0,0N0\n");
  fs::remove_all(dir);
  const struct {
    std::size_t line;
    const char* kind;
  } want[] = {{2, "Chart"}, {3, "RefusedRow"}, {4, "RefusedRow"}, {5, "RefusedRow"}};
  std::size_t start = 0, i = 0;
  for (std::size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1, ++i) {
    ASSERT_LT(i, std::size(want)) << out;
    const json line = json::parse(out.substr(start, end - start));
    EXPECT_EQ(line["line"], want[i].line);
    EXPECT_EQ(Faults(line, std::string("#/$defs/") + want[i].kind), "") << line.dump();
    EXPECT_EQ(Faults(line, "#"), "") << line.dump();
  }
  EXPECT_EQ(i, std::size(want)) << out;
  EXPECT_TRUE(json::parse(out.substr(0, out.find('\n'))).contains("report"));
}

// The validator must see each kind of fault, or a valid result above proves nothing.
TEST(OutputSchema, EveryKindOfFaultIsSeen) {
  const json chart = json::parse(Output("--sample --format json"));
  ASSERT_EQ(Faults(chart, "#"), "");
  struct Case {
    const char* what;
    std::function<void(json&)> change;
    const char* says;
  };
  const Case cases[] = {
      {"a member missing", [](json& j) { j.erase("lblNatal"); }, "lacks lblNatal"},
      {"a member nobody documented", [](json& j) { j["Extra"] = 1; }, "Extra is not in the schema"},
      {"a birth field missing", [](json& j) { j["BirthData"].erase("Year"); }, "lacks Year"},
      {"a text as a number", [](json& j) { j["RashiName"] = 7; }, "not of type string"},
      {"a fraction for an integer", [](json& j) { j["ZoneHours"] = 0.5; }, "not of type integer"},
      {"a year out of range", [](json& j) { j["BirthData"]["Year"] = 1900; }, "below 1901"},
      {"a house out of range", [](json& j) { j["ReportHouses"]["Sun"] = 13; }, "above 12"},
      {"a flag that is not -1 or 0", [](json& j) { j["BirthData"]["East"] = 1; }, "not one of"},
      {"a position without a sign", [](json& j) { j["PositionStrings"][3] = "05 Xyz 07"; },
       "does not match"},
      {"thirteen positions", [](json& j) { j["PositionStrings"].erase(13); }, "minItems"},
      {"a planet that is not one", [](json& j) { j["ReportSections"][0]["planets"][0] = "Vulcan"; },
       "not one of"},
      {"an object for an array", [](json& j) { j["imgSign"] = json::object(); },
       "not of type array"},
  };
  for (const Case& c : cases) {
    json changed = chart;
    c.change(changed);
    EXPECT_NE(Faults(changed, "#/$defs/Chart").find(c.says), std::string::npos)
        << c.what << "\n"
        << Faults(changed, "#/$defs/Chart");
    EXPECT_NE(Faults(changed, "#"), "") << c.what;
  }
  EXPECT_NE(Faults(json{{"line", 2}}, "#"), "");
  EXPECT_NE(Faults(json{{"line", 1}, {"error", "x"}}, "#/$defs/RefusedRow").find("below 2"),
            std::string::npos);
  EXPECT_NE(Faults(json{{"line", 2}, {"error", ""}}, "#/$defs/RefusedRow"), "");
}

}  // namespace
