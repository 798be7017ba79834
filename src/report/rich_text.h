// Where the house report is written: a rich-text box with three operations, always used in the
// order bold, colour, insert. The report does not know which implementation it writes to.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "report/report_texts.h"

namespace solvane::report {

class RichTextSink {
 public:
  virtual ~RichTextSink() = default;
  // Bold on or off for the text inserted next.
  virtual void SetBold(bool bold) = 0;
  // Colour of the text inserted next.
  virtual void SetColour(Rgb colour) = 0;
  // Appends UTF-8 `text` at the insertion point; "\r\n" breaks the line.
  virtual void Insert(std::string_view text) = 0;
};

// Keeps only the characters: the report as plain text.
class PlainTextSink final : public RichTextSink {
 public:
  void SetBold(bool) override {}
  void SetColour(Rgb) override {}
  void Insert(std::string_view text) override { text_ += text; }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

// One inserted piece with the format it was inserted in.
struct RichTextPiece {
  bool bold;
  Rgb colour;
  std::string text;
  friend bool operator==(const RichTextPiece&, const RichTextPiece&) = default;
};

// Keeps every piece with its format, for tests and for anything that lays the report out again.
class RecordingSink final : public RichTextSink {
 public:
  void SetBold(bool bold) override { bold_ = bold; }
  void SetColour(Rgb colour) override { colour_ = colour; }
  void Insert(std::string_view text) override {
    pieces_.push_back({bold_, colour_, std::string(text)});
  }
  const std::vector<RichTextPiece>& pieces() const { return pieces_; }
  // Hands the pieces over and starts again empty.
  std::vector<RichTextPiece> TakePieces() { return std::exchange(pieces_, {}); }

 private:
  bool bold_ = false;
  Rgb colour_ = kBlack;
  std::vector<RichTextPiece> pieces_;
};

}  // namespace solvane::report
