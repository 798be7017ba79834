// Every zone of the system's tz source against zdump, the tz project's own reader of the same
// compiled files (libc-bin): at each transition from 1901 to 2050, the second before and the
// second of the change must read as zdump prints them, by UT instant and by local clock time.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/civil_date.h"
#include "zones/zone_lookup.h"

namespace solvane::zones {
namespace {

// The zones: every Zone line of the source the files were compiled from (backzone included).
std::vector<std::string> SourceZones() {
  std::ifstream source("/usr/share/zoneinfo/tzdata.zi");
  std::vector<std::string> zones;
  std::string line;
  while (std::getline(source, line))
    if (line.rfind("Z ", 0) == 0) zones.push_back(line.substr(2, line.find(' ', 2) - 2));
  return zones;
}

struct ZdumpLine {
  std::string zone;
  std::int64_t ut_s = 0;
  std::int64_t local_s = 0;
  LocalDateTime local;
  std::string abbreviation;
  bool is_dst = false;
  std::int32_t offset_s = 0;
};

// "Mon Aug 31 18:30:00 1942" as seconds since 1970; fills `civil` with the reading.
bool ReadStamp(std::istringstream& in, std::int64_t& seconds, LocalDateTime& civil) {
  static constexpr std::array<std::string_view, 12> kMonths = {
      "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::string weekday, month, clock;
  if (!(in >> weekday >> month >> civil.day >> clock >> civil.year)) return false;
  civil.month = 0;
  for (std::size_t i = 0; i < kMonths.size(); ++i)
    if (kMonths[i] == month) civil.month = static_cast<int>(i) + 1;
  if (civil.month == 0 ||
      std::sscanf(clock.c_str(), "%d:%d:%d", &civil.hour, &civil.minute, &civil.second) != 3)
    return false;
  seconds = core::DaysFromCivil(civil.year, civil.month, civil.day) * 86400 + civil.hour * 3600 +
            civil.minute * 60 + civil.second;
  return true;
}

// zdump -v line: ZONE <UT stamp> UT = <local stamp> ABBR isdst=N gmtoff=N ("NULL" lines skipped).
bool ParseLine(const std::string& text, ZdumpLine& out) {
  std::istringstream in(text);
  LocalDateTime ut_civil;
  std::string ut, equals, isdst, gmtoff;
  if (!(in >> out.zone) || !ReadStamp(in, out.ut_s, ut_civil) || !(in >> ut >> equals) ||
      !ReadStamp(in, out.local_s, out.local) || !(in >> out.abbreviation >> isdst >> gmtoff))
    return false;
  out.is_dst = isdst == "isdst=1";
  out.offset_s = std::stoi(gmtoff.substr(gmtoff.find('=') + 1));
  return true;
}

std::vector<ZdumpLine> RunZdump(const std::vector<std::string>& zones) {
  std::string command = "zdump -v -c 1901,2051";
  for (const std::string& zone : zones) command += " " + zone;
  std::vector<ZdumpLine> lines;
  const std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return lines;
  std::array<char, 512> buffer{};
  while (std::fgets(buffer.data(), buffer.size(), pipe.get())) {
    ZdumpLine line;
    if (ParseLine(buffer.data(), line)) lines.push_back(std::move(line));
  }
  return lines;
}

// Checks one side of a transition; `lmt_offset_s` is the local mean time of the pair, if any,
// given back as the birth longitude so that the lookup keeps the database's own offset.
void CheckSide(const ZdumpLine& z, Fold fold, std::int32_t lmt_offset_s,
               std::vector<std::string>& faults) {
  const std::string where = z.zone + " " + std::to_string(z.ut_s) + " " + z.abbreviation;
  const auto at = ReadingAt(z.zone, z.ut_s);
  if (!at || at->total_offset_s != z.offset_s || at->is_dst != z.is_dst ||
      at->abbreviation != z.abbreviation)
    faults.push_back(where + ": by UT " +
                     (at ? std::to_string(at->total_offset_s) + " " + at->abbreviation + " dst " +
                               std::to_string(at->is_dst)
                         : at.error().message));
  if (z.local.year < 1901 || z.local.year > 2050) return;
  // Tonga's mean time of +12:19:12 is a longitude beyond 180 degrees east: given as west.
  const double longitude_deg =
      lmt_offset_s / 240.0 > 180 ? lmt_offset_s / 240.0 - 360 : lmt_offset_s / 240.0;
  const auto local = LookUp({z.zone, longitude_deg, z.local, fold});
  if (!local || local->reading.total_offset_s != z.offset_s || local->reading.ut_s != z.ut_s)
    faults.push_back(
        where + ": by local time " +
        (local ? std::to_string(local->reading.total_offset_s) : local.error().message));
}

struct ZoneGroup {
  const char* name;
  bool (*holds)(const std::string& zone);
};

class ZdumpAgreement : public testing::TestWithParam<ZoneGroup> {};

TEST_P(ZdumpAgreement, EveryTransitionFrom1901To2050) {
  std::vector<std::string> zones;
  for (const std::string& zone : SourceZones())
    if (GetParam().holds(zone)) zones.push_back(zone);
  ASSERT_FALSE(zones.empty()) << "no zones in /usr/share/zoneinfo/tzdata.zi";
  const std::vector<ZdumpLine> lines = RunZdump(zones);
  // Most zones changed at least once since 1901; a silent zdump must not pass as agreement.
  ASSERT_GE(lines.size(), zones.size()) << "zdump printed too little";

  std::vector<std::string> faults;
  for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
    const ZdumpLine& before = lines[i];
    const ZdumpLine& after = lines[i + 1];
    ASSERT_TRUE(before.zone == after.zone && after.ut_s == before.ut_s + 1)
        << "zdump lines out of pairs at " << before.zone << " " << before.ut_s;
    const std::int32_t lmt = before.abbreviation == "LMT"  ? before.offset_s
                             : after.abbreviation == "LMT" ? after.offset_s
                                                           : 0;
    CheckSide(before, Fold::kEarlier, lmt, faults);
    CheckSide(after, Fold::kLater, lmt, faults);
  }
  std::string shown;
  for (std::size_t i = 0; i < faults.size() && i < 20; ++i) shown += faults[i] + "\n";
  EXPECT_TRUE(faults.empty()) << faults.size() << " of " << lines.size()
                              << " zdump lines disagree, first ones:\n"
                              << shown;
}

bool StartsWith(const std::string& zone, std::string_view prefix) {
  return zone.rfind(prefix, 0) == 0;
}

// Groups of similar size, so that the suite's runner can spread them over processors.
INSTANTIATE_TEST_SUITE_P(
    AllZones, ZdumpAgreement,
    testing::Values(
        ZoneGroup{"Africa", [](const std::string& z) { return StartsWith(z, "Africa/"); }},
        ZoneGroup{"AmericaAtoL",
                  [](const std::string& z) { return StartsWith(z, "America/") && z[8] < 'M'; }},
        ZoneGroup{"AmericaMtoZ",
                  [](const std::string& z) { return StartsWith(z, "America/") && z[8] >= 'M'; }},
        ZoneGroup{"Asia", [](const std::string& z) { return StartsWith(z, "Asia/"); }},
        ZoneGroup{"Europe", [](const std::string& z) { return StartsWith(z, "Europe/"); }},
        ZoneGroup{"Elsewhere",
                  [](const std::string& z) {
                    for (const char* area : {"Africa/", "America/", "Asia/", "Europe/"})
                      if (StartsWith(z, area)) return false;
                    return true;
                  }}),
    [](const testing::TestParamInfo<ZoneGroup>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace solvane::zones
