#include "report/rtf_writer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

#include "core/utf8.h"

namespace solvane::report {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
// Word refuses font sizes above 1638 points.
constexpr int kMaxHalfPoints = 3276;
constexpr int kDefaultHalfPoints = 24;

void AppendInt(std::string& out, int value) {
  char digits[12];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  out.append(digits, end);
}

// RTF reads the \u parameter as a signed 16-bit number, so code units above 0x7FFF go out negative.
// The '?' is the one-character fallback \uc1 announces, for readers without Unicode.
void AppendUtf16Unit(std::string& out, unsigned unit) {
  out += "\\u";
  AppendInt(out, unit > 0x7FFF ? static_cast<int>(unit) - 0x10000 : static_cast<int>(unit));
  out += '?';
}

void AppendUnicode(std::string& out, char32_t code_point) {
  if (code_point < 0x10000) {
    AppendUtf16Unit(out, code_point);
  } else {
    const char32_t offset = code_point - 0x10000;
    AppendUtf16Unit(out, 0xD800 + (offset >> 10));
    AppendUtf16Unit(out, 0xDC00 + (offset & 0x3FF));
  }
}

// The character at text[i], U+FFFD for anything that is not well-formed UTF-8.
char32_t DecodeUtf8(std::string_view text, std::size_t& i) {
  return core::NextCodePoint(text, i).value_or(kReplacement);
}

// Bytes that stand for themselves in the body.
bool IsLiteral(char c) { return c >= 0x20 && c <= 0x7E && c != '\\' && c != '{' && c != '}'; }

// The name ends at ';' in the font table, so a ';' in it cannot be kept.
void AppendFontName(std::string& out, std::string_view name) {
  std::size_t i = 0;
  while (i < name.size()) {
    const char c = name[i];
    if (static_cast<unsigned char>(c) >= 0x80) {
      AppendUnicode(out, DecodeUtf8(name, i));
      continue;
    }
    ++i;
    if (c == '\\' || c == '{' || c == '}') {
      out += '\\';
      out += c;
    } else if (IsLiteral(c) && c != ';') {
      out += c;
    }
  }
}

int HalfPoints(double points) {
  if (!std::isfinite(points) || points <= 0) return kDefaultHalfPoints;
  const double half_points = std::round(points * 2);
  return half_points >= kMaxHalfPoints ? kMaxHalfPoints
                                       : std::max(1, static_cast<int>(half_points));
}

}  // namespace

RtfWriter::RtfWriter(std::string font, double points)
    : font_(std::move(font)), half_points_(HalfPoints(points)) {
  body_.reserve(4096);
}

void RtfWriter::SetBold(bool bold) { bold_ = bold; }

void RtfWriter::SetColour(Rgb colour) { colour_ = colour; }

void RtfWriter::Flush() {
  if (bold_ != written_bold_) {
    body_ += bold_ ? "\\b " : "\\b0 ";
    written_bold_ = bold_;
  }
  if (colour_ != written_colour_) {
    body_ += "\\cf";
    AppendInt(body_, ColourIndex(*colour_));
    body_ += ' ';
    written_colour_ = colour_;
  }
}

int RtfWriter::ColourIndex(Rgb colour) {
  const auto found = std::find(colours_.begin(), colours_.end(), colour);
  if (found != colours_.end()) return static_cast<int>(found - colours_.begin()) + 1;
  colours_.push_back(colour);
  return static_cast<int>(colours_.size());
}

void RtfWriter::Insert(std::string_view utf8) {
  std::size_t i = 0;
  while (i < utf8.size()) {
    std::size_t end = i;
    while (end < utf8.size() && IsLiteral(utf8[end])) ++end;
    if (end > i) {
      Flush();
      body_.append(utf8, i, end - i);
      after_cr_ = false;
      i = end;
      continue;
    }
    const char c = utf8[i];
    if (static_cast<unsigned char>(c) >= 0x80) {
      Flush();
      AppendUnicode(body_, DecodeUtf8(utf8, i));
      after_cr_ = false;
      continue;
    }
    ++i;
    // Paragraph marks leave pending formatting alone: a colour set just before a line break
    // belongs to the text after it, and must not enter the colour table if no text follows.
    switch (c) {
      case '\n':
        if (!after_cr_) body_ += "\\par\n";
        after_cr_ = false;
        break;
      case '\r':
        body_ += "\\par\n";
        after_cr_ = true;
        break;
      case '\t':
        Flush();
        body_ += "\\tab ";
        after_cr_ = false;
        break;
      case '\\':
      case '{':
      case '}':
        Flush();
        body_ += '\\';
        body_ += c;
        after_cr_ = false;
        break;
      default:  // other control characters vanish as if never inserted
        break;
    }
  }
}

std::string RtfWriter::Document() const {
  std::string doc;
  doc.reserve(body_.size() + 160 + 8 * font_.size() + 32 * colours_.size());
  doc += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fswiss\\fcharset0 ";
  AppendFontName(doc, font_);
  doc += ";}}\n{\\colortbl ;";
  for (const Rgb& colour : colours_) {
    doc += "\\red";
    AppendInt(doc, colour.r);
    doc += "\\green";
    AppendInt(doc, colour.g);
    doc += "\\blue";
    AppendInt(doc, colour.b);
    doc += ';';
  }
  doc += "}\n\\pard\\plain\\f0\\fs";
  AppendInt(doc, half_points_);
  doc += ' ';
  doc += body_;
  doc += "}\n";
  return doc;
}

std::string PlainRtf(std::string_view text, std::string font, double points) {
  RtfWriter writer(std::move(font), points);
  writer.Insert(text);
  return writer.Document();
}

}  // namespace solvane::report
