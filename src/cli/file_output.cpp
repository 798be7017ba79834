#include "cli/file_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "cli/safe_text.h"
#include "core/text.h"

namespace solvane::cli {
namespace {

using core::Fail;

// Symbolic links followed at most, as the kernel does before it gives up with ELOOP.
constexpr int kMaxLinkHops = 40;

std::string Named(const std::string& path) { return "'" + TerminalSafe(path) + "'"; }

core::Unexpected<core::Failure> Describe(const std::string& what, int error) {
  return Fail(what + ": " + std::strerror(error));
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

// The file a write to `path` ends in: `path` itself, or the target its chain of symbolic links
// leads to (which need not exist yet).
core::Result<std::string> FollowLinks(const std::string& path) {
  std::string at = path;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat st {};
    if (lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return at;
    std::vector<char> target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096) + 1);
    const ssize_t n = readlink(at.c_str(), target.data(), target.size());
    if (n < 0) return Describe("cannot follow the link " + Named(at), errno);
    const std::string next(target.data(), static_cast<std::size_t>(n));
    if (next.empty()) return at;
    at = next.front() == '/' ? next : FolderOf(at) + next;
  }
  return Describe("cannot follow the links of " + Named(path), ELOOP);
}

// Refuses what must not be replaced by a regular file: a folder, a device, a FIFO, a socket, and
// a file nobody may write.
core::Result<void> CheckReplaceable(const std::string& target, const std::string& path) {
  struct stat st {};
  if (stat(target.c_str(), &st) != 0) return {};  // a new file
  if (S_ISDIR(st.st_mode)) return Fail(Named(path) + " names a folder, not a file");
  if (!S_ISREG(st.st_mode))
    return Fail(Named(path) +
                " is a device, FIFO or socket, not a regular file; it is left as it is");
  // No write permission bit at all is read-only for the superuser too, who passes access().
  if ((st.st_mode & 0222) == 0 || access(target.c_str(), W_OK) != 0)
    return Fail(Named(path) + " is read-only; it is left as it is");
  return {};
}

// A new file gets the usual permissions; a replaced one keeps its own, and its owner if allowed.
void TakeOverAttributes(int fd, const std::string& target) {
  struct stat existing {};
  if (stat(target.c_str(), &existing) == 0) {
    fchmod(fd, existing.st_mode & 07777);
    if (fchown(fd, existing.st_uid, existing.st_gid) != 0) {
      // Only the superuser may give a file away; anyone else keeps the file as their own.
    }
    return;
  }
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
}

// Fills the temporary file; on failure it is closed and removed.
core::Result<void> FillTemporary(int fd, const std::string& temp_name, std::string_view content,
                                 const std::string& path, const WriteCall& write_call) {
  core::Result<void> written = WriteAll(fd, content, Named(path), write_call);
  if (written && fsync(fd) != 0) written = Describe("cannot write " + Named(path), errno);
  if (!written) {
    close(fd);
    unlink(temp_name.c_str());
    return written;
  }
  if (close(fd) != 0) {
    const int error = errno;
    unlink(temp_name.c_str());
    return Describe("cannot write " + Named(path), error);
  }
  return {};
}

}  // namespace

core::Result<void> WriteAll(int fd, std::string_view bytes, std::string_view what,
                            const WriteCall& write_call) {
  while (!bytes.empty()) {
    const ssize_t n = write_call ? write_call(fd, bytes.data(), bytes.size())
                                 : write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Describe("cannot write " + std::string(what), n < 0 ? errno : EIO);
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return {};
}

core::Result<void> WriteFileReplacing(const std::string& path, std::string_view content,
                                      const WriteCall& write_call) {
  if (core::TrimBlanksAndTabs(path).empty()) return Fail("no file name given");
  if (path.back() == '/') return Fail(Named(path) + " names a folder, not a file");
  const core::Result<std::string> target = FollowLinks(path);
  if (!target) return core::Unexpected{target.error()};
  if (auto replaceable = CheckReplaceable(*target, path); !replaceable) return replaceable;

  // A short name of our own, so that any name the file system takes for the target will do.
  std::string temp_name = FolderOf(*target) + ".solvane-XXXXXX";
  std::vector<char> temp(temp_name.begin(), temp_name.end());
  temp.push_back('\0');
  const int fd = mkstemp(temp.data());
  if (fd < 0) return Describe("cannot write in the folder of " + Named(path), errno);
  temp_name = temp.data();
  TakeOverAttributes(fd, *target);
  if (auto filled = FillTemporary(fd, temp_name, content, path, write_call); !filled) return filled;
  if (rename(temp_name.c_str(), target->c_str()) != 0) {
    const int error = errno;
    unlink(temp_name.c_str());
    return Describe("cannot replace " + Named(path), error);
  }
  return {};
}

std::string ReportFileName(std::size_t line, std::string_view name) {
  constexpr std::size_t kMaxNameCharacters = 60;
  std::string safe;
  for (const char c : name) {
    if (safe.size() >= kMaxNameCharacters) break;
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
