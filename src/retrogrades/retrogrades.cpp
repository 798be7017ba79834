#include "retrogrades/retrogrades.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <iterator>
#include <vector>

#include "core/chart_state.h"
#include "core/civil_date.h"

namespace solvane::retrogrades {
namespace {

// A retrograde period as the day numbers (DaysFromCivil) of its two stations' UT dates.
struct Period {
  int retrograde_day;
  int direct_day;
};
using Periods = std::vector<Period>;

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

std::optional<int> EntryDay(const char* entry) {
  if (entry == nullptr) return std::nullopt;
  const std::optional<StationMoment> moment = ParseStationEntry(entry);
  if (!moment) return std::nullopt;
  return static_cast<int>(core::DaysFromCivil(moment->year, moment->month, moment->day));
}

// The tables are parsed once, on first use; a period with an unreadable entry is left out rather
// than guessed at (the committed tables have none).
const std::array<Periods, kRetrogradePlanetCount>& ParsedTables() {
  static const std::array<Periods, kRetrogradePlanetCount> tables = [] {
    std::array<Periods, kRetrogradePlanetCount> parsed;
    for (int p = 0; p < kRetrogradePlanetCount; ++p) {
      const StationTable table = StationTableOf(static_cast<RetrogradePlanet>(p));
      const std::size_t count = std::min(table.retrograde.size(), table.direct.size());
      parsed[p].reserve(count);
      for (std::size_t i = 0; i < count; ++i) {
        const std::optional<int> retrograde_day = EntryDay(table.retrograde[i]);
        const std::optional<int> direct_day = EntryDay(table.direct[i]);
        if (retrograde_day && direct_day) parsed[p].push_back({*retrograde_day, *direct_day});
      }
    }
    return parsed;
  }();
  return tables;
}

}  // namespace

std::optional<StationMoment> ParseStationEntry(std::string_view entry) {
  // Four digits bound every field (a year at most) and keep the accumulation far from overflow.
  constexpr int kMaxDigits = 4;
  int fields[5];
  std::size_t pos = 0;
  for (int& field : fields) {
    int value = 0;
    int digits = 0;
    while (pos < entry.size() && entry[pos] >= '0' && entry[pos] <= '9') {
      if (++digits > kMaxDigits) return std::nullopt;
      value = value * 10 + (entry[pos] - '0');
      ++pos;
    }
    if (digits == 0 || pos == entry.size() || entry[pos] != ',') return std::nullopt;
    ++pos;
    field = value;
  }
  if (pos != entry.size()) return std::nullopt;

  const StationMoment moment{fields[0], fields[1], fields[2], fields[3], fields[4]};
  if (moment.year < 1 || moment.month < 1 || moment.month > 12 || moment.day < 1 ||
      moment.day > DaysInMonth(moment.year, moment.month) || moment.hour > 23 ||
      moment.minute > 59) {
    return std::nullopt;
  }
  return moment;
}

bool IsRetrograde(RetrogradePlanet planet, int month, int day, int year) {
  const int index = static_cast<int>(planet);
  if (index < 0 || index >= kRetrogradePlanetCount) return false;
  const Periods& periods = ParsedTables()[index];
  const int birth_day = static_cast<int>(core::DaysFromCivil(year, month, day));
  // The periods are chronological and disjoint, so only the last one whose retrograde station
  // falls before the birth day can contain it.
  const auto later = std::partition_point(
      periods.begin(), periods.end(),
      [birth_day](const Period& period) { return period.retrograde_day < birth_day; });
  return later != periods.begin() && birth_day < std::prev(later)->direct_day;
}

void MarkRetrogrades(const core::BirthData& birth, core::EnginePositions& out) {
  struct Marked {
    RetrogradePlanet planet;
    core::Body body;
  };
  constexpr Marked kMarked[] = {
      {RetrogradePlanet::kMercury, core::kMercury}, {RetrogradePlanet::kVenus, core::kVenus},
      {RetrogradePlanet::kMars, core::kMars},       {RetrogradePlanet::kJupiter, core::kJupiter},
      {RetrogradePlanet::kSaturn, core::kSaturn},
  };
  out.retrograde.fill(false);
  for (const Marked& marked : kMarked)
    out.retrograde[marked.body] = IsRetrograde(marked.planet, birth.Month, birth.Day, birth.Year);
}

}  // namespace solvane::retrogrades
