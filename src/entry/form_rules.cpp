#include "entry/form_rules.h"

#include <algorithm>

#include "core/text.h"
#include "core/utf8.h"

namespace solvane::entry {
namespace {

using core::MessageIcon;
using core::NextCodePoint;
using core::TrimBlanks;

constexpr const char* kOnlyLetters = "Please Enter only Letters";
// The widest exact offset the form takes, seconds either side of UT: beyond any zone ever kept,
// so that a typing slip (180 for 18) is caught rather than charted.
constexpr int kMaxOtherOffset_s = 18 * 3600;

// Code points of general categories L (letters) and M (marks) in the blocks of the scripts names
// are written in, as inclusive ranges in code point order. Code points still unassigned inside a
// run of letters are bridged, which keeps the table short and lets letters added to a script
// later through. Drawn from the Unicode Character Database (14.0); ASCII letters are tested apart.
struct CodePointRange {
  char32_t first, last;
};
// clang-format off
constexpr CodePointRange kScriptLetters[] = {
    // Latin-1 letters
    {0x00C0, 0x00D6}, {0x00D8, 0x00F6}, {0x00F8, 0x00FF},
    // Latin Extended-A/B
    {0x0100, 0x024F},
    // Spacing modifier letters
    {0x02B0, 0x02C1}, {0x02C6, 0x02D1}, {0x02E0, 0x02E4}, {0x02EC, 0x02EC}, {0x02EE, 0x02EE},
    // Combining diacritical marks
    {0x0300, 0x036F},
    // Greek
    {0x0370, 0x0374}, {0x0376, 0x037D}, {0x037F, 0x037F}, {0x0386, 0x0386}, {0x0388, 0x03F5},
    {0x03F7, 0x03FF},
    // Cyrillic
    {0x0400, 0x0481}, {0x0483, 0x052F},
    // Armenian
    {0x0531, 0x0559}, {0x0560, 0x0588},
    // Hebrew
    {0x0591, 0x05BD}, {0x05BF, 0x05BF}, {0x05C1, 0x05C2}, {0x05C4, 0x05C5}, {0x05C7, 0x05F2},
    // Arabic
    {0x0610, 0x061A}, {0x0620, 0x065F}, {0x066E, 0x06D3}, {0x06D5, 0x06DC}, {0x06DF, 0x06E8},
    {0x06EA, 0x06EF}, {0x06FA, 0x06FC}, {0x06FF, 0x06FF},
    // Arabic supplement
    {0x0750, 0x077F},
    // Thaana
    {0x0780, 0x07B1},
    // Arabic extended
    {0x0870, 0x0887}, {0x0889, 0x088E}, {0x0898, 0x08E1}, {0x08E3, 0x08FF},
    // Devanagari
    {0x0900, 0x0963}, {0x0971, 0x097F},
    // Bengali
    {0x0980, 0x09E3}, {0x09F0, 0x09F1}, {0x09FC, 0x09FC}, {0x09FE, 0x09FE},
    // Gurmukhi
    {0x0A01, 0x0A5E}, {0x0A70, 0x0A75},
    // Gujarati
    {0x0A81, 0x0AE3}, {0x0AF9, 0x0AFF},
    // Oriya
    {0x0B01, 0x0B63}, {0x0B71, 0x0B71},
    // Tamil
    {0x0B82, 0x0BD7},
    // Telugu
    {0x0C00, 0x0C63},
    // Kannada
    {0x0C80, 0x0C83}, {0x0C85, 0x0CE3}, {0x0CF1, 0x0CF2},
    // Malayalam
    {0x0D00, 0x0D4E}, {0x0D54, 0x0D57}, {0x0D5F, 0x0D63}, {0x0D7A, 0x0D7F},
    // Sinhala
    {0x0D81, 0x0DDF}, {0x0DF2, 0x0DF3},
    // Thai
    {0x0E01, 0x0E3A}, {0x0E40, 0x0E4E},
    // Lao
    {0x0E81, 0x0ECD}, {0x0EDC, 0x0EDF},
    // Tibetan
    {0x0F00, 0x0F00}, {0x0F18, 0x0F19}, {0x0F35, 0x0F35}, {0x0F37, 0x0F37}, {0x0F39, 0x0F39},
    {0x0F3E, 0x0F84}, {0x0F86, 0x0FBC}, {0x0FC6, 0x0FC6},
    // Myanmar
    {0x1000, 0x103F}, {0x1050, 0x108F}, {0x109A, 0x109D},
    // Georgian
    {0x10A0, 0x10FA}, {0x10FC, 0x10FF},
    // Hangul jamo
    {0x1100, 0x11FF},
    // Ethiopic
    {0x1200, 0x135F}, {0x1380, 0x138F},
    // Khmer
    {0x1780, 0x17D3}, {0x17D7, 0x17D7}, {0x17DC, 0x17DD},
    // Combining marks extended
    {0x1AB0, 0x1ACE},
    // Cyrillic extended-C
    {0x1C80, 0x1C88},
    // Georgian extended
    {0x1C90, 0x1CBF},
    // Vedic extensions
    {0x1CD0, 0x1CD2}, {0x1CD4, 0x1CFA},
    // Combining marks supplement
    {0x1DC0, 0x1DFF},
    // Latin extended additional
    {0x1E00, 0x1EFF},
    // Greek extended
    {0x1F00, 0x1FBC}, {0x1FBE, 0x1FBE}, {0x1FC2, 0x1FCC}, {0x1FD0, 0x1FDB}, {0x1FE0, 0x1FEC},
    {0x1FF2, 0x1FFC},
    // Latin extended-C
    {0x2C60, 0x2C7F},
    // Cyrillic extended-A
    {0x2DE0, 0x2DFF},
    // Hiragana
    {0x3041, 0x309A}, {0x309D, 0x309F},
    // Katakana
    {0x30A1, 0x30FA}, {0x30FC, 0x30FF},
    // Bopomofo
    {0x3105, 0x312F},
    // Hangul compatibility jamo
    {0x3131, 0x318E},
    // Katakana phonetic extensions
    {0x31F0, 0x31FF},
    // CJK extension A
    {0x3400, 0x4DBF},
    // CJK unified ideographs
    {0x4E00, 0x9FFF},
    // Cyrillic extended-B
    {0xA640, 0xA672}, {0xA674, 0xA67D}, {0xA67F, 0xA69F},
    // Latin extended-D
    {0xA722, 0xA788}, {0xA78B, 0xA7FF},
    // Devanagari extended
    {0xA8E0, 0xA8F7}, {0xA8FB, 0xA8FB}, {0xA8FD, 0xA8FF},
    // Latin extended-E
    {0xAB30, 0xAB5A}, {0xAB5C, 0xAB69},
    // Hangul syllables
    {0xAC00, 0xD7A3},
    // CJK compatibility ideographs
    {0xF900, 0xFAD9},
    // Hebrew presentation forms
    {0xFB1D, 0xFB28}, {0xFB2A, 0xFB4F},
    // Arabic presentation forms-A
    {0xFB50, 0xFBB1}, {0xFBD3, 0xFD3D}, {0xFD50, 0xFDC7}, {0xFDF0, 0xFDFB},
    // Combining half marks
    {0xFE20, 0xFE2F},
    // Arabic presentation forms-B
    {0xFE70, 0xFEFC},
    // Halfwidth katakana and hangul
    {0xFF66, 0xFFDC},
    // CJK extensions B-F
    {0x20000, 0x2EBE0},
    // CJK compatibility supplement
    {0x2F800, 0x2FA1D},
    // CJK extension G
    {0x30000, 0x3134A},
};
// clang-format on

constexpr char32_t kZeroWidthNonJoiner = 0x200C, kZeroWidthJoiner = 0x200D;
constexpr char32_t kRightSingleQuotationMark = 0x2019;  // the apostrophe as keyboards often type it

std::vector<std::string> NumberTexts(int first, int last) {
  std::vector<std::string> out;
  out.reserve(static_cast<std::size_t>(last - first + 1));
  for (int i = first; i <= last; ++i) out.push_back(std::to_string(i));
  return out;
}

// A box whose text is empty, not a whole number, or outside 0..max.
bool OutOfRange(std::string_view text, int max) {
  const std::optional<int> n = WholeNumber(text);
  return !n || *n > max;
}

bool InRange(int position, int count) { return position >= 0 && position < count; }

core::Unexpected<Refusal> Error(std::string text, std::string focus) {
  return {Refusal{{std::move(text), MessageIcon::kError}, std::move(focus)}};
}

core::Unexpected<Refusal> Information(std::string text) {
  return {Refusal{{std::move(text), MessageIcon::kInformation}, ""}};
}

}  // namespace

std::vector<std::string> DateListTexts() { return NumberTexts(1, 31); }
std::vector<std::string> YearListTexts() { return NumberTexts(kFirstYear, kLastYear); }
std::vector<std::string> HourListTexts() { return NumberTexts(0, 23); }
std::vector<std::string> MinuteListTexts() { return NumberTexts(0, 59); }

KeyVerdict FilterCoordinateKey(char32_t typed) {
  if ((typed >= U'0' && typed <= U'9') || typed == kBackspace) return {true, typed, std::nullopt};
  return {false, typed, core::Message{"Only Numbers Are Accepted", MessageIcon::kError}};
}

bool IsNameLetter(char32_t c) {
  if ((c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z')) return true;
  const auto after =
      std::upper_bound(std::begin(kScriptLetters), std::end(kScriptLetters), c,
                       [](char32_t v, const CodePointRange& r) { return v < r.first; });
  return after != std::begin(kScriptLetters) && c <= std::prev(after)->last;
}

bool IsNameCharacter(char32_t c) {
  return IsNameLetter(c) || c == U' ' || c == U'-' || c == U'\'' || c == U'.' ||
         c == kRightSingleQuotationMark || c == kZeroWidthNonJoiner || c == kZeroWidthJoiner;
}

KeyVerdict FilterNameKey(char32_t typed) {
  if (IsNameCharacter(typed) || typed == kEnter || typed == kBackspace) {
    const bool lower = typed >= U'a' && typed <= U'z';
    return {true, lower ? typed - 32 : typed, std::nullopt};
  }
  return {false, typed, core::Message{kOnlyLetters, MessageIcon::kInformation}};
}

Verdict CheckName(std::string_view utf8) {
  if (TrimBlanks(utf8).empty()) return Error("Please Enter Name", "txtName");
  bool letter = false;
  for (std::size_t i = 0; i < utf8.size();) {
    const std::optional<char32_t> c = NextCodePoint(utf8, i);
    if (!c || !IsNameCharacter(*c))
      return core::Unexpected{Refusal{{kOnlyLetters, MessageIcon::kInformation}, "txtName"}};
    letter = letter || IsNameLetter(*c);
  }
  // Only hyphens, apostrophes and full stops: no name was given.
  if (!letter) return Error("Please Enter Name", "txtName");
  return {};
}

std::optional<int> WholeNumber(std::string_view text) {
  text = TrimBlanks(text);
  if (text.empty()) return std::nullopt;
  long value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    // Anything past six digits is far out of every range; stop before it can overflow.
    if (value > 999999) return 1000000;
    value = value * 10 + (c - '0');
  }
  return static_cast<int>(value);
}

Verdict ValidateBirthForm(const BirthFormSnapshot& form) {
  if (Verdict name = CheckName(form.txtName); !name) return name;
  if (OutOfRange(form.txtLonD, 179))
    return Error("Please Enter Value Between 0 And 179 in the Degree of Longitude", "txtLonD");
  if (OutOfRange(form.txtLonM, 59))
    return Error("Please Enter Value Between 0 And 59 in the  Minute of Longitude", "txtLonM");
  if (OutOfRange(form.txtLatD, 89))
    return Error("Please Enter Value Between 0 And 89 in the Degree of Latitude", "txtLatD");
  if (OutOfRange(form.txtLatM, 59))
    return Error("Please Enter Value Between 0 And 59 in the  Minute of Latitude", "txtLatM");

  // The lists always have a selection in the window; a snapshot from elsewhere may not.
  if (!InRange(form.cboMonth, 12) || !InRange(form.cboDate, 31) ||
      !InRange(form.cboYear, kLastYear - kFirstYear + 1))
    return Information("Please Enter Correct Date Or Month!");
  const int month = form.cboMonth + 1;
  const int day = form.cboDate + 1;
  const int year = kFirstYear + form.cboYear;
  // Every fourth year is a leap year: exact for 1901..2050.
  if (month == 2 && day > (year % 4 == 0 ? 29 : 28))
    return Information("Please Enter Correct Date Or Month!");
  if ((month == 4 || month == 6 || month == 9 || month == 11) && day == 31)
    return Information("Please Enter Correct Date Or Month !");

  if (!InRange(form.cboHH, 24) || !InRange(form.cboMM, 60) ||
      !InRange(form.cmbTimeZone, kTimeZoneCount + 1))
    return Information("Please choose the time of birth and the time zone from their lists.");
  if (form.cmbTimeZone == zones::kOtherOffsetIndex &&
      (form.otherOffsetSecondsEast < -kMaxOtherOffset_s ||
       form.otherOffsetSecondsEast > kMaxOtherOffset_s))
    return Information("Please enter an offset from UT between -18:00:00 and +18:00:00.");
  return {};
}

void FillBirthData(const BirthFormSnapshot& form, core::ChartState& state) {
  core::BirthData& b = state.birth;
  b.Name = form.txtName;
  if (form.cmbTimeZone == zones::kOtherOffsetIndex)
    zones::ExactOffset_Calculation(form.otherOffsetSecondsEast, state);
  else
    Zone_Calculation(form.cmbTimeZone, state);
  b.Month = static_cast<std::int16_t>(form.cboMonth + 1);
  b.Day = static_cast<std::int16_t>(form.cboDate + 1);
  b.Year = static_cast<std::int16_t>(kFirstYear + form.cboYear);
  b.Hour = static_cast<std::int16_t>(form.cboHH);
  b.Minute = static_cast<std::int16_t>(form.cboMM);
  b.ZoneHoursAbs =
      static_cast<std::int16_t>(state.ZoneHours < 0 ? -state.ZoneHours : state.ZoneHours);
  b.ZoneMinutesAbs =
      static_cast<std::int16_t>(state.ZoneMinutes < 0 ? -state.ZoneMinutes : state.ZoneMinutes);
  // A text that is not a whole number keeps the field's earlier value.
  const auto set = [](std::int16_t& field, std::string_view text) {
    if (const std::optional<int> n = WholeNumber(text); n && *n <= 32767)
      field = static_cast<std::int16_t>(*n);
  };
  set(b.LongitudeDeg, form.txtLonD);
  set(b.LongitudeMin, form.txtLonM);
  set(b.LatitudeDeg, form.txtLatD);
  set(b.LatitudeMin, form.txtLatM);
  b.East = form.optLongEast ? core::kTrue : core::kFalse;
  b.South = form.optLatSouth ? core::kTrue : core::kFalse;
  b.DaylightSaving = form.chkDST ? core::kTrue : core::kFalse;
}

}  // namespace solvane::entry
