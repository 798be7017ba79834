#include "vedic/dasha.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "core/civil_date.h"

namespace solvane::vedic {
namespace {

// Day numbers beyond this are faults upstream; keeping inside it keeps the conversions to whole
// days defined.
constexpr double kDayLimit = 1e7;  // days, about 27 000 years either side of 1970
constexpr double kShortestYearDays = 300;
constexpr double kLongestYearDays = 400;
// Lets a part that is a whole number up to rounding count as whole (3.5 years is 6 months, not
// 5 months 30 days); in years or months, far below a day.
constexpr double kWholeSlack = 1e-9;

int YearsOf(Lord lord) { return kVimshottariYears[static_cast<int>(lord)]; }

std::string NumberText(double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

void AppendCount(std::string& out, long count, std::string_view unit) {
  out += std::to_string(count);
  out += ' ';
  out += unit;
  if (count != 1) out += 's';
}

}  // namespace

core::Result<YearLength> ParseYearLength(std::string_view text) {
  if (text == "365.25" || text == "julian") return YearLength::kJulian;
  if (text == "365.2425" || text == "gregorian") return YearLength::kGregorian;
  if (text == "360" || text == "savana") return YearLength::kSavana;
  return core::Fail("The year of the periods must be 365.25, 365.2425 or 360 days, not \"" +
                    std::string(text) + "\".");
}

std::string_view LevelName(DashaLevel level) {
  switch (level) {
    case DashaLevel::kAntardasha:
      return "Antardasha";
    case DashaLevel::kPratyantardasha:
      return "Pratyantardasha";
    case DashaLevel::kMahadasha:
      break;
  }
  return "Mahadasha";
}

core::Result<Vimshottari> Vimshottari::FromMoon(double moon_sidereal_degrees, double birth_day,
                                                double year_days, bool approximate) {
  if (!std::isfinite(moon_sidereal_degrees))
    return core::Fail("The Moon's longitude is not a number.");
  if (!(std::fabs(birth_day) < kDayLimit)) return core::Fail("The birth moment is out of range.");
  if (!(year_days >= kShortestYearDays && year_days <= kLongestYearDays))
    return core::Fail("A year of the periods must last 300 to 400 days, not " +
                      NumberText(year_days) + ".");
  Vimshottari v;
  v.moon_ = NakshatraOf(moon_sidereal_degrees);
  v.birth_day_ = birth_day;
  v.year_days_ = year_days;
  v.approximate_ = approximate;
  const double first_years = YearsOf(v.moon_.lord);
  v.balance_years_ = v.moon_.fraction_remaining * first_years;
  v.cycle_start_day_ = birth_day - (first_years - v.balance_years_) * year_days;
  v.list_end_day_ = birth_day + kVimshottariCycleYears * year_days;
  return v;
}

DashaPeriod Vimshottari::Clipped(Lord lord, DashaLevel level, double start, double end) const {
  DashaPeriod p{lord, level, start, end, std::max(start, birth_day_), std::min(end, list_end_day_)};
  if (p.shown_end_day < p.shown_start_day) p.shown_end_day = p.shown_start_day;
  return p;
}

Mahadashas Vimshottari::ListedMahadashas() const {
  Mahadashas list;
  int years_before = 0;
  for (int k = 0; k <= kLordCount; ++k) {
    const Lord lord = LordAfter(moon_.lord, k);
    const int years_after = years_before + YearsOf(lord);
    const DashaPeriod p =
        Clipped(lord, DashaLevel::kMahadasha, cycle_start_day_ + years_before * year_days_,
                cycle_start_day_ + years_after * year_days_);
    if (p.Listed()) list.items[list.count++] = p;
    years_before = years_after;
  }
  return list;
}

SubPeriods Vimshottari::SubPeriodsOf(const DashaPeriod& parent, Span span) const {
  SubPeriods list;
  if (parent.level == DashaLevel::kPratyantardasha) return list;
  const auto level = static_cast<DashaLevel>(static_cast<int>(parent.level) + 1);
  // Each sub-period takes the parent's share of its lord's years in 120; the ends come from the
  // running sum, each start is the previous end, and the last ends on the parent's end, so the
  // parts fill the parent exactly.
  const double days_per_year_share = (parent.end_day - parent.start_day) / kVimshottariCycleYears;
  int lord = static_cast<int>(parent.lord);
  int years_after = 0;
  double start = parent.start_day;
  for (int i = 0; i < kLordCount; ++i) {
    years_after += kVimshottariYears[lord];
    const double end =
        i + 1 == kLordCount ? parent.end_day : parent.start_day + years_after * days_per_year_share;
    const DashaPeriod p = Clipped(static_cast<Lord>(lord), level, start, end);
    if (span == Span::kWhole || p.Listed()) list.items[list.count++] = p;
    start = end;
    lord = lord + 1 == kLordCount ? 0 : lord + 1;
  }
  return list;
}

template <typename Contains>
core::Result<DashaPath> Vimshottari::Descend(Contains contains) const {
  DashaPath path;
  DashaPeriod* levels[kDashaLevelCount] = {&path.mahadasha, &path.antardasha,
                                           &path.pratyantardasha};
  const Mahadashas mahas = ListedMahadashas();
  const auto maha = std::find_if(mahas.begin(), mahas.end(), contains);
  if (maha == mahas.end()) return core::Fail("No period is listed for that moment.");
  *levels[0] = *maha;
  for (int level = 1; level < kDashaLevelCount; ++level) {
    const SubPeriods subs = SubPeriodsOf(*levels[level - 1]);
    const auto sub = std::find_if(subs.begin(), subs.end(), contains);
    if (sub == subs.end()) return core::Fail("No period is listed for that moment.");
    *levels[level] = *sub;
  }
  return path;
}

core::Result<DashaPath> Vimshottari::RunningAt(double day) const {
  if (!(day >= birth_day_ && day < list_end_day_))
    return core::Fail("The periods are listed from " + DateText(birth_day_) + " to " +
                      DateText(list_end_day_) + " only.");
  return Descend(
      [day](const DashaPeriod& p) { return p.shown_start_day <= day && day < p.shown_end_day; });
}

core::Result<DashaPath> Vimshottari::RunningOnDate(long date_day) const {
  const double date = static_cast<double>(date_day);
  if (date < std::floor(birth_day_))
    return core::Fail(DateText(date) + " lies before the birth (" + DateText(birth_day_) + ").");
  if (date >= std::floor(list_end_day_))
    return core::Fail("The periods are listed for 120 years, up to " + DateText(list_end_day_) +
                      "; " + DateText(date) + " lies beyond.");
  return Descend([date](const DashaPeriod& p) {
    return std::floor(p.shown_start_day) <= date && date < std::floor(p.shown_end_day);
  });
}

char* WriteDateText(double day, char* out) {
  if (!(std::fabs(day) < kDayLimit)) return out;
  const core::CivilDate d = core::CivilFromDays(static_cast<long>(std::floor(day)));
  if (d.year < 0 || d.year > 9999) {
    const int written =
        std::snprintf(out, kDateTextRoom, "%04d-%02d-%02d", d.year, d.month, d.day);
    return out + std::clamp(written, 0, static_cast<int>(kDateTextRoom) - 1);
  }
  // Two digits at a time: printf was most of a batch's time.
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  const auto pair = [](char* at, int value) {
    at[0] = kPairs[2 * value];
    at[1] = kPairs[2 * value + 1];
  };
  pair(out, d.year / 100);
  pair(out + 2, d.year % 100);
  out[4] = '-';
  pair(out + 5, d.month);
  out[7] = '-';
  pair(out + 8, d.day);
  return out + 10;
}

std::string DateText(double day) {
  char buffer[kDateTextRoom];
  return std::string(buffer, WriteDateText(day, buffer));
}

std::string DurationText(double years, double year_days) {
  if (!(years > 0 && years < kDayLimit)) years = 0;
  const double whole_years = std::floor(years + kWholeSlack);
  const double months_left = std::max(0.0, (years - whole_years) * 12);
  double whole_months = std::floor(months_left + kWholeSlack);
  const double days = std::max(0.0, (months_left - whole_months) * year_days / 12);
  long whole_days = static_cast<long>(std::floor(days + kWholeSlack));
  long year_count = static_cast<long>(whole_years);
  if (whole_months >= 12) {  // only by the slack: 11.9999999999 months
    whole_months = 0;
    whole_days = 0;
    ++year_count;
  }
  std::string out;
  AppendCount(out, year_count, "year");
  out += ' ';
  AppendCount(out, static_cast<long>(whole_months), "month");
  out += ' ';
  AppendCount(out, whole_days, "day");
  return out;
}

std::string BalanceText(const Vimshottari& periods) {
  std::string out(LordName(periods.FirstLord()));
  out += ' ';
  out += DurationText(periods.BalanceYears(), periods.YearDays());
  return out;
}

std::string PathText(const DashaPath& path) {
  std::string out(LordName(path.mahadasha.lord));
  out += " / ";
  out += LordName(path.antardasha.lord);
  out += " / ";
  out += LordName(path.pratyantardasha.lord);
  return out;
}

std::string PeriodsNote(double year_days, bool approximate) {
  std::string out = "Years of " + NumberText(year_days) + " days.";
  if (approximate) {
    out += ' ';
    out += kApproximateNote;
  }
  return out;
}

}  // namespace solvane::vedic
