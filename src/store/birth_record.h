// A saved birth: every field of the entry form, as the person list keeps it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace solvane::store {

// Number of named zones in the entry form's list (positions 0..70).
inline constexpr int kNamedZoneCount = 71;
// `BirthRecord::zone_index` when the zone is an exact offset rather than a named zone.
inline constexpr int kExactOffsetZone = -1;
// Largest exact offset accepted, in seconds either side of Greenwich (18 hours).
inline constexpr int kMaxOffsetSeconds = 18 * 3600;

struct BirthRecord {
  std::int64_t id = 0;          // 0 until the record is stored; never reused once given
  std::string name;             // UTF-8, as typed
  int year = 1901;              // civil date of birth
  int month = 1;                // 1..12
  int day = 1;                  // 1..31
  int hour = 0;                 // local clock time, 0..23
  int minute = 0;               // 0..59
  int zone_index = 0;           // position in the 71-zone list, or kExactOffsetZone
  int offset_seconds_east = 0;  // the zone when zone_index is kExactOffsetZone, seconds east of UT
  bool daylight_saving = false;
  int longitude_deg = 0;  // 0..180
  int longitude_min = 0;  // 0..59
  bool east = true;
  int latitude_deg = 0;  // 0..90
  int latitude_min = 0;  // 0..59
  bool south = false;
  std::string city, state, country;
  std::string tz_name;   // IANA zone ("Asia/Kolkata") when the place came from the atlas, else ""
  std::string place_id;  // atlas place identifier when the place came from the atlas, else ""
  std::string note;
  std::string created_utc;  // ISO 8601 UTC, "2024-05-01T12:34:56.789Z"; set by the store
  std::string changed_utc;  // same form; set by the store on every change

  friend bool operator==(const BirthRecord&, const BirthRecord&) = default;
};

// Why a record cannot be stored, as a sentence for the user, or nothing when it can.
std::optional<std::string> CheckRecord(const BirthRecord& record);

// "1980-08-15" and "06:30": how lists and files show the date and the clock time.
std::string DateText(const BirthRecord& record);
std::string TimeText(const BirthRecord& record);
// "New Delhi, Delhi, India" (empty parts left out).
std::string PlaceText(const BirthRecord& record);
// "77E13" and "28N36": the coordinates as solvane-chart's --lon and --lat take them.
std::string LongitudeText(const BirthRecord& record);
std::string LatitudeText(const BirthRecord& record);

// Every field but the id and the timestamps, in one text: records with equal keys are exact
// duplicates, which an import stores only once.
std::string DuplicateKey(const BirthRecord& record);
// The folded text that search looks in: name, place and date in several spellings.
std::string SearchKey(const BirthRecord& record);

// Whether `a` and `b` are the same person for "save": same name regardless of case and accents,
// and the same date of birth.
bool SameNameAndDate(const BirthRecord& a, const BirthRecord& b);

}  // namespace solvane::store
