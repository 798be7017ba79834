// The list of births: saving, searching, sorting, changing, deleting and importing, and opening
// files of every kind the user may have.
#include "store/births_store.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <set>

#include "store/store_test_support.h"

namespace solvane::store {
namespace {

using testing::SampleBirth;
using testing::ScratchFolder;

// A clock that moves one second at each reading, so that every change has its own time.
OpenOptions SteppingClock() {
  auto ticks = std::make_shared<int>(0);
  OpenOptions options;
  options.now = [ticks] {
    return std::chrono::system_clock::time_point(std::chrono::seconds(1'700'000'000 + ++*ticks));
  };
  return options;
}

Store OpenOrDie(const std::filesystem::path& path, OpenOptions options = SteppingClock()) {
  auto store = Store::Open(path, std::move(options));
  if (!store) ADD_FAILURE() << store.error().message;
  return std::move(store).value();
}

std::vector<std::string> Names(const core::Result<std::vector<BirthRecord>>& records) {
  std::vector<std::string> names;
  if (!records) {
    ADD_FAILURE() << records.error().message;
    return names;
  }
  for (const BirthRecord& r : *records) names.push_back(r.name);
  return names;
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void RunSql(const std::filesystem::path& path, const char* sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  sqlite3_close(db);
}

// "births.sqlite.damaged-YYYYMMDD-HHMMSS"
bool IsDatedAsideName(const std::string& name) {
  const std::string prefix = "births.sqlite.damaged-";
  if (name.size() != prefix.size() + 15 || !name.starts_with(prefix)) return false;
  for (std::size_t i = prefix.size(); i < name.size(); ++i) {
    const bool dash = i == prefix.size() + 8;
    if (dash ? name[i] != '-' : !std::isdigit(static_cast<unsigned char>(name[i]))) return false;
  }
  return true;
}

// Five births in four scripts, as the search and sort tests use them.
std::vector<BirthRecord> FiveBirths() {
  BirthRecord jose = SampleBirth("José Álvarez");
  jose.year = 1975, jose.month = 2, jose.day = 28, jose.hour = 23, jose.minute = 5;
  jose.city = "Madrid", jose.state = "", jose.country = "España";
  BirthRecord zoe = SampleBirth("Zoë Smith");
  zoe.year = 1999, zoe.month = 7, zoe.day = 4, zoe.hour = 14, zoe.minute = 45;
  zoe.city = "New York", zoe.state = "NY", zoe.country = "USA";
  BirthRecord dmitry = SampleBirth("Дмитрий Ёлкин");
  dmitry.year = 1962, dmitry.month = 12, dmitry.day = 1, dmitry.hour = 0, dmitry.minute = 0;
  dmitry.city = "Москва", dmitry.state = "", dmitry.country = "Россия";
  BirthRecord amit = SampleBirth("अमित शर्मा");
  amit.year = 2001, amit.month = 1, amit.day = 26, amit.hour = 12, amit.minute = 0;
  amit.city = "काठमाडौं", amit.state = "", amit.country = "Nepal";
  return {SampleBirth(), jose, zoe, dmitry, amit};
}

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    store_ = std::make_unique<Store>(OpenOrDie(folder_ / "births.sqlite"));
    for (const BirthRecord& r : FiveBirths()) ASSERT_TRUE(store_->Save(r)) << r.name;
  }
  ScratchFolder folder_;
  std::unique_ptr<Store> store_;
};

TEST_F(StoreTest, SavedRecordReadsBackFieldForField) {
  BirthRecord r = SampleBirth("Ünal Öztürk");
  r.zone_index = kExactOffsetZone, r.offset_seconds_east = 20700;  // Nepal, +5:45
  r.daylight_saving = true, r.east = false, r.south = true;
  r.tz_name = "Asia/Kathmandu", r.place_id = "1283240";
  r.note = "first line\nsecond, \"quoted\" line";
  const auto saved = store_->Save(r);
  ASSERT_TRUE(saved) << saved.error().message;
  EXPECT_EQ(saved->status, SaveStatus::kAdded);
  const auto found = store_->Find(saved->record.id);
  ASSERT_TRUE(found && found->has_value());
  BirthRecord want = r;
  want.id = saved->record.id;
  want.created_utc = want.changed_utc = "2023-11-14T22:13:26.000Z";  // the clock's 6th reading
  EXPECT_EQ(**found, want);
  EXPECT_EQ(saved->record, want);
  EXPECT_EQ(*store_->Count(), 6);
}

TEST_F(StoreTest, SameNameAndDateIsReplacedOnlyWhenAsked) {
  BirthRecord again = SampleBirth("  asha rao ");  // differs in case and blanks at the ends only
  again.hour = 7;
  const auto first = store_->Save(again);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->status, SaveStatus::kExists);
  EXPECT_EQ(first->record.name, "ASHA RAO");
  EXPECT_EQ(first->record.hour, 6) << "the stored record is left as it was";

  const auto replaced = store_->Save(again, SaveMode::kReplaceExisting);
  ASSERT_TRUE(replaced);
  EXPECT_EQ(replaced->status, SaveStatus::kReplaced);
  EXPECT_EQ(replaced->record.id, first->record.id);
  EXPECT_EQ(replaced->record.created_utc, first->record.created_utc);
  EXPECT_GT(replaced->record.changed_utc, first->record.changed_utc);
  EXPECT_EQ((*store_->Find(first->record.id))->hour, 7);
  EXPECT_EQ(*store_->Count(), 5);

  EXPECT_EQ(store_->Save(again, SaveMode::kKeepBoth)->status, SaveStatus::kAdded);
  BirthRecord other_day = again;
  other_day.day = 16;
  EXPECT_EQ(store_->Save(other_day)->status, SaveStatus::kAdded);
  EXPECT_EQ(*store_->Count(), 7);
  EXPECT_EQ(Names(store_->FindByName("ASHA RAO")).size(), 3u);
}

TEST_F(StoreTest, SearchIgnoresCaseAndAccentsInEveryScript) {
  struct Case {
    const char* query;
    std::set<std::string> want;
  };
  const Case cases[] = {
      {"jose", {"José Álvarez"}},     // accent left out
      {"ALVAREZ", {"José Álvarez"}},  // upper case, accent left out
      {"zoe", {"Zoë Smith"}},
      {"москва", {"Дмитрий Ёлкин"}},       // place, Cyrillic small letters
      {"МОСКВА", {"Дмитрий Ёлкин"}},       // and capitals
      {"елкин", {"Дмитрий Ёлкин"}},        // Ё typed as Е
      {"शर्मा", {"अमित शर्मा"}},             // Devanagari as typed
      {"espana", {"José Álvarez"}},        // country, ñ typed as n
      {"1980-08", {"ASHA RAO"}},           // ISO date text
      {"15 august 1980", {"ASHA RAO"}},    // date in words, every word must match
      {"15.08.1980", {"ASHA RAO"}},        // date with dots
      {"new", {"ASHA RAO", "Zoë Smith"}},  // New Delhi and New York
      {"new york", {"Zoë Smith"}},
      {"", {"ASHA RAO", "José Álvarez", "Zoë Smith", "Дмитрий Ёлкин", "अमित शर्मा"}},
      {"xyz", {}},
      {"%", {}},  // no wildcard: text is matched as it is
      {"_", {}},
      {"'; DROP TABLE births; --", {}},  // bound as a value, never run as SQL
  };
  for (const Case& c : cases) {
    const std::vector<std::string> names = Names(store_->Search(c.query));
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), c.want) << c.query;
  }
  EXPECT_EQ(*store_->Count(), 5);
  EXPECT_EQ(Names(store_->Search("", {}, 2)).size(), 2u) << "the limit holds";
}

TEST_F(StoreTest, SortsByEveryColumnBothWays) {
  struct Case {
    SortColumn column;
    std::vector<std::string> ascending;
  };
  // Saved in FiveBirths' order, so changed-time order is that order.
  const Case cases[] = {
      {SortColumn::kName, {"ASHA RAO", "José Álvarez", "Zoë Smith", "Дмитрий Ёлкин", "अमित शर्मा"}},
      {SortColumn::kDate, {"Дмитрий Ёлкин", "José Álvarez", "ASHA RAO", "Zoë Smith", "अमित शर्मा"}},
      {SortColumn::kTime, {"Дмитрий Ёлкин", "ASHA RAO", "अमित शर्मा", "Zoë Smith", "José Álvarez"}},
      {SortColumn::kPlace,  // madrid, new delhi, new york, москва, काठमाडौं
       {"José Álvarez", "ASHA RAO", "Zoë Smith", "Дмитрий Ёлкин", "अमित शर्मा"}},
      {SortColumn::kChanged,
       {"ASHA RAO", "José Álvarez", "Zoë Smith", "Дмитрий Ёлкин", "अमित शर्मा"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Names(store_->All({c.column, false})), c.ascending) << static_cast<int>(c.column);
    std::vector<std::string> descending(c.ascending.rbegin(), c.ascending.rend());
    EXPECT_EQ(Names(store_->All({c.column, true})), descending) << static_cast<int>(c.column);
  }
  EXPECT_EQ(Names(store_->Recent(2)), (std::vector<std::string>{"अमित शर्मा", "Дмитрий Ёлкин"}));
}

TEST_F(StoreTest, RenameAndNoteChangeOneRecordAndItsSearchKey) {
  const std::int64_t id = store_->FindByName("Zoë Smith")->front().id;
  const auto renamed = store_->Rename(id, "Zoé Martin");
  ASSERT_TRUE(renamed) << renamed.error().message;
  EXPECT_EQ(Names(store_->Search("martin")), std::vector<std::string>{"Zoé Martin"});
  EXPECT_TRUE(Names(store_->Search("smith")).empty());
  const auto noted = store_->SetNote(id, "twin of Léa");
  ASSERT_TRUE(noted);
  EXPECT_EQ((*store_->Find(id))->note, "twin of Léa");
  EXPECT_GT(noted->changed_utc, renamed->changed_utc);
  EXPECT_EQ(Names(store_->Recent(1)), std::vector<std::string>{"Zoé Martin"});

  EXPECT_FALSE(store_->Rename(id, "   ")) << "a name of blanks is refused";
  EXPECT_EQ((*store_->Find(id))->name, "Zoé Martin");
  EXPECT_FALSE(store_->Rename(9999, "NOBODY"));
  EXPECT_FALSE(store_->SetNote(id, "bad \xFF byte"));
}

TEST_F(StoreTest, DeletionsComeBackNewestFirstUnderTheirOldIds) {
  const BirthRecord zoe = store_->FindByName("Zoë Smith")->front();
  const BirthRecord asha = store_->FindByName("ASHA RAO")->front();
  ASSERT_TRUE(store_->Delete(zoe.id));
  ASSERT_TRUE(store_->Delete(asha.id));
  EXPECT_EQ(*store_->Count(), 3);
  EXPECT_TRUE(Names(store_->Search("zoe")).empty());
  EXPECT_EQ((*store_->LastDeleted())->name, "ASHA RAO");
  EXPECT_FALSE(store_->Delete(zoe.id)) << "a record deleted twice";

  EXPECT_EQ(*store_->UndoDelete(), asha);
  EXPECT_EQ(*store_->UndoDelete(), zoe);
  EXPECT_EQ(*store_->Find(zoe.id), zoe);
  EXPECT_EQ(Names(store_->Search("zoe")), std::vector<std::string>{"Zoë Smith"});
  EXPECT_FALSE(store_->UndoDelete()) << "nothing left to undo";
  EXPECT_FALSE(store_->LastDeleted()->has_value());
  EXPECT_EQ(*store_->Count(), 5);
}

TEST_F(StoreTest, ImportSkipsExactDuplicatesAndRefusesBadRecordsWhole) {
  std::vector<BirthRecord> batch = FiveBirths();  // all already stored
  BirthRecord noted = SampleBirth();
  noted.note = "a different note";  // not an exact duplicate
  batch.push_back(noted);
  batch.push_back(noted);  // duplicate within the batch
  BirthRecord dated = SampleBirth("KEPT TIMES");
  dated.created_utc = "2001-02-03T04:05:06.000Z";
  batch.push_back(dated);
  const auto report = store_->Import(batch);
  ASSERT_TRUE(report) << report.error().message;
  EXPECT_EQ(report->added, 2);
  EXPECT_EQ(report->skipped, 6);
  EXPECT_EQ(*store_->Count(), 7);
  const BirthRecord kept = store_->FindByName("KEPT TIMES")->front();
  EXPECT_EQ(kept.created_utc, "2001-02-03T04:05:06.000Z");
  EXPECT_EQ(kept.changed_utc, "2001-02-03T04:05:06.000Z");

  BirthRecord bad = SampleBirth("BAD DATE");
  bad.month = 2, bad.day = 30;
  const auto refused = store_->Import(std::vector<BirthRecord>{SampleBirth("NEW ONE"), bad});
  ASSERT_FALSE(refused);
  EXPECT_NE(refused.error().message.find("Birth 2 (BAD DATE)"), std::string::npos)
      << refused.error().message;
  EXPECT_EQ(*store_->Count(), 7) << "nothing of a refused import is stored";
}

TEST(CheckRecord, RefusesWhatNoFormCouldHold) {
  struct Case {
    void (*spoil)(BirthRecord&);
    const char* what;
  };
  const Case cases[] = {
      {[](BirthRecord& r) { r.name = ""; }, "no name"},
      {[](BirthRecord& r) { r.month = 13; }, "month 13"},
      {[](BirthRecord& r) { r.year = 1981, r.month = 2, r.day = 29; },
       "29 February of a common year"},
      {[](BirthRecord& r) { r.hour = 24; }, "hour 24"},
      {[](BirthRecord& r) { r.minute = 60; }, "minute 60"},
      {[](BirthRecord& r) { r.zone_index = 71; }, "zone past the list's end"},
      {[](BirthRecord& r) {
         r.zone_index = kExactOffsetZone, r.offset_seconds_east = 18 * 3600 + 1;
       },
       "offset past 18 h"},
      {[](BirthRecord& r) { r.longitude_deg = 180, r.longitude_min = 1; }, "longitude past 180"},
      {[](BirthRecord& r) { r.latitude_deg = 91; }, "latitude past 90"},
      {[](BirthRecord& r) { r.city = std::string("a\0b", 3); }, "NUL in a text"},
  };
  for (const Case& c : cases) {
    BirthRecord r = SampleBirth();
    c.spoil(r);
    EXPECT_TRUE(CheckRecord(r).has_value()) << c.what;
  }
  BirthRecord leap = SampleBirth();
  leap.year = 2000, leap.month = 2, leap.day = 29;
  EXPECT_FALSE(CheckRecord(leap).has_value()) << "2000 is a leap year";
}

TEST(StoreOpen, MigratesTheFirstLayoutKeepingEveryRecord) {
  ScratchFolder folder;
  const auto path = folder / "births.sqlite";
  std::filesystem::copy_file(SOLVANE_STORE_DATA "/births-v1.sqlite", path);
  Store store = OpenOrDie(path);
  EXPECT_TRUE(store.notices().empty());
  EXPECT_FALSE(store.read_only());
  const auto all = store.All({SortColumn::kChanged, false});
  ASSERT_EQ(Names(all), (std::vector<std::string>{"ASHA RAO", "José Álvarez", "Дмитрий Ёлкин",
                                                  "अमित शर्मा", "Zoë Smith"}));
  // Values as make_births_v1.sh wrote them.
  const BirthRecord& amit = (*all)[3];
  EXPECT_EQ(amit.zone_index, kExactOffsetZone);
  EXPECT_EQ(amit.offset_seconds_east, 20700);
  EXPECT_EQ(amit.note, "exact offset +5:45");
  EXPECT_EQ(amit.tz_name, "") << "a column version 2 added";
  const BirthRecord& asha = (*all)[0];
  BirthRecord want = SampleBirth();
  want.id = asha.id, want.note = "the sample birth";
  want.created_utc = want.changed_utc = "2023-01-02T03:04:05.006Z";
  EXPECT_EQ(asha, want);
  // The keys the migration computed let search and "exists" work on the old rows.
  EXPECT_EQ(Names(store.Search("zoe")), std::vector<std::string>{"Zoë Smith"});
  EXPECT_EQ(Names(store.Search("москва")), std::vector<std::string>{"Дмитрий Ёлкин"});
  EXPECT_EQ(store.Save(SampleBirth())->status, SaveStatus::kExists);
  ASSERT_TRUE(store.Delete(asha.id));
  EXPECT_EQ(store.UndoDelete()->id, asha.id);
}

TEST(StoreOpen, NewerLayoutOpensForReadingOnly) {
  ScratchFolder folder;
  const auto path = folder / "births.sqlite";
  {
    Store store = OpenOrDie(path);
    ASSERT_TRUE(store.Save(SampleBirth()));
  }
  RunSql(path, "PRAGMA user_version = 3");
  const std::string before = ReadBytes(path);
  Store store = OpenOrDie(path);
  EXPECT_TRUE(store.read_only());
  ASSERT_EQ(store.notices().size(), 1u);
  EXPECT_NE(store.notices()[0].text.find("newer version"), std::string::npos);
  EXPECT_EQ(Names(store.Search("asha")), std::vector<std::string>{"ASHA RAO"});
  const auto saved = store.Save(SampleBirth("SOMEONE ELSE"));
  ASSERT_FALSE(saved);
  EXPECT_NE(saved.error().message.find("reading only"), std::string::npos);
  EXPECT_FALSE(store.Delete(1));
  EXPECT_FALSE(store.Import(FiveBirths()));
  EXPECT_EQ(ReadBytes(path), before);
}

// Files that are not a usable list: each is moved aside untouched and a fresh list started.
TEST(StoreOpen, UnusableFilesAreSetAsideNeverOverwritten) {
  struct Case {
    const char* what;
    const char* sql;      // run on a fresh SQLite file, or nullptr
    const char* content;  // written as the file otherwise
  };
  const Case cases[] = {
      {"a text file", nullptr, "name,date\nASHA,1980-08-15\n"},
      {"a short binary file", nullptr, "SQLite format 3"},
      {"another program's database", "CREATE TABLE notes (body TEXT)", nullptr},
      {"our stamp but no births table",
       "PRAGMA application_id = 1399811158; CREATE TABLE other (x)", nullptr},
  };
  for (const Case& c : cases) {
    ScratchFolder folder;
    const auto path = folder / "births.sqlite";
    if (c.sql != nullptr) {
      RunSql(path, c.sql);
    } else {
      std::ofstream(path, std::ios::binary) << c.content;
    }
    const std::string before = ReadBytes(path);
    Store store = OpenOrDie(path);
    EXPECT_EQ(store.notices().size(), 1u) << c.what;
    EXPECT_TRUE(IsDatedAsideName(store.moved_aside().filename().string())) << store.moved_aside();
    EXPECT_EQ(ReadBytes(store.moved_aside()), before) << c.what;
    EXPECT_EQ(*store.Count(), 0) << c.what;
    EXPECT_TRUE(store.Save(SampleBirth())) << c.what;
  }
}

TEST(StoreOpen, DamagedPagesAreSetAsideAndTheRestSalvaged) {
  ScratchFolder folder;
  const auto path = folder / "births.sqlite";
  std::vector<BirthRecord> saved;
  {
    Store store = OpenOrDie(path);
    for (int i = 0; i < 300; ++i) {
      BirthRecord r = SampleBirth("PERSON " + std::to_string(i));
      r.note = std::string(100, 'n');
      saved.push_back(store.Save(r)->record);
    }
  }  // closing writes the log back into the file
  // A page of the births table itself: the place line of the search key is stored nowhere else.
  const std::string bytes = ReadBytes(path);
  const std::size_t row = bytes.find("new delhi, delhi, india\n", bytes.size() / 2);
  ASSERT_NE(row, std::string::npos);
  {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(static_cast<std::streamoff>(row / 4096 * 4096));
    const std::string garbage(4096, '\x5A');
    file.write(garbage.data(), garbage.size());
  }
  Store store = OpenOrDie(path);
  ASSERT_EQ(store.notices().size(), 1u);
  EXPECT_NE(store.notices()[0].text.find("damaged"), std::string::npos);
  EXPECT_EQ(*store.Count(), 0);
  const auto salvaged = SalvageRecords(store.moved_aside());
  ASSERT_TRUE(salvaged) << salvaged.error().message;
  EXPECT_GT(salvaged->size(), 250u);
  EXPECT_LT(salvaged->size(), 300u) << "the records on the spoilt page are gone";
  for (const BirthRecord& r : *salvaged)
    EXPECT_EQ(r, saved[r.id - 1]) << "salvaged records are whole: " << r.id;
  const auto report = store.Import(*salvaged);
  ASSERT_TRUE(report);
  EXPECT_EQ(report->added, static_cast<int>(salvaged->size()));
}

TEST(StoreOpen, EmptyFileIsAFreshListNotADamagedOne) {
  ScratchFolder folder;
  const auto path = folder / "births.sqlite";
  std::ofstream(path).close();
  Store store = OpenOrDie(path);
  EXPECT_TRUE(store.notices().empty());
  EXPECT_TRUE(store.moved_aside().empty());
  EXPECT_TRUE(store.Save(SampleBirth()));
}

TEST(StoreOpen, FolderThatCannotBeMadeFailsWithAMessage) {
  ScratchFolder folder;
  std::ofstream(folder / "a-file").close();
  const std::filesystem::path cases[] = {
      folder / "a-file" / "Solvane" / "births.sqlite",  // a file where a folder should be
      "/proc/solvane-test/births.sqlite",               // /proc refuses even the superuser
  };
  for (const auto& path : cases) {
    const auto store = Store::Open(path);
    ASSERT_FALSE(store) << path;
    EXPECT_NE(store.error().message.find("folder"), std::string::npos) << store.error().message;
  }
}

// Makes a file or folder read-only even for the superuser (the immutable flag), or by its mode
// for anyone else; undone when it goes.
class WriteProtection {
 public:
  explicit WriteProtection(std::filesystem::path path) : path_(std::move(path)) {
    applied_ = geteuid() == 0 ? SetImmutable(true) : chmod(path_.c_str(), 0555) == 0;
  }
  ~WriteProtection() {
    if (!applied_) return;
    if (geteuid() == 0) {
      SetImmutable(false);
    } else {
      chmod(path_.c_str(), 0755);
    }
  }
  bool applied() const { return applied_; }

 private:
  bool SetImmutable(bool on) {
    const int fd = open(path_.c_str(), O_RDONLY | O_NONBLOCK);
    int flags = 0;
    bool done = fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = done && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    if (fd >= 0) close(fd);
    return done;
  }
  std::filesystem::path path_;
  bool applied_ = false;
};

TEST(StoreOpen, WriteProtectedListOpensForReadingAndRefusesChanges) {
  ScratchFolder folder;
  const auto path = folder / "births.sqlite";
  {
    Store store = OpenOrDie(path);
    ASSERT_TRUE(store.Save(SampleBirth()));
  }
  const std::string before = ReadBytes(path);
  WriteProtection file(path);
  WriteProtection parent(folder.path());
  if (!file.applied() || !parent.applied()) GTEST_SKIP() << "cannot write-protect files here";
  Store store = OpenOrDie(path);
  EXPECT_TRUE(store.read_only());
  ASSERT_EQ(store.notices().size(), 1u);
  EXPECT_NE(store.notices()[0].text.find("write-protected"), std::string::npos);
  EXPECT_EQ(Names(store.Search("asha")), std::vector<std::string>{"ASHA RAO"});
  const auto saved = store.Save(SampleBirth("SOMEONE ELSE"));
  ASSERT_FALSE(saved);
  EXPECT_NE(saved.error().message.find("reading only"), std::string::npos);
  EXPECT_EQ(ReadBytes(path), before);
}

TEST(DefaultStorePath, FollowsXdgDataHomeElseHome) {
  const char* saved_xdg = getenv("XDG_DATA_HOME");
  const std::string xdg = saved_xdg != nullptr ? saved_xdg : "";
  const char* saved_home = getenv("HOME");
  const std::string home = saved_home != nullptr ? saved_home : "";
  setenv("HOME", "/home/asha", 1);
  setenv("XDG_DATA_HOME", "/data/asha", 1);
  EXPECT_EQ(DefaultStorePath(), "/data/asha/Solvane/births.sqlite");
  setenv("XDG_DATA_HOME", "relative/data", 1);  // the XDG rules ignore a relative path
  EXPECT_EQ(DefaultStorePath(), "/home/asha/.local/share/Solvane/births.sqlite");
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(DefaultStorePath(), "/home/asha/.local/share/Solvane/births.sqlite");
  if (saved_xdg != nullptr) setenv("XDG_DATA_HOME", xdg.c_str(), 1);
  if (saved_home != nullptr) setenv("HOME", home.c_str(), 1);
}

}  // namespace
}  // namespace solvane::store
