// A small streaming JSON writer: the batch writes hundreds of thousands of charts, and building a
// document tree for each one costs more than computing the chart.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace solvane::cli {

class JsonWriter {
 public:
  // Appends to `out`, which must outlive the writer. While a value is open `out` holds room beyond
  // the text written; once the outermost value is closed it holds the text and nothing more.
  explicit JsonWriter(std::string& out) : out_(out), used_(out.size()) {}
  ~JsonWriter() { DropRoom(); }
  JsonWriter(const JsonWriter&) = delete;
  JsonWriter& operator=(const JsonWriter&) = delete;

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
  // A value already written as JSON elsewhere (`json` must be one whole, valid JSON value): for
  // long regular parts, such as a chart's periods, that are cheaper to write in one piece.
  void Raw(std::string_view json);

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
  // Whether a comma goes before the next value; counts that value as written.
  bool CommaDue();
  void BeforeValue();
  // A short text with nothing to escape, quoted, as a value or (`as_key`) a key with its colon;
  // false, with nothing written, for any other text.
  bool TryShortPlain(std::string_view text, bool as_key);
  // `text` between quotes, escaped as JSON and made valid UTF-8.
  static std::string Quoted(std::string_view text);
  // At least `bytes` bytes of room after the text written.
  char* Room(std::size_t bytes);
  void Put(std::string_view text);
  // A number's shortest text, after its separator.
  template <typename Number>
  void PutNumber(Number value);
  // Drops the room once the outermost value is closed.
  void Settle();
  void DropRoom();

  std::string& out_;
  std::size_t used_;         // bytes of `out_` that are text
  bool room_held_ = false;   // `out_` holds room beyond the text
  std::vector<char> first_;  // per open object or array: no member written yet (1 or 0)
  bool after_key_ = false;
};

}  // namespace solvane::cli
