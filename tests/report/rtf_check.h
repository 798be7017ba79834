// A strict reader of the RTF the report writes, for tests: is the document well-formed, and what
// text in what formatting does it hold.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace solvane::rtfcheck {

struct RtfColour {
  int red = 0, green = 0, blue = 0;
  friend bool operator==(const RtfColour&, const RtfColour&) = default;
};

// Body text in one formatting. Adjacent runs always differ in some field.
struct RtfRun {
  bool bold = false;
  int colour = 0;  // index into RtfCheck::colours; 0 is the reader's automatic colour
  int font = 0;
  int half_points = 24;
  std::string text;  // UTF-8, paragraph ends included as "\r\n"
};

struct RtfCheck {
  bool ok = false;
  std::string problem;  // the first problem found, with its byte offset; parsing stops there
  std::string text;     // body text in UTF-8: paragraph ends as "\r\n", tabs as "\t"
  std::vector<std::optional<RtfColour>> colours;  // the colour table; nullopt is automatic
  std::map<int, std::string> fonts;               // the font table: number to name
  std::vector<RtfRun> runs;
};

// Accepts only what a careful writer of plain RTF 1 produces: 7-bit printable ASCII with CR/LF,
// balanced groups with nothing but whitespace after the document group, and only the control words
// this reader understands (anything else could be a misspelling, or a word run together with the
// text after it, which readers silently ignore). Every \uN needs its fallback character, and
// surrogates must pair up. Groups starting with \* are skipped unread.
inline RtfCheck CheckRtf(std::string_view rtf);

namespace internal {

inline void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Windows-1252 bytes 0x80..0x9F; 0 where the code page leaves the byte undefined.
inline constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

class Reader {
 public:
  explicit Reader(std::string_view rtf) : rtf_(rtf) {}

  RtfCheck Run() {
    if (rtf_.substr(0, 6) != "{\\rtf1" || (rtf_.size() > 6 && IsDigit(rtf_[6]))) {
      return Fail("does not start with {\\rtf1");
    }
    while (pos_ < rtf_.size() && result_.problem.empty()) Step();
    if (result_.problem.empty()) {
      if (!closed_) {
        Problem("document group never closes");
      } else if (high_surrogate_ != 0) {
        Problem("unpaired high surrogate at the end");
      } else if (!result_.fonts.count(default_font_) && !result_.fonts.empty()) {
        Problem("\\deff names no font in the font table");
      }
    }
    result_.ok = result_.problem.empty();
    return std::move(result_);
  }

 private:
  enum class Destination { kBody, kFontTable, kColourTable, kSkipped };
  struct State {
    Destination destination = Destination::kBody;
    bool bold = false;
    int colour = 0;
    int font = 0;
    int half_points = 24;
    int skip_after_unicode = 1;  // \uc
  };

  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
  static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
  static int HexValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  RtfCheck Fail(std::string why) {
    result_.problem = std::move(why);
    return std::move(result_);
  }
  void Problem(const std::string& why) {
    if (result_.problem.empty()) result_.problem = "offset " + std::to_string(token_) + ": " + why;
  }

  void Step() {
    token_ = pos_;
    const char c = rtf_[pos_];
    const auto byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && c != '\r' && c != '\n') || byte > 0x7E) {
      return Problem("byte " + std::to_string(byte) + " is not printable 7-bit ASCII");
    }
    if (closed_) {
      if (c != ' ' && c != '\r' && c != '\n') return Problem("text after the document group");
      ++pos_;
      return;
    }
    if (c == '\r' || c == '\n') {  // line ends in RTF only keep lines short
      ++pos_;
      return;
    }
    const bool at_group_start = group_start_;
    group_start_ = false;
    if ((c == '{' || c == '}') && high_surrogate_ != 0) {
      return Problem("unpaired high surrogate");
    }
    if (c == '{') {
      if (!FallbackDone()) return;
      stack_.push_back(stack_.empty() ? State{} : stack_.back());
      group_start_ = true;
      ++pos_;
      return;
    }
    if (c == '}') {
      if (!FallbackDone()) return;
      CloseGroup();
      ++pos_;
      return;
    }
    if (c == '\\') return Control(at_group_start);
    ++pos_;
    Character(c);
  }

  // A \uN whose fallback characters have not all been seen cannot be followed by anything but them.
  bool FallbackDone() {
    if (fallback_left_ == 0) return true;
    Problem("\\u without its fallback character");
    return false;
  }

  void CloseGroup() {
    const State closing = stack_.back();
    stack_.pop_back();
    const bool table_ends = stack_.empty() || stack_.back().destination != closing.destination;
    if (closing.destination == Destination::kFontTable && !font_name_.empty()) {
      return Problem("font name not ended by ';'");
    }
    if (closing.destination == Destination::kColourTable && table_ends && colour_started_) {
      return Problem("colour table entry not ended by ';'");
    }
    if (stack_.empty()) closed_ = true;
  }

  // A plain character from the document: literal or escaped.
  void Character(char c) {
    if (fallback_left_ > 0) {
      --fallback_left_;
      return;
    }
    Text(static_cast<unsigned char>(c));
  }

  void Text(char32_t c) {
    State& state = stack_.back();
    if (state.destination == Destination::kSkipped) return;
    if (high_surrogate_ != 0 && (c < 0xDC00 || c > 0xDFFF)) {
      return Problem("unpaired high surrogate");
    }
    if (c >= 0xD800 && c <= 0xDBFF) {
      high_surrogate_ = c;
      return;
    }
    if (c >= 0xDC00 && c <= 0xDFFF) {
      if (high_surrogate_ == 0) return Problem("unpaired low surrogate");
      c = 0x10000 + ((high_surrogate_ - 0xD800) << 10) + (c - 0xDC00);
      high_surrogate_ = 0;
    }
    switch (state.destination) {
      case Destination::kSkipped:
        return;
      case Destination::kFontTable:
        if (c == ';') {
          if (result_.fonts.count(font_number_)) {
            return Problem("font " + std::to_string(font_number_) + " defined twice");
          }
          result_.fonts[font_number_] = font_name_;
          font_name_.clear();
        } else if (!(c == ' ' && font_name_.empty())) {
          AppendUtf8(font_name_, c);
        }
        return;
      case Destination::kColourTable:
        if (c == ';') {
          result_.colours.push_back(colour_started_ ? std::optional(colour_) : std::nullopt);
          colour_ = {};
          colour_started_ = false;
        } else if (c != ' ') {
          Problem("text in the colour table");
        }
        return;
      case Destination::kBody: {
        std::string utf8;
        AppendUtf8(utf8, c);
        return Emit(state, utf8);
      }
    }
  }

  void Emit(const State& state, std::string_view utf8) {
    result_.text += utf8;
    auto& runs = result_.runs;
    if (runs.empty() || runs.back().bold != state.bold || runs.back().colour != state.colour ||
        runs.back().font != state.font || runs.back().half_points != state.half_points) {
      runs.push_back({state.bold, state.colour, state.font, state.half_points, ""});
    }
    runs.back().text += utf8;
  }

  void Control(bool at_group_start) {
    if (pos_ + 1 >= rtf_.size()) return Problem("backslash at the end");
    const char symbol = rtf_[pos_ + 1];
    if (IsLetter(symbol)) return Word(at_group_start);
    pos_ += 2;
    switch (symbol) {
      case '\\':
      case '{':
      case '}':
        return Character(symbol);
      case '\'': {
        const int high = pos_ < rtf_.size() ? HexValue(rtf_[pos_]) : -1;
        const int low = pos_ + 1 < rtf_.size() ? HexValue(rtf_[pos_ + 1]) : -1;
        if (high < 0 || low < 0) return Problem("\\' without two hex digits");
        pos_ += 2;
        if (fallback_left_ > 0) {
          --fallback_left_;
          return;
        }
        const int value = high * 16 + low;
        if (value < 0x20) return Problem("\\' names a control character");
        if (value >= 0x80 && value < 0xA0) {
          const char16_t mapped = kCp1252High[value - 0x80];
          return Text(mapped == 0 ? 0xFFFD : mapped);
        }
        return Text(static_cast<char32_t>(value));
      }
      case '~':
        return Symbol(0x00A0);
      case '-':
        return Symbol(0x00AD);
      case '_':
        return Symbol(0x2011);
      case '*':
        if (!at_group_start) return Problem("\\* not at the start of a group");
        stack_.back().destination = Destination::kSkipped;
        return;
      case '\r':
      case '\n':
        return Paragraph();
      default:
        return Problem(std::string("unknown control symbol \\") + symbol);
    }
  }

  void Symbol(char32_t c) {
    if (FallbackDone()) Text(c);
  }

  void Paragraph() {
    if (!FallbackDone()) return;
    State& state = stack_.back();
    if (state.destination == Destination::kBody) {
      if (high_surrogate_ != 0) return Problem("unpaired high surrogate");
      Emit(state, "\r\n");
    } else if (state.destination != Destination::kSkipped) {
      Problem("paragraph mark in a table");
    }
  }

  void Word(bool at_group_start) {
    const std::size_t start = pos_;
    std::size_t end = pos_ + 1;
    while (end < rtf_.size() && IsLetter(rtf_[end])) ++end;
    const std::string name(rtf_.substr(start + 1, end - start - 1));
    if (name.size() > 32) return Problem("control word longer than 32 letters");
    std::optional<long long> parameter;
    bool negative = false;
    if (end < rtf_.size() && rtf_[end] == '-') {
      negative = true;
      ++end;
      if (end >= rtf_.size() || !IsDigit(rtf_[end])) return Problem("'-' without digits");
    }
    std::size_t digits = 0;
    long long value = 0;
    while (end < rtf_.size() && IsDigit(rtf_[end])) {
      if (++digits > 10) return Problem("parameter longer than 10 digits");
      value = value * 10 + (rtf_[end] - '0');
      ++end;
    }
    if (digits > 0) parameter = negative ? -value : value;
    if (end < rtf_.size() && rtf_[end] == ' ') ++end;  // the delimiting space belongs to the word
    pos_ = end;
    Apply(name, parameter, at_group_start);
  }

  void Apply(const std::string& name, std::optional<long long> parameter, bool at_group_start) {
    State& state = stack_.back();
    const long long p = parameter.value_or(-1);
    const auto needs = [&](long long low, long long high) {
      if (parameter && p >= low && p <= high) return true;
      Problem("\\" + name + " needs a parameter in " + std::to_string(low) + ".." +
              std::to_string(high));
      return false;
    };
    if (name == "u") {
      if (!FallbackDone() || !needs(-32768, 32767)) return;
      Text(static_cast<char32_t>(p < 0 ? p + 65536 : p));
      fallback_left_ = state.skip_after_unicode;
      return;
    }
    if (!FallbackDone()) return;
    if (high_surrogate_ != 0) return Problem("unpaired high surrogate");
    if (state.destination == Destination::kSkipped) return;
    if (name == "par" && !parameter) return Paragraph();
    if (name == "tab" && !parameter) {
      if (state.destination != Destination::kBody) return Problem("\\tab in a table");
      return Emit(state, "\t");
    }
    if (name == "rtf") {
      if (rtf_seen_ || !at_group_start || stack_.size() != 1 || p != 1) {
        return Problem("\\rtf1 can only open the document");
      }
      rtf_seen_ = true;
      return;
    }
    if (name == "ansi" || name == "pard" || name == "fnil" || name == "froman" ||
        name == "fswiss" || name == "fmodern" || name == "fscript" || name == "fdecor" ||
        name == "ftech") {
      if (parameter) Problem("\\" + name + " takes no parameter");
      return;
    }
    if (name == "ansicpg" || name == "fcharset" || name == "fprq") {
      needs(0, 65535);
      return;
    }
    if (name == "deff") {
      if (needs(0, 32767)) stack_.front().font = state.font = default_font_ = static_cast<int>(p);
      return;
    }
    if (name == "uc") {
      if (needs(0, 10)) state.skip_after_unicode = static_cast<int>(p);
      return;
    }
    if (name == "fonttbl" || name == "colortbl") {
      if (parameter || !at_group_start || state.destination != Destination::kBody) {
        return Problem("\\" + name + " must open its own group");
      }
      state.destination = name == "fonttbl" ? Destination::kFontTable : Destination::kColourTable;
      return;
    }
    if (name == "f") {
      if (!needs(0, 32767)) return;
      if (state.destination == Destination::kFontTable) {
        if (!font_name_.empty()) return Problem("font name not ended by ';'");
        font_number_ = static_cast<int>(p);
      } else if (!result_.fonts.count(static_cast<int>(p))) {
        Problem("\\f" + std::to_string(p) + " is not in the font table");
      } else {
        state.font = static_cast<int>(p);
      }
      return;
    }
    if (name == "red" || name == "green" || name == "blue") {
      if (state.destination != Destination::kColourTable) {
        return Problem("\\" + name + " outside the colour table");
      }
      if (!needs(0, 255)) return;
      (name == "red"     ? colour_.red
       : name == "green" ? colour_.green
                         : colour_.blue) = static_cast<int>(p);
      colour_started_ = true;
      return;
    }
    if (state.destination != Destination::kBody) {
      return Problem("\\" + name + " where only table entries belong");
    }
    if (name == "plain" && !parameter) {
      state.bold = false;
      state.colour = 0;
      state.font = default_font_;
      state.half_points = 24;
      return;
    }
    if (name == "b") {
      if (!parameter || needs(0, 1)) state.bold = p != 0;
      return;
    }
    if (name == "cf") {
      if (!needs(0, 32767)) return;
      if (p >= static_cast<long long>(result_.colours.size()) && p != 0) {
        return Problem("\\cf" + std::to_string(p) + " is not in the colour table");
      }
      state.colour = static_cast<int>(p);
      return;
    }
    if (name == "fs") {
      if (needs(1, 32767)) state.half_points = static_cast<int>(p);
      return;
    }
    Problem("unknown control word \\" + name);
  }

  std::string_view rtf_;
  std::size_t pos_ = 0;
  std::size_t token_ = 0;  // where the token being read starts, for problem reports
  RtfCheck result_;
  std::vector<State> stack_;
  bool group_start_ = false;
  bool closed_ = false;
  bool rtf_seen_ = false;
  int fallback_left_ = 0;
  char32_t high_surrogate_ = 0;
  int default_font_ = 0;
  int font_number_ = 0;
  std::string font_name_;
  RtfColour colour_;
  bool colour_started_ = false;
};

}  // namespace internal

inline RtfCheck CheckRtf(std::string_view rtf) { return internal::Reader(rtf).Run(); }

}  // namespace solvane::rtfcheck
