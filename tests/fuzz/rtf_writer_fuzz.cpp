// Any bytes through the RTF writer, with bold and colour changes between the insertions, and any
// font name and size. The document must be well-formed plain RTF, and read back it must hold the
// inserted text as the writer promises: malformed UTF-8 as U+FFFD (one per maximal broken
// sequence), control characters other than TAB dropped, "\r\n", lone "\r" and lone "\n" each one
// paragraph end, each visible character in the bold and colour it was inserted in, and the colour
// table listing exactly the colours some text is drawn in.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "report/rtf_check.h"
#include "report/rtf_writer.h"

namespace {

namespace report = solvane::report;
namespace rtfcheck = solvane::rtfcheck;
using solvane::fuzz::ByteReader;

constexpr char32_t kReplacement = 0xFFFD;

// Well-formed UTF-8 as Unicode's table of byte sequences lists it: the lead bytes, the sequence
// length and the range allowed for the second byte (later bytes are always 80..BF).
struct LeadRange {
  unsigned first, last;
  int length;
  unsigned second_low, second_high;
};
constexpr LeadRange kLeads[] = {
    {0xC2, 0xDF, 2, 0x80, 0xBF}, {0xE0, 0xE0, 3, 0xA0, 0xBF}, {0xE1, 0xEC, 3, 0x80, 0xBF},
    {0xED, 0xED, 3, 0x80, 0x9F}, {0xEE, 0xEF, 3, 0x80, 0xBF}, {0xF0, 0xF0, 4, 0x90, 0xBF},
    {0xF1, 0xF3, 4, 0x80, 0xBF}, {0xF4, 0xF4, 4, 0x80, 0x8F},
};

// The code points of `bytes`; each maximal start of a valid sequence that is cut short, and each
// byte that starts none, is one U+FFFD.
std::vector<char32_t> Decode(std::string_view bytes) {
  std::vector<char32_t> out;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const unsigned lead = static_cast<unsigned char>(bytes[i]);
    if (lead < 0x80) {
      out.push_back(lead);
      ++i;
      continue;
    }
    const LeadRange* range = nullptr;
    for (const LeadRange& r : kLeads)
      if (lead >= r.first && lead <= r.last) range = &r;
    if (!range) {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    int good = 1;  // bytes of the sequence seen valid so far
    char32_t value = lead & (0xFF >> (range->length + 1));
    while (good < range->length && i + good < bytes.size()) {
      const unsigned next = static_cast<unsigned char>(bytes[i + good]);
      const unsigned low = good == 1 ? range->second_low : 0x80;
      const unsigned high = good == 1 ? range->second_high : 0xBF;
      if (next < low || next > high) break;
      value = value << 6 | (next & 0x3F);
      ++good;
    }
    out.push_back(good == range->length ? value : kReplacement);
    i += static_cast<std::size_t>(good);
  }
  return out;
}

std::string Utf8(char32_t c) {
  std::string out;
  rtfcheck::internal::AppendUtf8(out, c);
  return out;
}

bool IsDropped(char32_t c) {
  return (c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F;
}

struct Styled {
  char32_t c;
  bool bold;
  std::optional<report::Rgb> colour;  // nothing: the reader's automatic colour
  bool operator==(const Styled&) const = default;
};

// What a reader should find: the text and its visible characters with their formatting.
class Expected {
 public:
  void Insert(std::string_view bytes, bool bold, std::optional<report::Rgb> colour) {
    for (const char32_t c : Decode(bytes)) {
      if (IsDropped(c)) continue;  // as if never inserted: a "\r", "\x01", "\n" is one break
      if (c == '\r' || c == '\n') {
        if (!(c == '\n' && after_cr_)) text += "\r\n";
        after_cr_ = c == '\r';
        continue;
      }
      after_cr_ = false;
      text += Utf8(c);
      visible.push_back({c, bold, colour});
    }
  }
  std::string text;
  std::vector<Styled> visible;

 private:
  bool after_cr_ = false;
};

std::vector<Styled> VisibleIn(const rtfcheck::RtfCheck& check) {
  std::vector<Styled> out;
  for (const rtfcheck::RtfRun& run : check.runs) {
    std::optional<report::Rgb> colour;
    if (run.colour != 0) {
      const auto& entry = check.colours.at(static_cast<std::size_t>(run.colour));
      FUZZ_CHECK(entry.has_value(), "text drawn in the automatic colour's entry %d", run.colour);
      colour = report::Rgb{static_cast<std::uint8_t>(entry->red),
                           static_cast<std::uint8_t>(entry->green),
                           static_cast<std::uint8_t>(entry->blue)};
    }
    for (const char32_t c : Decode(run.text))
      if (c != '\r' && c != '\n') out.push_back({c, run.bold, colour});
  }
  return out;
}

// The name as the font table can hold it: no control characters, no ';' (it ends the name).
std::string FontNameRead(std::string_view font) {
  std::string out;
  for (const char32_t c : Decode(font)) {
    if (c < 0x20 || c == 0x7F || c == ';') continue;
    if (c == ' ' && out.empty()) continue;  // readers skip blanks before the name
    out += Utf8(c);
  }
  return out;
}

// `half_points`: the size every run must have; nothing for a size past the word processors'
// limit, where any one size they take will do.
void CheckDocument(const std::string& document, const Expected& expected, const std::string& font,
                   std::optional<int> half_points) {
  const rtfcheck::RtfCheck check = rtfcheck::CheckRtf(document);
  FUZZ_CHECK(check.ok, "malformed RTF: %s", check.problem.c_str());
  FUZZ_CHECK(check.text == expected.text, "the text read back differs");
  FUZZ_CHECK(VisibleIn(check) == expected.visible, "characters in the wrong format");
  FUZZ_CHECK(
      check.fonts.size() == 1 && check.fonts.count(0) && check.fonts.at(0) == FontNameRead(font),
      "font table differs for '%s'", font.c_str());
  if (!half_points && !check.runs.empty()) half_points = check.runs.front().half_points;
  for (const rtfcheck::RtfRun& run : check.runs)
    FUZZ_CHECK(run.font == 0 && run.half_points == half_points && run.half_points <= 3276,
               "run in font %d at %d half-points", run.font, run.half_points);

  // Colour table: the automatic colour, then each colour used, once.
  FUZZ_CHECK(!check.colours.empty() && !check.colours[0], "no automatic colour first");
  std::vector<report::Rgb> used, listed;
  for (const Styled& s : expected.visible)
    if (s.colour && std::find(used.begin(), used.end(), *s.colour) == used.end())
      used.push_back(*s.colour);
  for (std::size_t i = 1; i < check.colours.size(); ++i) {
    FUZZ_CHECK(check.colours[i].has_value(), "empty colour table entry %zu", i);
    const report::Rgb rgb{static_cast<std::uint8_t>(check.colours[i]->red),
                          static_cast<std::uint8_t>(check.colours[i]->green),
                          static_cast<std::uint8_t>(check.colours[i]->blue)};
    FUZZ_CHECK(std::find(listed.begin(), listed.end(), rgb) == listed.end(), "colour listed twice");
    listed.push_back(rgb);
  }
  const auto key = [](const report::Rgb& c) { return c.r << 16 | c.g << 8 | c.b; };
  const auto by_key = [&](const report::Rgb& a, const report::Rgb& b) { return key(a) < key(b); };
  std::sort(used.begin(), used.end(), by_key);
  std::sort(listed.begin(), listed.end(), by_key);
  FUZZ_CHECK(used == listed, "%zu colours used, %zu listed", used.size(), listed.size());
}

// Half-points as RTF counts the size: the nearest, at least one; 12 points when the size is no
// size. Sizes beyond what word processors take are capped, so only their range is checked.
std::optional<int> HalfPointsOf(double points) {
  if (!std::isfinite(points) || points <= 0) return 24;
  if (points > 1638) return std::nullopt;
  return std::max(1, static_cast<int>(std::round(points * 2)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 16384) return -1;
  ByteReader in(data, size);
  const std::uint8_t setup = in.Byte();
  const std::string font = setup & 1 ? std::string(in.ShortText()) : "Verdana";
  const double points = setup & 2 ? in.Double() : 9.75;

  report::RtfWriter writer(font, points);
  Expected expected;
  bool bold = false;
  std::optional<report::Rgb> colour;
  std::string inserted;
  const std::optional<int> half_points = HalfPointsOf(points);
  while (!in.empty()) {
    const std::uint8_t op = in.Byte();
    switch (op % 8) {
      case 0:
        bold = op & 0x80;
        writer.SetBold(bold);
        break;
      case 1: {
        const report::Rgb rgb{in.Byte(), in.Byte(), in.Byte()};
        colour = rgb;
        writer.SetColour(rgb);
        break;
      }
      case 2:  // the document so far; writing goes on after it
        CheckDocument(writer.Document(), expected, font, half_points);
        break;
      default: {
        const std::string_view text = in.ShortText();
        writer.Insert(text);
        expected.Insert(text, bold, colour);
        inserted += text;
        break;
      }
    }
  }
  const std::string document = writer.Document();
  FUZZ_CHECK(document == writer.Document(), "asking twice gives another document");
  CheckDocument(document, expected, font, half_points);

  // The same bytes in one piece, without formatting.
  Expected plain;
  plain.Insert(inserted, false, std::nullopt);
  CheckDocument(report::PlainRtf(inserted, font, 9.75), plain, font, 20);
  return 0;
}
