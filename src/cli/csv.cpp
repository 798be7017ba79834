#include "cli/csv.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/text.h"

namespace solvane::cli {
namespace {

constexpr std::string_view kNulByte =
    "the row holds a NUL byte: the file is not UTF-8 text (UTF-16, perhaps); save it as UTF-8";
constexpr std::string_view kLoneCarriageReturn =
    "a carriage return alone outside quotes: lines must end in LF or CR LF, not in CR alone "
    "(convert the file's line ends)";
constexpr std::string_view kUtf16 =
    "the file is UTF-16 text (it starts with a UTF-16 byte-order mark); save it as UTF-8";
constexpr std::string_view kTooLong = "the row is longer than 1 MiB";

bool IsBareSpecial(char c) { return c == ',' || c == '\n' || c == '\r' || c == '\0'; }
bool IsQuotedSpecial(char c) { return c == '"' || c == '\n' || c == '\0'; }

}  // namespace

ByteSource TextSource(std::string_view text) {
  return [text, at = std::size_t{0}](char* buffer,
                                     std::size_t size) mutable -> core::Result<std::size_t> {
    const std::size_t n = std::min(size, text.size() - at);
    if (n > 0) std::memcpy(buffer, text.data() + at, n);  // an empty text may have no data
    at += n;
    return n;
  };
}

ByteSource DescriptorSource(int fd, std::string name) {
  return [fd, name = std::move(name), total = std::size_t{0}](
             char* buffer, std::size_t size) mutable -> core::Result<std::size_t> {
    for (;;) {
      const ssize_t n = read(fd, buffer, size);
      if (n >= 0) {
        total += static_cast<std::size_t>(n);
        return static_cast<std::size_t>(n);
      }
      if (errno == EINTR) continue;
      const int error = errno;
      return core::Fail("cannot read " + name +
                        (total > 0 ? " after " + std::to_string(total) + " bytes" : "") + ": " +
                        std::strerror(error));
    }
  };
}

CsvReader::CsvReader(ByteSource source) : source_(std::move(source)), block_(kBlockBytes) {}

bool CsvReader::Fill() {
  if (ended_) return false;
  if (at_ == end_) at_ = end_ = 0;
  if (end_ == block_.size()) return true;
  const core::Result<std::size_t> read = source_(block_.data() + end_, block_.size() - end_);
  if (!read || *read == 0) {
    if (!read) unreadable_ = read.error().message;
    ended_ = true;
    return false;
  }
  end_ += *read;
  return true;
}

int CsvReader::Peek() {
  if (at_ == end_ && !Fill()) return kEndOfInput;
  return static_cast<unsigned char>(block_[at_]);
}

void CsvReader::CheckByteOrderMark() {
  while (end_ - at_ < 3 && Fill()) {
  }
  const std::string_view start(block_.data() + at_, std::min<std::size_t>(end_ - at_, 3));
  if (start == "\xEF\xBB\xBF") at_ += 3;  // UTF-8's mark is not data
  if (start.substr(0, 2) == "\xFF\xFE" || start.substr(0, 2) == "\xFE\xFF")
    Flag(std::string(kUtf16));
}

void CsvReader::Flag(std::string message) {
  if (fault_.empty()) fault_ = std::move(message);
}

void CsvReader::Keep(std::string& field, const char* bytes, std::size_t count) {
  record_bytes_ += count;
  if (record_bytes_ > kMaxRecordBytes) {
    Flag(std::string(kTooLong));
    field.clear();  // the record is refused: its bytes need not be held
    return;
  }
  field.append(bytes, count);
}

bool CsvReader::AtFieldEnd() {
  const int c = Peek();
  return c == kEndOfInput || c == ',' || c == '\n' || c == '\r';
}

void CsvReader::SkipToLineEnd() {
  while (Peek() != kEndOfInput) {
    const char* from = block_.data() + at_;
    const char* lf = static_cast<const char*>(std::memchr(from, '\n', end_ - at_));
    if (lf == nullptr) {
      at_ = end_;
      continue;
    }
    at_ += static_cast<std::size_t>(lf - from) + 1;
    ++line_;
    return;
  }
}

void CsvReader::ReadBare(std::string& field) {
  const char* from = block_.data() + at_;
  const char* to =
      std::find_if(from, static_cast<const char*>(block_.data() + end_), IsBareSpecial);
  Keep(field, from, static_cast<std::size_t>(to - from));
  at_ += static_cast<std::size_t>(to - from);
}

// Up to the closing quote; a doubled quote stands for one. Ends after the closing quote, or at
// the end of the input with the fault of a quote never closed.
void CsvReader::ReadQuoted(std::string& field) {
  const std::size_t open_line = line_;
  Skip();
  for (int c = Peek(); c != kEndOfInput; c = Peek()) {
    const char* from = block_.data() + at_;
    const char* to =
        std::find_if(from, static_cast<const char*>(block_.data() + end_), IsQuotedSpecial);
    if (to != from) {
      Keep(field, from, static_cast<std::size_t>(to - from));
      at_ += static_cast<std::size_t>(to - from);
      continue;
    }
    Skip();
    if (c == '"') {
      if (Peek() != '"') return;
      Skip();
    }
    if (c == '\n') ++line_;
    if (c == '\0') Flag(std::string(kNulByte));
    const char byte = static_cast<char>(c);  // `from` may be gone: Peek reads the next block
    Keep(field, &byte, 1);
  }
  Flag("a quoted field opened on line " + std::to_string(open_line) + " is never closed");
}

void CsvReader::ReadFields(CsvRecord& record) {
  bool field_start = true;
  for (int c = Peek(); c != kEndOfInput; c = Peek()) {
    std::string& field = record.fields.back();
    if (c == '"' && field_start) {
      ReadQuoted(field);
      if (!AtFieldEnd()) {
        Flag("unexpected text after a closing quote");
        SkipToLineEnd();
        return;
      }
    } else if (c == ',') {
      Skip();
      record.fields.emplace_back();
      field_start = true;
      continue;
    } else if (c == '\n') {
      Skip();
      ++line_;
      return;
    } else if (c == '\r') {
      Skip();
      if (Peek() == '\n') continue;  // the LF ends the record
      Flag(std::string(kLoneCarriageReturn));
      Keep(field, "\r", 1);
    } else if (c == '\0') {
      Skip();
      Flag(std::string(kNulByte));
      constexpr char kNul = '\0';
      Keep(field, &kNul, 1);
    } else {
      ReadBare(field);
    }
    field_start = false;
  }
}

core::Result<CsvRead, CsvFault> CsvReader::Next(CsvRecord& record) {
  fault_.clear();
  record_bytes_ = 0;
  if (!started_) {
    started_ = true;
    CheckByteOrderMark();
  }
  if (Peek() != kEndOfInput) {
    record.fields.clear();
    record.fields.emplace_back();
    record.line = line_;
    ReadFields(record);
  } else if (unreadable_.empty()) {
    return CsvRead::kEnd;
  }
  if (!unreadable_.empty()) {
    CsvFault fault{line_, std::move(unreadable_), true};
    unreadable_.clear();
    return core::Unexpected{std::move(fault)};
  }
  if (!fault_.empty()) return core::Unexpected{CsvFault{record.line, fault_, false}};
  return CsvRead::kRecord;
}

bool IsBlank(const CsvRecord& record) {
  return record.fields.size() == 1 && core::TrimBlanksAndTabs(record.fields[0]).empty();
}

std::string ColumnName(std::string_view field) {
  std::string name(core::TrimBlanksAndTabs(field));
  std::transform(name.begin(), name.end(), name.begin(),
                 [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; });
  return name;
}

}  // namespace solvane::cli
