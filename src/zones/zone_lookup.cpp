#include "zones/zone_lookup.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <tuple>

#include "core/civil_date.h"
#include "zones/offset_text.h"
#include "zones/zone_rules.h"

namespace solvane::zones {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr int kFirstYear = 1901;
constexpr int kLastYear = 2050;
// Data before this year is what the tz database itself calls uncertain.
constexpr int kReliableFromYear = 1970;
// Some Indian cities kept their own time until 1955.
constexpr int kIndiaReliableFromYear = 1956;
// Seconds of time per degree of longitude (24 h over 360 degrees).
constexpr double kSecondsPerDegree = 240.0;
// Europe/Amsterdam in January 1930 kept Amsterdam Mean Time, UT+0:19:32 (seconds).
constexpr std::int32_t kAmsterdamMeanTime_s = 19 * 60 + 32;
constexpr std::int64_t kAmsterdamCheck_s =  // 1930-01-15 12:00 UT
    core::DaysFromCivil(1930, 1, 15) * kSecondsPerDay + 12 * 3600;

bool IsValid(const LocalDateTime& t) {
  if (t.month < 1 || t.month > 12 || t.day < 1 || t.hour < 0 || t.hour > 23 || t.minute < 0 ||
      t.minute > 59 || t.second < 0 || t.second > 59)
    return false;
  // A day past the month's end carries into the next month in DaysFromCivil.
  return core::CivilFromDays(core::DaysFromCivil(t.year, t.month, t.day)).month == t.month;
}

std::string ClockText(std::int64_t local_s) {
  const std::int64_t of_day = local_s - core::FloorDiv(local_s, kSecondsPerDay) * kSecondsPerDay;
  char text[16];
  const int h = static_cast<int>(of_day / 3600);
  const int m = static_cast<int>(of_day / 60 % 60);
  const int s = static_cast<int>(of_day % 60);
  if (s != 0)
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", h, m, s);
  else
    std::snprintf(text, sizeof text, "%02d:%02d", h, m);
  return text;
}

std::string LongitudeText(double longitude_deg) {
  const long minutes = std::lround(std::fabs(longitude_deg) * 60.0);
  return std::to_string(minutes / 60) + "\u00B0" + std::to_string(minutes % 60) + "' " +
         (longitude_deg < 0 ? "W" : "E");
}

// An interval with the offset that applies at the birth place: local mean time is the
// reference city's in the database and the birth place's here.
struct Candidate {
  Interval interval;
  std::int32_t offset_s;
  bool Holds(std::int64_t local_s) const {
    const std::int64_t ut = local_s - offset_s;
    return interval.begin_s <= ut && ut < interval.end_s;
  }
};

bool IsLmt(const Interval& interval) { return interval.abbreviation == "LMT"; }

// The birth place's mean time counted on the same side of the date line as the zone's: Tonga's
// was UT+12:19:12, not the UT-11:40:48 its western longitude gives on its own.
std::int32_t SameSideOfDateLine(std::int32_t place_s, std::int32_t zone_s) {
  constexpr std::int32_t kHalfDay_s = 43200;
  constexpr std::int32_t kDay_s = 86400;
  if (place_s - zone_s > kHalfDay_s) return place_s - kDay_s;
  if (zone_s - place_s > kHalfDay_s) return place_s + kDay_s;
  return place_s;
}

// The intervals whose offset could map `local_s` into them: no zone is more than a day from UT.
std::vector<Candidate> CandidatesAround(const ZoneRules& rules, std::int64_t local_s,
                                        std::int32_t lmt_offset_s) {
  constexpr int kMaxCandidates = 16;  // two days hold a handful of changes at most
  std::vector<Candidate> out;
  Interval interval = rules.At(local_s - kSecondsPerDay);
  for (int i = 0; i < kMaxCandidates; ++i) {
    const std::int32_t offset =
        IsLmt(interval) ? SameSideOfDateLine(lmt_offset_s, interval.offset_s) : interval.offset_s;
    const std::int64_t end = interval.end_s;
    out.push_back({std::move(interval), offset});
    if (end > local_s + kSecondsPerDay) break;
    interval = rules.At(end);
  }
  return out;
}

Reading MakeReading(const ZoneRules& rules, const Candidate& c, std::int64_t local_s) {
  Reading r;
  r.total_offset_s = c.offset_s;
  r.abbreviation = c.interval.abbreviation;
  r.is_dst = c.interval.is_dst;
  r.ut_s = local_s - c.offset_s;
  if (IsLmt(c.interval)) {
    r.standard_offset_s = c.offset_s;
    r.standard_abbreviation = c.interval.abbreviation;
  } else {
    std::tie(r.standard_offset_s, r.standard_abbreviation) = rules.StandardOf(c.interval);
  }
  r.daylight_s = r.total_offset_s - r.standard_offset_s;
  return r;
}

std::string ChoiceText(Fold fold, const char* earlier, const char* later) {
  if (fold == Fold::kUnset) return " Choose which one was meant.";
  return std::string(" Taken as ") + (fold == Fold::kEarlier ? earlier : later) + ".";
}

// Fills the two readings of a time the clocks skipped or showed twice; `fold` picks the one to use.
void SetBothReadings(ZoneAnswer& answer, Fold fold, Reading earlier, Reading later) {
  answer.needs_choice = fold == Fold::kUnset;
  answer.reading = fold == Fold::kLater ? later : earlier;
  answer.earlier = std::move(earlier);
  answer.later = std::move(later);
}

std::optional<std::string> QueryError(const ZoneQuery& q) {
  if (q.local.year < kFirstYear || q.local.year > kLastYear)
    return "The year " + std::to_string(q.local.year) + " lies outside 1901 to 2050.";
  if (!IsValid(q.local)) return std::string("There is no such date and time of day.");
  if (!std::isfinite(q.longitude_deg) || std::fabs(q.longitude_deg) > 180.0)
    return std::string("The longitude must lie between 180 degrees west and 180 east.");
  return std::nullopt;
}

void ResolveSkipped(const ZoneRules& rules, const std::vector<Candidate>& candidates,
                    std::int64_t local_s, Fold fold, ZoneAnswer& answer) {
  for (std::size_t i = 0; i + 1 < candidates.size(); ++i) {
    const Candidate& before = candidates[i];
    const Candidate& after = candidates[i + 1];
    if (local_s - before.offset_s < before.interval.end_s ||
        local_s - after.offset_s >= after.interval.begin_s)
      continue;
    const std::int64_t jump = before.interval.end_s;
    answer.status = Status::kSkipped;
    answer.notes.push_back("The clocks jumped from " + ClockText(jump + before.offset_s) + " to " +
                           ClockText(jump + after.offset_s) + " that day, so " +
                           ClockText(local_s) + " never showed: before the jump it reads as " +
                           FormatUtOffset(before.offset_s) + ", after it as " +
                           FormatUtOffset(after.offset_s) + "." +
                           ChoiceText(fold, "before the jump", "after the jump"));
    SetBothReadings(answer, fold, MakeReading(rules, before, local_s),
                    MakeReading(rules, after, local_s));
    return;
  }
}

void ResolveRepeated(const ZoneRules& rules, const std::vector<Candidate>& candidates,
                     std::size_t first, std::size_t last, std::int64_t local_s, Fold fold,
                     ZoneAnswer& answer) {
  const Candidate& a = candidates[first];
  const std::int64_t change = a.interval.end_s;
  answer.status = Status::kRepeated;
  answer.notes.push_back("The clocks went back from " + ClockText(change + a.offset_s) + " to " +
                         ClockText(change + candidates[first + 1].offset_s) + " that day, so " +
                         ClockText(local_s) + " showed twice: first as " +
                         FormatUtOffset(a.offset_s) + ", then as " +
                         FormatUtOffset(candidates[last].offset_s) + "." +
                         ChoiceText(fold, "the first", "the second"));
  SetBothReadings(answer, fold, MakeReading(rules, a, local_s),
                  MakeReading(rules, candidates[last], local_s));
}

// Every note but the skip or repeat, in order of importance.
void AddNotes(const ZoneQuery& q, ZoneAnswer& answer) {
  const bool lmt = answer.reading.abbreviation == "LMT";
  if (lmt)
    answer.notes.push_back(
        "The database gives local mean time here, which is that of " + answer.zone +
        "'s reference city; the offset used, " + FormatUtOffset(answer.reading.total_offset_s) +
        ", is the birth place's own, from its longitude " + LongitudeText(q.longitude_deg) + ".");
  if (lmt && answer.status == Status::kOk) answer.status = Status::kLmt;
  const bool india = answer.zone == "Asia/Kolkata" || answer.zone == "Asia/Calcutta";
  if (india && q.local.year < kIndiaReliableFromYear)
    answer.notes.push_back(
        "Before 1956 some Indian cities kept their own time (Bombay Time until 1955, Calcutta "
        "Time until 1948), which the database does not show: check the time on the record.");
  answer.historical = q.local.year < kReliableFromYear;
  if (answer.historical) {
    answer.notes.push_back(
        "Time zone data before 1970 is less certain, as the tz database itself says: check the "
        "offset against the birth record if you can.");
    if (answer.status == Status::kOk) answer.status = Status::kHistorical;
  }
  if (!DatabaseHasHistory())
    answer.notes.push_back(
        "This system's time zone database lacks the history before 1970 (it does not give "
        "Amsterdam's UT+0:19:32 of 1930): historical offsets may be wrong.");
}

}  // namespace

core::Result<ZoneAnswer> LookUp(const ZoneQuery& q) {
  if (const auto error = QueryError(q)) return core::Fail(*error);
  const auto rules = ZoneRules::Find(q.zone);
  if (!rules) return core::Fail(rules.error().message);
  const std::int64_t local_s =
      core::DaysFromCivil(q.local.year, q.local.month, q.local.day) * kSecondsPerDay +
      q.local.hour * 3600 + q.local.minute * 60 + q.local.second;
  const auto lmt_offset_s =
      static_cast<std::int32_t>(std::lround(q.longitude_deg * kSecondsPerDegree));
  const std::vector<Candidate> candidates = CandidatesAround(**rules, local_s, lmt_offset_s);

  ZoneAnswer answer;
  answer.zone = std::string(q.zone);
  std::vector<std::size_t> holding;
  for (std::size_t i = 0; i < candidates.size(); ++i)
    if (candidates[i].Holds(local_s)) holding.push_back(i);
  if (holding.size() == 1)
    answer.reading = MakeReading(**rules, candidates[holding[0]], local_s);
  else if (holding.size() > 1)
    ResolveRepeated(**rules, candidates, holding.front(), holding.back(), local_s, q.fold, answer);
  else
    ResolveSkipped(**rules, candidates, local_s, q.fold, answer);
  if (holding.empty() && answer.status != Status::kSkipped)
    return core::Fail("The time zone database gives no reading for this time in " + answer.zone +
                      ".");
  AddNotes(q, answer);
  return answer;
}

core::Result<Reading> ReadingAt(std::string_view zone, std::int64_t ut_s) {
  const auto rules = ZoneRules::Find(zone);
  if (!rules) return core::Fail(rules.error().message);
  const Interval interval = (*rules)->At(ut_s);
  Reading r;
  r.total_offset_s = interval.offset_s;
  std::tie(r.standard_offset_s, r.standard_abbreviation) = (*rules)->StandardOf(interval);
  r.daylight_s = r.total_offset_s - r.standard_offset_s;
  r.abbreviation = interval.abbreviation;
  r.is_dst = interval.is_dst;
  r.ut_s = ut_s;
  return r;
}

bool DatabaseHasHistory() {
  static const bool has_history = [] {
    const auto r = ReadingAt("Europe/Amsterdam", kAmsterdamCheck_s);
    return r && r->total_offset_s == kAmsterdamMeanTime_s;
  }();
  return has_history;
}

}  // namespace solvane::zones
