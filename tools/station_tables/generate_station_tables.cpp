// Writes src/retrogrades/station_tables.cpp: the retrograde and direct stations of Mercury, Venus,
// Mars, Jupiter and Saturn from 1900 to 2051, computed with the Swiss Ephemeris.
//
// Usage: generate_station_tables OUTPUT.cpp
//
// A station is where the geocentric ecliptic longitude speed changes sign: + to - is a retrograde
// station, - to + a direct one. Positions come from the Moshier theory built into the library (no
// data files), geometric (no light-time, aberration or deflection), in longitude of date. Moments
// are Universal Time, truncated to the minute, so an entry's date is always the UT date of the
// computed moment. A summary goes to stderr; any failed check exits non-zero without writing.

#include <swephexp.h>

#include <cmath>
#include <compare>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kFlags = SEFLG_MOSEPH | SEFLG_TRUEPOS | SEFLG_SPEED;

constexpr double kMinutesPerDay = 1440.0;
// Bisection stops once the sign change is bracketed this tightly (days; about 9 ms), far below
// the minute the entries keep.
constexpr double kBracketDays = 1e-7;
// Stations closer than this to 0h UT (minutes) are listed: another ephemeris could put them on the
// neighbouring calendar date, which is all the retrograde test looks at.
constexpr double kNearMidnightMinutes = 10.0;

struct CivilDate {
  int year = 0;
  int month = 0;
  int day = 0;
  friend auto operator<=>(const CivilDate&, const CivilDate&) = default;
};

struct Plan {
  const char* name;  // also the stem of the generated arrays' names
  int body;          // Swiss Ephemeris planet number
  CivilDate first_retrograde;
  CivilDate last_retrograde;
  int periods;  // how many periods lie from the first to the last retrograde station
};

// The tables start with the first retrograde station of 1900 (of 1901 for Mars, which has none in
// 1900) and end with the last one of 2050; the counts guard against a missed or doubled station.
constexpr Plan kPlans[] = {
    {"Mercury", SE_MERCURY, {1900, 3, 15}, {2050, 12, 1}, 476},
    {"Venus", SE_VENUS, {1900, 6, 16}, {2050, 9, 25}, 95},
    {"Mars", SE_MARS, {1901, 1, 13}, {2050, 7, 15}, 71},
    {"Jupiter", SE_JUPITER, {1900, 3, 27}, {2050, 12, 21}, 139},
    {"Saturn", SE_SATURN, {1900, 4, 14}, {2050, 5, 18}, 146},
};

// Scan window: wide enough to bracket every kept period, including Jupiter's last direct station
// in April 2051.
constexpr CivilDate kScanStart = {1900, 1, 1};
constexpr CivilDate kScanEnd = {2051, 7, 1};

enum class Kind { kRetrograde, kDirect };

// Rows users have long checked the tables against. Their dates agree with ours; their hours and
// minutes come from a lower-precision ephemeris (mostly within an hour, a few about twelve hours
// off), and the tables carry their text unchanged so that each of them is found as published. The
// generator fails if a row's date is not the date of a computed station of that planet and kind.
// Beside each: the moment computed here (UT, truncated to the minute).
struct ReferenceRow {
  int plan;  // index into kPlans
  Kind kind;
  const char* text;
};
constexpr ReferenceRow kReferenceRows[] = {
    {0, Kind::kRetrograde, "3,15,1900,13,19,"},   // 13:15
    {0, Kind::kDirect, "4,7,1900,18,42,"},        // 18:45
    {0, Kind::kRetrograde, "5,9,1976,4,59,"},     // 4:59, agrees
    {0, Kind::kDirect, "6,2,1976,1,23,"},         // 1:14
    {0, Kind::kRetrograde, "2,21,2000,0,39,"},    // 12:40
    {0, Kind::kDirect, "3,14,2000,20,28,"},       // 20:33
    {0, Kind::kRetrograde, "6,23,2000,8,32,"},    // 8:26
    {0, Kind::kDirect, "7,17,2000,13,9,"},        // 13:14
    {0, Kind::kRetrograde, "10,18,2000,13,39,"},  // 13:34
    {0, Kind::kDirect, "11,8,2000,2,32,"},        // 2:21
    {0, Kind::kRetrograde, "12,1,2050,17,17,"},   // 17:12
    {0, Kind::kDirect, "12,21,2050,11,33,"},      // 11:25
    {1, Kind::kRetrograde, "6,16,1900,22,56,"},   // 22:17
    {1, Kind::kDirect, "7,30,1900,2,44,"},        // 2:26
    {1, Kind::kRetrograde, "7,30,1999,2,16,"},    // 1:38
    {1, Kind::kDirect, "9,11,1999,1,1,"},         // 0:20
    {1, Kind::kRetrograde, "9,25,2050,22,15,"},   // 22:17
    {1, Kind::kDirect, "11,6,2050,19,4,"},        // 18:41
    {2, Kind::kRetrograde, "1,13,1901,6,16,"},    // 6:56
    {2, Kind::kDirect, "4,4,1901,7,21,"},         // 6:44
    {2, Kind::kRetrograde, "11,6,1975,13,2,"},    // 11:55
    {2, Kind::kDirect, "1,20,1976,21,20,"},       // 21:21
    {2, Kind::kRetrograde, "3,18,1999,14,17,"},   // 13:34
    {2, Kind::kDirect, "6,4,1999,5,42,"},         // 6:04
    {2, Kind::kRetrograde, "7,15,2050,5,50,"},    // 5:58
    {2, Kind::kDirect, "9,13,2050,9,41,"},        // 10:57
    {3, Kind::kRetrograde, "3,27,1900,20,39,"},   // 20:38
    {3, Kind::kDirect, "7,29,1900,1,35,"},        // 1:43
    {3, Kind::kRetrograde, "3,14,1947,10,19,"},   // 10:55
    {3, Kind::kDirect, "7,15,1947,0,3,"},         // 22:12
    {3, Kind::kRetrograde, "9,29,2000,0,45,"},    // 12:14
    {3, Kind::kDirect, "1,25,2001,14,49,"},       // 8:00
    {3, Kind::kRetrograde, "12,21,2050,13,21,"},  // 12:35
    {3, Kind::kDirect, "4,21,2051,23,46,"},       // 23:27
    {4, Kind::kRetrograde, "4,14,1900,6,2,"},     // 5:37
    {4, Kind::kDirect, "9,2,1900,14,39,"},        // 13:55
    {4, Kind::kRetrograde, "11,20,1946,14,9,"},   // 14:08
    {4, Kind::kDirect, "4,3,1947,18,26,"},        // 18:24
    {4, Kind::kRetrograde, "8,30,1999,12,3,"},    // 0:09
    {4, Kind::kDirect, "1,12,2000,4,2,"},         // 3:45
    {4, Kind::kRetrograde, "5,18,2050,13,6,"},    // 13:08
    {4, Kind::kDirect, "10,6,2050,11,5,"},        // 11:23
};

struct Station {
  double jd_ut = 0.0;
  Kind kind = Kind::kRetrograde;
  CivilDate date;  // UT calendar date of the moment
  int hour = 0;
  int minute = 0;
  double minute_of_day = 0.0;  // exact, for the near-midnight report
  std::string text;            // the entry as written to the table
};

struct Period {
  Station retrograde;
  Station direct;
};

const char* KindName(Kind kind) { return kind == Kind::kRetrograde ? "R" : "D"; }

double JulianDay(CivilDate date) {
  return swe_julday(date.year, date.month, date.day, 0.0, SE_GREG_CAL);
}

std::string EntryText(CivilDate date, int hour, int minute) {
  return std::to_string(date.month) + ',' + std::to_string(date.day) + ',' +
         std::to_string(date.year) + ',' + std::to_string(hour) + ',' + std::to_string(minute) +
         ',';
}

std::string DateText(CivilDate date) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
  return text;
}

// Ecliptic longitude speed (degrees/day) of `body` at `jd_ut`; a failed call ends the run, since a
// table built on a fallback ephemeris would silently differ.
double LongitudeSpeed(int body, double jd_ut) {
  double xx[6];
  char error[AS_MAXCH] = "";
  const int returned = swe_calc_ut(jd_ut, body, kFlags, xx, error);
  if (returned < 0 || (returned & SEFLG_MOSEPH) == 0) {
    std::cerr << "swe_calc_ut failed for body " << body << " at JD " << jd_ut << ": " << error
              << '\n';
    std::exit(1);
  }
  return xx[3];
}

Station MakeStation(double jd_ut, Kind kind) {
  Station station;
  station.jd_ut = jd_ut;
  station.kind = kind;
  // Civil days start at JD x.5; counting minutes from there makes truncation a floor.
  const double minutes = std::floor((jd_ut + 0.5) * kMinutesPerDay);
  const double day_number = std::floor(minutes / kMinutesPerDay);
  const int minute_of_day = static_cast<int>(minutes - day_number * kMinutesPerDay);
  double noon_hour = 0.0;
  swe_revjul(day_number, SE_GREG_CAL, &station.date.year, &station.date.month, &station.date.day,
             &noon_hour);
  station.hour = minute_of_day / 60;
  station.minute = minute_of_day % 60;
  station.minute_of_day = (jd_ut + 0.5 - day_number) * kMinutesPerDay;
  station.text = EntryText(station.date, station.hour, station.minute);
  return station;
}

// Every station of `body` in [start, end), found by a daily scan of the speed's sign and bisection
// of each change. Stations of one planet lie weeks apart, so a day cannot hide two sign changes.
std::vector<Station> FindStations(int body, double start, double end) {
  std::vector<Station> stations;
  double previous_speed = LongitudeSpeed(body, start);
  for (double day = start + 1.0; day < end; day += 1.0) {
    const double speed = LongitudeSpeed(body, day);
    if ((previous_speed < 0.0) != (speed < 0.0)) {
      const bool turns_direct = speed >= 0.0;
      double before = day - 1.0;
      double after = day;
      while (after - before > kBracketDays) {
        const double middle = 0.5 * (before + after);
        if ((LongitudeSpeed(body, middle) >= 0.0) == turns_direct) {
          after = middle;
        } else {
          before = middle;
        }
      }
      stations.push_back(
          MakeStation(0.5 * (before + after), turns_direct ? Kind::kDirect : Kind::kRetrograde));
    }
    previous_speed = speed;
  }
  return stations;
}

// Pairs each retrograde station with the direct station that follows it and keeps the periods whose
// retrograde station falls between the plan's first and last dates.
bool KeepPeriods(const Plan& plan, const std::vector<Station>& stations,
                 std::vector<Period>& periods) {
  std::size_t i = 0;
  if (!stations.empty() && stations[0].kind == Kind::kDirect) ++i;  // scan began mid-period
  for (; i + 1 < stations.size(); i += 2) {
    if (stations[i].kind != Kind::kRetrograde || stations[i + 1].kind != Kind::kDirect) {
      std::cerr << plan.name << ": stations do not alternate near " << stations[i].text << '\n';
      return false;
    }
    const CivilDate start = stations[i].date;
    if (start >= plan.first_retrograde && start <= plan.last_retrograde) {
      periods.push_back({stations[i], stations[i + 1]});
    }
  }
  if (periods.empty() || periods.front().retrograde.date != plan.first_retrograde ||
      periods.back().retrograde.date != plan.last_retrograde) {
    std::cerr << plan.name << ": no retrograde station on the first or last planned date\n";
    return false;
  }
  if (static_cast<int>(periods.size()) != plan.periods) {
    std::cerr << plan.name << ": " << periods.size() << " periods, expected " << plan.periods
              << '\n';
    return false;
  }
  return true;
}

// Replaces the computed text of each reference row's station with the row's own text, after
// checking that the row names a computed station's date. Reports every row whose time differs.
bool PinReferenceRows(std::vector<std::vector<Period>>& tables) {
  bool ok = true;
  int pinned = 0;
  std::cerr << "Reference rows whose hour/minute differ from the computed moment:\n";
  for (const ReferenceRow& row : kReferenceRows) {
    CivilDate date;
    int hour = -1;
    int minute = -1;
    if (std::sscanf(row.text, "%d,%d,%d,%d,%d,", &date.month, &date.day, &date.year, &hour,
                    &minute) != 5) {
      std::cerr << "  malformed reference row " << row.text << '\n';
      ok = false;
      continue;
    }
    Station* match = nullptr;
    for (Period& period : tables[row.plan]) {
      Station& station = row.kind == Kind::kRetrograde ? period.retrograde : period.direct;
      if (station.date == date) match = &station;
    }
    const char* name = kPlans[row.plan].name;
    if (match == nullptr) {
      std::cerr << "  " << name << ' ' << KindName(row.kind) << ' ' << row.text
                << ": no computed station on that date\n";
      ok = false;
      continue;
    }
    if (match->hour != hour || match->minute != minute) {
      std::cerr << "  " << name << ' ' << KindName(row.kind) << "  kept " << row.text
                << "  computed " << match->text << '\n';
      match->text = row.text;
      ++pinned;
    }
  }
  std::cerr << "  " << pinned << " of " << std::size(kReferenceRows) << " rows pinned\n";
  return ok;
}

void ReportNearMidnight(const std::vector<std::vector<Period>>& tables) {
  std::cerr << "Stations within " << kNearMidnightMinutes
            << " minutes of 0h UT (the date may differ in other ephemerides):\n";
  for (std::size_t p = 0; p < tables.size(); ++p) {
    for (const Period& period : tables[p]) {
      for (const Station* station : {&period.retrograde, &period.direct}) {
        const double minutes = station->minute_of_day;
        if (minutes < kNearMidnightMinutes || minutes > kMinutesPerDay - kNearMidnightMinutes) {
          char clock[32];
          std::snprintf(clock, sizeof clock, "%02d:%02d:%02d", static_cast<int>(minutes) / 60,
                        static_cast<int>(minutes) % 60,
                        static_cast<int>((minutes - std::floor(minutes)) * 60.0));
          std::cerr << "  " << kPlans[p].name << ' ' << KindName(station->kind) << ' '
                    << DateText(station->date) << ' ' << clock << " UT\n";
        }
      }
    }
  }
}

void WriteArray(std::ostream& out, const std::string& name, const std::vector<Period>& periods,
                Kind kind) {
  // Four entries per line keep the longest line within 100 columns and line k of the retrograde
  // and direct arrays on the same periods. The arrays sit in a clang-format off block so that
  // formatting src/ leaves the file byte-identical to what this program writes.
  constexpr std::size_t kPerLine = 4;
  out << "constexpr const char* " << name << "[] = {\n";
  for (std::size_t i = 0; i < periods.size(); ++i) {
    const Station& station = kind == Kind::kRetrograde ? periods[i].retrograde : periods[i].direct;
    out << (i % kPerLine == 0 ? "    " : " ") << '"' << station.text << "\",";
    if (i % kPerLine == kPerLine - 1 || i + 1 == periods.size()) out << '\n';
  }
  out << "};\n";
}

std::string TableSource(const std::vector<std::vector<Period>>& tables) {
  std::ostringstream out;
  out << "// Generated by tools/station_tables; do not edit.\n"
         "//\n"
         "// Retrograde (R) and direct (D) stations of Mercury to Saturn: where the geocentric\n"
         "// ecliptic longitude speed changes sign. Swiss Ephemeris, Moshier theory, geometric\n"
         "// positions in longitude of date; moments in Universal Time, truncated to the minute.\n"
         "// A few entries keep long-published text whose minute differs from the computed one;\n"
         "// their dates agree. See kReferenceRows in the generator.\n"
         "\n"
         "#include \"retrogrades/station_tables.h\"\n"
         "\n"
         "#include <iterator>\n"
         "\n"
         "namespace solvane::retrogrades {\n"
         "namespace {\n"
         "\n"
         "// clang-format off\n";
  for (std::size_t p = 0; p < tables.size(); ++p) {
    const std::string name = std::string("k") + kPlans[p].name;
    out << '\n';
    out << "// " << tables[p].size() << " periods.\n";
    WriteArray(out, name + "Retrograde", tables[p], Kind::kRetrograde);
    WriteArray(out, name + "Direct", tables[p], Kind::kDirect);
    out << "static_assert(std::size(" << name << "Retrograde) == std::size(" << name
        << "Direct));\n";
  }
  out << "// clang-format on\n"
         "\n"
         "}  // namespace\n"
         "\n"
         "StationTable StationTableOf(RetrogradePlanet planet) {\n"
         "  switch (planet) {\n";
  for (const Plan& plan : kPlans) {
    out << "    case RetrogradePlanet::k" << plan.name << ":\n"
        << "      return {k" << plan.name << "Retrograde, k" << plan.name << "Direct};\n";
  }
  out << "  }\n"
         "  return {};\n"
         "}\n"
         "\n"
         "}  // namespace solvane::retrogrades\n";
  return out.str();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: generate_station_tables OUTPUT.cpp\n";
    return 2;
  }
  char version[AS_MAXCH];
  std::cerr << "Swiss Ephemeris " << swe_version(version) << ", Moshier, geometric positions\n";

  bool ok = true;
  std::vector<std::vector<Period>> tables(std::size(kPlans));
  for (std::size_t p = 0; p < std::size(kPlans); ++p) {
    const Plan& plan = kPlans[p];
    const std::vector<Station> stations =
        FindStations(plan.body, JulianDay(kScanStart), JulianDay(kScanEnd));
    if (!KeepPeriods(plan, stations, tables[p])) {
      ok = false;
      continue;
    }
    std::cerr << plan.name << ": " << tables[p].size() << " periods, "
              << tables[p].front().retrograde.text << " -> " << tables[p].front().direct.text
              << " ... " << tables[p].back().retrograde.text << " -> "
              << tables[p].back().direct.text << " (computed)\n";
  }
  swe_close();
  if (!ok || !PinReferenceRows(tables)) {
    std::cerr << "Station tables not written.\n";
    return 1;
  }
  ReportNearMidnight(tables);

  std::ofstream file(argv[1], std::ios::binary);
  file << TableSource(tables);
  file.close();
  if (!file) {
    std::cerr << "cannot write " << argv[1] << '\n';
    return 1;
  }
  return 0;
}
