// The list under stress: a writer killed mid-save, two processes writing at once, a full disk.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>

#include "store/births_store.h"
#include "store/store_test_support.h"
#include "store/writer_record.h"

extern char** environ;

namespace solvane::store {
namespace {

using testing::IsWholeWriterRecord;
using testing::SampleBirth;
using testing::ScratchFolder;
using testing::WriterRecord;

// Starts the writer; with `lines` its output (one line per save) goes to that pipe's write end.
pid_t StartWriter(const std::filesystem::path& path, const std::string& tag, int count,
                  const int* lines = nullptr) {
  const std::string file = path.string();
  const std::string how_many = std::to_string(count);
  char* argv[] = {const_cast<char*>(SOLVANE_STORE_WRITER), const_cast<char*>(file.c_str()),
                  const_cast<char*>(tag.c_str()), const_cast<char*>(how_many.c_str()), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (lines != nullptr) {
    posix_spawn_file_actions_adddup2(&actions, lines[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, lines[0]);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  }
  pid_t pid = -1;
  EXPECT_EQ(posix_spawn(&pid, SOLVANE_STORE_WRITER, &actions, nullptr, argv, environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// Reads the writer's output until it has reported `saves` more saves (or ended).
void AwaitSaves(int from_writer, int saves) {
  char buffer[256];
  while (saves > 0) {
    const ssize_t got = read(from_writer, buffer, sizeof buffer);
    if (got <= 0) return;
    saves -= static_cast<int>(std::count(buffer, buffer + got, '\n'));
  }
}

int WaitFor(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return status;
}

std::string IntegrityCheck(const std::filesystem::path& path) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  sqlite3_stmt* check = nullptr;
  sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr);
  std::string answer = "no answer";
  if (sqlite3_step(check) == SQLITE_ROW)
    answer = reinterpret_cast<const char*>(sqlite3_column_text(check, 0));
  sqlite3_finalize(check);
  sqlite3_close(db);
  return answer;
}

// Every stored record must be one the writer made, whole, and none may have been lost.
std::int64_t CheckAllWhole(const std::filesystem::path& path) {
  auto store = Store::Open(path);
  if (!store) {
    ADD_FAILURE() << store.error().message;
    return -1;
  }
  EXPECT_TRUE(store->notices().empty()) << store->notices().front().text;
  const auto all = store->All();
  EXPECT_TRUE(all);
  for (const BirthRecord& r : *all) EXPECT_TRUE(IsWholeWriterRecord(r)) << r.name;
  return static_cast<std::int64_t>(all->size());
}

TEST(StoreFaults, WriterKilledAtRandomMomentsLeavesRecordsWholeOrAbsent) {
  ScratchFolder folder;
  const auto path = folder / "births.sqlite";
  std::mt19937 random(20240501);  // fixed, so that a failure repeats
  std::uniform_int_distribution<int> saves_first(0, 15);
  std::uniform_int_distribution<int> pause_us(0, 3000);  // about one save's time
  std::int64_t count = 0;
  for (int round = 0; round < 40; ++round) {
    int lines[2];
    ASSERT_EQ(pipe(lines), 0);
    const pid_t writer = StartWriter(path, "ROUND" + std::to_string(round), 0, lines);
    close(lines[1]);
    // The first rounds kill it while it may still be creating the file; the others after a
    // few saves, at a random moment of the next one.
    if (round >= 3) AwaitSaves(lines[0], saves_first(random));
    std::this_thread::sleep_for(std::chrono::microseconds(pause_us(random)));
    kill(writer, SIGKILL);
    close(lines[0]);
    const int status = WaitFor(writer);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself: status " << status;
    if (!std::filesystem::exists(path)) continue;
    ASSERT_EQ(IntegrityCheck(path), "ok") << "round " << round;
    const std::int64_t now = CheckAllWhole(path);
    EXPECT_GE(now, count) << "a record saved before was lost in round " << round;
    count = now;
  }
  EXPECT_GT(count, 40) << "the writer hardly saved anything: the test proved little";
}

TEST(StoreFaults, TwoProcessesWritingAtOnceBothSucceed) {
  ScratchFolder folder;
  const auto path = folder / "births.sqlite";
  constexpr int kEach = 150;
  const pid_t left = StartWriter(path, "LEFT", kEach);
  const pid_t right = StartWriter(path, "RIGHT", kEach);
  // And this process reads and writes in between, as the desktop program would.
  auto store = Store::Open(path);
  ASSERT_TRUE(store) << store.error().message;
  for (int n = 1; n <= 50; ++n) {
    ASSERT_TRUE(store->Save(WriterRecord("MIDDLE", n), SaveMode::kKeepBoth));
    ASSERT_TRUE(store->Search("left"));
  }
  EXPECT_EQ(WaitFor(left), 0) << "a writer failed, e.g. with 'database is locked'";
  EXPECT_EQ(WaitFor(right), 0);
  EXPECT_EQ(CheckAllWhole(path), 2 * kEach + 50);
  EXPECT_EQ(IntegrityCheck(path), "ok");
}

// Two programs starting at once on a list that does not exist yet: the one that comes second may
// find the file half made (a header, no tables yet). Taking it for damaged moved the first one's
// births aside, so each run here starts from no file.
TEST(StoreFaults, TwoProcessesCreatingTheListAtOnceKeepEveryBirth) {
  for (int run = 0; run < 10; ++run) {
    ScratchFolder folder;
    const auto path = folder / "births.sqlite";
    const pid_t left = StartWriter(path, "LEFT", 40);
    const pid_t right = StartWriter(path, "RIGHT", 40);
    EXPECT_EQ(WaitFor(left), 0) << "run " << run;
    EXPECT_EQ(WaitFor(right), 0) << "run " << run;
    EXPECT_EQ(CheckAllWhole(path), 80) << "run " << run;
    int moved = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
      moved += entry.path().filename().string().find("damaged") != std::string::npos;
    EXPECT_EQ(moved, 0) << "run " << run << ": a list being created was moved aside";
  }
}

TEST(StoreFaults, FullDiskChangesNothingAndSaysSo) {
  ScratchFolder folder;
  const auto path = folder / "births.sqlite";
  OpenOptions small;
  small.max_pages = 40;  // 160 kB of 4096-byte pages
  auto store = Store::Open(path, small);
  ASSERT_TRUE(store) << store.error().message;
  int saved = 0;
  core::Result<SaveOutcome> last = core::Fail("not tried");
  for (int n = 1; n < 1000; ++n) {
    last = store->Save(WriterRecord("FILL", n), SaveMode::kKeepBoth);
    if (!last) break;
    ++saved;
  }
  ASSERT_FALSE(last) << "the limit never bit";
  EXPECT_NE(last.error().message.find("is full"), std::string::npos) << last.error().message;
  EXPECT_NE(last.error().message.find("Nothing was changed"), std::string::npos);
  EXPECT_EQ(*store->Count(), saved);
  const std::vector<BirthRecord> batch = {WriterRecord("MORE", 1), WriterRecord("MORE", 2)};
  EXPECT_FALSE(store->Import(batch));
  EXPECT_EQ(*store->Count(), saved) << "a failed import leaves nothing behind";
  EXPECT_TRUE(store->Delete(1)) << "deleting still works: it needs little room";
  EXPECT_TRUE(store->UndoDelete());
  store = Store::Open(path);
  EXPECT_EQ(CheckAllWhole(path), saved);
  EXPECT_EQ(IntegrityCheck(path), "ok");
}

// The same with the operating system refusing to let the log grow (a real write failure).
TEST(StoreFaults, FileSizeLimitFailsTheSaveCleanly) {
  ScratchFolder folder;
  const auto path = folder / "births.sqlite";
  {
    auto store = Store::Open(path);
    ASSERT_TRUE(store);
    for (int n = 1; n <= 5; ++n) ASSERT_TRUE(store->Save(WriterRecord("BEFORE", n)));
  }
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
    auto store = Store::Open(path);
    if (!store) _exit(100);
    const rlimit limit{64 * 1024, 64 * 1024};
    setrlimit(RLIMIT_FSIZE, &limit);
    for (int n = 1; n < 200; ++n) {
      auto saved = store->Save(WriterRecord("AFTER", n), SaveMode::kKeepBoth);
      if (!saved) {
        const bool told = saved.error().message.find("Nothing was changed") != std::string::npos;
        _exit(told ? n - 1 : 101);
      }
    }
    _exit(102);
  }
  const int status = WaitFor(child);
  ASSERT_TRUE(WIFEXITED(status));
  const int saved_after = WEXITSTATUS(status);
  ASSERT_LT(saved_after, 100) << "code " << saved_after << ": no failure or no message";
  EXPECT_EQ(IntegrityCheck(path), "ok");
  EXPECT_EQ(CheckAllWhole(path), 5 + saved_after);
}

}  // namespace
}  // namespace solvane::store
