#include "zones/suggestion.h"

#include <array>
#include <cstdio>

#include "core/text.h"
#include "zones/offset_text.h"
#include "zones/time_zones.h"

namespace solvane::zones {
namespace {

constexpr std::int32_t kOneHour_s = 3600;
constexpr std::array<const char*, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

std::int32_t RowOffset_s(const TimeZoneRow& row) {
  return -(row.zone_hours * kOneHour_s + row.zone_minutes * 60);
}

// "Indian Time, IST, +5.3" -> "IST".
std::string_view RowAbbreviation(std::string_view text) {
  const std::size_t first = text.find(',');
  const std::size_t second = text.find(',', first + 1);
  if (first == std::string_view::npos || second == std::string_view::npos) return {};
  return core::TrimBlanks(text.substr(first + 1, second - first - 1));
}

bool IsPlainStandardTime(std::string_view text) {
  for (const std::string_view word : {"Daylight", "Summer", "War"})
    if (text.find(word) != std::string_view::npos) return false;
  return true;
}

// The listed zone of offset `offset_s` that fits `abbreviation` best; -1 when none has it.
int BestRow(std::int32_t offset_s, std::string_view abbreviation) {
  const auto& table = TimeZoneTable();
  int first = -1;
  int plain = -1;
  for (int i = 0; i < kTimeZoneCount; ++i) {
    const TimeZoneRow& row = table[static_cast<std::size_t>(i)];
    if (RowOffset_s(row) != offset_s) continue;
    if (!abbreviation.empty() && RowAbbreviation(row.text) == abbreviation) return i;
    if (first < 0) first = i;
    if (plain < 0 && IsPlainStandardTime(row.text)) plain = i;
  }
  return plain >= 0 ? plain : first;
}

std::string DateTimeText(const LocalDateTime& t) {
  char clock[16];
  if (t.second != 0)
    std::snprintf(clock, sizeof clock, "%02d:%02d:%02d", t.hour, t.minute, t.second);
  else
    std::snprintf(clock, sizeof clock, "%02d:%02d", t.hour, t.minute);
  return std::to_string(t.day) + " " + kMonthNames[static_cast<std::size_t>(t.month - 1)] + " " +
         std::to_string(t.year) + " at " + clock;
}

std::string ReadingText(const FormZone& form, const ZoneAnswer& answer, const Reading& reading) {
  return FormZoneText(form) + " (" + answer.zone + ", " + FormatUtOffset(reading.total_offset_s) +
         ")";
}

}  // namespace

FormZone FormZoneFor(const Reading& reading) {
  if (reading.daylight_s == kOneHour_s) {
    const int row = BestRow(reading.standard_offset_s, reading.standard_abbreviation);
    if (row >= 0) return {row, true, reading.total_offset_s};
  }
  const int row = BestRow(reading.total_offset_s, reading.abbreviation);
  if (row >= 0) return {row, false, reading.total_offset_s};
  return {kOtherOffsetIndex, false, reading.total_offset_s};
}

std::string FormZoneText(const FormZone& form) {
  if (form.index < 0 || form.index >= kTimeZoneCount) return std::string(kOtherOffsetText);
  std::string text(TimeZoneTable()[static_cast<std::size_t>(form.index)].text);
  return form.daylight_saving ? text + ", daylight saving" : text;
}

core::Result<Suggestion> Suggest(std::string_view place, const ZoneQuery& query) {
  auto answer = LookUp(query);
  if (!answer) return core::Fail(answer.error().message);
  Suggestion s;
  s.answer = std::move(*answer);
  s.form = FormZoneFor(s.answer.reading);
  s.text = "For " + (place.empty() ? std::string("the birth") : std::string(place)) + " on " +
           DateTimeText(query.local) + ": ";
  if (s.answer.earlier && s.answer.later) {
    s.earlier_form = FormZoneFor(*s.answer.earlier);
    s.later_form = FormZoneFor(*s.answer.later);
  }
  if (!s.answer.needs_choice) {
    s.text += ReadingText(s.form, s.answer, s.answer.reading);
  } else {
    const bool skipped = s.answer.status == Status::kSkipped;
    s.text += "either " + ReadingText(*s.earlier_form, s.answer, *s.answer.earlier) +
              (skipped ? " before the jump" : " the first time") + ", or " +
              ReadingText(*s.later_form, s.answer, *s.answer.later) +
              (skipped ? " after it" : " the second time");
  }
  return s;
}

}  // namespace solvane::zones
