// What the store's source files share: the table layout, reading and writing a record's row, and
// turning SQLite's failures into sentences for the user.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "store/birth_record.h"
#include "store/sqlite_statement.h"

namespace solvane::store::internal {

// The record's columns in the order ReadRecord expects them (schema version 2).
inline constexpr const char* kRecordColumns =
    "id, name, year, month, day, hour, minute, zone_index, offset_seconds, dst, lon_deg, lon_min, "
    "east, lat_deg, lat_min, south, city, state, country, tz_name, place_id, note, created_utc, "
    "changed_utc";

// The record in the row the statement stands on, its columns as kRecordColumns lists them.
BirthRecord ReadRecord(const Statement& row);

// Binds every field but the id to parameters 1..23 (kRecordColumns without the id) and the
// derived keys to 24..27 (name_key, place_key, search_key, duplicate_key).
void BindRecord(Statement& statement, const BirthRecord& record);

// The insert that BindRecord fills; ?28 is the id, NULL for a new one.
inline constexpr const char* kInsertRecord =
    "INSERT INTO births (id, name, year, month, day, hour, minute, zone_index, offset_seconds, "
    "dst, "
    "lon_deg, lon_min, east, lat_deg, lat_min, south, city, state, country, tz_name, place_id, "
    "note, created_utc, changed_utc, name_key, place_key, search_key, duplicate_key) "
    "VALUES (?28, ?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18, "
    "?19, "
    "?20, ?21, ?22, ?23, ?24, ?25, ?26, ?27)";

// The update that BindRecord fills; ?28 is the id of the row changed.
inline constexpr const char* kUpdateRecord =
    "UPDATE births SET name = ?1, year = ?2, month = ?3, day = ?4, hour = ?5, minute = ?6, "
    "zone_index = ?7, offset_seconds = ?8, dst = ?9, lon_deg = ?10, lon_min = ?11, east = ?12, "
    "lat_deg = ?13, lat_min = ?14, south = ?15, city = ?16, state = ?17, country = ?18, "
    "tz_name = ?19, place_id = ?20, note = ?21, created_utc = ?22, changed_utc = ?23, "
    "name_key = ?24, place_key = ?25, search_key = ?26, duplicate_key = ?27 WHERE id = ?28";

// Steps `statement` to its end, adding each row's record to `records`: SQLITE_OK or a failure.
int ReadRecords(Statement& statement, std::vector<BirthRecord>& records);

// The 64-bit FNV-1a hash of a record's DuplicateKey, as the duplicate_key column stores it.
std::int64_t DuplicateHash(std::string_view duplicate_key);

// "Could not <doing>: <cause>. <what to do>" for the failure `code` on `db`.
std::string Explain(sqlite3* db, int code, const std::filesystem::path& path,
                    std::string_view doing);

// Runs `body` between BEGIN IMMEDIATE and COMMIT (taking the write lock first, so that the busy
// timeout covers the whole change). On any failure the change is rolled back and its code
// returned; SQLITE_OK otherwise.
int InWriteTransaction(sqlite3* db, const std::function<int()>& body);

// Creates the first layout and brings any older one to kSchemaVersion, in one transaction.
int BringSchemaUpToDate(sqlite3* db);

// A "file:" URI for `path` (reserved characters escaped), with "?immutable=1" when asked: how a
// list is read where not even SQLite's shared-memory index can be created beside it.
std::string FileUri(const std::filesystem::path& path, bool immutable);

// UTC ISO 8601 with milliseconds: "2024-05-01T12:34:56.789Z".
std::string IsoUtc(std::chrono::system_clock::time_point moment);

}  // namespace solvane::store::internal
