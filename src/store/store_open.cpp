// Opening the list: what kind of file is there, setting a bad one aside, and bringing a good one
// up to date.
#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <system_error>

#include "store/births_store.h"
#include "store/store_internal.h"

namespace solvane::store {

using internal::Execute;
using internal::Explain;
using internal::QueryInt;
using internal::Statement;

namespace {

enum class FileKind { kNone, kOurs, kNewer, kForeign, kDamaged };

struct Inspection {
  FileKind kind = FileKind::kNone;
  std::string reason;  // for kForeign and kDamaged: what is wrong, for the user
  std::int64_t version = 0;
  int failure = SQLITE_OK;  // a failure that says nothing about the file (busy, no access)
};

bool HasSqliteHeader(const std::filesystem::path& path) {
  static constexpr char kHeader[] = "SQLite format 3";  // and its terminating NUL: 16 bytes
  std::array<char, sizeof kHeader> start{};
  std::ifstream file(path, std::ios::binary);
  return file.read(start.data(), start.size()) &&
         std::equal(start.begin(), start.end(), std::begin(kHeader));
}

bool IsDamage(int code) {
  return (code & 0xFF) == SQLITE_CORRUPT || (code & 0xFF) == SQLITE_NOTADB;
}

Inspection InspectOpenFile(sqlite3* db) {
  Inspection look;
  int code = SQLITE_OK;
  const std::int64_t application = QueryInt(db, "PRAGMA application_id", 0, &code);
  const std::int64_t tables =
      QueryInt(db, "SELECT count(*) FROM sqlite_master WHERE type = 'table'", 0, &code);
  const std::int64_t births = QueryInt(
      db, "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'births'", 0, &code);
  look.version = QueryInt(db, "PRAGMA user_version", 0, &code);
  if (code != SQLITE_OK) {
    if (IsDamage(code)) return {FileKind::kDamaged, "it is damaged", 0, SQLITE_OK};
    return {FileKind::kNone, "", 0, code};
  }
  if (application == 0 && tables == 0) return look;  // an empty database: start afresh in it
  if (application != kApplicationId)
    return {FileKind::kForeign, "it was written by another program", 0, SQLITE_OK};
  if (births == 0) return {FileKind::kDamaged, "its table of births is missing", 0, SQLITE_OK};
  if (look.version > kSchemaVersion) {
    look.kind = FileKind::kNewer;
    return look;
  }
  Statement check(db, "PRAGMA quick_check");
  code = check.Step();
  if (code == SQLITE_ROW && check.Text(0) != "ok")
    return {FileKind::kDamaged, "it is damaged", 0, SQLITE_OK};
  if (code != SQLITE_ROW)
    return IsDamage(code) ? Inspection{FileKind::kDamaged, "it is damaged", 0, SQLITE_OK}
                          : Inspection{FileKind::kNone, "", 0, code};
  look.kind = FileKind::kOurs;
  return look;
}

Inspection Inspect(const std::filesystem::path& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error || size == 0) return {};
  if (!HasSqliteHeader(path)) return {FileKind::kForeign, "it is not a SQLite file", 0, SQLITE_OK};
  Inspection look;
  for (const bool immutable : {false, true}) {
    sqlite3* db = nullptr;
    const int code = sqlite3_open_v2(internal::FileUri(path, immutable).c_str(), &db,
                                     SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    if (code == SQLITE_OK) {
      sqlite3_busy_timeout(db, kBusyTimeoutMs);
      look = InspectOpenFile(db);
    } else {
      look = IsDamage(code) ? Inspection{FileKind::kDamaged, "it is damaged", 0, SQLITE_OK}
                            : Inspection{FileKind::kNone, "", 0, code};
    }
    sqlite3_close_v2(db);
    // Read as immutable, the file shows none of what another process still holds in its log:
    // never judge it damaged or foreign from that view.
    if (immutable && (look.kind == FileKind::kForeign || look.kind == FileKind::kDamaged))
      return {FileKind::kNone, "", 0, SQLITE_CANTOPEN};
    // A write-protected folder: the log's index cannot be made, but the file can still be read.
    if ((look.failure & 0xFF) != SQLITE_CANTOPEN) break;
  }
  return look;
}

std::string LocalStamp(std::chrono::system_clock::time_point moment) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(moment);
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return text;
}

// Renames the file (and its write-ahead log, which belongs with it) to a dated name beside it.
core::Result<std::filesystem::path> MoveAside(const std::filesystem::path& path,
                                              std::chrono::system_clock::time_point now) {
  const std::string base = path.string() + ".damaged-" + LocalStamp(now);
  std::filesystem::path target = base;
  for (int n = 2; std::filesystem::exists(target); ++n) target = base + "-" + std::to_string(n);
  std::error_code error;
  std::filesystem::rename(path, target, error);
  if (error)
    return core::Fail("The list of births (" + path.string() +
                      ") cannot be used and could not be moved aside (" + error.message() +
                      "). Move or rename it yourself, then start again.");
  const std::filesystem::path log = path.string() + "-wal";
  if (std::filesystem::exists(log, error))
    std::filesystem::rename(log, target.string() + "-wal", error);
  // A log left behind would be read into the fresh list as if it were its own.
  if (std::filesystem::exists(log))
    return core::Fail("The list of births (" + path.string() + ") was moved to " + target.string() +
                      " but its log " + log.string() +
                      " could not be moved with it. Move that file beside the other, then start "
                      "again.");
  std::filesystem::remove(path.string() + "-shm", error);
  return target;
}

core::Result<void> MakeFolder(const std::filesystem::path& path) {
  const std::filesystem::path folder = path.parent_path();
  if (folder.empty()) return {};
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error)
    return core::Fail("Could not create the folder for the list of births (" + folder.string() +
                      "): " + error.message() +
                      ". Check that its parent folder can be written, or use another file.");
  return {};
}

}  // namespace

std::filesystem::path DefaultStorePath() {
  const char* data_home = std::getenv("XDG_DATA_HOME");
  std::filesystem::path base;
  if (data_home != nullptr && std::filesystem::path(data_home).is_absolute()) {
    base = data_home;
  } else {
    const char* home = std::getenv("HOME");
    base = std::filesystem::path(home != nullptr ? home : ".") / ".local" / "share";
  }
  return base / "Solvane" / "births.sqlite";
}

class StoreOpener {
 public:
  StoreOpener(std::filesystem::path path, OpenOptions options)
      : path_(std::move(path)), options_(std::move(options)) {
    if (!options_.now) options_.now = [] { return std::chrono::system_clock::now(); };
  }

  core::Result<Store> Run() {
    if (auto made = MakeFolder(path_); !made) return core::Fail(made.error().message);
    Inspection look = Inspect(path_);
    // Another process may be creating the file this very moment (its header or its first tables
    // half written): look again after a pause before taking the file for damaged or foreign.
    for (int pause = 0; pause < kSecondLooks &&
                        (look.kind == FileKind::kForeign || look.kind == FileKind::kDamaged);
         ++pause) {
      sqlite3_sleep(kSecondLookMs);
      look = Inspect(path_);
    }
    if (look.failure != SQLITE_OK)
      return core::Fail(Explain(nullptr, look.failure, path_, "open the list of births"));
    if (look.kind == FileKind::kForeign || look.kind == FileKind::kDamaged) {
      auto moved = MoveAside(path_, options_.now());
      if (!moved) return core::Fail(moved.error().message);
      moved_aside_ = *moved;
      notices_.push_back({"The list of births (" + path_.string() + ") could not be used: " +
                              look.reason + ". It was moved to " + moved_aside_.string() +
                              " and a fresh list started; the births that can still be read "
                              "from it can be added to the new list.",
                          core::MessageIcon::kError});
    }
    if (look.kind == FileKind::kNewer) return OpenReadOnly(look.version);
    return OpenReadWrite();
  }

 private:
  core::Result<Store> OpenReadWrite() {
    sqlite3* db = nullptr;
    const int code =
        sqlite3_open_v2(path_.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    Store store(db, path_, options_);  // owns the handle even when opening failed
    if (code != SQLITE_OK) return core::Fail(Explain(db, code, path_, "open the list of births"));
    if (sqlite3_db_readonly(db, "main") == 1) return WriteProtected(store);
    if (const int set = Configure(db); set != SQLITE_OK) {
      if ((set & 0xFF) == SQLITE_READONLY || (set & 0xFF) == SQLITE_CANTOPEN)
        return WriteProtected(store);
      return core::Fail(Explain(db, set, path_, "open the list of births"));
    }
    if (const int made = internal::BringSchemaUpToDate(db); made != SQLITE_OK)
      return core::Fail(Explain(db, made, path_, "prepare the list of births"));
    return Finish(std::move(store));
  }

  static constexpr int kJournalRetryMs = 20;
  static constexpr int kSecondLooks = 3;
  static constexpr int kSecondLookMs = 200;

  int Configure(sqlite3* db) {
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    // With the write-ahead log a change is in the log file before it counts as done, so a killed
    // process loses nothing it reported saved and readers never wait for writers. NORMAL syncs the
    // log to the disk at checkpoints, not at every commit (FULL would, at about 8 ms a save here):
    // a power cut may undo the last few saves but never damages the file.
    // A new file is switched to the log by whichever process opens it first; while another
    // process has it open in the old mode the switch answers with the old mode, so try again for
    // as long as the busy timeout before taking the file as one we may not change.
    // The switch may also answer "busy" at once, without waiting through the busy timeout, while
    // the other process holds the lock it needs for its own switch: that too is tried again.
    for (int waited_ms = 0;; waited_ms += kJournalRetryMs) {
      Statement wal(db, "PRAGMA journal_mode = WAL");
      const int code = wal.Step();
      const bool busy = (code & 0xFF) == SQLITE_BUSY || (code & 0xFF) == SQLITE_LOCKED;
      if (code != SQLITE_ROW && !busy) return code;
      if (code == SQLITE_ROW && wal.Text(0) == "wal") break;
      if (waited_ms >= kBusyTimeoutMs) return busy ? code : SQLITE_READONLY;
      sqlite3_sleep(kJournalRetryMs);
    }
    if (const int code = Execute(db, "PRAGMA synchronous = NORMAL"); code != SQLITE_OK) return code;
    if (options_.max_pages > 0) {
      const std::string limit = "PRAGMA max_page_count = " + std::to_string(options_.max_pages);
      if (const int code = Execute(db, limit.c_str()); code != SQLITE_OK) return code;
    }
    return SQLITE_OK;
  }

  core::Result<Store> OpenReadOnly(std::int64_t version) {
    auto store = OpenForReading();
    if (!store) return store;
    store->notices_.push_back({"The list of births (" + path_.string() +
                                   ") was written by a newer version of Solvane " +
                                   "(list version " + std::to_string(version) +
                                   "; this version knows up to " + std::to_string(kSchemaVersion) +
                                   "). It is open for reading only; update Solvane to change it.",
                               core::MessageIcon::kInformation});
    return store;
  }

  core::Result<Store> WriteProtected(Store& writer) {
    writer = Store(nullptr, path_, options_);  // closes the handle that cannot write
    auto reader = OpenForReading();
    if (!reader) return reader;
    reader->notices_.push_back(
        {"The list of births (" + path_.string() +
             ") or its folder is write-protected. It is open for reading only; to save births, "
             "make the file and its folder writable or use another file.",
         core::MessageIcon::kInformation});
    return reader;
  }

  // Read-only, and immutable when even the shared-memory index cannot be made beside it.
  core::Result<Store> OpenForReading() {
    for (const bool immutable : {false, true}) {
      sqlite3* db = nullptr;
      const std::string uri = internal::FileUri(path_, immutable);
      const int code =
          sqlite3_open_v2(uri.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
      Store store(db, path_, options_);
      sqlite3_busy_timeout(db, kBusyTimeoutMs);
      int read = code;
      if (code == SQLITE_OK) QueryInt(db, "SELECT count(*) FROM births", 0, &read);
      if (read == SQLITE_OK) {
        store.read_only_ = true;
        return Finish(std::move(store));
      }
      if (immutable) return core::Fail(Explain(db, read, path_, "read the list of births"));
    }
    return core::Fail("Could not read the list of births.");  // not reached
  }

  core::Result<Store> Finish(Store store) {
    store.notices_.insert(store.notices_.begin(), notices_.begin(), notices_.end());
    store.moved_aside_ = moved_aside_;
    return store;
  }

  std::filesystem::path path_;
  OpenOptions options_;
  std::vector<core::Message> notices_;
  std::filesystem::path moved_aside_;
};

core::Result<Store> Store::Open(const std::filesystem::path& path, OpenOptions options) {
  return StoreOpener(path, std::move(options)).Run();
}

}  // namespace solvane::store
