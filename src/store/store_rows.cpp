#include <chrono>
#include <cstdio>
#include <ctime>

#include "core/text.h"
#include "store/births_store.h"
#include "store/search_fold.h"
#include "store/store_internal.h"

namespace solvane::store::internal {

BirthRecord ReadRecord(const Statement& row) {
  BirthRecord r;
  const auto number = [&row](int column) { return static_cast<int>(row.Int(column)); };
  r.id = row.Int(0);
  r.name = row.Text(1);
  r.year = number(2), r.month = number(3), r.day = number(4);
  r.hour = number(5), r.minute = number(6);
  r.zone_index = number(7), r.offset_seconds_east = number(8);
  r.daylight_saving = row.Int(9) != 0;
  r.longitude_deg = number(10), r.longitude_min = number(11), r.east = row.Int(12) != 0;
  r.latitude_deg = number(13), r.latitude_min = number(14), r.south = row.Int(15) != 0;
  r.city = row.Text(16), r.state = row.Text(17), r.country = row.Text(18);
  r.tz_name = row.Text(19), r.place_id = row.Text(20);
  r.note = row.Text(21);
  r.created_utc = row.Text(22), r.changed_utc = row.Text(23);
  return r;
}

std::int64_t DuplicateHash(std::string_view duplicate_key) {
  std::uint64_t hash = 14695981039346656037u;  // FNV-1a 64-bit offset basis
  for (const char c : duplicate_key) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211u;  // FNV-1a 64-bit prime
  }
  return static_cast<std::int64_t>(hash);
}

int ReadRecords(Statement& statement, std::vector<BirthRecord>& records) {
  int code = SQLITE_OK;
  while ((code = statement.Step()) == SQLITE_ROW) records.push_back(ReadRecord(statement));
  return code == SQLITE_DONE ? SQLITE_OK : code;
}

void BindRecord(Statement& s, const BirthRecord& r) {
  s.Bind(1, r.name).Bind(2, r.year).Bind(3, r.month).Bind(4, r.day).Bind(5, r.hour);
  s.Bind(6, r.minute).Bind(7, r.zone_index);
  s.Bind(8, r.zone_index == kExactOffsetZone ? r.offset_seconds_east : 0);
  s.Bind(9, r.daylight_saving).Bind(10, r.longitude_deg).Bind(11, r.longitude_min);
  s.Bind(12, r.east).Bind(13, r.latitude_deg).Bind(14, r.latitude_min).Bind(15, r.south);
  s.Bind(16, r.city).Bind(17, r.state).Bind(18, r.country).Bind(19, r.tz_name);
  s.Bind(20, r.place_id).Bind(21, r.note).Bind(22, r.created_utc).Bind(23, r.changed_utc);
  s.Bind(24, FoldForSearch(core::TrimBlanksAndTabs(r.name))).Bind(25, FoldForSearch(PlaceText(r)));
  s.Bind(26, SearchKey(r)).Bind(27, DuplicateHash(DuplicateKey(r)));
}

std::string Explain(sqlite3* db, int code, const std::filesystem::path& path,
                    std::string_view doing) {
  const std::string where = " (" + path.string() + ")";
  std::string cause;
  switch (code & 0xFF) {
    case SQLITE_FULL:
      cause = "the disk holding the list of births" + where +
              " is full. Nothing was changed; free some space and try again.";
      break;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN:
    case SQLITE_AUTH:
      cause = "the list of births" + where +
              " or its folder cannot be written. Nothing was changed; check the permissions of "
              "the file and its folder, or use another file.";
      break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      cause =
          "another Solvane kept the list of births busy for more than 5 seconds. Nothing was "
          "changed; try again in a moment.";
      break;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      cause = "the list of births" + where +
              " is damaged. Nothing was changed; start Solvane again: it sets the damaged file "
              "aside and starts a fresh list.";
      break;
    case SQLITE_IOERR:
      cause = "the list of births" + where + " could not be read or written (" +
              sqlite3_errstr(code) + "). Nothing was changed; check the disk and try again.";
      break;
    default:
      cause = std::string("the list of births failed (") + sqlite3_errstr(code) +
              (db != nullptr ? std::string(": ") + sqlite3_errmsg(db) : std::string()) +
              "). Nothing was changed; try again.";
  }
  return "Could not " + std::string(doing) + ": " + cause;
}

int InWriteTransaction(sqlite3* db, const std::function<int()>& body) {
  if (const int code = Execute(db, "BEGIN IMMEDIATE"); code != SQLITE_OK) return code;
  int code = body();
  if (code == SQLITE_OK) code = Execute(db, "COMMIT");
  // A failed COMMIT may leave the transaction open (SQLITE_BUSY) or already rolled back.
  if (code != SQLITE_OK && sqlite3_get_autocommit(db) == 0) Execute(db, "ROLLBACK");
  return code;
}

std::string FileUri(const std::filesystem::path& path, bool immutable) {
  std::string uri = "file:";
  for (const char c : std::filesystem::absolute(path).string()) {
    if (c == '%' || c == '?' || c == '#') {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", static_cast<unsigned char>(c));
      uri += hex;
    } else {
      uri += c;
    }
  }
  return uri + (immutable ? "?immutable=1" : "");
}

std::string IsoUtc(std::chrono::system_clock::time_point moment) {
  using namespace std::chrono;
  const auto ms = duration_cast<milliseconds>(moment.time_since_epoch()).count();
  const std::time_t seconds = static_cast<std::time_t>(ms / 1000 - (ms % 1000 < 0 ? 1 : 0));
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900,
                utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec,
                static_cast<int>(((ms % 1000) + 1000) % 1000));
  return text;
}

}  // namespace solvane::store::internal
