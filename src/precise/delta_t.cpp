// Delta T = TT - UT1 from the values the tables carry, and a stated continuation after them.
#include <algorithm>
#include <cmath>

#include "core/civil_date.h"
#include "precise/precise_engine.h"
#include "precise/precise_tables.h"

namespace solvane::precise {
namespace {

constexpr double kJdOfUnixEpoch = 2440587.5;  // 1970-01-01 0h
constexpr double kJ2000 = 2451545.0;          // Julian day
constexpr double kDaysPerJulianYear = 365.25;
constexpr int kMonthsPerYear = 12;
constexpr double kDaysPerMonth = kDaysPerJulianYear / kMonthsPerYear;
// The continuation's slope is the mean rate over this many months before the last value.
constexpr int kTrendMonths = 120;

double JdOfMonthStart(int year, int month) {
  // DaysFromCivil carries month 13 into January of the next year.
  return kJdOfUnixEpoch + static_cast<double>(core::DaysFromCivil(year, month, 1));
}

double Interpolate(const double* values, int index, double fraction) {
  return values[index] + fraction * (values[index + 1] - values[index]);
}

// Half-yearly values, placed on the Julian-year scale the table's years use.
double FromHistoric(double jd_ut) {
  const double year = 2000.0 + (jd_ut - kJ2000) / kDaysPerJulianYear;
  const double position = std::max(0.0, (year - kDeltaTHistoricFirstYear) * 2.0);
  const int index = std::min(static_cast<int>(position), kDeltaTHistoricCount - 2);
  return Interpolate(kDeltaTHistoric, index, position - index);
}

// Months after the first monthly value's month, and how far into its month `jd_ut` lies.
double MonthPosition(double jd_ut) {
  const core::CivilDate date =
      core::CivilFromDays(static_cast<long>(std::floor(jd_ut - kJdOfUnixEpoch)));
  const int months = (date.year - kDeltaTMonthlyFirstYear) * kMonthsPerYear + date.month -
                     kDeltaTMonthlyFirstMonth;
  const double start = JdOfMonthStart(date.year, date.month);
  const double length = JdOfMonthStart(date.year, date.month + 1) - start;
  return months + (jd_ut - start) / length;
}

}  // namespace

double DeltaTSeconds(double jd_ut) {
  const double monthly_start = JdOfMonthStart(kDeltaTMonthlyFirstYear, kDeltaTMonthlyFirstMonth);
  if (!(jd_ut >= monthly_start)) return FromHistoric(jd_ut);
  const int last = kDeltaTMonthlyCount - 1;
  const double last_jd = JdOfMonthStart(kDeltaTMonthlyFirstYear, kDeltaTMonthlyFirstMonth + last);
  if (jd_ut < last_jd) {
    const double position = MonthPosition(jd_ut);
    const int index = std::min(static_cast<int>(position), last - 1);
    return Interpolate(kDeltaTMonthly, index, position - index);
  }
  // After the last measurement nobody knows; go on in a straight line at the rate of the last
  // ten measured years.
  const double rate_per_month =
      (kDeltaTMonthly[last] - kDeltaTMonthly[last - kTrendMonths]) / kTrendMonths;
  return kDeltaTMonthly[last] + rate_per_month * (jd_ut - last_jd) / kDaysPerMonth;
}

}  // namespace solvane::precise
