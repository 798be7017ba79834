#include "cli/file_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace solvane::cli {
namespace {

std::string Describe(const std::string& what, int error) {
  return what + ": " + std::strerror(error);
}

}  // namespace

std::string WriteFileReplacing(const std::string& path, std::string_view content,
                               const WriteCall& write_call) {
  if (path.empty()) return "no file name given";
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  if (base.empty()) return "'" + path + "' names a folder, not a file";

  std::string temp_name = folder + (folder.back() == '/' ? "" : "/") + "." + base + ".XXXXXX";
  std::vector<char> temp(temp_name.begin(), temp_name.end());
  temp.push_back('\0');
  const int fd = mkstemp(temp.data());
  if (fd < 0) return Describe("cannot write in the folder of '" + path + "'", errno);
  temp_name = temp.data();

  // A new file gets the usual permissions; a replaced one keeps its own.
  struct stat existing {};
  mode_t mode;
  if (stat(path.c_str(), &existing) == 0) {
    mode = existing.st_mode & 07777;
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  fchmod(fd, mode);

  const auto fail = [&](const std::string& what, int error) {
    close(fd);
    unlink(temp_name.c_str());
    return Describe(what, error);
  };
  const char* data = content.data();
  std::size_t left = content.size();
  while (left > 0) {
    const ssize_t n = write_call ? write_call(fd, data, left) : write(fd, data, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return fail("cannot write '" + path + "'", n < 0 ? errno : EIO);
    data += n;
    left -= static_cast<std::size_t>(n);
  }
  if (fsync(fd) != 0) return fail("cannot write '" + path + "'", errno);
  if (close(fd) != 0) {
    const int error = errno;
    unlink(temp_name.c_str());
    return Describe("cannot write '" + path + "'", error);
  }
  if (rename(temp_name.c_str(), path.c_str()) != 0) {
    const int error = errno;
    unlink(temp_name.c_str());
    return Describe("cannot replace '" + path + "'", error);
  }
  return "";
}

std::string ReportFileName(std::size_t line, std::string_view name) {
  std::string safe;
  for (const char c : name) {
    if (safe.size() >= 60) break;
    const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == '-' || c == '_' || c == '.';
    const char out = keep ? c : '_';
    if (out == '_' && !safe.empty() && safe.back() == '_') continue;  // one '_' per run
    safe += out;
  }
  while (!safe.empty() && (safe.back() == '_' || safe.back() == '.')) safe.pop_back();
  while (!safe.empty() && (safe.front() == '_' || safe.front() == '.')) safe.erase(0, 1);
  if (safe.empty()) safe = "chart";
  return std::to_string(line) + "-" + safe + ".rtf";
}

}  // namespace solvane::cli
