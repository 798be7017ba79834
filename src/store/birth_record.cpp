#include "store/birth_record.h"

#include <array>
#include <cstdio>

#include "core/civil_date.h"
#include "core/text.h"
#include "store/search_fold.h"

namespace solvane::store {
namespace {

constexpr std::array<const char*, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

bool InRange(int value, int low, int high) { return value >= low && value <= high; }

int DaysInMonth(int year, int month) {
  const int next_year = month == 12 ? year + 1 : year;
  const int next_month = month == 12 ? 1 : month + 1;
  return static_cast<int>(core::DaysFromCivil(next_year, next_month, 1) -
                          core::DaysFromCivil(year, month, 1));
}

std::optional<std::string> CheckTexts(const BirthRecord& r) {
  const std::string_view texts[] = {r.name, r.city,    r.state,   r.country,
                                    r.note, r.tz_name, r.place_id};
  for (std::string_view text : texts) {
    if (!IsValidUtf8(text)) return "A text of the birth is not valid UTF-8; retype it.";
    if (text.find('\0') != std::string_view::npos)
      return "A text of the birth holds a NUL character; retype it.";
  }
  if (core::TrimBlanksAndTabs(r.name).empty()) return "The birth has no name; type a name.";
  return std::nullopt;
}

std::optional<std::string> CheckZoneAndPlace(const BirthRecord& r) {
  if (r.zone_index == kExactOffsetZone) {
    if (!InRange(r.offset_seconds_east, -kMaxOffsetSeconds, kMaxOffsetSeconds))
      return "The zone's offset lies beyond 18 hours from Greenwich; correct the offset.";
  } else if (!InRange(r.zone_index, 0, kNamedZoneCount - 1)) {
    return "The time zone is not one of the 71 in the list; pick a zone.";
  }
  if (!InRange(r.longitude_deg, 0, 180) || !InRange(r.longitude_min, 0, 59) ||
      (r.longitude_deg == 180 && r.longitude_min != 0))
    return "The longitude lies outside 0\u00B0 to 180\u00B0; correct its degrees and minutes.";
  if (!InRange(r.latitude_deg, 0, 90) || !InRange(r.latitude_min, 0, 59) ||
      (r.latitude_deg == 90 && r.latitude_min != 0))
    return "The latitude lies outside 0\u00B0 to 90\u00B0; correct its degrees and minutes.";
  return std::nullopt;
}

std::string TwoDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

void AppendField(std::string& key, std::string_view field) {
  key += field;
  key += '\x1F';  // unit separator: cannot be typed into a box, so fields never run together
}

}  // namespace

std::optional<std::string> CheckRecord(const BirthRecord& r) {
  if (auto refusal = CheckTexts(r)) return refusal;
  if (!InRange(r.year, 1, 9999) || !InRange(r.month, 1, 12) ||
      !InRange(r.day, 1, DaysInMonth(r.year, r.month)))
    return "The date of birth " + DateText(r) + " is not a calendar date; correct it.";
  if (!InRange(r.hour, 0, 23) || !InRange(r.minute, 0, 59))
    return "The time of birth " + TimeText(r) + " is not a clock time; correct it.";
  return CheckZoneAndPlace(r);
}

std::string DateText(const BirthRecord& r) {
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", r.year, r.month, r.day);
  return text;
}

std::string TimeText(const BirthRecord& r) { return TwoDigits(r.hour) + ":" + TwoDigits(r.minute); }

std::string PlaceText(const BirthRecord& r) {
  std::string text;
  for (const std::string* part : {&r.city, &r.state, &r.country}) {
    const std::string_view trimmed = core::TrimBlanksAndTabs(*part);
    if (trimmed.empty()) continue;
    if (!text.empty()) text += ", ";
    text += trimmed;
  }
  return text;
}

std::string LongitudeText(const BirthRecord& r) {
  return std::to_string(r.longitude_deg) + (r.east ? "E" : "W") + std::to_string(r.longitude_min);
}

std::string LatitudeText(const BirthRecord& r) {
  return std::to_string(r.latitude_deg) + (r.south ? "S" : "N") + std::to_string(r.latitude_min);
}

std::string DuplicateKey(const BirthRecord& r) {
  std::string key;
  for (std::string_view text :
       {std::string_view(r.name), std::string_view(r.city), std::string_view(r.state),
        std::string_view(r.country), std::string_view(r.tz_name), std::string_view(r.place_id),
        std::string_view(r.note)})
    AppendField(key, text);
  const int numbers[] = {r.year,
                         r.month,
                         r.day,
                         r.hour,
                         r.minute,
                         r.zone_index,
                         r.zone_index == kExactOffsetZone ? r.offset_seconds_east : 0,
                         r.daylight_saving,
                         r.longitude_deg,
                         r.longitude_min,
                         r.east,
                         r.latitude_deg,
                         r.latitude_min,
                         r.south};
  for (int number : numbers) AppendField(key, std::to_string(number));
  return key;
}

std::string SearchKey(const BirthRecord& r) {
  // One line per thing searched, so that a word never matches across the name and the place.
  std::string key = FoldForSearch(r.name);
  key += '\n';
  key += FoldForSearch(PlaceText(r));
  key += '\n';
  key += DateText(r);
  key += '\n';
  key += FoldForSearch(std::to_string(r.day) + " " + kMonthNames[(r.month + 11) % 12] + " " +
                       std::to_string(r.year));
  key += '\n';
  key += TwoDigits(r.day) + "." + TwoDigits(r.month) + "." + std::to_string(r.year);
  return key;
}

bool SameNameAndDate(const BirthRecord& a, const BirthRecord& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day &&
         FoldForSearch(core::TrimBlanksAndTabs(a.name)) ==
             FoldForSearch(core::TrimBlanksAndTabs(b.name));
}

}  // namespace solvane::store
