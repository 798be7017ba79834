// The saved births: one SQLite file per user, shared by the desktop program and solvane-chart.
// Every change is one transaction, so a crash leaves each record whole or absent; two processes
// may use the file at once.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/message.h"
#include "core/result.h"
#include "store/birth_record.h"

struct sqlite3;

namespace solvane::store {

// Stamped into the file's header (PRAGMA application_id): "SolV".
inline constexpr std::int32_t kApplicationId = 0x536F6C56;
// The newest layout this program writes (PRAGMA user_version). 1: the births; 2: the atlas zone
// and place, the search keys and the deleted births kept for undo.
inline constexpr int kSchemaVersion = 2;
// How long a change waits for another process's change to finish, in milliseconds.
inline constexpr int kBusyTimeoutMs = 5000;
// How many deleted births are kept for "Undo delete".
inline constexpr int kDeletedKept = 100;

// $XDG_DATA_HOME/Solvane/births.sqlite, or ~/.local/share/Solvane/births.sqlite when
// XDG_DATA_HOME is unset or not absolute. Only a path: nothing is created.
std::filesystem::path DefaultStorePath();

enum class SortColumn { kName, kDate, kTime, kPlace, kChanged };
struct SortOrder {
  SortColumn column = SortColumn::kName;
  bool descending = false;
};

enum class SaveMode {
  kAskFirst,         // a record of the same name and date is left alone: the answer says "exists"
  kReplaceExisting,  // that record is overwritten (keeping its id and creation time)
  kKeepBoth,         // stored as another record
};
enum class SaveStatus { kAdded, kReplaced, kExists };
struct SaveOutcome {
  SaveStatus status;
  BirthRecord record;  // as stored; for kExists the record already there
};

struct ImportReport {
  int added = 0;
  int skipped = 0;  // exact duplicates of a stored record or of an earlier one in the batch
};

struct OpenOptions {
  // Largest size the file may grow to, in pages of 4096 bytes; 0 for no limit. Tests use it to
  // stand in for a full disk.
  int max_pages = 0;
  // The clock behind the records' timestamps; the system clock when empty.
  std::function<std::chrono::system_clock::time_point()> now;
};

class Store {
 public:
  // Opens the list at `path`, creating it and its folder when missing and bringing an older file
  // up to date. A file that is not ours or is damaged is moved aside (see `moved_aside`) and a
  // fresh list started; a file of a newer program opens read-only. Either way `notices` says so.
  static core::Result<Store> Open(const std::filesystem::path& path, OpenOptions options = {});

  Store(Store&& other) noexcept;
  Store& operator=(Store&& other) noexcept;
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;
  ~Store();

  const std::filesystem::path& path() const { return path_; }
  bool read_only() const { return read_only_; }
  // What the user should be told about opening (damaged file set aside, read-only list).
  const std::vector<core::Message>& notices() const { return notices_; }
  // Where a damaged or foreign file was moved, for `SalvageRecords`; empty when nothing moved.
  const std::filesystem::path& moved_aside() const { return moved_aside_; }

  // Stores `record` (its id and timestamps are ignored) as `mode` says.
  core::Result<SaveOutcome> Save(const BirthRecord& record, SaveMode mode = SaveMode::kAskFirst);
  core::Result<std::optional<BirthRecord>> Find(std::int64_t id) const;
  // Records of the same name (regardless of case and accents), the latest changed first.
  core::Result<std::vector<BirthRecord>> FindByName(std::string_view name) const;
  // Records whose name, place or date contains every word of `query` (case and accents
  // ignored); an empty query matches all. `limit` <= 0 means no limit.
  core::Result<std::vector<BirthRecord>> Search(std::string_view query, SortOrder order = {},
                                                int limit = 0) const;
  core::Result<std::vector<BirthRecord>> Recent(int count) const;
  core::Result<std::vector<BirthRecord>> All(SortOrder order = {}) const;
  core::Result<std::int64_t> Count() const;

  core::Result<BirthRecord> Rename(std::int64_t id, std::string_view name);
  core::Result<BirthRecord> SetNote(std::int64_t id, std::string_view note);
  core::Result<void> Delete(std::int64_t id);
  // The latest deletion not yet undone, if any.
  core::Result<std::optional<BirthRecord>> LastDeleted() const;
  // Puts the latest deleted record back under its old id.
  core::Result<BirthRecord> UndoDelete();

  // Adds `records` in one transaction, skipping exact duplicates (same fields but id and
  // timestamps). Timestamps in the records are kept when present. A record that cannot be
  // stored fails the whole import, which then changes nothing.
  core::Result<ImportReport> Import(std::span<const BirthRecord> records);

 private:
  Store(sqlite3* db, std::filesystem::path path, OpenOptions options);
  std::string NowUtc() const;
  core::Result<void> CheckWritable() const;
  core::Result<std::vector<BirthRecord>> Query(std::string_view sql_tail,
                                               std::span<const std::string> texts,
                                               std::int64_t number) const;
  core::Result<BirthRecord> Change(std::int64_t id, const std::function<void(BirthRecord&)>& edit,
                                   std::string_view doing);

  sqlite3* db_ = nullptr;
  std::filesystem::path path_;
  OpenOptions options_;
  bool read_only_ = false;
  std::vector<core::Message> notices_;
  std::filesystem::path moved_aside_;

  friend class StoreOpener;
};

// The records that can still be read from a file moved aside as damaged or foreign; a record
// whose page is unreadable is left out. Fails only when nothing at all can be read.
core::Result<std::vector<BirthRecord>> SalvageRecords(const std::filesystem::path& path);

}  // namespace solvane::store
