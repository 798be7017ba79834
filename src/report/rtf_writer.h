// The house report as an RTF document: one font, the colours it uses, bold and paragraphs.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/report_texts.h"
#include "report/rich_text.h"

namespace solvane::report {

// Collects the report as RTF 1 in plain 7-bit ASCII, so the file opens the same in every word
// processor whatever code page the reader assumes. Formatting calls are cheap: a change is written
// only once text is inserted under it, so the colour table lists exactly the colours some text is
// drawn in. Until SetColour is called text takes the reader's automatic colour.
class RtfWriter final : public RichTextSink {
 public:
  // `font` is the family name ("Verdana"); `points` the size, kept to the nearest half-point, the
  // unit RTF counts in. A size that is not a positive finite number falls back to 12 points.
  RtfWriter(std::string font, double points);

  void SetBold(bool bold) override;
  void SetColour(Rgb colour) override;
  // Malformed UTF-8 becomes U+FFFD. "\r\n", a lone "\n" and a lone "\r" each end a paragraph, also
  // when the "\r" and the "\n" arrive in consecutive calls; C0 control characters other than TAB,
  // and DEL, are dropped.
  void Insert(std::string_view utf8) override;

  // The complete document so far. Inserting afterwards continues it.
  std::string Document() const;

 private:
  // Writes pending bold and colour changes before the next piece of output.
  void Flush();
  int ColourIndex(Rgb colour);

  std::string font_;
  int half_points_;
  std::string body_;
  std::vector<Rgb> colours_;  // colour table entry i + 1; entry 0 is the automatic colour
  bool bold_ = false;
  bool written_bold_ = false;
  std::optional<Rgb> colour_;
  std::optional<Rgb> written_colour_;
  bool after_cr_ = false;  // the last character inserted was a "\r"
};

// `text` (UTF-8, "\r\n" line breaks) as a complete RTF document in one font, neither bold nor
// coloured.
std::string PlainRtf(std::string_view text, std::string font, double points);

}  // namespace solvane::report
