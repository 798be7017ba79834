#include "cli/json_writer.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <cmath>

#include "cli/safe_text.h"

namespace solvane::cli {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// Printable ASCII other than the quote and the backslash: written as it is. A table, as every
// byte of a chart's texts is looked up.
constexpr std::array<bool, 256> kPlainBytes = [] {
  std::array<bool, 256> plain{};
  for (int u = 0x20; u < 0x80; ++u) plain[static_cast<std::size_t>(u)] = u != '"' && u != '\\';
  return plain;
}();

bool IsPlainChar(char c) { return kPlainBytes[static_cast<unsigned char>(c)]; }

// Texts up to this long (bytes) go out through a buffer on the stack, in one piece with their
// quotes and separators: most of a chart's keys and texts.
constexpr std::size_t kShortText = 64;
// Room made beyond what a write asks for, so that the text does not grow again at once (bytes).
constexpr std::size_t kSlack = 256;

}  // namespace

bool JsonWriter::CommaDue() {
  if (after_key_) {
    after_key_ = false;
    return false;
  }
  if (first_.empty()) return false;
  const bool due = !first_.back();
  first_.back() = false;
  return due;
}

void JsonWriter::BeforeValue() {
  if (CommaDue()) Put(",");
}

char* JsonWriter::Room(std::size_t bytes) {
  if (out_.size() - used_ < bytes) {  // the capacity reserved first, then twice the size
    out_.resize(std::max({out_.capacity(), 2 * out_.size(), used_ + bytes + kSlack}));
    room_held_ = true;
  }
  return out_.data() + used_;
}

void JsonWriter::Put(std::string_view text) {
  std::memcpy(Room(text.size()), text.data(), text.size());
  used_ += text.size();
}

void JsonWriter::Settle() {
  if (first_.empty()) DropRoom();
}

void JsonWriter::DropRoom() {
  // Once the room is dropped the text is the caller's: taken away or reused, it is left alone.
  if (!room_held_) return;
  out_.resize(used_);
  room_held_ = false;
}

bool JsonWriter::TryShortPlain(std::string_view text, bool as_key) {
  if (text.size() > kShortText) return false;
  char* const begin = Room(text.size() + 4);  // separator, two quotes, colon
  char* end = begin + 2;
  for (const char c : text) {
    if (!IsPlainChar(c)) return false;
    *end++ = c;
  }
  *end++ = '"';
  if (as_key) *end++ = ':';
  char* first = begin + 1;
  *first = '"';
  if (CommaDue()) *--first = ',';
  if (first != begin) std::memmove(begin, first, static_cast<std::size_t>(end - first));
  used_ += static_cast<std::size_t>(end - first);
  return true;
}

void JsonWriter::BeginObject() {
  BeforeValue();
  Put("{");
  first_.push_back(true);
}

void JsonWriter::EndObject() {
  Put("}");
  first_.pop_back();
  Settle();
}

void JsonWriter::BeginArray() {
  BeforeValue();
  Put("[");
  first_.push_back(true);
}

void JsonWriter::EndArray() {
  Put("]");
  first_.pop_back();
  Settle();
}

void JsonWriter::Key(std::string_view key) {
  // The usual case, the program's own member names, goes out in one piece.
  if (!TryShortPlain(key, true)) {
    String(key);
    Put(":");
  }
  after_key_ = true;
}

void JsonWriter::String(std::string_view text) {
  if (!TryShortPlain(text, false)) {
    BeforeValue();
    Put(Quoted(text));
  }
  Settle();
}

std::string JsonWriter::Quoted(std::string_view text) {
  std::string quoted = "\"";
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
      quoted.append(text.data() + i, run - i);
      i = run;
      continue;
    }
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      const std::size_t length = Utf8SequenceLength(text.substr(i));
      if (length == 0) {
        quoted += kReplacement;
        ++i;
      } else {
        quoted.append(text.data() + i, length);
        i += length;
      }
      continue;
    }
    switch (c) {
      case '"':
        quoted += "\\\"";
        break;
      case '\\':
        quoted += "\\\\";
        break;
      case '\n':
        quoted += "\\n";
        break;
      case '\r':
        quoted += "\\r";
        break;
      case '\t':
        quoted += "\\t";
        break;
      default:
        if (c < 0x20) {
          quoted += "\\u00";
          quoted += kHex[c >> 4];
          quoted += kHex[c & 15];
        } else {
          quoted += static_cast<char>(c);
        }
    }
    ++i;
  }
  quoted += '"';
  return quoted;
}

void JsonWriter::Bool(bool value) {
  BeforeValue();
  Put(value ? "true" : "false");
  Settle();
}

void JsonWriter::Null() {
  BeforeValue();
  Put("null");
  Settle();
}

void JsonWriter::Raw(std::string_view json) {
  BeforeValue();
  Put(json);
  Settle();
}

template <typename Number>
void JsonWriter::PutNumber(Number value) {
  constexpr std::size_t kRoom = 40;  // a separator and the shortest text of any long or double
  char* const begin = Room(kRoom);
  char* end = std::to_chars(begin + 1, begin + kRoom, value).ptr;
  if (CommaDue()) {
    *begin = ',';
  } else {
    end = std::copy(begin + 1, end, begin);
  }
  used_ += static_cast<std::size_t>(end - begin);
  Settle();
}

void JsonWriter::Int(long value) { PutNumber(value); }

void JsonWriter::Double(double value) {
  if (!std::isfinite(value)) {
    Null();  // JSON has no infinities; the chart never makes one
    return;
  }
  PutNumber(value);
}

}  // namespace solvane::cli
