#include "zones/posix_rule.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "core/civil_date.h"

namespace solvane::zones {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int32_t kSecondsPerHour = 3600;

// A cursor over the TZ string; every reader returns false and leaves the text unusable on error.
class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}
  bool AtEnd() const { return pos_ == text_.size(); }
  char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
  bool Take(char c) {
    if (Peek() != c) return false;
    ++pos_;
    return true;
  }

  // An abbreviation: three or more letters, or anything between < and > ("<+0530>").
  bool Name(std::string& out) {
    const std::size_t start = pos_;
    if (Take('<')) {
      while (!AtEnd() && Peek() != '>') ++pos_;
      out = std::string(text_.substr(start + 1, pos_ - start - 1));
      return Take('>') && out.size() >= 3;
    }
    while (std::isalpha(static_cast<unsigned char>(Peek()))) ++pos_;
    out = std::string(text_.substr(start, pos_ - start));
    return out.size() >= 3;
  }

  // [+-]h[h[h]][:mm[:ss]] in seconds, hours at most `max_hours`.
  bool Time(int max_hours, std::int32_t& seconds) {
    const int sign = Take('-') ? -1 : (Take('+'), 1);
    int hours = 0;
    int minutes = 0;
    int secs = 0;
    if (!Number(hours, max_hours)) return false;
    if (Take(':') && (!Number(minutes, 59) || (Take(':') && !Number(secs, 59)))) return false;
    seconds = sign * (hours * kSecondsPerHour + minutes * 60 + secs);
    return true;
  }

  bool Number(int& value, int max) {
    const std::size_t start = pos_;
    value = 0;
    while (std::isdigit(static_cast<unsigned char>(Peek())) && pos_ - start < 4)
      value = value * 10 + (text_[pos_++] - '0');
    return pos_ > start && value <= max;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

bool ReadDate(Reader& in, PosixDate& date) {
  if (in.Take('M')) {
    date.kind = PosixDate::Kind::kMonthWeekDay;
    if (!in.Number(date.month, 12) || date.month < 1 || !in.Take('.') || !in.Number(date.week, 5) ||
        date.week < 1 || !in.Take('.') || !in.Number(date.weekday, 6))
      return false;
  } else if (in.Take('J')) {
    date.kind = PosixDate::Kind::kJulianNoLeap;
    if (!in.Number(date.day, 365) || date.day < 1) return false;
  } else {
    date.kind = PosixDate::Kind::kZeroBased;
    if (!in.Number(date.day, 365)) return false;
  }
  date.time_s = 2 * kSecondsPerHour;
  return !in.Take('/') || in.Time(167, date.time_s);
}

long MonthStart(long year, int month) {
  return month > 12 ? core::DaysFromCivil(year + 1, 1, 1) : core::DaysFromCivil(year, month, 1);
}

bool IsLeap(long year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// Days since 1970-01-01 of `date` in `year`.
long DayOf(const PosixDate& date, long year) {
  const long january_first = core::DaysFromCivil(year, 1, 1);
  switch (date.kind) {
    case PosixDate::Kind::kJulianNoLeap:
      return january_first + date.day - 1 + (IsLeap(year) && date.day > 59 ? 1 : 0);
    case PosixDate::Kind::kZeroBased:
      return january_first + date.day;
    case PosixDate::Kind::kMonthWeekDay:
      break;
  }
  const long first = MonthStart(year, date.month);
  const long first_weekday = (first % 7 + 7 + 4) % 7;  // 1970-01-01 was a Thursday
  long day = first + (date.weekday - first_weekday + 7) % 7 + 7 * (date.week - 1);
  while (day >= MonthStart(year, date.month + 1)) day -= 7;
  return day;
}

struct Change {
  std::int64_t ut_s;
  bool to_daylight;
};

}  // namespace

std::optional<PosixRule> ParsePosixRule(std::string_view text) {
  Reader in(text);
  PosixRule rule;
  std::int32_t west_s = 0;  // POSIX counts offsets positive west of Greenwich
  if (!in.Name(rule.standard_abbreviation) || !in.Time(24, west_s)) return std::nullopt;
  rule.standard_offset_s = -west_s;
  if (in.AtEnd()) return rule;

  if (!in.Name(rule.daylight_abbreviation)) return std::nullopt;
  rule.has_daylight = true;
  rule.daylight_offset_s = rule.standard_offset_s + kSecondsPerHour;
  if (in.Peek() != ',') {
    if (!in.Time(24, west_s)) return std::nullopt;
    rule.daylight_offset_s = -west_s;
  }
  // Without rules the changes would follow a default the TZif format does not define.
  if (!in.Take(',') || !ReadDate(in, rule.start) || !in.Take(',') || !ReadDate(in, rule.end) ||
      !in.AtEnd())
    return std::nullopt;
  return rule;
}

PosixPeriod PeriodAt(const PosixRule& rule, std::int64_t ut_s) {
  constexpr std::int64_t kFarPast = INT64_MIN / 2;
  constexpr std::int64_t kFarFuture = INT64_MAX / 2;
  if (!rule.has_daylight) return {kFarPast, kFarFuture, false};

  const long year = core::CivilFromDays(core::FloorDiv(ut_s, kSecondsPerDay)).year;
  std::array<Change, 8> changes{};
  for (int i = 0; i < 4; ++i) {
    const long y = year - 1 + i;
    changes[2 * i] = {
        DayOf(rule.start, y) * kSecondsPerDay + rule.start.time_s - rule.standard_offset_s, true};
    changes[2 * i + 1] = {
        DayOf(rule.end, y) * kSecondsPerDay + rule.end.time_s - rule.daylight_offset_s, false};
  }
  // At a tie (daylight time all year, written as an end that meets the next start) the change
  // back comes first, so the instant stays in daylight time.
  std::sort(changes.begin(), changes.end(), [](const Change& a, const Change& b) {
    return a.ut_s != b.ut_s ? a.ut_s < b.ut_s : !a.to_daylight && b.to_daylight;
  });
  const auto next = std::upper_bound(changes.begin(), changes.end(), ut_s,
                                     [](std::int64_t t, const Change& c) { return t < c.ut_s; });
  if (next == changes.begin()) return {kFarPast, next->ut_s, !next->to_daylight};
  const Change& last = *(next - 1);
  return {last.ut_s, next == changes.end() ? kFarFuture : next->ut_s, last.to_daylight};
}

std::optional<std::string> TzifFooter(std::string_view tzif) {
  constexpr std::size_t kHeaderBytes = 44;
  auto count = [&](std::size_t header, int field) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
      value = value << 8 | static_cast<unsigned char>(tzif[header + 20 + 4 * field + i]);
    return std::size_t{value};
  };
  auto block = [&](std::size_t header, std::size_t time_bytes) {
    // Counts in the header's order: isutcnt, isstdcnt, leapcnt, timecnt, typecnt, charcnt.
    return count(header, 3) * (time_bytes + 1) + count(header, 4) * 6 + count(header, 5) +
           count(header, 2) * (time_bytes + 4) + count(header, 1) + count(header, 0);
  };
  if (tzif.size() < kHeaderBytes || tzif.substr(0, 4) != "TZif" || tzif[4] < '2')
    return std::nullopt;
  const std::size_t second_header = kHeaderBytes + block(0, 4);
  if (second_header + kHeaderBytes > tzif.size()) return std::nullopt;
  const std::size_t footer = second_header + kHeaderBytes + block(second_header, 8);
  if (footer >= tzif.size() || tzif[footer] != '\n') return std::nullopt;
  const std::size_t close = tzif.find('\n', footer + 1);
  if (close == std::string_view::npos) return std::nullopt;
  return std::string(tzif.substr(footer + 1, close - footer - 1));
}

}  // namespace solvane::zones
