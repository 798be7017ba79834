#include "cli/file_output.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

namespace solvane::cli {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class WriteFileReplacingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(::testing::TempDir()) / ("solvane_files_" + std::to_string(getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::size_t EntriesInDir() const {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }
  fs::path dir_;
};

TEST_F(WriteFileReplacingTest, WritesAndReplacesWhole) {
  const fs::path target = dir_ / "report.rtf";
  EXPECT_EQ(WriteFileReplacing(target, "first"), "");
  EXPECT_EQ(Slurp(target), "first");
  chmod(target.c_str(), 0640);
  EXPECT_EQ(WriteFileReplacing(target, "second, longer"), "");
  EXPECT_EQ(Slurp(target), "second, longer");
  struct stat st {};
  ASSERT_EQ(stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);  // a replaced file keeps its permissions
  EXPECT_EQ(EntriesInDir(), 1u);
}

TEST_F(WriteFileReplacingTest, FailuresLeaveTheOldFileByteForByte) {
  const fs::path target = dir_ / "report.rtf";
  std::ofstream(target, std::ios::binary) << "old content\r\n";
  struct Case {
    const char* what;
    WriteCall call;
    const char* says;
  };
  int calls = 0;
  const Case cases[] = {
      {"no space left on the first write",
       [](int, const void*, std::size_t) -> ssize_t {
         errno = ENOSPC;
         return -1;
       },
       "No space"},
      {"fails part-way",
       [&calls](int fd, const void* data, std::size_t) -> ssize_t {
         if (++calls > 1) {
           errno = EIO;
           return -1;
         }
         return write(fd, data, 3);
       },
       "Input/output error"},
      {"writes nothing", [](int, const void*, std::size_t) -> ssize_t { return 0; },
       "cannot write"},
  };
  for (const Case& c : cases) {
    const std::string error = WriteFileReplacing(target, std::string(100000, 'x'), c.call);
    EXPECT_NE(error.find(c.says), std::string::npos) << c.what << ": " << error;
    EXPECT_EQ(Slurp(target), "old content\r\n") << c.what;
    EXPECT_EQ(EntriesInDir(), 1u) << c.what << ": the temporary file is removed";
  }
}

TEST_F(WriteFileReplacingTest, TargetsThatCannotBeWritten) {
  EXPECT_NE(WriteFileReplacing((dir_ / "missing" / "r.rtf").string(), "x")
                .find("cannot write in the folder"),
            std::string::npos);
  EXPECT_NE(WriteFileReplacing(dir_.string() + "/", "x").find("names a folder"), std::string::npos);
  fs::create_directories(dir_ / "taken.rtf");
  EXPECT_NE(WriteFileReplacing((dir_ / "taken.rtf").string(), "x").find("cannot replace"),
            std::string::npos);
  EXPECT_NE(WriteFileReplacing("", "x"), "");
  EXPECT_EQ(EntriesInDir(), 1u);
}

TEST(ReportFileName, SafeForAnyFileSystem) {
  struct Case {
    std::size_t line;
    const char* name;
    const char* want;
  };
  const Case cases[] = {
      {2, "ASHA RAO", "2-ASHA_RAO.rtf"},
      {7, "../../etc/passwd", "7-etc_passwd.rtf"},
      {9, "José  Núñez", "9-Jos_N_ez.rtf"},
      {3, "", "3-chart.rtf"},
      {4, "...", "4-chart.rtf"},
      {5, "a/b\\c:d*e?f\"g<h>i|j", "5-a_b_c_d_e_f_g_h_i_j.rtf"},
  };
  for (const Case& c : cases) EXPECT_EQ(ReportFileName(c.line, c.name), c.want) << c.name;
  EXPECT_EQ(ReportFileName(1, std::string(500, 'A')).size(), std::string("1-.rtf").size() + 60);
}

}  // namespace
}  // namespace solvane::cli
