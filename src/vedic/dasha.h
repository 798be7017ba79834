// Vimshottari periods from the Moon's nakshatra: mahadashas, antardashas and pratyantardashas, on
// the birth's local day numbers, and their texts.
//
// Before and after the listing: the first mahadasha began before birth, when the Moon entered its
// nakshatra. Every period keeps its whole span (`start_day`, `end_day`) so that the sub-periods
// keep their full lengths; the listing runs from birth for 120 years, and `shown_start_day` and
// `shown_end_day` are the span clipped to it. A period wholly outside the listing is not listed;
// the cycle that starts again after the ninth mahadasha is listed up to the listing's end.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/result.h"
#include "vedic/nakshatra.h"

namespace solvane::vedic {

// Years of each lord's mahadasha, indexed by `Lord`; they make 120 in all.
inline constexpr std::array<int, kLordCount> kVimshottariYears = {7, 20, 6, 10, 7, 18, 16, 19, 17};
inline constexpr int kVimshottariCycleYears = 120;

// Lengths of the periods' year, in days.
enum class YearLength : std::uint8_t {
  kJulian,     // 365.25 days, the default
  kGregorian,  // 365.2425 days
  kSavana,     // 360 days
};
inline constexpr double kJulianYearDays = 365.25;
inline constexpr double kGregorianYearDays = 365.2425;
inline constexpr double kSavanaYearDays = 360;

constexpr double YearDays(YearLength length) {
  switch (length) {
    case YearLength::kGregorian:
      return kGregorianYearDays;
    case YearLength::kSavana:
      return kSavanaYearDays;
    case YearLength::kJulian:
      break;
  }
  return kJulianYearDays;
}

// "365.25", "365.2425" or "360" (also "julian", "gregorian", "savana"); anything else fails with a
// message that lists the choices.
core::Result<YearLength> ParseYearLength(std::string_view text);

enum class DashaLevel : std::uint8_t { kMahadasha = 0, kAntardasha, kPratyantardasha };
inline constexpr int kDashaLevelCount = 3;

// "Mahadasha", "Antardasha", "Pratyantardasha".
std::string_view LevelName(DashaLevel level);

struct DashaPeriod {
  Lord lord = Lord::kKetu;
  DashaLevel level = DashaLevel::kMahadasha;
  // The whole span, local day numbers (days since 1970-01-01 00:00 of the birth's local clock).
  double start_day = 0;
  double end_day = 0;
  // The span within the listing [birth, birth + 120 years); empty when the period lies outside.
  double shown_start_day = 0;
  double shown_end_day = 0;

  bool StartsBeforeBirth() const { return start_day < shown_start_day; }
  bool EndsAfterListing() const { return end_day > shown_end_day; }
  bool Listed() const { return shown_start_day < shown_end_day; }
};

// Periods held in place, so that a walk through all three levels allocates nothing.
template <int kCapacity>
struct PeriodList {
  std::array<DashaPeriod, kCapacity> items{};
  int count = 0;

  const DashaPeriod* begin() const { return items.data(); }
  const DashaPeriod* end() const { return items.data() + count; }
  int size() const { return count; }
  bool empty() const { return count == 0; }
  const DashaPeriod& operator[](int i) const { return items[i]; }
};
// The nine mahadashas of a cycle and, when the first began before birth, its return at the end.
using Mahadashas = PeriodList<kLordCount + 1>;
using SubPeriods = PeriodList<kLordCount>;

// The periods running at one moment, one of each level.
struct DashaPath {
  DashaPeriod mahadasha, antardasha, pratyantardasha;
};

// Which sub-periods to return: those in the listing, or all nine with the ones before birth.
enum class Span : std::uint8_t { kListed, kWhole };

class Vimshottari {
 public:
  // The periods of a birth at local day number `birth_day` (e.g. DaysFromCivil(y, m, d) +
  // minutes / 1440) with the Moon at `moon_sidereal_degrees`. `approximate` says the Moon may be a
  // few arc-minutes off (it is carried to the texts). Fails when a number is not finite, the birth
  // lies beyond ±10 million days, or a year is not 300 to 400 days long.
  static core::Result<Vimshottari> FromMoon(double moon_sidereal_degrees, double birth_day,
                                            double year_days = kJulianYearDays,
                                            bool approximate = false);

  const NakshatraPlace& MoonNakshatra() const { return moon_; }
  Lord FirstLord() const { return moon_.lord; }
  // Years of the first mahadasha still to run at birth, (0, its whole length].
  double BalanceYears() const { return balance_years_; }
  double BirthDay() const { return birth_day_; }
  // The first mahadasha's whole start: when the Moon entered its nakshatra.
  double CycleStartDay() const { return cycle_start_day_; }
  // End of the listing: birth + 120 years.
  double ListEndDay() const { return list_end_day_; }
  double YearDays() const { return year_days_; }
  bool Approximate() const { return approximate_; }

  // The listed mahadashas, in order: the birth's running one first.
  Mahadashas ListedMahadashas() const;
  // The nine sub-periods of `parent` (one level down, starting with the parent's lord), or those of
  // them that are listed. A pratyantardasha has none.
  SubPeriods SubPeriodsOf(const DashaPeriod& parent, Span span = Span::kListed) const;

  // The periods running at local day number `day` (each period holds [start, end)).
  core::Result<DashaPath> RunningAt(double day) const;
  // The periods running on the local date `date_day` (days since 1970-01-01): a period runs on the
  // dates from its start's date up to the day before its end's date, so that on the date one period
  // hands over to the next, the next is the one running. Fails outside the listing.
  core::Result<DashaPath> RunningOnDate(long date_day) const;

  // Calls `visit(const DashaPeriod&)` for every listed period, depth first: a mahadasha, then each
  // of its antardashas followed by its pratyantardashas.
  template <typename Visit>
  void VisitListed(Visit&& visit) const {
    for (const DashaPeriod& maha : ListedMahadashas()) {
      visit(maha);
      for (const DashaPeriod& antar : SubPeriodsOf(maha)) {
        visit(antar);
        for (const DashaPeriod& praty : SubPeriodsOf(antar)) visit(praty);
      }
    }
  }

 private:
  Vimshottari() = default;
  DashaPeriod Clipped(Lord lord, DashaLevel level, double start, double end) const;
  template <typename Contains>
  core::Result<DashaPath> Descend(Contains contains) const;

  NakshatraPlace moon_;
  double birth_day_ = 0;
  double year_days_ = kJulianYearDays;
  double balance_years_ = 0;
  double cycle_start_day_ = 0;
  double list_end_day_ = 0;
  bool approximate_ = false;
};

// Texts, shared by the command line, the window and the PDF sheet.

// "YYYY-MM-DD": the civil date of the local day that `day` falls in; "" when it is not finite or
// lies beyond ±10 million days.
std::string DateText(double day);
// Room for any DateText, in characters.
inline constexpr std::size_t kDateTextRoom = 24;
// DateText(day) written at `out` (kDateTextRoom characters of room), without allocating: a batch
// writes some two hundred dates a chart. Returns the end of what was written.
char* WriteDateText(double day, char* out);
// "3 years 4 months 12 days": whole years, whole twelfths of a year, and the whole days left, a day
// being 1 / `year_days` of a year; "1 year", "1 month", "1 day" in the singular.
std::string DurationText(double years, double year_days);
// The balance at birth: "Ketu 3 years 4 months 12 days".
std::string BalanceText(const Vimshottari& periods);
// "Jupiter / Saturn / Mercury".
std::string PathText(const DashaPath& path);
// "Years of 365.25 days." and, when approximate, why the dates may be off.
std::string PeriodsNote(double year_days, bool approximate);
// How the listing treats the periods under way at birth.
inline constexpr std::string_view kListingNote =
    "Periods under way at birth are listed from the birth date.";
// The sentence that says why the dates may be off, on its own.
inline constexpr std::string_view kApproximateNote =
    "Dates are approximate, to about two weeks: the classic engine's Moon can be 2' off.";

}  // namespace solvane::vedic
