// A reader of comma-separated records (RFC 4180 quoting) over text held in memory.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace solvane::cli {

struct CsvRecord {
  std::vector<std::string> fields;
  std::size_t line = 0;  // 1-based line on which the record starts
  std::string error;     // what is malformed about the record, or ""
};

class CsvReader {
 public:
  explicit CsvReader(std::string_view text);

  // The next record; false at the end of the text. Records are separated by LF or CR LF; a quoted
  // field may hold commas, line breaks and doubled quotes. A malformed record is returned with
  // `error` set, and reading goes on at the next line.
  bool Next(CsvRecord& record);

 private:
  bool AtFieldEnd() const;  // at a comma, a line end or the end of the text
  void SkipToLineEnd();

  std::string_view text_;
  std::size_t at_ = 0;
  std::size_t line_ = 1;
};

}  // namespace solvane::cli
