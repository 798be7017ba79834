// The file's layouts, oldest first. A layout once shipped never changes: a new one is a new step.
#include <cstdint>

#include "core/text.h"
#include "store/births_store.h"
#include "store/search_fold.h"
#include "store/store_internal.h"

namespace solvane::store::internal {
namespace {

// Version 1: the births as the entry form holds them.
constexpr const char* kVersion1 = R"sql(
CREATE TABLE births (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  name TEXT NOT NULL,
  year INTEGER NOT NULL, month INTEGER NOT NULL, day INTEGER NOT NULL,
  hour INTEGER NOT NULL, minute INTEGER NOT NULL,
  zone_index INTEGER NOT NULL, offset_seconds INTEGER NOT NULL DEFAULT 0,
  dst INTEGER NOT NULL,
  lon_deg INTEGER NOT NULL, lon_min INTEGER NOT NULL, east INTEGER NOT NULL,
  lat_deg INTEGER NOT NULL, lat_min INTEGER NOT NULL, south INTEGER NOT NULL,
  city TEXT NOT NULL DEFAULT '', state TEXT NOT NULL DEFAULT '', country TEXT NOT NULL DEFAULT '',
  note TEXT NOT NULL DEFAULT '',
  created_utc TEXT NOT NULL, changed_utc TEXT NOT NULL
);
CREATE INDEX births_by_changed ON births (changed_utc);
PRAGMA user_version = 1;
)sql";

// Version 2: the atlas's zone and place, folded keys for search, sorting and duplicates, and the
// deleted births kept for undo.
constexpr const char* kVersion2Columns = R"sql(
ALTER TABLE births ADD COLUMN tz_name TEXT NOT NULL DEFAULT '';
ALTER TABLE births ADD COLUMN place_id TEXT NOT NULL DEFAULT '';
ALTER TABLE births ADD COLUMN name_key TEXT NOT NULL DEFAULT '';
ALTER TABLE births ADD COLUMN place_key TEXT NOT NULL DEFAULT '';
ALTER TABLE births ADD COLUMN search_key TEXT NOT NULL DEFAULT '';
ALTER TABLE births ADD COLUMN duplicate_key INTEGER NOT NULL DEFAULT 0;
)sql";

constexpr const char* kVersion2Tables = R"sql(
CREATE INDEX births_by_name ON births (name_key, year, month, day);
CREATE INDEX births_by_duplicate ON births (duplicate_key);
CREATE TABLE deleted_births (
  seq INTEGER PRIMARY KEY AUTOINCREMENT,
  deleted_utc TEXT NOT NULL,
  id INTEGER NOT NULL,
  name TEXT NOT NULL,
  year INTEGER NOT NULL, month INTEGER NOT NULL, day INTEGER NOT NULL,
  hour INTEGER NOT NULL, minute INTEGER NOT NULL,
  zone_index INTEGER NOT NULL, offset_seconds INTEGER NOT NULL,
  dst INTEGER NOT NULL,
  lon_deg INTEGER NOT NULL, lon_min INTEGER NOT NULL, east INTEGER NOT NULL,
  lat_deg INTEGER NOT NULL, lat_min INTEGER NOT NULL, south INTEGER NOT NULL,
  city TEXT NOT NULL, state TEXT NOT NULL, country TEXT NOT NULL,
  tz_name TEXT NOT NULL, place_id TEXT NOT NULL,
  note TEXT NOT NULL,
  created_utc TEXT NOT NULL, changed_utc TEXT NOT NULL
);
PRAGMA user_version = 2;
)sql";

int CreateVersion1(sqlite3* db) {
  const std::string stamp = "PRAGMA application_id = " + std::to_string(kApplicationId);
  if (const int code = Execute(db, stamp.c_str()); code != SQLITE_OK) return code;
  return Execute(db, kVersion1);
}

// Rows of version 1 get their keys computed here, in C++, where the folding lives.
int FillKeys(sqlite3* db) {
  Statement rows(db, (std::string("SELECT ") + kRecordColumns + " FROM births").c_str());
  Statement update(db,
                   "UPDATE births SET name_key = ?2, place_key = ?3, search_key = ?4, "
                   "duplicate_key = ?5 WHERE id = ?1");
  if (rows.prepare_code() != SQLITE_OK) return rows.prepare_code();
  if (update.prepare_code() != SQLITE_OK) return update.prepare_code();
  int code = SQLITE_OK;
  while ((code = rows.Step()) == SQLITE_ROW) {
    const BirthRecord record = ReadRecord(rows);
    update.Bind(1, record.id)
        .Bind(2, FoldForSearch(core::TrimBlanksAndTabs(record.name)))
        .Bind(3, FoldForSearch(PlaceText(record)))
        .Bind(4, SearchKey(record))
        .Bind(5, DuplicateHash(DuplicateKey(record)));
    if (const int written = update.Run(); written != SQLITE_OK) return written;
    update.Reset();
  }
  return code == SQLITE_DONE ? SQLITE_OK : code;
}

int MigrateTo2(sqlite3* db) {
  if (const int code = Execute(db, kVersion2Columns); code != SQLITE_OK) return code;
  if (const int code = FillKeys(db); code != SQLITE_OK) return code;
  return Execute(db, kVersion2Tables);
}

}  // namespace

int BringSchemaUpToDate(sqlite3* db) {
  return InWriteTransaction(db, [db]() {
    // Read inside the transaction: another process may have brought the file up to date first.
    int code = SQLITE_OK;
    const std::int64_t version = QueryInt(db, "PRAGMA user_version", -1, &code);
    if (code != SQLITE_OK) return code;
    if (version == 0) code = CreateVersion1(db);
    if (code == SQLITE_OK && version <= 1) code = MigrateTo2(db);
    return code;
  });
}

}  // namespace solvane::store::internal
