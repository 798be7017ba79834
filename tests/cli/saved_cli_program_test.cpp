// solvane-chart's saved births as a user meets them: exit statuses, messages, files. Every run
// uses a list in a folder of its own (and XDG_DATA_HOME there too, so the user's own list is
// never touched).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/chart_process.h"

namespace {

namespace fs = std::filesystem;

using solvane::testing::ChartRun;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Write(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

class SavedBirths : public ::testing::Test {
 protected:
  SavedBirths() {
    std::string pattern = (fs::temp_directory_path() / "saved-cli-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
    folder_ = pattern;
  }
  ~SavedBirths() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  fs::path Path(const std::string& name) const { return folder_ / name; }
  std::string Db(const std::string& name = "births.sqlite") const {
    return " --births-db '" + Path(name).string() + "'";
  }

  // The user's own list is never touched: the data folder is the test's.
  ChartRun Run(const std::string& args, const std::string& input = "") const {
    return solvane::testing::RunChartProgram(args, input, Path("run").string(),
                                             "XDG_DATA_HOME='" + Path("xdg").string() + "' ");
  }

  // The list as --list-saved --format json gives it.
  nlohmann::json Listed(const std::string& db = "births.sqlite") const {
    const ChartRun r = Run("--list-saved --format json" + Db(db));
    EXPECT_EQ(r.status, 0) << r.err;
    return nlohmann::json::parse(r.out);
  }

 private:
  fs::path folder_;
};

// The sample birth's data, and two more people (dates and places chosen to differ in every field).
const char* const kAsha =
    "--name 'ASHA RAO' --date 1980-08-15 --time 06:30 --zone IST --lon 77E13 --lat 28N36 "
    "--city 'New Delhi' --state Delhi --country India";
const char* const kMary =
    "--name \"MARY-ANN O'BRIEN\" --date 1955-03-17 --time 23:05 --zone 29 --dst --lon 6W15 "
    "--lat 53N20 --city Dublin --state 'Co. Dublin, Leinster' --country Ireland";
// Madras time, five hours, 21 minutes and 10 seconds ahead of Greenwich, as an exact offset.
const char* const kLakshmi =
    "--name LAKSHMI --date 1905-06-01 --time 10:15 --zone +05:21:10 --lon 80E17 --lat 13N5 "
    "--city Madras";
const char* const kJose =
    "--name 'JOSÉ' --date 2001-12-31 --time 00:00 --zone 0 --lon 58W22 --lat 34S36 "
    "--city 'Buenos Aires' --country Argentina";

TEST_F(SavedBirths, ExportImportExportGivesTheSameFileAndRecords) {
  for (const char* birth : {kAsha, kMary, kJose, kLakshmi}) {
    const ChartRun r = Run(std::string(birth) + " --save" + Db());
    ASSERT_EQ(r.status, 0) << birth << "\n" << r.err;
  }
  const ChartRun exported = Run("--export-saved '" + Path("a.csv").string() + "'" + Db());
  ASSERT_EQ(exported.status, 0) << exported.err;
  EXPECT_NE(exported.out.find("wrote 4 saved births"), std::string::npos) << exported.out;
  const std::string csv = Slurp(Path("a.csv"));
  EXPECT_EQ(csv.substr(0, csv.find('\r')), "name,date,time,zone,dst,lon,lat,city,state,country");
  EXPECT_NE(csv.find("MARY-ANN O'BRIEN,1955-03-17,23:05,29,yes,6W15,53N20,Dublin,"
                     "\"Co. Dublin, Leinster\",Ireland"),
            std::string::npos)
      << csv;
  EXPECT_NE(csv.find("LAKSHMI,1905-06-01,10:15,+05:21:10,no,80E17,13N5,Madras,,\r\n"),
            std::string::npos)
      << csv;

  const ChartRun imported = Run("--import-saved '" + Path("a.csv").string() + "'" + Db("b.db"));
  ASSERT_EQ(imported.status, 0) << imported.err;
  EXPECT_EQ(imported.out, "stored 4 of 4 rows; 0 refused, 0 already saved\n");
  ASSERT_EQ(Run("--export-saved '" + Path("b.csv").string() + "'" + Db("b.db")).status, 0);
  EXPECT_EQ(Slurp(Path("b.csv")), csv);

  nlohmann::json first = Listed(), second = Listed("b.db");
  ASSERT_EQ(first.size(), 4u);
  for (nlohmann::json* list : {&first, &second})
    for (auto& record : *list) record.erase("created"), record.erase("changed");
  EXPECT_EQ(first, second);

  // The export is the batch's own format: every row charts.
  const ChartRun batch = Run("--batch '" + Path("a.csv").string() + "'");
  EXPECT_EQ(batch.status, 0) << batch.err;
  EXPECT_EQ(std::count(batch.out.begin(), batch.out.end(), '\n'), 4);
}

TEST_F(SavedBirths, SavedBirthWithAnExactOffsetChartsLikeItsFlags) {
  const ChartRun direct = Run(kLakshmi);
  ASSERT_EQ(direct.status, 0) << direct.err;
  ASSERT_EQ(Run(std::string(kLakshmi) + " --save" + Db()).status, 0);
  const ChartRun saved = Run("--saved lakshmi" + Db());
  EXPECT_EQ(saved.status, 0) << saved.err;
  EXPECT_EQ(saved.out, direct.out);
  EXPECT_EQ(Listed()[0]["zone"], "+05:21:10");
}

TEST_F(SavedBirths, SavedBirthChartsExactlyLikeItsFlags) {
  const ChartRun direct = Run(kMary);
  ASSERT_EQ(direct.status, 0) << direct.err;
  const ChartRun saving = Run(std::string(kMary) + " --save" + Db());
  ASSERT_EQ(saving.status, 0) << saving.err;
  EXPECT_EQ(saving.out, direct.out);
  EXPECT_EQ(saving.err, "");
  for (const char* name : {"\"MARY-ANN O'BRIEN\"", "\"mary-ann o'brien\"", "mary"}) {
    const ChartRun saved = Run(std::string("--saved ") + name + Db());
    EXPECT_EQ(saved.status, 0) << name << "\n" << saved.err;
    EXPECT_EQ(saved.out, direct.out) << name;
  }
  // Flags after --saved change the stored birth for this chart only.
  const ChartRun later = Run(std::string("--saved mary --time 07:00 --dst no") + Db());
  EXPECT_EQ(later.out,
            Run("--name \"MARY-ANN O'BRIEN\" --date 1955-03-17 --time 07:00 --zone 29 --lon 6W15 "
                "--lat 53N20 --city Dublin --state 'Co. Dublin, Leinster' --country Ireland")
                .out);
  EXPECT_EQ(Listed()[0]["time"], "23:05");
}

TEST_F(SavedBirths, SeveralMatchesAreListedAndRefused) {
  const std::string date = " --date 1980-08-15 --time 06:30 --zone IST --lon 77E13 --lat 28N36";
  for (const char* name : {"'RAVI KUMAR'", "'RAVI SHANKAR'", "ASHA"})
    ASSERT_EQ(Run(std::string("--name ") + name + date + " --save" + Db()).status, 0);
  ASSERT_EQ(Run("--name ASHA --date 1990-01-02 --lon 77E13 --lat 28N36 --save" + Db()).status, 0);

  const ChartRun ravi = Run("--saved ravi" + Db());
  EXPECT_EQ(ravi.status, 2);
  EXPECT_EQ(ravi.out, "");
  EXPECT_NE(ravi.err.find("RAVI KUMAR  1980-08-15 06:30"), std::string::npos) << ravi.err;
  EXPECT_NE(ravi.err.find("RAVI SHANKAR  1980-08-15 06:30"), std::string::npos) << ravi.err;
  // A whole name wins over the other matches of a search.
  EXPECT_EQ(Run("--saved 'ravi kumar'" + Db()).status, 0);
  // Two people of the same name: the date picks one.
  const ChartRun asha = Run("--saved asha" + Db());
  EXPECT_EQ(asha.status, 2);
  EXPECT_NE(asha.err.find("ASHA  1990-01-02 00:00"), std::string::npos) << asha.err;
  const ChartRun picked = Run("--saved asha --date 1990-01-02 --format json" + Db());
  ASSERT_EQ(picked.status, 0) << picked.err;
  EXPECT_EQ(nlohmann::json::parse(picked.out)["lblDOB"], "January/2/1990");
  const ChartRun none = Run("--saved nobody" + Db());
  EXPECT_EQ(none.status, 2);
  EXPECT_NE(none.err.find("no saved birth called 'nobody'"), std::string::npos) << none.err;
}

TEST_F(SavedBirths, SavingAgainReplacesOnlyWhatChanged) {
  ASSERT_EQ(Run(std::string(kAsha) + " --save" + Db()).status, 0);
  const nlohmann::json before = Listed();
  const ChartRun same = Run(std::string(kAsha) + " --save" + Db());
  EXPECT_EQ(same.status, 0);
  EXPECT_EQ(same.err, "");
  EXPECT_EQ(Listed(), before);  // not even its time of change moved

  const ChartRun changed =
      Run("--name 'ASHA RAO' --date 1980-08-15 --time 06:45 --zone IST --lon 77E13 --lat 28N36 "
          "--city 'New Delhi' --state Delhi --country India --save" +
          Db());
  EXPECT_EQ(changed.status, 0);
  EXPECT_NE(changed.err.find("was replaced by ASHA RAO  1980-08-15 06:45"), std::string::npos)
      << changed.err;
  const nlohmann::json after = Listed();
  ASSERT_EQ(after.size(), 1u);
  EXPECT_EQ(after[0]["time"], "06:45");
  EXPECT_EQ(after[0]["created"], before[0]["created"]);
}

TEST_F(SavedBirths, ImportReportsRefusedRowsAndStoresTheRest) {
  Write(Path("in.csv"),
        "name,date,time,zone,lon,lat\n"
        "ONE,1980-08-15,06:30,IST,77E13,28N36\n"
        "TWO,1981-02-29,06:30,IST,77E13,28N36\n"  // line 3: 1981 had no 29 February
        "THREE,1980-08-15,06:30,IST,77E13,28N36\n"
        "FOUR,1980-08-15,25:00,IST,77E13,28N36\n"  // line 5: no hour 25
        "FIVE,1980-08-15,06:30,IST,77E13,28N36\n");
  const std::string import = "--import-saved '" + Path("in.csv").string() + "'" + Db();
  const ChartRun first = Run(import);
  EXPECT_EQ(first.status, 2);
  EXPECT_EQ(first.out, "stored 3 of 5 rows; 2 refused, 0 already saved\n");
  EXPECT_NE(first.err.find("line 3: "), std::string::npos) << first.err;
  EXPECT_NE(first.err.find("line 5: "), std::string::npos) << first.err;
  EXPECT_EQ(first.err.find("line 2: "), std::string::npos) << first.err;
  EXPECT_EQ(Listed().size(), 3u);

  const ChartRun again = Run(import);
  EXPECT_EQ(again.status, 2);
  EXPECT_EQ(again.out, "stored 0 of 5 rows; 2 refused, 3 already saved\n");
  EXPECT_EQ(Listed().size(), 3u);

  // Without the refused rows nothing is refused, and a row twice in the file is stored once.
  Write(Path("good.csv"),
        "name,date,lon,lat\nSIX,1999-09-09,0E0,51N30\nSIX,1999-09-09,0E0,51N30\n"
        "ONE,1980-08-15,77E13,28N36\n");
  const ChartRun good = Run("--import-saved '" + Path("good.csv").string() + "'" + Db());
  EXPECT_EQ(good.status, 0) << good.err;
  EXPECT_EQ(good.out, "stored 2 of 3 rows; 0 refused, 1 already saved\n");
}

TEST_F(SavedBirths, ImportOfAFileThatIsNotABirthListChangesNothing) {
  struct Case {
    const char* content;
    int status;
    const char* err_says;
  };
  const Case cases[] = {{"", 2, "no header row"},
                        {"name,date,colour\nA,1980-08-15,red\n", 2, "unknown column 'colour'"}};
  for (const Case& c : cases) {
    Write(Path("in.csv"), c.content);
    const ChartRun r = Run("--import-saved '" + Path("in.csv").string() + "'" + Db());
    EXPECT_EQ(r.status, c.status) << c.content;
    EXPECT_NE(r.err.find(c.err_says), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(Path("births.sqlite"))) << c.content;
  }
  const ChartRun missing = Run("--import-saved '" + Path("none.csv").string() + "'" + Db());
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("cannot open"), std::string::npos) << missing.err;
}

TEST_F(SavedBirths, BatchSavesOnlyTheRowsItCharted) {
  Write(Path("batch.csv"),
        "name,date,time,zone,lon,lat\n"
        "A,2000-01-01,12:00,GMT,0E0,51N30\n"
        "B,2000-02-30,12:00,GMT,0E0,51N30\n"  // refused: no 30 February
        "C,1980-08-15,06:30,IST,77E13,28N36\n");
  const ChartRun r = Run("--batch '" + Path("batch.csv").string() + "' --save" + Db());
  EXPECT_EQ(r.status, 2) << r.err;
  EXPECT_NE(r.err.find("saved births: 2 added, 0 replaced, 0 already saved"), std::string::npos)
      << r.err;
  const nlohmann::json list = Listed();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0]["name"], "A");
  EXPECT_EQ(list[1]["name"], "C");
}

TEST_F(SavedBirths, ListAsTextAndJsonWithAQuery) {
  for (const char* birth : {kAsha, kMary, kJose})
    ASSERT_EQ(Run(std::string(birth) + " --save" + Db()).status, 0);
  const ChartRun all = Run("--list-saved" + Db());
  ASSERT_EQ(all.status, 0) << all.err;
  EXPECT_EQ(all.out,
            "NAME              DATE        TIME   PLACE\n"
            "ASHA RAO          1980-08-15  06:30  New Delhi, Delhi, India\n"
            "JOSÉ              2001-12-31  00:00  Buenos Aires, Argentina\n"
            "MARY-ANN O'BRIEN  1955-03-17  23:05  Dublin, Co. Dublin, Leinster, Ireland\n");
  const ChartRun query = Run("--list-saved 'jose buenos' --format json" + Db());
  ASSERT_EQ(query.status, 0) << query.err;
  const auto json = nlohmann::json::parse(query.out);
  ASSERT_EQ(json.size(), 1u);
  EXPECT_EQ(json[0]["name"], "JOSÉ");
  EXPECT_EQ(json[0]["lon"], "58W22");
  EXPECT_EQ(json[0]["lat"], "34S36");
  EXPECT_EQ(json[0]["zone"], "0");
  const ChartRun nothing = Run("--list-saved zzz" + Db());
  EXPECT_EQ(nothing.status, 0);
  EXPECT_EQ(nothing.out, "");
  EXPECT_NE(nothing.err.find("no saved birth matches 'zzz'"), std::string::npos);
}

TEST_F(SavedBirths, ReadingAListThatIsNotThereCreatesNothing) {
  const char* modes[] = {"--list-saved", "--saved ASHA", "--export-saved -"};
  for (const char* mode : modes) {
    const ChartRun r = Run(std::string(mode) + Db("none/births.sqlite"));
    EXPECT_EQ(r.status, std::string(mode) == "--saved ASHA" ? 2 : 0) << mode << "\n" << r.err;
    EXPECT_FALSE(fs::exists(Path("none"))) << mode;
  }
}

TEST_F(SavedBirths, DamagedListIsMovedAsideAndAFreshOneStarted) {
  const std::string garbage = "this is not a list of births \x01\x02\x03\xFF";
  Write(Path("births.sqlite"), garbage);
  const ChartRun r = Run(std::string(kAsha) + " --save" + Db());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("could not be used"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("fresh list"), std::string::npos) << r.err;
  std::vector<fs::path> aside;
  for (const auto& entry : fs::directory_iterator(Path("")))
    if (entry.path().filename().string().starts_with("births.sqlite.damaged-"))
      aside.push_back(entry.path());
  ASSERT_EQ(aside.size(), 1u);
  // births.sqlite.damaged-YYYYMMDD-HHMMSS, holding the old bytes untouched.
  EXPECT_EQ(aside[0].filename().string().size(), std::string("births.sqlite.damaged-").size() + 15);
  EXPECT_EQ(Slurp(aside[0]), garbage);
  const nlohmann::json list = Listed();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0]["name"], "ASHA RAO");
}

// --export-saved of a list found damaged writes what can still be read from the file it moved
// aside: every birth but those on the spoilt page, each whole.
TEST_F(SavedBirths, ExportOfADamagedListSalvagesWhatCanBeRead) {
  std::string csv = "name,date,time,zone,lon,lat,city,state,country\n";
  for (int i = 0; i < 300; ++i)
    csv += "PERSON " + std::string(1, static_cast<char>('A' + i % 26)) +
           std::string(1, static_cast<char>('A' + i / 26)) + ",1980-08-15,06:30,IST,77E13,28N36," +
           "New Delhi,Delhi,India\n";
  Write(Path("in.csv"), csv);
  ASSERT_EQ(Run("--import-saved '" + Path("in.csv").string() + "'" + Db()).status, 0);
  // Spoil one page of the births table in the second half of the file.
  const std::string bytes = Slurp(Path("births.sqlite"));
  const std::size_t row = bytes.find("PERSON", bytes.size() / 2);
  ASSERT_NE(row, std::string::npos);
  {
    std::fstream file(Path("births.sqlite"), std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(static_cast<std::streamoff>(row / 4096 * 4096));
    const std::string garbage(4096, '\x5A');
    file.write(garbage.data(), garbage.size());
  }
  const ChartRun r = Run("--export-saved '" + Path("out.csv").string() + "'" + Db());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("could still be read from the damaged list"), std::string::npos) << r.err;
  const std::string out = Slurp(Path("out.csv"));
  const auto rows = std::count(out.begin(), out.end(), '\n') - 1;  // less the header
  EXPECT_GT(rows, 200) << out.substr(0, 200);
  EXPECT_LT(rows, 300) << "the births on the spoilt page are gone";
  // Every row exported is a whole birth: its date, time and place are all there.
  std::size_t whole = 0;
  for (std::size_t at = out.find(",1980-08-15,06:30,"); at != std::string::npos;
       at = out.find(",1980-08-15,06:30,", at + 1))
    whole += out.find("New Delhi,Delhi,India", at) < out.find('\n', at) ? 1 : 0;
  EXPECT_EQ(static_cast<long>(whole), rows);
}

// Read-only even for the superuser (the immutable flag), or by its mode for anyone else.
class WriteProtection {
 public:
  explicit WriteProtection(fs::path path) : path_(std::move(path)) {
    applied_ = geteuid() == 0 ? SetImmutable(true) : chmod(path_.c_str(), 0555) == 0;
  }
  ~WriteProtection() {
    if (applied_ && geteuid() == 0) SetImmutable(false);
    if (applied_ && geteuid() != 0) chmod(path_.c_str(), 0755);
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
  fs::path path_;
  bool applied_ = false;
};

TEST_F(SavedBirths, ReadOnlyFolderGivesAMessageAndCreatesNothing) {
  fs::create_directory(Path("locked"));
  WriteProtection lock(Path("locked"));
  if (!lock.applied()) GTEST_SKIP() << "cannot write-protect a folder here";
  const std::string db = Db("locked/births.sqlite");
  Write(Path("in.csv"), "name,date,lon,lat\nONE,1980-08-15,77E13,28N36\n");
  const std::string runs[] = {std::string(kAsha) + " --save" + db,
                              "--import-saved '" + Path("in.csv").string() + "'" + db};
  for (const std::string& args : runs) {
    const ChartRun r = Run(args);
    EXPECT_EQ(r.status, 1) << args;
    EXPECT_NE(r.err.find("cannot be written"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(fs::is_empty(Path("locked")));
  }
}

TEST_F(SavedBirths, ListOfANewerProgramIsReadButNeverChanged) {
  ASSERT_EQ(Run(std::string(kAsha) + " --save" + Db()).status, 0);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(Path("births.sqlite").c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "PRAGMA user_version = 99", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
  const std::string before = Slurp(Path("births.sqlite"));

  const ChartRun listed = Run("--list-saved" + Db());
  EXPECT_EQ(listed.status, 0);
  EXPECT_NE(listed.out.find("ASHA RAO"), std::string::npos);
  EXPECT_NE(listed.err.find("newer version"), std::string::npos) << listed.err;
  const ChartRun saved = Run(std::string(kMary) + " --save" + Db());
  EXPECT_EQ(saved.status, 1);
  EXPECT_NE(saved.err.find("reading only"), std::string::npos) << saved.err;
  EXPECT_EQ(saved.out, "");
  EXPECT_EQ(Slurp(Path("births.sqlite")), before);
}

TEST_F(SavedBirths, FlagsThatCannotGoTogetherAreRefused) {
  struct Case {
    const char* args;
    const char* err_says;
  };
  const Case cases[] = {
      {"--saved A --sample", "--saved and --sample cannot go together"},
      {"--batch - --saved A", "cannot go together"},
      {"--list-saved --export-saved x.csv", "--list-saved and --export-saved cannot go together"},
      {"--import-saved x.csv --list-saved", "--list-saved and --import-saved cannot go together"},
      {"--list-saved --name A", "--list-saved and --name cannot go together"},
      {"--list-saved --save", "--list-saved and --save cannot go together"},
      {"--export-saved x.csv --sample", "--export-saved and --sample cannot go together"},
      {"--import-saved x.csv --pdf x.pdf", "--import-saved and --pdf cannot go together"},
      {"--import-saved x.csv --format json", "--import-saved and --format cannot go together"},
      {"--list-saved --saved A", "--list-saved and --saved cannot go together"},
      {"--sample --births-db x.sqlite", "--births-db needs --save"},
      {"--saved ''", "--saved: no name given"},
      {"--export-saved ''", "--export-saved: no file name given"},
  };
  for (const Case& c : cases) {
    const ChartRun r = Run(c.args);
    EXPECT_EQ(r.status, 2) << c.args;
    EXPECT_NE(r.err.find(c.err_says), std::string::npos) << c.args << "\n" << r.err;
    EXPECT_NE(r.err.find("usage:"), std::string::npos) << c.args;
    EXPECT_EQ(r.out, "") << c.args;
  }
  EXPECT_FALSE(fs::exists(Path("xdg")));  // no list was opened, let alone created
}

}  // namespace
