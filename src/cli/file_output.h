// Writing a file so that a failure never damages what was there before, and writing an output
// so that a failure is never mistaken for success.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "core/result.h"

namespace solvane::cli {

// The system call that writes bytes; tests replace it to make a write fail part-way.
using WriteCall = std::function<ssize_t(int fd, const void* data, std::size_t size)>;

// Writes all of `bytes` to the open descriptor `fd`, however many calls it takes, or says why
// not ("cannot write <what>: No space left on device").
core::Result<void> WriteAll(int fd, std::string_view bytes, std::string_view what,
                            const WriteCall& write_call = {});

// Writes `content` to a new temporary file (a short name in the target's folder) and renames it
// over `path`, so `path` either gets the whole content or stays exactly as it was. A symbolic
// link is followed and its target replaced. A folder, a device, a FIFO, a socket and a file
// without write permission are refused and left as they are. A replaced file keeps its
// permissions and, where the system allows, its owner.
core::Result<void> WriteFileReplacing(const std::string& path, std::string_view content,
                                      const WriteCall& write_call = {});

// A file name made from a batch row's line number and the person's name: letters, digits, '-',
// '_' and '.' kept (other characters as '_'), at most 60 characters of the name.
std::string ReportFileName(std::size_t line, std::string_view name);

}  // namespace solvane::cli
