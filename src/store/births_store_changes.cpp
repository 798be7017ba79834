// Every change to the list: one write transaction each, rolled back whole on any failure.
#include <algorithm>
#include <utility>

#include "core/text.h"
#include "store/births_store.h"
#include "store/search_fold.h"
#include "store/store_internal.h"

namespace solvane::store {

using internal::BindRecord;
using internal::Explain;
using internal::InWriteTransaction;
using internal::ReadRecords;
using internal::Statement;

namespace {

// Not an SQLite code: the record asked for is not there (any more).
constexpr int kMissing = -1;

constexpr const char* kMissingText =
    "That birth is no longer in the list (another window may have deleted it); refresh the list.";

std::string Select(std::string_view from, std::string_view tail) {
  return "SELECT " + std::string(internal::kRecordColumns) + " FROM " + std::string(from) + " " +
         std::string(tail);
}

int ReadById(sqlite3* db, std::int64_t id, std::optional<BirthRecord>& found) {
  Statement query(db, Select("births", "WHERE id = ?1"));
  query.Bind(1, id);
  std::vector<BirthRecord> records;
  const int code = ReadRecords(query, records);
  if (code == SQLITE_OK && !records.empty()) found = std::move(records.front());
  return code;
}

// Inserts `record` under its own id (0: a new one) and gives it the id it got.
int Insert(sqlite3* db, BirthRecord& record) {
  Statement insert(db, internal::kInsertRecord);
  BindRecord(insert, record);
  if (record.id > 0) {
    insert.Bind(28, record.id);
  } else {
    insert.BindNull(28);
  }
  const int code = insert.Run();
  if (code == SQLITE_OK) record.id = sqlite3_last_insert_rowid(db);
  return code;
}

int Update(sqlite3* db, const BirthRecord& record) {
  Statement update(db, internal::kUpdateRecord);
  BindRecord(update, record);
  update.Bind(28, record.id);
  const int code = update.Run();
  if (code == SQLITE_OK && sqlite3_changes(db) == 0) return kMissing;
  return code;
}

// The latest changed record of the same name and date, if any.
int ReadSameBirth(sqlite3* db, const BirthRecord& record, std::optional<BirthRecord>& found) {
  Statement query(db, Select("births",
                             "WHERE name_key = ?1 AND year = ?2 AND month = ?3 AND day = ?4 "
                             "ORDER BY changed_utc DESC, id DESC LIMIT 1"));
  query.Bind(1, FoldForSearch(core::TrimBlanksAndTabs(record.name)))
      .Bind(2, record.year)
      .Bind(3, record.month)
      .Bind(4, record.day);
  std::vector<BirthRecord> records;
  const int code = ReadRecords(query, records);
  if (code == SQLITE_OK && !records.empty()) found = std::move(records.front());
  return code;
}

// Whether a record with the same fields as `record` is stored: the hash finds the candidates,
// the full key decides.
int IsStored(Statement& same_hash, const BirthRecord& record, bool& stored) {
  const std::string key = DuplicateKey(record);
  same_hash.Reset();
  same_hash.Bind(1, internal::DuplicateHash(key));
  std::vector<BirthRecord> candidates;
  const int code = ReadRecords(same_hash, candidates);
  stored = std::any_of(candidates.begin(), candidates.end(),
                       [&key](const BirthRecord& c) { return DuplicateKey(c) == key; });
  return code;
}

}  // namespace

core::Result<SaveOutcome> Store::Save(const BirthRecord& input, SaveMode mode) {
  if (auto writable = CheckWritable(); !writable) return core::Fail(writable.error().message);
  if (auto refusal = CheckRecord(input)) return core::Fail("Could not save the birth: " + *refusal);
  BirthRecord record = input;
  record.id = 0;
  record.created_utc = record.changed_utc = NowUtc();
  SaveOutcome outcome{SaveStatus::kAdded, {}};
  const int code = InWriteTransaction(db_, [&]() {
    std::optional<BirthRecord> existing;
    if (mode != SaveMode::kKeepBoth) {
      if (const int read = ReadSameBirth(db_, record, existing); read != SQLITE_OK) return read;
    }
    if (existing && mode == SaveMode::kAskFirst) {
      outcome = {SaveStatus::kExists, std::move(*existing)};
      return SQLITE_OK;
    }
    if (existing) {
      record.id = existing->id;
      record.created_utc = existing->created_utc;
      outcome.status = SaveStatus::kReplaced;
      return Update(db_, record);
    }
    return Insert(db_, record);
  });
  if (code != SQLITE_OK) return core::Fail(Explain(db_, code, path_, "save the birth"));
  if (outcome.status != SaveStatus::kExists) outcome.record = std::move(record);
  return outcome;
}

core::Result<BirthRecord> Store::Change(std::int64_t id,
                                        const std::function<void(BirthRecord&)>& edit,
                                        std::string_view doing) {
  if (auto writable = CheckWritable(); !writable) return core::Fail(writable.error().message);
  std::optional<BirthRecord> record;
  std::string refusal;
  const int code = InWriteTransaction(db_, [&]() {
    if (const int read = ReadById(db_, id, record); read != SQLITE_OK) return read;
    if (!record) return kMissing;
    edit(*record);
    if (auto problem = CheckRecord(*record)) {
      refusal = *problem;
      return SQLITE_CONSTRAINT;
    }
    record->changed_utc = NowUtc();
    return Update(db_, *record);
  });
  if (!refusal.empty()) return core::Fail("Could not " + std::string(doing) + ": " + refusal);
  if (code == kMissing) return core::Fail(kMissingText);
  if (code != SQLITE_OK) return core::Fail(Explain(db_, code, path_, doing));
  return std::move(*record);
}

core::Result<BirthRecord> Store::Rename(std::int64_t id, std::string_view name) {
  return Change(
      id, [name](BirthRecord& record) { record.name = name; }, "rename the birth");
}

core::Result<BirthRecord> Store::SetNote(std::int64_t id, std::string_view note) {
  return Change(
      id, [note](BirthRecord& record) { record.note = note; }, "change the note");
}

core::Result<void> Store::Delete(std::int64_t id) {
  if (auto writable = CheckWritable(); !writable) return writable;
  const std::string columns = internal::kRecordColumns;
  const int code = InWriteTransaction(db_, [&]() {
    Statement keep(db_, "INSERT INTO deleted_births (deleted_utc, " + columns + ") SELECT ?1, " +
                            columns + " FROM births WHERE id = ?2");
    keep.Bind(1, NowUtc()).Bind(2, id);
    if (const int kept = keep.Run(); kept != SQLITE_OK) return kept;
    if (sqlite3_changes(db_) == 0) return kMissing;
    Statement remove(db_, "DELETE FROM births WHERE id = ?1");
    remove.Bind(1, id);
    if (const int removed = remove.Run(); removed != SQLITE_OK) return removed;
    Statement trim(db_,
                   "DELETE FROM deleted_births WHERE seq <= "
                   "(SELECT max(seq) FROM deleted_births) - ?1");
    trim.Bind(1, kDeletedKept);
    return trim.Run();
  });
  if (code == kMissing) return core::Fail(kMissingText);
  if (code != SQLITE_OK) return core::Fail(Explain(db_, code, path_, "delete the birth"));
  return {};
}

core::Result<std::optional<BirthRecord>> Store::LastDeleted() const {
  if (read_only_) {
    // A list of a newer version may lay out its deleted births differently.
    int code = SQLITE_OK;
    internal::QueryInt(db_, "SELECT count(*) FROM deleted_births", 0, &code);
    if (code != SQLITE_OK) return std::optional<BirthRecord>();
  }
  Statement query(db_, Select("deleted_births", "ORDER BY seq DESC LIMIT 1"));
  std::vector<BirthRecord> records;
  if (const int code = ReadRecords(query, records); code != SQLITE_OK)
    return core::Fail(Explain(db_, code, path_, "read the deleted births"));
  if (records.empty()) return std::optional<BirthRecord>();
  return std::optional<BirthRecord>(std::move(records.front()));
}

core::Result<BirthRecord> Store::UndoDelete() {
  if (auto writable = CheckWritable(); !writable) return core::Fail(writable.error().message);
  std::optional<BirthRecord> restored;
  const int code = InWriteTransaction(db_, [&]() {
    Statement newest(db_, "SELECT seq, " + std::string(internal::kRecordColumns) +
                              " FROM deleted_births ORDER BY seq DESC LIMIT 1");
    const int step = newest.Step();
    if (step == SQLITE_DONE) return kMissing;
    if (step != SQLITE_ROW) return step;
    const std::int64_t seq = newest.Int(0);
    Statement row(db_, Select("deleted_births", "WHERE seq = ?1"));
    row.Bind(1, seq);
    std::vector<BirthRecord> records;
    if (const int read = ReadRecords(row, records); read != SQLITE_OK) return read;
    restored = std::move(records.front());
    std::optional<BirthRecord> taken;
    if (const int read = ReadById(db_, restored->id, taken); read != SQLITE_OK) return read;
    if (taken) restored->id = 0;  // only an imported file could have reused it; keep both
    if (const int put = Insert(db_, *restored); put != SQLITE_OK) return put;
    Statement forget(db_, "DELETE FROM deleted_births WHERE seq = ?1");
    forget.Bind(1, seq);
    return forget.Run();
  });
  if (code == kMissing) return core::Fail("There is no deleted birth to bring back.");
  if (code != SQLITE_OK) return core::Fail(Explain(db_, code, path_, "undo the deletion"));
  return std::move(*restored);
}

core::Result<ImportReport> Store::Import(std::span<const BirthRecord> records) {
  if (auto writable = CheckWritable(); !writable) return core::Fail(writable.error().message);
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (auto refusal = CheckRecord(records[i]))
      return core::Fail("Birth " + std::to_string(i + 1) + " (" + records[i].name.substr(0, 60) +
                        ") cannot be stored: " + *refusal + " Nothing was imported.");
  }
  ImportReport report;
  const std::string now = NowUtc();
  const int code = InWriteTransaction(db_, [&]() {
    Statement seen(db_, Select("births", "WHERE duplicate_key = ?1"));
    Statement insert(db_, internal::kInsertRecord);
    for (const BirthRecord& input : records) {
      bool duplicate = false;
      if (const int read = IsStored(seen, input, duplicate); read != SQLITE_OK) return read;
      if (duplicate) {
        ++report.skipped;
        continue;
      }
      BirthRecord record = input;
      if (record.created_utc.empty()) record.created_utc = now;
      if (record.changed_utc.empty()) record.changed_utc = record.created_utc;
      insert.Reset();
      BindRecord(insert, record);
      insert.BindNull(28);
      if (const int put = insert.Run(); put != SQLITE_OK) return put;
      ++report.added;
    }
    return SQLITE_OK;
  });
  if (code != SQLITE_OK) return core::Fail(Explain(db_, code, path_, "import the births"));
  return report;
}

}  // namespace solvane::store
