#include "cli/json_writer.h"

#include <charconv>
#include <cmath>

#include "cli/safe_text.h"

namespace solvane::cli {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// Printable ASCII other than the quote and the backslash: written as it is.
bool IsPlain(std::string_view text) {
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u >= 0x80 || u == '"' || u == '\\') return false;
  }
  return true;
}

}  // namespace

void JsonWriter::BeforeValue() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (!first_.empty()) {
    if (!first_.back()) out_ += ',';
    first_.back() = false;
  }
}

void JsonWriter::BeginObject() {
  BeforeValue();
  out_ += '{';
  first_.push_back(true);
}

void JsonWriter::EndObject() {
  out_ += '}';
  first_.pop_back();
}

void JsonWriter::BeginArray() {
  BeforeValue();
  out_ += '[';
  first_.push_back(true);
}

void JsonWriter::EndArray() {
  out_ += ']';
  first_.pop_back();
}

void JsonWriter::Key(std::string_view key) {
  if (!IsPlain(key)) {
    String(key);
    out_ += ':';
  } else {  // the usual case, the program's own member names: one piece
    BeforeValue();
    out_.append(1, '"').append(key).append("\":", 2);
  }
  after_key_ = true;
}

void JsonWriter::String(std::string_view text) {
  BeforeValue();
  if (IsPlain(text)) {  // nothing to escape: one piece
    out_.append(1, '"').append(text).append(1, '"');
    return;
  }
  out_ += '"';
  static constexpr char kHex[] = "0123456789abcdef";
  std::size_t i = 0;
  while (i < text.size()) {
    // Plain printable ASCII goes out in one piece.
    std::size_t run = i;
    while (run < text.size()) {
      const unsigned char r = static_cast<unsigned char>(text[run]);
      if (r < 0x20 || r >= 0x80 || r == '"' || r == '\\') break;
      ++run;
    }
    if (run > i) {
      out_.append(text.data() + i, run - i);
      i = run;
      continue;
    }
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      const std::size_t length = Utf8SequenceLength(text.substr(i));
      if (length == 0) {
        out_ += kReplacement;
        ++i;
      } else {
        out_.append(text.data() + i, length);
        i += length;
      }
      continue;
    }
    switch (c) {
      case '"':
        out_ += "\\\"";
        break;
      case '\\':
        out_ += "\\\\";
        break;
      case '\n':
        out_ += "\\n";
        break;
      case '\r':
        out_ += "\\r";
        break;
      case '\t':
        out_ += "\\t";
        break;
      default:
        if (c < 0x20) {
          out_ += "\\u00";
          out_ += kHex[c >> 4];
          out_ += kHex[c & 15];
        } else {
          out_ += static_cast<char>(c);
        }
    }
    ++i;
  }
  out_ += '"';
}

void JsonWriter::Bool(bool value) {
  BeforeValue();
  out_ += value ? "true" : "false";
}

void JsonWriter::Null() {
  BeforeValue();
  out_ += "null";
}

void JsonWriter::Int(long value) {
  BeforeValue();
  char buffer[24];
  out_.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

void JsonWriter::Double(double value) {
  BeforeValue();
  if (!std::isfinite(value)) {
    out_ += "null";  // JSON has no infinities; the chart never makes one
    return;
  }
  char buffer[32];
  out_.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

}  // namespace solvane::cli
