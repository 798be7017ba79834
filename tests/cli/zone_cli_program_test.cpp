// solvane-chart's birth moment from the atlas and the tz database (--place, --tz, --fold), exact
// offsets in --zone, and the batch's columns of the same names, as a user runs the program.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/chart_process.h"
#include "zones/offset_text.h"
#include "zones/time_zones.h"
#include "zones/zone_lookup.h"

namespace {

using nlohmann::json;

using solvane::testing::ChartRun;

ChartRun Chart(const std::string& args, const std::string& input = "") {
  // Test cases run as parallel processes: each needs files of its own.
  return solvane::testing::RunChartProgram(
      args, input, ::testing::TempDir() + "solvane_zone_cli_" + std::to_string(getpid()));
}

json ChartJson(const std::string& args) {
  const ChartRun r = Chart(args + " --format json");
  EXPECT_EQ(r.status, 0) << args << "\n" << r.err;
  return json::accept(r.out) ? json::parse(r.out) : json::object();
}

std::vector<json> JsonLines(const std::string& text) {
  std::vector<json> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(json::parse(line));
  return lines;
}

bool Contains(const json& texts, const std::string& part) {
  for (const auto& text : texts)
    if (text.get<std::string>().find(part) != std::string::npos) return true;
  return false;
}

// Offsets and abbreviations from the tz database's own data (Debian's tzdata): northamerica,
// europe and asia; the local mean time of a place from its longitude at 4 minutes a degree.
TEST(ZoneCli, NamedBirthsThroughTheDatabase) {
  struct Case {
    const char* args;
    const char* tz;
    int offset_s, dst_s;
    const char* abbreviation;
    const char* status;
    const char* universal_time;
    const char* note;  // a part of one of the notes, or ""
    bool needs_history;
  };
  const Case cases[] = {
      // Nepal kept local mean time until 1920: the atlas's Pokhara lies at 83°58' E, so
      // 83.9667 x 240 s = 20152 s (UT+5:35:52), not Kathmandu's UT+5:41:16.
      {"--place 'Pokhara, Nepal' --date 1910-05-01 --time 10:00", "Asia/Kathmandu", 20152, 0, "LMT",
       "lmt", "1910-05-01T04:24:08Z",
       "83\xC2\xB0"
       "58' E",
       false},
      // Berlin sprang from 02:00 to 03:00 CEST on 2023-03-26: 02:30 never showed; charted with
      // the reading before the jump, CET.
      {"--place 'Berlin, Germany' --date 2023-03-26 --time 02:30", "Europe/Berlin", 3600, 0, "CET",
       "skipped", "2023-03-26T01:30:00Z", "after it as UT+2:00", false},
      {"--place 'Berlin, Germany' --date 2023-03-26 --time 02:30 --fold later", "Europe/Berlin",
       7200, 3600, "CEST", "skipped", "2023-03-26T00:30:00Z", "", false},
      // ... and fell back from 03:00 CEST to 02:00 CET on 2023-10-29: 02:30 showed twice.
      {"--place 'Berlin, Germany' --date 2023-10-29 --time 02:30 --fold earlier", "Europe/Berlin",
       7200, 3600, "CEST", "repeated", "2023-10-29T00:30:00Z", "", false},
      {"--place 'Berlin, Germany' --date 2023-10-29 --time 02:30 --fold later", "Europe/Berlin",
       3600, 0, "CET", "repeated", "2023-10-29T01:30:00Z", "", false},
      // Amsterdam Mean Time, UT+0:19:32, until 1937.
      {"--place Amsterdam --date 1930-01-15 --time 12:00", "Europe/Amsterdam", 1172, 0, "AMT",
       "historical", "1930-01-15T11:40:28Z", "less certain", true},
      // India's war time, UT+6:30, from 1942-09-01 to 1945-10-15.
      {"--place 'Mumbai, India' --date 1942-09-01 --time 12:00", "Asia/Kolkata", 23400, 3600,
       "+0630", "historical", "1942-09-01T05:30:00Z", "Bombay Time", false},
      {"--tz Asia/Kolkata --lon 72E53 --lat 19N4 --date 1990-03-21 --time 14:45", "Asia/Kolkata",
       19800, 0, "IST", "ok", "1990-03-21T09:15:00Z", "", false},
  };
  for (const Case& c : cases) {
    if (c.needs_history && !solvane::zones::DatabaseHasHistory()) continue;
    json j = ChartJson(std::string("--name T ") + c.args);
    json& zone = j["Zone"];
    EXPECT_EQ(zone["source"], "tz") << c.args;
    EXPECT_EQ(zone["tz"], c.tz) << c.args;
    EXPECT_EQ(zone["offset_seconds"], c.offset_s) << c.args;
    EXPECT_EQ(zone["dst_seconds"], c.dst_s) << c.args;
    EXPECT_EQ(zone["abbreviation"], c.abbreviation) << c.args;
    EXPECT_EQ(zone["status"], c.status) << c.args;
    EXPECT_EQ(zone["universal_time"], c.universal_time) << c.args;
    if (*c.note) {
      EXPECT_TRUE(Contains(zone["notes"], c.note)) << c.args << "\n" << zone.dump();
    }
  }
}

TEST(ZoneCli, RepeatedTimeIsRefusedWithoutAFold) {
  const ChartRun r =
      Chart("--name T --place 'Berlin, Germany' --date 2023-10-29 --time 02:30 --format json");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  for (const char* part : {"--fold earlier takes UT+2:00 (CEST)", "--fold later UT+1:00 (CET)"})
    EXPECT_NE(r.err.find(part), std::string::npos) << r.err;
}

// What is refused before any chart: flags that cannot go together, and values that are wrong.
TEST(ZoneCli, RefusedFlags) {
  const struct {
    const char* args;
    const char* err_says;
  } cases[] = {
      {"--tz Asia/Kolkata --zone IST", "--tz and --zone cannot go together"},
      {"--tz Asia/Kolkata --dst", "--tz and --dst cannot go together"},
      {"--fold earlier", "it needs --place or --tz"},
      {"--place Mumbai --zone IST --fold later", "--fold and --zone cannot go together"},
      {"--tz Europe/Berlin --fold sideways", "--fold: expected earlier or later"},
      {"--tz Mars/Olympus_Mons", "--tz: "},
      {"--place 'Lagos, Brazil'", "No place called Lagos in Brazil"},
      {"--place 'Qqqxxzz'", "--place: no place called 'Qqqxxzz'"},
      {"--zone +14:30", "beyond 14 hours"},
      {"--zone +5:3", "is not an offset from UT"},
  };
  for (const auto& c : cases) {
    const ChartRun r = Chart(std::string("--sample ") + c.args);
    EXPECT_EQ(r.status, 2) << c.args;
    EXPECT_NE(r.err.find(c.err_says), std::string::npos) << c.args << "\n" << r.err;
  }
}

// An exact offset charts through the same universal moment as the database's reading of it, with
// either engine; its seconds count (the same minutes without them give another chart).
TEST(ZoneCli, ExactOffsetChartsAsTheDatabase) {
  if (!solvane::zones::DatabaseHasHistory()) GTEST_SKIP() << "no tz history before 1970 here";
  const std::string birth = "--name T --date 1930-01-15 --time 12:00 --lon 4E53 --lat 52N22 ";
  for (const char* engine : {"", "--ephemeris precise"}) {
    json by_tz = ChartJson(birth + "--tz Europe/Amsterdam " + engine);
    json by_offset = ChartJson(birth + "--zone +00:19:32 " + engine);
    json whole_minutes = ChartJson(birth + "--zone +00:19 " + engine);
    EXPECT_EQ(by_offset["Longitudes"], by_tz["Longitudes"]) << engine;
    EXPECT_EQ(by_offset["Zone"]["universal_time"], by_tz["Zone"]["universal_time"]);
    EXPECT_EQ(by_offset["Zone"]["source"], "list");
    EXPECT_EQ(by_offset["Zone"]["offset_seconds"], 1172);
    EXPECT_EQ(by_offset["ZoneMinutes"], -19);
    EXPECT_NE(whole_minutes["Longitudes"]["Ascendant"], by_offset["Longitudes"]["Ascendant"]);
    EXPECT_NE(whole_minutes["Longitudes"]["Sun"], by_offset["Longitudes"]["Sun"]);
    // 32 seconds earlier in universal time: the Moon (about 0.5 degrees an hour) stands some
    // 0.004 degrees back, with the classic formulas as with the precise engine.
    const double moon_back = whole_minutes["Longitudes"]["Moon"].get<double>() -
                             by_offset["Longitudes"]["Moon"].get<double>();
    EXPECT_GT(moon_back, 0.002) << engine;
    EXPECT_LT(moon_back, 0.008) << engine;
  }
  const ChartRun text = Chart(birth + "--zone +00:19:32");
  EXPECT_NE(text.out.find("Time of birth   12:00  UT+0:19:32\n"), std::string::npos) << text.out;
}

// Every listed zone and its offset written out exactly chart alike, to the last bit: the exact
// offset's path adds nothing to the listed zones' arithmetic.
TEST(ZoneCli, ListedZonesAndTheirExactOffsetsAgree) {
  std::string csv = "name,date,time,lon,lat,zone,offset,dst,ephemeris\n";
  const auto& zones = solvane::zones::TimeZoneTable();
  for (int i = 0; i < solvane::zones::kTimeZoneCount; ++i) {
    const auto& row = zones[static_cast<std::size_t>(i)];
    const int offset_s = -(row.zone_hours * 3600 + row.zone_minutes * 60);
    const std::string offset = solvane::zones::FormatExactOffset(offset_s);
    const std::string engine = i % 2 == 0 ? "classic" : "precise";
    const std::string dst = i % 3 == 0 ? "1" : "0";
    const std::string birth = "ZONE,1987-06-" + std::to_string(1 + i % 28) +
                              ",23:" + std::to_string(10 + i % 50) + ",120W5,33S51,";
    csv += birth + std::to_string(i) + ",," + dst + "," + engine + "\n";
    csv += birth + "," + offset + "," + dst + "," + engine + "\n";
  }
  const ChartRun r = Chart("--batch -", csv);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<json> lines = JsonLines(r.out);
  ASSERT_EQ(lines.size(), 2u * solvane::zones::kTimeZoneCount);
  for (std::size_t i = 0; i < lines.size(); i += 2) {
    EXPECT_EQ(lines[i]["Longitudes"], lines[i + 1]["Longitudes"]) << lines[i]["line"];
    EXPECT_EQ(lines[i]["Zone"]["universal_time"], lines[i + 1]["Zone"]["universal_time"]);
    EXPECT_EQ(lines[i]["Zone"]["offset_seconds"], lines[i + 1]["Zone"]["offset_seconds"]);
  }
}

// The flags given win over the place's coordinates, zone and daylight saving; with none given,
// --place is the chart of its coordinates and zone typed by hand.
TEST(ZoneCli, FlagsWinOverThePlace) {
  const std::string mumbai = "--name T --place 'Mumbai, India' --date 1990-03-21 --time 14:45 ";
  json typed = ChartJson(
      "--name T --date 1990-03-21 --time 14:45 --lon 72E53 --lat 19N4 --zone IST --city Mumbai "
      "--state Maharashtra --country India");
  json placed = ChartJson(mumbai);
  EXPECT_EQ(placed["Longitudes"], typed["Longitudes"]);
  EXPECT_EQ(placed["BirthData"], typed["BirthData"]);
  EXPECT_EQ(placed["lblCity"], "Mumbai");
  EXPECT_EQ(placed["Place"]["country_code"], "IN");
  EXPECT_NEAR(placed["Place"]["longitude"].get<double>(), 72.88, 0.01);

  json lon = ChartJson(mumbai + "--lon 70E0 --lat 20N30");
  EXPECT_EQ(lon["BirthData"]["LongitudeDeg"], 70);
  EXPECT_EQ(lon["BirthData"]["LatitudeDeg"], 20);
  EXPECT_EQ(lon["Zone"]["source"], "tz");

  json zone = ChartJson(mumbai + "--zone GMT");
  EXPECT_EQ(zone["Zone"]["source"], "list");
  EXPECT_EQ(zone["ZoneHours"], 0);
  EXPECT_EQ(zone["Zone"]["universal_time"], "1990-03-21T14:45:00Z");
  EXPECT_EQ(zone["Place"]["name"], "Mumbai");

  // 1942's war time was IST with an hour of daylight saving; --dst no takes the hour away.
  json dst = ChartJson(
      "--name T --place 'Mumbai, India' --date 1942-09-01 --time 12:00 "
      "--dst no");
  EXPECT_EQ(dst["BirthData"]["DaylightSaving"], 0);
  EXPECT_EQ(dst["Zone"]["offset_seconds"], 19800);
  EXPECT_TRUE(Contains(dst["Zone"]["notes"], "overrides")) << dst["Zone"].dump();
}

TEST(ZoneCli, BatchColumns) {
  const std::string csv =
      "name,date,time,place,tz,offset,fold,ephemeris,node,lon,lat\n"
      "POKHARA,1910-05-01,10:00,\"Pokhara, Nepal\",,,,,,,\n"
      "BERLIN,2023-10-29,02:30,,Europe/Berlin,,later,,,13E24,52N31\n"
      "TWICE,2023-10-29,02:30,,Europe/Berlin,,,,,13E24,52N31\n"
      "EXACT,1990-03-21,14:45,,,+05:21:10,,precise,true,72E53,19N4\n"
      "ENGINE,1990-03-21,14:45,,,,,sidereal,,72E53,19N4\n"
      "OFFSET,1990-03-21,14:45,,,+5:3x,,,,72E53,19N4\n"
      "FOLD,1990-03-21,14:45,,,,later,,,72E53,19N4\n";
  const ChartRun r = Chart("--batch -", csv);
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("4 of 7 rows refused"), std::string::npos) << r.err;
  const std::vector<json> lines = JsonLines(r.out);
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0]["Zone"]["offset_seconds"], 20152);
  EXPECT_EQ(lines[0]["Place"]["name"], "Pokhara");
  EXPECT_EQ(lines[0]["lblCity"], "Pokhara");
  EXPECT_EQ(lines[1]["Zone"]["universal_time"], "2023-10-29T01:30:00Z");
  EXPECT_EQ(lines[2]["line"], 4);
  EXPECT_NE(lines[2]["error"].get<std::string>().find("fold earlier takes"), std::string::npos);
  EXPECT_EQ(lines[3]["Zone"]["offset_seconds"], 19270);
  EXPECT_EQ(lines[3]["Ephemeris"], "precise");
  EXPECT_EQ(lines[3]["Node"], "true");
  EXPECT_EQ(lines[3]["Zone"]["universal_time"], "1990-03-21T09:23:50Z");
  EXPECT_NE(lines[4]["error"].get<std::string>().find("ephemeris: "), std::string::npos);
  EXPECT_NE(lines[5]["error"].get<std::string>().find("offset: "), std::string::npos);
  EXPECT_NE(lines[6]["error"].get<std::string>().find("needs place or tz"), std::string::npos);
}

// --ephemeris and --node name the engine of the rows that name none.
TEST(ZoneCli, BatchTakesTheEngineFlags) {
  const ChartRun r = Chart("--batch - --ephemeris precise --node true",
                           "name,date,lon,lat,ephemeris\n"
                           "A,1980-08-15,77E13,28N36,\n"
                           "B,1980-08-15,77E13,28N36,classic\n");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<json> lines = JsonLines(r.out);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0]["Ephemeris"], "precise");
  EXPECT_EQ(lines[0]["Node"], "true");
  EXPECT_EQ(lines[1]["Ephemeris"], "classic");
}

TEST(ZoneCli, FindPlaceSaysWhereTheMatchesAre) {
  const ChartRun text = Chart("--find-place 'Lagos, Brazil'");
  EXPECT_EQ(text.status, 0) << text.err;
  EXPECT_EQ(text.out.rfind("No place called Lagos in Brazil.", 0), 0u) << text.out;
  EXPECT_NE(text.out.find("Nigeria"), std::string::npos);
  json j = ChartJson("--find-place 'Lagos, Brazil'");
  EXPECT_NE(j["note"].get<std::string>().find("elsewhere"), std::string::npos);
  EXPECT_FALSE(j["places"].empty());
}

}  // namespace
