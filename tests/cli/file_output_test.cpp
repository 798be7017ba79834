#include "cli/file_output.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
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
  EXPECT_TRUE(WriteFileReplacing(target, "first"));
  EXPECT_EQ(Slurp(target), "first");
  chmod(target.c_str(), 0640);
  EXPECT_TRUE(WriteFileReplacing(target, "second, longer"));
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
    const core::Result<void> written = WriteFileReplacing(target, std::string(100000, 'x'), c.call);
    ASSERT_FALSE(written) << c.what;
    const std::string& error = written.error().message;
    EXPECT_NE(error.find(c.says), std::string::npos) << c.what << ": " << error;
    EXPECT_EQ(Slurp(target), "old content\r\n") << c.what;
    EXPECT_EQ(EntriesInDir(), 1u) << c.what << ": the temporary file is removed";
  }
}

// What must not become a regular file is refused by name and left exactly as it was.
TEST_F(WriteFileReplacingTest, TargetsThatAreRefused) {
  const std::string fifo = (dir_ / "fifo").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string socket_path = (dir_ / "socket").string();
  const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(socket_path.size(), sizeof address.sun_path);
  std::strcpy(address.sun_path, socket_path.c_str());
  ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  const fs::path read_only = dir_ / "read_only.rtf";
  std::ofstream(read_only) << "kept";
  chmod(read_only.c_str(), 0444);
  fs::create_directories(dir_ / "taken.rtf");
  fs::create_symlink("/dev/null", dir_ / "link_to_device");
  struct Case {
    std::string path;
    const char* says;
  };
  const Case cases[] = {
      {fifo, "is a device, FIFO or socket"},
      {socket_path, "is a device, FIFO or socket"},
      {(dir_ / "link_to_device").string(), "is a device, FIFO or socket"},
      {read_only.string(), "is read-only"},
      {(dir_ / "taken.rtf").string(), "names a folder"},
      {dir_.string() + "/", "names a folder"},
      {(dir_ / "missing" / "r.rtf").string(), "cannot write in the folder"},
      {"", "no file name given"},
      {" \t", "no file name given"},
  };
  const std::size_t entries = EntriesInDir();
  for (const Case& c : cases) {
    const core::Result<void> written = WriteFileReplacing(c.path, "x");
    ASSERT_FALSE(written) << c.path;
    EXPECT_NE(written.error().message.find(c.says), std::string::npos)
        << c.path << ": " << written.error().message;
  }
  close(sock);
  EXPECT_EQ(EntriesInDir(), entries) << "a temporary file was left behind";
  EXPECT_EQ(fs::status(fifo).type(), fs::file_type::fifo);
  EXPECT_EQ(fs::status(socket_path).type(), fs::file_type::socket);
  EXPECT_EQ(fs::status("/dev/null").type(), fs::file_type::character);
  EXPECT_EQ(Slurp(read_only), "kept");
}

// A link is written through: the target gets the content, the link stays a link, and the
// temporary file is made beside the target. A name as long as the file system allows is taken.
TEST_F(WriteFileReplacingTest, LinksAndLongNames) {
  fs::create_directories(dir_ / "real");
  std::ofstream(dir_ / "real" / "target.rtf") << "old";
  fs::create_symlink("real/target.rtf", dir_ / "link.rtf");
  fs::create_symlink("link.rtf", dir_ / "link_to_link.rtf");
  fs::create_symlink("real/new.rtf", dir_ / "dangling.rtf");
  const std::string longest(255, 'n');  // NAME_MAX of ext4, tmpfs and most others
  struct Case {
    fs::path written, read;
  };
  const Case cases[] = {
      {dir_ / "link.rtf", dir_ / "real" / "target.rtf"},
      {dir_ / "link_to_link.rtf", dir_ / "real" / "target.rtf"},
      {dir_ / "dangling.rtf", dir_ / "real" / "new.rtf"},
      {dir_ / longest, dir_ / longest},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(WriteFileReplacing(c.written.string(), c.written.filename().string())) << c.written;
    EXPECT_EQ(Slurp(c.read), c.written.filename().string());
  }
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.rtf"));
  EXPECT_TRUE(fs::is_symlink(dir_ / "dangling.rtf"));
  EXPECT_EQ(EntriesInDir(), 5u);  // real, the three links and the long name: no temporary file
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "real"), fs::directory_iterator()), 2);
}

TEST(WriteAll, SaysWhyTheOutputFailed) {
  const int full = open("/dev/full", O_WRONLY);
  if (full < 0) GTEST_SKIP() << "no /dev/full";
  const core::Result<void> written = WriteAll(full, "x", "the output");
  close(full);
  ASSERT_FALSE(written);
  EXPECT_EQ(written.error().message,
            std::string("cannot write the output: ") + std::strerror(ENOSPC));
  // Short writes are taken up until everything is written.
  std::string got;
  const WriteCall two_at_a_time = [&](int, const void* data, std::size_t size) -> ssize_t {
    const std::size_t n = std::min<std::size_t>(size, 2);
    got.append(static_cast<const char*>(data), n);
    return static_cast<ssize_t>(n);
  };
  EXPECT_TRUE(WriteAll(-1, "hello", "x", two_at_a_time));
  EXPECT_EQ(got, "hello");
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
