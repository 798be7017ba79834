#include "cli/csv.h"

namespace solvane::cli {

CsvReader::CsvReader(std::string_view text) : text_(text) {
  if (text_.substr(0, 3) == "\xEF\xBB\xBF") at_ = 3;  // a byte-order mark is not data
}

bool CsvReader::AtFieldEnd() const {
  if (at_ >= text_.size()) return true;
  const char c = text_[at_];
  if (c == ',' || c == '\n') return true;
  return c == '\r' && (at_ + 1 == text_.size() || text_[at_ + 1] == '\n');
}

void CsvReader::SkipToLineEnd() {
  while (at_ < text_.size() && text_[at_] != '\n') ++at_;
  if (at_ < text_.size()) {
    ++at_;
    ++line_;
  }
}

bool CsvReader::Next(CsvRecord& record) {
  if (at_ >= text_.size()) return false;
  record.fields.clear();
  record.fields.emplace_back();
  record.error.clear();
  record.line = line_;

  while (at_ < text_.size()) {
    std::string& field = record.fields.back();
    const char c = text_[at_];
    if (c == '"' && field.empty()) {
      // Quoted field: up to the closing quote; a doubled quote stands for one.
      const std::size_t open_line = line_;
      ++at_;
      bool closed = false;
      while (at_ < text_.size()) {
        const char q = text_[at_++];
        if (q == '"') {
          if (at_ < text_.size() && text_[at_] == '"') {
            field += '"';
            ++at_;
          } else {
            closed = true;
            break;
          }
        } else {
          if (q == '\n') ++line_;
          field += q;
        }
      }
      if (!closed) {
        record.error =
            "a quoted field opened on line " + std::to_string(open_line) + " is never closed";
        return true;
      }
      if (!AtFieldEnd()) {
        record.error = "unexpected text after a closing quote";
        SkipToLineEnd();
        return true;
      }
      continue;
    }
    if (c == ',') {
      record.fields.emplace_back();
      ++at_;
    } else if (c == '\n') {
      ++at_;
      ++line_;
      return true;
    } else if (c == '\r' && AtFieldEnd()) {
      ++at_;  // the CR of a CR LF
    } else {
      field += c;
      ++at_;
    }
  }
  return true;
}

}  // namespace solvane::cli
