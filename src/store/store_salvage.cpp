// Reading what can still be read from a file set aside as damaged: record by record, so that one
// bad page costs only the records on it.
#include <set>
#include <sstream>

#include "store/births_store.h"
#include "store/store_internal.h"

namespace solvane::store {

using internal::QueryInt;
using internal::Statement;

namespace {

// Give up on ids beyond this many past the last one read: a damaged counter must not spin.
constexpr std::int64_t kLargestIdTried = 10'000'000;

// kRecordColumns, with a stand-in for each column an older or damaged table lacks.
std::string SelectableColumns(sqlite3* db) {
  std::set<std::string> present;
  Statement info(db, "PRAGMA table_info(births)");
  while (info.Step() == SQLITE_ROW) present.insert(info.Text(1));
  std::string columns;
  std::istringstream wanted(internal::kRecordColumns);
  std::string name;
  while (std::getline(wanted, name, ',')) {
    name.erase(0, name.find_first_not_of(' '));
    if (!columns.empty()) columns += ", ";
    const bool text = name.find("name") != std::string::npos || name == "city" || name == "state" ||
                      name == "country" || name == "place_id" || name == "note" ||
                      name.ends_with("_utc");
    columns += present.count(name) != 0 ? name : (text ? "''" : "0");
  }
  return columns;
}

core::Result<sqlite3*> OpenToSalvage(const std::filesystem::path& path) {
  for (const bool immutable : {false, true}) {
    sqlite3* db = nullptr;
    const std::string uri = internal::FileUri(path, immutable);
    if (sqlite3_open_v2(uri.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) ==
        SQLITE_OK) {
      int code = SQLITE_OK;
      QueryInt(db, "SELECT 1 FROM births LIMIT 1", 0, &code);
      if (code == SQLITE_OK) return db;
    }
    sqlite3_close_v2(db);
  }
  return core::Fail("No births can be read from " + path.string() +
                    ": it is not a list of births or its table is unreadable.");
}

}  // namespace

core::Result<std::vector<BirthRecord>> SalvageRecords(const std::filesystem::path& path) {
  auto opened = OpenToSalvage(path);
  if (!opened) return core::Fail(opened.error().message);
  sqlite3* db = *opened;
  // The highest id handed out, from whichever source is still readable.
  std::int64_t last = QueryInt(db, "SELECT max(id) FROM births", 0);
  last = std::max(last, QueryInt(db, "SELECT seq FROM sqlite_sequence WHERE name = 'births'", 0));
  last = std::min(last, kLargestIdTried);
  Statement row(db, "SELECT " + SelectableColumns(db) + " FROM births WHERE id = ?1");
  std::vector<BirthRecord> records;
  for (std::int64_t id = 1; id <= last; ++id) {
    row.Reset();
    row.Bind(1, id);
    if (row.Step() != SQLITE_ROW) continue;
    BirthRecord record = internal::ReadRecord(row);
    if (!CheckRecord(record)) records.push_back(std::move(record));
  }
  sqlite3_close_v2(db);
  return records;
}

}  // namespace solvane::store
