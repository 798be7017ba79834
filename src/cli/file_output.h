// Writing a file so that a failure never damages what was there before.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace solvane::cli {

// The system call that writes bytes; tests replace it to make a write fail part-way.
using WriteCall = std::function<ssize_t(int fd, const void* data, std::size_t size)>;

// Writes `content` to a new temporary file in the target's folder and renames it over `path`, so
// `path` either gets the whole content or stays exactly as it was. Returns "" on success, or why
// the file could not be written.
std::string WriteFileReplacing(const std::string& path, std::string_view content,
                               const WriteCall& write_call = {});

// A file name made from a batch row's line number and the person's name: letters, digits, '-',
// '_' and '.' kept (other characters as '_'), at most 60 characters of the name.
std::string ReportFileName(std::size_t line, std::string_view name);

}  // namespace solvane::cli
