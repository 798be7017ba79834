// A small streaming JSON writer: the batch writes hundreds of thousands of charts, and building a
// document tree for each one costs more than computing the chart.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace solvane::cli {

class JsonWriter {
 public:
  // Appends to `out`, which must outlive the writer.
  explicit JsonWriter(std::string& out) : out_(out) {}

  void BeginObject();
  void EndObject();
  void BeginArray();
  void EndArray();
  // The key of the next member of the enclosing object.
  void Key(std::string_view key);
  // UTF-8 text; bytes that are not valid UTF-8 are written as U+FFFD, so the output always parses.
  void String(std::string_view text);
  void Int(long value);
  void Bool(bool value);
  void Null();
  // Shortest text that reads back as the same double.
  void Double(double value);

  // A member of the enclosing object: its key and value in one call.
  void StringMember(std::string_view key, std::string_view text) {
    Key(key);
    String(text);
  }
  void IntMember(std::string_view key, long value) {
    Key(key);
    Int(value);
  }
  void DoubleMember(std::string_view key, double value) {
    Key(key);
    Double(value);
  }

  template <typename Range>
  void StringArray(const Range& texts) {
    BeginArray();
    for (const auto& text : texts) String(text);
    EndArray();
  }
  template <typename Range>
  void IntArray(const Range& values) {
    BeginArray();
    for (const auto value : values) Int(value);
    EndArray();
  }

 private:
  void BeforeValue();

  std::string& out_;
  std::vector<char> first_;  // per open object or array: no member written yet (1 or 0)
  bool after_key_ = false;
};

}  // namespace solvane::cli
