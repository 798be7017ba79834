// The births the writer program saves, made so that a reader can tell a whole one from a torn one.
#pragma once

#include <string>

#include "store/birth_record.h"

namespace solvane::store::testing {

inline BirthRecord WriterRecord(const std::string& tag, int n) {
  BirthRecord r;
  r.name = tag + " " + std::to_string(n);
  r.year = 1901 + n % 150, r.month = 1 + n % 12, r.day = 1 + n % 28;
  r.hour = n % 24, r.minute = n % 60, r.zone_index = n % 71;
  r.longitude_deg = n % 180, r.longitude_min = n % 60, r.latitude_deg = n % 90;
  r.city = tag;
  // A note of a few kilobytes, so that one record spans more than one page of the file.
  for (int i = 0; i < 500; ++i) r.note += r.name + ";";
  return r;
}

// Whether `r` is exactly what WriterRecord wrote for its name.
inline bool IsWholeWriterRecord(const BirthRecord& r) {
  const auto blank = r.name.rfind(' ');
  if (blank == std::string::npos) return false;
  BirthRecord want = WriterRecord(r.name.substr(0, blank), std::stoi(r.name.substr(blank + 1)));
  want.id = r.id, want.created_utc = r.created_utc, want.changed_utc = r.changed_utc;
  return want == r;
}

}  // namespace solvane::store::testing
