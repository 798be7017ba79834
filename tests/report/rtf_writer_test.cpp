// The RTF writer read back: by a strict structural reader for text and formatting, and where they
// are installed by unrtf and LibreOffice, which are what a user's file actually meets.
#include "report/rtf_writer.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <ostream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "report/rich_text.h"
#include "report/rtf_check.h"

namespace solvane::report {
namespace {

using rtfcheck::CheckRtf;
using rtfcheck::RtfCheck;

constexpr char kFont[] = "Verdana";
constexpr double kPoints = 9.75;
constexpr int kHalfPoints = 20;

std::string Write(std::string_view text) {
  RtfWriter writer(kFont, kPoints);
  writer.Insert(text);
  return writer.Document();
}

// ---- Text round trip ----------------------------------------------------------------------------

struct TextCase {
  const char* name;
  std::string input;
  std::string expected;
};

const std::string kReplacement = "\ufffd";

std::string Replacements(int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += kReplacement;
  return out;
}

TextCase Same(const char* name, std::string text) { return {name, text, text}; }

std::vector<TextCase> TextCases() {
  // Malformed input is replaced the way Unicode recommends (and Python's "replace" does): one
  // U+FFFD for each maximal prefix of a valid sequence, so a broken sequence never swallows the
  // character after it.
  return {
      Same("plain", "Sun in the First House, 12 degrees."),
      Same("escaped", "C:\\path {x} }{ \\\\"),
      Same("leading_spaces", "  indented"),
      Same("after_control_words", "\tx\t1\t \tA\r\nb\r\n2\r\n end"),
      Same("degree", "Sun 23\u00b014'"),
      Same("accented_name", "Jos\u00e9 N\u00fa\u00f1ez"),
      Same("cjk", "\u6728\u661f (Jupiter)"),
      Same("emoji", "Saturn \U0001FA90!"),
      Same("encoding_boundaries", "\u0080|\u07ff|\u0800|\ufffd|\uffff|\U00010000|\U0010FFFF"),
      Same("crlf", "a\r\nb\r\n"),
      {"lone_lf", "a\nb\n", "a\r\nb\r\n"},
      {"lone_cr", "a\rb\r", "a\r\nb\r\n"},
      {"text_between_cr_and_lf", "a\rb\nc", "a\r\nb\r\nc"},
      {"mixed_breaks", "\n\r|\r\r\n\n", "\r\n\r\n|\r\n\r\n\r\n"},
      Same("tab", "a\tb"),
      {"control_characters", std::string("a\0b\x01\x1F\x7F", 6) + "c\x1B[0m", "abc[0m"},
      {"control_inside_crlf", "a\r\x01\nb", "a\r\nb"},
      {"truncated_at_end", "x\xC3", "x" + kReplacement},
      {"truncated_before_ascii", "\xC3(", kReplacement + "("},
      {"stray_continuations", "\x80\xBF", Replacements(2)},
      {"invalid_leads", "\xC0\xC1\xF5\xFF", Replacements(4)},
      {"overlong_two", "\xC0\xAF", Replacements(2)},
      {"overlong_three", "\xE0\x80\xAF", Replacements(3)},
      {"surrogate", "\xED\xA0\x80", Replacements(3)},
      {"beyond_unicode", "\xF4\x90\x80\x80", Replacements(4)},
      {"truncated_four_byte", "\xF0\x9F\xAAx", kReplacement + "x"},
      {"truncated_three_byte", "\xE6\x9C", kReplacement},
      Same("empty", ""),
  };
}

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }

class TextRoundTrip : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextRoundTrip, CheckerReadsBackTheText) {
  const TextCase& c = GetParam();
  const std::string doc = Write(c.input);
  const RtfCheck check = CheckRtf(doc);
  ASSERT_TRUE(check.ok) << check.problem << "\n" << doc;
  EXPECT_EQ(check.text, c.expected) << doc;
}

// Where the report splits its text into Insert calls must not matter, a "\r\n" cut in two
// included. Cuts go between characters, never inside one.
TEST_P(TextRoundTrip, SplittingTheInsertChangesNothing) {
  const std::string& input = GetParam().input;
  const std::string whole = Write(input);
  for (std::size_t cut = 1; cut < input.size(); ++cut) {
    if ((static_cast<unsigned char>(input[cut]) & 0xC0) == 0x80) continue;
    RtfWriter writer(kFont, kPoints);
    writer.Insert(std::string_view(input).substr(0, cut));
    writer.Insert(std::string_view(input).substr(cut));
    EXPECT_EQ(writer.Document(), whole) << "cut at " << cut;
  }
}

INSTANTIATE_TEST_SUITE_P(Inputs, TextRoundTrip, ::testing::ValuesIn(TextCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// A sequence cut short by the end of the view is malformed even when the bytes that would
// complete it follow in memory.
TEST(RtfWriter, NeverReadsPastTheView) {
  for (const std::string whole : {"\xC3\xA9", "\xE6\x9C\xA8", "\xF0\x9F\xAA\x90"}) {
    for (std::size_t cut = 1; cut < whole.size(); ++cut) {
      RtfWriter writer(kFont, kPoints);
      writer.Insert(std::string_view(whole).substr(0, cut));
      const RtfCheck check = CheckRtf(writer.Document());
      ASSERT_TRUE(check.ok) << check.problem;
      EXPECT_EQ(check.text, kReplacement) << whole.size() << " bytes cut at " << cut;
    }
  }
}

// Readers that do not know \u show the fallback: '?' after the UTF-16 code unit as a signed
// 16-bit number, the form every RTF reader accepts.
TEST(RtfWriter, WritesNonAsciiAsSigned16BitUnicode) {
  const struct {
    const char* input;
    const char* expected;
  } cases[] = {
      {"\u00b0", "\\u176?"},
      {"\xEF\xBF\xBD", "\\u-3?"},
      {"\xFF", "\\u-3?"},
      {"\U0001FA90", "\\u-10178?\\u-8560?"},  // U+1FA90 as the pair D83E DE90
  };
  for (const auto& c : cases) {
    EXPECT_NE(Write(c.input).find(c.expected), std::string::npos) << c.expected;
  }
}

// ---- Document frame, font and size -----------------------------------------------------------

TEST(RtfWriter, HeaderDeclaresAnsiUnicodeFallbackAndOneFont) {
  const std::string doc = Write("x");
  EXPECT_EQ(doc.rfind("{\\rtf1\\ansi\\ansicpg1252\\deff0", 0), 0u) << doc;
  EXPECT_NE(doc.find("\\uc1"), std::string::npos);
  const RtfCheck check = CheckRtf(doc);
  ASSERT_TRUE(check.ok) << check.problem;
  EXPECT_EQ(check.fonts, (std::map<int, std::string>{{0, "Verdana"}}));
  ASSERT_EQ(check.colours.size(), 1u) << "no colour was used";
  EXPECT_FALSE(check.colours[0]) << "entry 0 is the automatic colour";
}

TEST(RtfWriter, SizeIsRoundedToHalfPointsWithinLimits) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double points;
    int half_points;
  } cases[] = {{9.75, 20}, {9.74, 19}, {10, 20},  {10.25, 21}, {12, 24},    {0.25, 1},
               {0, 24},    {-3, 24},   {nan, 24}, {inf, 24},   {1e6, 3276}, {-inf, 24}};
  for (const auto& c : cases) {
    RtfWriter writer(kFont, c.points);
    writer.Insert("x");
    const RtfCheck check = CheckRtf(writer.Document());
    ASSERT_TRUE(check.ok) << c.points << ": " << check.problem;
    ASSERT_EQ(check.runs.size(), 1u);
    EXPECT_EQ(check.runs[0].half_points, c.half_points) << c.points;
  }
}

TEST(RtfWriter, FontNameSurvivesTheFontTable) {
  const struct {
    const char* font;
    const char* expected;
  } cases[] = {
      {"Times New Roman", "Times New Roman"},
      {"\u00d6d\u00f6n Sans", "\u00d6d\u00f6n Sans"},
      {"A{b}\\c;d", "A{b}\\cd"},  // ';' would end the name early
      {"Bad\x01\xFF", "Bad\ufffd"},
      {"", ""},
  };
  for (const auto& c : cases) {
    RtfWriter writer(c.font, kPoints);
    writer.Insert("x");
    const RtfCheck check = CheckRtf(writer.Document());
    ASSERT_TRUE(check.ok) << c.expected << ": " << check.problem;
    EXPECT_EQ(check.fonts, (std::map<int, std::string>{{0, c.expected}}));
    ASSERT_EQ(check.runs.size(), 1u);
    EXPECT_EQ(check.runs[0].font, 0);
  }
}

TEST(RtfWriter, DocumentCanBeTakenAgainAndContinued) {
  RtfWriter writer(kFont, kPoints);
  writer.Insert("one\r");
  const std::string first = writer.Document();
  EXPECT_EQ(writer.Document(), first);
  writer.SetColour(kBlue);
  writer.Insert("\ntwo");
  const RtfCheck check = CheckRtf(writer.Document());
  ASSERT_TRUE(check.ok) << check.problem;
  EXPECT_EQ(check.text, "one\r\ntwo");
  EXPECT_EQ(check.colours.size(), 2u);
  EXPECT_EQ(CheckRtf(first).text, "one\r\n");
}

TEST(PlainRtf, OneFontOneSizeNoFormatting) {
  const std::string text = "Sun 23\u00b0 in Leo\r\nJos\u00e9\tN\u00fa\u00f1ez\r\n";
  const std::string doc = PlainRtf(text, kFont, kPoints);
  EXPECT_NE(doc.find("\\fs20"), std::string::npos);
  EXPECT_NE(doc.find("Verdana"), std::string::npos);
  EXPECT_EQ(doc.find("\\b "), std::string::npos);
  for (std::size_t at = doc.find("\\cf"); at != std::string::npos; at = doc.find("\\cf", at + 1)) {
    EXPECT_EQ(doc.compare(at, 4, "\\cf0"), 0) << doc.substr(at, 8);
  }
  const RtfCheck check = CheckRtf(doc);
  ASSERT_TRUE(check.ok) << check.problem;
  EXPECT_EQ(check.text, text);
  EXPECT_EQ(check.colours.size(), 1u);
  ASSERT_EQ(check.runs.size(), 1u);
  EXPECT_FALSE(check.runs[0].bold);
  EXPECT_EQ(check.runs[0].colour, 0);
  EXPECT_EQ(check.runs[0].half_points, kHalfPoints);
}

// ---- Bold and colour --------------------------------------------------------------------------

struct Op {
  enum Kind { kBold, kColour, kInsert } kind;
  bool bold = false;
  Rgb colour = kBlack;
  std::string text;
};
Op Bold(bool bold) { return {Op::kBold, bold, kBlack, ""}; }
Op Colour(Rgb colour) { return {Op::kColour, false, colour, ""}; }
Op Text(std::string text) { return {Op::kInsert, false, kBlack, std::move(text)}; }

void Play(const std::vector<Op>& ops, RichTextSink& sink) {
  for (const Op& op : ops) {
    switch (op.kind) {
      case Op::kBold:
        sink.SetBold(op.bold);
        break;
      case Op::kColour:
        sink.SetColour(op.colour);
        break;
      case Op::kInsert:
        sink.Insert(op.text);
        break;
    }
  }
}

// Text as it looks on the page, in one formatting.
struct Styled {
  bool bold;
  Rgb colour;
  std::string text;
  friend bool operator==(const Styled&, const Styled&) = default;
};

void PrintTo(const Styled& s, std::ostream* os) {
  *os << (s.bold ? "bold " : "") << "rgb(" << int{s.colour.r} << "," << int{s.colour.g} << ","
      << int{s.colour.b} << ") \"" << s.text << "\"";
}

// Only visible characters show their formatting: paragraph marks do not, nor do the control
// characters the writer drops. The automatic colour prints black.
std::vector<Styled> Visible(const std::vector<Styled>& pieces) {
  std::vector<Styled> out;
  for (const Styled& piece : pieces) {
    std::string visible;
    for (char c : piece.text) {
      if (c == '\t' || (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F)) visible += c;
    }
    if (visible.empty()) continue;
    if (!out.empty() && out.back().bold == piece.bold && out.back().colour == piece.colour) {
      out.back().text += visible;
    } else {
      out.push_back({piece.bold, piece.colour, visible});
    }
  }
  return out;
}

std::vector<Styled> FromRecording(const RecordingSink& sink) {
  std::vector<Styled> pieces;
  for (const RichTextPiece& piece : sink.pieces()) {
    pieces.push_back({piece.bold, piece.colour, piece.text});
  }
  return Visible(pieces);
}

using ColourSet = std::set<std::tuple<int, int, int>>;

std::vector<Styled> FromRtf(const RtfCheck& check) {
  std::vector<Styled> pieces;
  for (const rtfcheck::RtfRun& run : check.runs) {
    Rgb colour = kBlack;
    if (const auto& entry = check.colours.at(run.colour)) {
      colour = {static_cast<std::uint8_t>(entry->red), static_cast<std::uint8_t>(entry->green),
                static_cast<std::uint8_t>(entry->blue)};
    }
    pieces.push_back({run.bold, colour, run.text});
  }
  return Visible(pieces);
}

// The colours some visible text was inserted in after a SetColour.
ColourSet UsedColours(const std::vector<Op>& ops) {
  ColourSet used;
  const Rgb* colour = nullptr;
  for (const Op& op : ops) {
    if (op.kind == Op::kColour) colour = &op.colour;
    if (op.kind == Op::kInsert && colour && !Visible({{false, kBlack, op.text}}).empty()) {
      used.insert({colour->r, colour->g, colour->b});
    }
  }
  return used;
}

void ExpectFormattingKept(const std::vector<Op>& ops) {
  RecordingSink recording;
  RtfWriter writer(kFont, kPoints);
  Play(ops, recording);
  Play(ops, writer);
  const std::string doc = writer.Document();
  const RtfCheck check = CheckRtf(doc);
  ASSERT_TRUE(check.ok) << check.problem << "\n" << doc;
  EXPECT_EQ(FromRtf(check), FromRecording(recording)) << doc;
  for (const rtfcheck::RtfRun& run : check.runs) {
    EXPECT_EQ(run.font, 0);
    EXPECT_EQ(run.half_points, kHalfPoints);
  }
  ASSERT_FALSE(check.colours.empty());
  EXPECT_FALSE(check.colours[0]);
  ColourSet table;
  for (std::size_t i = 1; i < check.colours.size(); ++i) {
    ASSERT_TRUE(check.colours[i]) << "colour table entry " << i << " is empty";
    table.insert({check.colours[i]->red, check.colours[i]->green, check.colours[i]->blue});
  }
  EXPECT_EQ(table.size(), check.colours.size() - 1) << "a colour listed twice\n" << doc;
  EXPECT_EQ(table, UsedColours(ops)) << doc;
}

struct FormatCase {
  const char* name;
  std::vector<Op> ops;
};

constexpr Rgb kAlmostBlack{1, 2, 3};

std::vector<FormatCase> FormatCases() {
  return {
      {"heading_then_body",
       {Colour(kDarkRed), Bold(true), Text("First House"), Bold(false), Colour(kBlack),
        Text("\r\nbody\r\n")}},
      {"colours_in_turn",
       {Colour(kDarkRed), Text("a"), Colour(kBlue), Text("b"), Colour(kDarkRed), Text("c"),
        Colour(kBlack), Text("d")}},
      {"repeated_calls",
       {Bold(true), Bold(true), Colour(kBlue), Colour(kBlue), Text("x"), Bold(true), Text("y"),
        Colour(kBlue), Text("z")}},
      {"changes_without_visible_text",
       {Bold(true), Colour(kBlue), Text(""), Text("\x01\r\n"), Bold(false), Colour(kAlmostBlack),
        Text("\t"), Colour(kDarkRed), Text("k")}},
      {"colour_set_before_line_break_only",
       {Colour(kDarkRed), Text("Head"), Colour(kBlack), Text("\r\n"), Colour(kBlue), Text("x")}},
      {"text_after_format_words_starts_with_digit_or_space",
       {Bold(true), Text("0"), Bold(false), Text("1 "), Colour(kBlue), Text(" 2"), Bold(true),
        Text("\u00b0")}},
      {"no_formatting_calls", {Text("plain"), Text("\r\n")}},
      {"format_calls_only", {Bold(true), Colour(kBlue)}},
      {"bold_off_first", {Bold(false), Text("a"), Bold(true), Text("b"), Bold(false), Text("c")}},
  };
}

void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.name; }

class Formatting : public ::testing::TestWithParam<FormatCase> {};

TEST_P(Formatting, RunsAndColourTableMatchTheCalls) { ExpectFormattingKept(GetParam().ops); }

INSTANTIATE_TEST_SUITE_P(Sequences, Formatting, ::testing::ValuesIn(FormatCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RtfWriter, RandomCallSequencesKeepFormatting) {
  const Rgb colours[] = {kBlack, kBlue, kDarkRed, kAlmostBlack};
  const char* texts[] = {"a", "Bold", "0", " ", "\r\n", "\u00b0", "\t", "", "{}", "\\", "\x02"};
  std::mt19937 rng(20240611);
  for (int sequence = 0; sequence < 200; ++sequence) {
    std::vector<Op> ops;
    for (int i = 0; i < 30; ++i) {
      switch (rng() % 3) {
        case 0:
          ops.push_back(Bold(rng() % 2 == 0));
          break;
        case 1:
          ops.push_back(Colour(colours[rng() % std::size(colours)]));
          break;
        default:
          ops.push_back(Text(texts[rng() % std::size(texts)]));
      }
    }
    SCOPED_TRACE("sequence " + std::to_string(sequence));
    ExpectFormattingKept(ops);
    if (HasFailure()) return;
  }
}

// ---- The checker itself: it must reject what a faulty writer would produce -------------------

TEST(RtfCheck, AcceptsWellFormedAndRejectsFaults) {
  const struct {
    const char* name;
    std::string rtf;
    bool ok;
  } cases[] = {
      {"minimal", "{\\rtf1 hello}", true},
      {"trailing_whitespace", "{\\rtf1 x}\r\n ", true},
      {"not_rtf", "{\\rtf x}", false},
      {"version_run_on", "{\\rtf12 x}", false},
      {"unclosed", "{\\rtf1 x", false},
      {"closes_early", "{\\rtf1 x}}", false},
      {"text_after_close", "{\\rtf1 x} y", false},
      {"escaped_close", "{\\rtf1 x\\}", false},
      {"backslash_at_end", "{\\rtf1 x\\", false},
      {"raw_8bit", "{\\rtf1 caf\xC3\xA9}", false},
      {"raw_tab", "{\\rtf1 a\tb}", false},
      {"word_run_into_text", "{\\rtf1 \\tabx}", false},
      {"unknown_symbol", "{\\rtf1 \\. x}", false},
      {"missing_fallback", "{\\rtf1 \\u176}", false},
      {"fallback_cut_by_word", "{\\rtf1 \\u176\\par}", false},
      {"unicode_out_of_range", "{\\rtf1 \\u40000?}", false},
      {"unpaired_high", "{\\rtf1 \\u-10178?x}", false},
      {"unpaired_low", "{\\rtf1 \\u-8560?}", false},
      {"colour_not_in_table", "{\\rtf1{\\colortbl ;\\red1\\green2\\blue3;}\\cf2 x}", false},
      {"colour_component_too_big", "{\\rtf1{\\colortbl ;\\red300;}}", false},
      {"colour_entry_unterminated", "{\\rtf1{\\colortbl ;\\red3}}", false},
      {"font_not_in_table", "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f1 x}", false},
      {"font_unterminated", "{\\rtf1{\\fonttbl{\\f0 Arial}}}", false},
      {"bad_hex", "{\\rtf1 \\'g0}", false},
      {"star_mid_group", "{\\rtf1 a\\*b}", false},
  };
  for (const auto& c : cases) {
    const RtfCheck check = CheckRtf(c.rtf);
    EXPECT_EQ(check.ok, c.ok) << c.name << ": " << check.problem;
    EXPECT_EQ(check.problem.empty(), c.ok) << c.name;
  }
}

TEST(RtfCheck, ExtractsTextTablesAndRuns) {
  const RtfCheck check = CheckRtf(
      "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1 Ti\\'e9\\{;}}{\\colortbl "
      ";\\red1\\green2\\blue3;}{\\*\\generator skipped \\foo}\r\n\\f0\\fs20 a\\b\\cf1 b\\b0\\tab "
      "c\\par\n\\'e9\\'80\\u8364?\\u-10178\\'3f\\u-8560?{\\b\\f1 x}\\~y\\\r\nz}");
  ASSERT_TRUE(check.ok) << check.problem;
  EXPECT_EQ(check.text, "ab\tc\r\n\u00e9\u20ac\u20ac\U0001FA90x\u00a0y\r\nz");
  EXPECT_EQ(check.fonts, (std::map<int, std::string>{{0, "Arial"}, {1, "Ti\u00e9{"}}));
  ASSERT_EQ(check.colours.size(), 2u);
  EXPECT_EQ(check.colours[1], (rtfcheck::RtfColour{1, 2, 3}));
  ASSERT_EQ(check.runs.size(), 5u);
  EXPECT_EQ(check.runs[0].text, "a");
  EXPECT_TRUE(check.runs[1].bold);
  EXPECT_EQ(check.runs[1].colour, 1);
  EXPECT_EQ(check.runs[2].text, "\tc\r\n\u00e9\u20ac\u20ac\U0001FA90");
  EXPECT_EQ(check.runs[3].font, 1);
  EXPECT_TRUE(check.runs[3].bold);
  EXPECT_FALSE(check.runs[4].bold) << "group end restores the format";
}

// ---- Real readers ----------------------------------------------------------------------------

std::string FindProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path ? path : "/usr/bin:/bin");
  for (std::string dir; std::getline(dirs, dir, ':');) {
    const std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return "";
}

// A fresh directory, removed with everything in it at the end of the test.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "solvane_rtf_XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
  }
  ~TempDir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

void WriteFile(const std::filesystem::path& file, const std::string& contents) {
  std::ofstream(file, std::ios::binary) << contents;
}

std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string RunCommand(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
      out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

std::string Replace(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  std::size_t start = 0;
  for (std::size_t at = text.find(from); at != std::string_view::npos;
       at = text.find(from, start)) {
    out.append(text.substr(start, at - start));
    out.append(to);
    start = at + from.size();
  }
  out.append(text.substr(start));
  return out;
}

// The report's kind of content: headings in colour and bold, escapes, Unicode, empty paragraphs,
// and paragraphs starting with a space or digit right after a control word. No tabs: unrtf pads
// them with spaces to the next stop and then breaks the line.
void WriteSample(RichTextSink& sink) {
  sink.SetColour(kDarkRed);
  sink.SetBold(true);
  sink.Insert("First House\r\n");
  sink.SetBold(false);
  sink.SetColour(kBlack);
  sink.Insert("Sun 23\u00b014' for Jos\u00e9 N\u00fa\u00f1ez and "
              "\u0930\u093e\u092e \u0936\u0930\u094d\u092e\u093e\r\n\r\n");
  sink.SetColour(kBlue);
  sink.Insert("12 {braces} and C:\\dir\r\n  two spaces, then ");
  sink.SetBold(true);
  sink.Insert("\u6728\u661f \U0001FA90!\r\nend\r\n");
}

// unrtf 0.21 --text prints a block of "###" comment lines, a blank line and a dashed rule before
// the body. In the body it ends each paragraph with "\n", prints a run of spaces as one, and,
// having no Unicode output in text mode, prints the '?' fallback for every \u, so each UTF-16
// code unit becomes one '?'.
std::string UnrtfBody(std::string out) {
  while (out.rfind("###", 0) == 0) {
    const std::size_t line_end = out.find('\n');
    out.erase(0, line_end == std::string::npos ? out.size() : line_end + 1);
  }
  for (const char* rule : {"\n", "-----------------\n"}) {
    if (out.rfind(rule, 0) == 0) out.erase(0, std::string_view(rule).size());
  }
  return out;
}

std::string AsUnrtfText(std::string_view utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if (byte == ' ' && !out.empty() && out.back() == ' ') continue;
    if (byte < 0x80) {
      out += static_cast<char>(byte);
    } else if (byte >= 0xC0) {
      out += byte >= 0xF0 ? "??" : "?";
    }
  }
  return Replace(out, "\r\n", "\n");
}

TEST(RealReaders, UnrtfReadsTheText) {
  const std::string unrtf = FindProgram("unrtf");
  if (unrtf.empty()) GTEST_SKIP() << "unrtf is not installed";
  TempDir dir;
  ASSERT_FALSE(dir.path().empty());
  RtfWriter writer(kFont, kPoints);
  RecordingSink recording;
  WriteSample(writer);
  WriteSample(recording);
  std::string text;
  for (const RichTextPiece& piece : recording.pieces()) text += piece.text;
  const auto file = dir.path() / "sample.rtf";
  WriteFile(file, writer.Document());
  const std::string out = RunCommand(unrtf + " --text '" + file.string() + "' 2>/dev/null");
  ASSERT_FALSE(out.empty()) << "unrtf printed nothing";
  EXPECT_EQ(UnrtfBody(out), AsUnrtfText(text)) << out;
}

// LibreOffice's text export ends every paragraph, the last one included, with a line end (LF here,
// CR LF on Windows) and starts with a byte order mark; both are normalised away.
TEST(RealReaders, LibreOfficeReadsTheText) {
  const std::string soffice = FindProgram("soffice");
  if (soffice.empty()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
  TempDir dir;
  ASSERT_FALSE(dir.path().empty());
  // An accented name and a Devanagari one (with a virama joining two consonants).
  const std::string text =
      "Sun 23\u00b014' in Leo\r\nJos\u00e9 N\u00fa\u00f1ez\r\n"
      "\u0930\u093e\u092e \u0936\u0930\u094d\u092e\u093e";
  RtfWriter writer(kFont, kPoints);
  writer.SetBold(true);
  writer.SetColour(kDarkRed);
  writer.Insert(text);
  const auto file = dir.path() / "sample.rtf";
  WriteFile(file, writer.Document());
  // A profile of its own, so a running LibreOffice or a broken user profile cannot interfere.
  const std::string command =
      "timeout 300 '" + soffice + "' -env:UserInstallation=file://" + dir.path().string() +
      "/profile --headless --convert-to 'txt:Text (encoded):UTF8' --outdir '" +
      dir.path().string() + "' '" + file.string() + "' >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  std::string out = Replace(ReadFile(dir.path() / "sample.txt"), "\r\n", "\n");
  if (out.rfind("\xEF\xBB\xBF", 0) == 0) out.erase(0, 3);
  EXPECT_EQ(out, Replace(text, "\r\n", "\n") + "\n");
}

}  // namespace
}  // namespace solvane::report
