#include "entry/form_rules.h"

namespace solvane::entry {
namespace {

using core::MessageIcon;

std::vector<std::string> NumberTexts(int first, int last) {
  std::vector<std::string> out;
  out.reserve(static_cast<std::size_t>(last - first + 1));
  for (int i = first; i <= last; ++i) out.push_back(std::to_string(i));
  return out;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// A box whose text is empty, not a whole number, or outside 0..max.
bool OutOfRange(std::string_view text, int max) {
  const std::optional<int> n = WholeNumber(text);
  return !n || *n > max;
}

bool InRange(int position, int count) { return position >= 0 && position < count; }

Refusal Error(std::string text, std::string focus) {
  return {{std::move(text), MessageIcon::kError}, std::move(focus)};
}

Refusal Information(std::string text) { return {{std::move(text), MessageIcon::kInformation}, ""}; }

}  // namespace

std::vector<std::string> DateListTexts() { return NumberTexts(1, 31); }
std::vector<std::string> YearListTexts() { return NumberTexts(kFirstYear, kLastYear); }
std::vector<std::string> HourListTexts() { return NumberTexts(0, 23); }
std::vector<std::string> MinuteListTexts() { return NumberTexts(0, 59); }

KeyVerdict FilterCoordinateKey(char32_t typed) {
  if ((typed >= U'0' && typed <= U'9') || typed == kBackspace) return {true, typed, std::nullopt};
  return {false, typed, core::Message{"Only Numbers Are Accepted", MessageIcon::kError}};
}

KeyVerdict FilterNameKey(char32_t typed) {
  const bool upper = typed >= U'A' && typed <= U'Z';
  const bool lower = typed >= U'a' && typed <= U'z';
  if (upper || lower || typed == U' ' || typed == kEnter || typed == kBackspace)
    return {true, lower ? typed - 32 : typed, std::nullopt};
  return {false, typed, core::Message{"Please Enter only Letters", MessageIcon::kInformation}};
}

std::optional<int> WholeNumber(std::string_view text) {
  text = TrimBlanks(text);
  if (text.empty()) return std::nullopt;
  long value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    // Anything past six digits is far out of every range; stop before it can overflow.
    if (value > 999999) return 1000000;
    value = value * 10 + (c - '0');
  }
  return static_cast<int>(value);
}

std::optional<Refusal> ValidateBirthForm(const BirthFormSnapshot& form) {
  if (TrimBlanks(form.txtName).empty()) return Error("Please Enter Name", "txtName");
  if (OutOfRange(form.txtLonD, 179))
    return Error("Please Enter Value Between 0 And 179 in the Degree of Longitude", "txtLonD");
  if (OutOfRange(form.txtLonM, 59))
    return Error("Please Enter Value Between 0 And 59 in the  Minute of Longitude", "txtLonM");
  if (OutOfRange(form.txtLatD, 89))
    return Error("Please Enter Value Between 0 And 89 in the Degree of Latitude", "txtLatD");
  if (OutOfRange(form.txtLatM, 59))
    return Error("Please Enter Value Between 0 And 59 in the  Minute of Latitude", "txtLatM");

  // The lists always have a selection in the window; a snapshot from elsewhere may not.
  if (!InRange(form.cboMonth, 12) || !InRange(form.cboDate, 31) ||
      !InRange(form.cboYear, kLastYear - kFirstYear + 1))
    return Information("Please Enter Correct Date Or Month!");
  const int month = form.cboMonth + 1;
  const int day = form.cboDate + 1;
  const int year = kFirstYear + form.cboYear;
  // Every fourth year is a leap year: exact for 1901..2050.
  if (month == 2 && day > (year % 4 == 0 ? 29 : 28))
    return Information("Please Enter Correct Date Or Month!");
  if ((month == 4 || month == 6 || month == 9 || month == 11) && day == 31)
    return Information("Please Enter Correct Date Or Month !");

  if (!InRange(form.cboHH, 24) || !InRange(form.cboMM, 60) ||
      !InRange(form.cmbTimeZone, kTimeZoneCount))
    return Information("Please choose the time of birth and the time zone from their lists.");
  return std::nullopt;
}

void FillBirthData(const BirthFormSnapshot& form, core::ChartState& state) {
  core::BirthData& b = state.birth;
  b.Name = form.txtName;
  Zone_Calculation(form.cmbTimeZone, state);
  b.Month = static_cast<std::int16_t>(form.cboMonth + 1);
  b.Day = static_cast<std::int16_t>(form.cboDate + 1);
  b.Year = static_cast<std::int16_t>(kFirstYear + form.cboYear);
  b.Hour = static_cast<std::int16_t>(form.cboHH);
  b.Minute = static_cast<std::int16_t>(form.cboMM);
  b.ZoneHoursAbs =
      static_cast<std::int16_t>(state.ZoneHours < 0 ? -state.ZoneHours : state.ZoneHours);
  b.ZoneMinutesAbs =
      static_cast<std::int16_t>(state.ZoneMinutes < 0 ? -state.ZoneMinutes : state.ZoneMinutes);
  // A text that is not a whole number keeps the field's earlier value.
  const auto set = [](std::int16_t& field, std::string_view text) {
    if (const std::optional<int> n = WholeNumber(text); n && *n <= 32767)
      field = static_cast<std::int16_t>(*n);
  };
  set(b.LongitudeDeg, form.txtLonD);
  set(b.LongitudeMin, form.txtLonM);
  set(b.LatitudeDeg, form.txtLatD);
  set(b.LatitudeMin, form.txtLatM);
  b.East = form.optLongEast ? core::kTrue : core::kFalse;
  b.South = form.optLatSouth ? core::kTrue : core::kFalse;
  b.DaylightSaving = form.chkDST ? core::kTrue : core::kFalse;
}

}  // namespace solvane::entry
