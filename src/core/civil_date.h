// Day numbers of civil dates, for calendar arithmetic without a calendar library.
#pragma once

namespace solvane::core {

// Floor division, as the calendar formulas' Int() means it, also for negative values.
constexpr long FloorDiv(long a, long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Days from 1970-01-01 to the proleptic Gregorian date `year`-`month`-`day`; a `day` beyond the
// month's length carries on into the following month. Counting from 1 March puts the leap day at
// the end of the counted year (H. Hinnant's civil-date algorithms).
constexpr long DaysFromCivil(long year, long month, long day) {
  year -= month <= 2 ? 1 : 0;
  const long era = FloorDiv(year, 400);
  const long year_of_era = year - era * 400;
  const long day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

struct CivilDate {
  int year, month, day;
};

// The date `days` after 1970-01-01.
constexpr CivilDate CivilFromDays(long days) {
  days += 719468;
  const long era = FloorDiv(days, 146097);
  const long day_of_era = days - era * 146097;
  const long year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const long day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const long mp = (5 * day_of_year + 2) / 153;
  const int day = static_cast<int>(day_of_year - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {static_cast<int>(year_of_era + era * 400 + (month <= 2)), month, day};
}

}  // namespace solvane::core
