// A reader of comma-separated records (RFC 4180 quoting) that takes its bytes a block at a time,
// so that an input of any size is read in the same small amount of memory.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"

namespace solvane::cli {

// Reads up to `size` bytes into `buffer`: how many it read (0 only at the end of the input), or
// why the input cannot be read.
using ByteSource = std::function<core::Result<std::size_t>(char* buffer, std::size_t size)>;

// The bytes of `text`, which must outlive the source.
ByteSource TextSource(std::string_view text);
// The bytes of the open file descriptor `fd`; `name` says in messages what it is ("standard
// input", "'births.csv'").
ByteSource DescriptorSource(int fd, std::string name);

// The longest record kept (bytes): a birth takes about a hundred. A longer one is a fault, its
// bytes are passed over, not stored.
inline constexpr std::size_t kMaxRecordBytes = std::size_t{1} << 20;

struct CsvRecord {
  std::vector<std::string> fields;
  std::size_t line = 0;  // 1-based line on which the record starts
};

// What is wrong with a record, on the line where it starts; or, with `unreadable`, why the input
// could not be read any further.
struct CsvFault {
  std::size_t line = 0;
  std::string message;
  bool unreadable = false;
};

enum class CsvRead { kRecord, kEnd };

class CsvReader {
 public:
  explicit CsvReader(ByteSource source);
  explicit CsvReader(std::string_view text) : CsvReader(TextSource(text)) {}

  // Reads the next record into `record`, or says that the input has ended. Records end at LF or
  // CR LF; a quoted field may hold commas, line breaks and doubled quotes; a UTF-8 byte-order mark
  // at the start is not data. A malformed record (text after a closing quote, a quote never
  // closed, a NUL byte, a carriage return alone outside quotes, more than kMaxRecordBytes, a
  // UTF-16 byte-order mark) is a fault, and the next call reads on after it. After an unreadable
  // fault every call gives kEnd.
  core::Result<CsvRead, CsvFault> Next(CsvRecord& record);

 private:
  static constexpr int kEndOfInput = -1;
  static constexpr std::size_t kBlockBytes = std::size_t{64} << 10;

  int Peek();  // the next byte, reading a block when needed; kEndOfInput at the end
  void Skip() { ++at_; }
  bool Fill();
  void CheckByteOrderMark();

  void ReadFields(CsvRecord& record);
  void ReadQuoted(std::string& field);
  void ReadBare(std::string& field);
  bool AtFieldEnd();  // at a comma, a line end or the end of the input
  void SkipToLineEnd();
  void Keep(std::string& field, const char* bytes, std::size_t count);
  void Flag(std::string message);  // the record's first fault wins

  ByteSource source_;
  std::vector<char> block_;
  std::size_t at_ = 0, end_ = 0;
  bool ended_ = false;
  std::string unreadable_;  // why the source failed, or ""
  bool started_ = false;

  std::size_t line_ = 1;
  std::size_t record_bytes_ = 0;
  std::string fault_;  // of the record being read, or ""
};

// An empty line, or one of blanks and tabs only: skipped wherever records are read.
bool IsBlank(const CsvRecord& record);

// A header field as a column name: without blanks and tabs around it, in lower case.
std::string ColumnName(std::string_view field);

}  // namespace solvane::cli
