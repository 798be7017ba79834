// Rules of the birth entry form: its lists, the keystroke filters, the check before a chart and the
// copy of an accepted form into the chart state. No widgets here: the window hands over a snapshot.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/chart_state.h"
#include "core/message.h"
#include "core/result.h"
#include "entry/time_zones.h"

namespace solvane::entry {

// What the form holds at one moment: the texts of its boxes and the selected list positions
// (0-based). Member names are the controls' names.
struct BirthFormSnapshot {
  std::string txtName;
  int cboMonth = 0;  // 0 = January
  int cboDate = 0;   // 0 = day 1
  int cboYear = 0;   // 0 = 1901
  int cboHH = 0;     // hour 0..23
  int cboMM = 0;     // minute 0..59
  int cboSS = 0;     // seconds: shown, never read
  int cmbTimeZone = kDefaultTimeZone;
  // The zone when cmbTimeZone is the entry after the 71 zones ("Other offset…"): seconds east of
  // Greenwich, what is added to universal time to get the local standard time; the form takes
  // -18 h to +18 h.
  int otherOffsetSecondsEast = 0;
  bool chkDST = false;
  std::string txtLonD, txtLonM;
  bool optLongEast = true;  // option "East" (index 0) rather than "West"
  std::string txtLatD, txtLatM;
  bool optLatSouth = false;  // option "South" (index 1) rather than "North"
  std::string txtMCity, txtMState, txtMCountry;
};

// The lists as the form fills them at load, and the first year offered.
inline constexpr std::array<std::string_view, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
inline constexpr int kFirstYear = 1901;
inline constexpr int kLastYear = 2050;
std::vector<std::string> DateListTexts();    // "1".."31"
std::vector<std::string> YearListTexts();    // "1901".."2050"
std::vector<std::string> HourListTexts();    // "0".."23"
std::vector<std::string> MinuteListTexts();  // "0".."59" (minutes and seconds)

// Longest texts the coordinate boxes take.
inline constexpr int kLonDegMaxLength = 3;
inline constexpr int kMinutesMaxLength = 2;
inline constexpr int kLatDegMaxLength = 2;

// The verdict on one typed character: whether it goes in, as which character, and the message
// shown when it is refused.
struct KeyVerdict {
  bool accepted;
  char32_t character;
  std::optional<core::Message> refusal;
};
inline constexpr char32_t kBackspace = 8;
inline constexpr char32_t kEnter = 13;

// Coordinate boxes take digits and Backspace only.
KeyVerdict FilterCoordinateKey(char32_t typed);

// A name is written in letters of any of the scripts people are named in (Latin, Greek, Cyrillic,
// the scripts of India, Arabic, Hebrew, Thai, CJK, Hangul and others), with their combining marks,
// and blanks, hyphens, apostrophes (' and U+2019) and full stops between them: JOSÉ, O'BRIEN,
// MARY-ANN, J. R. R., राम. The joiners U+200C and U+200D that Indic spellings need
// count as marks.
bool IsNameCharacter(char32_t c);
// Letters and combining marks of those scripts, without the punctuation: a name needs one.
bool IsNameLetter(char32_t c);

// The name box takes the characters of a name, Enter and Backspace. ASCII lower case becomes
// upper case; the window capitalises the letters of other scripts that have case.
KeyVerdict FilterNameKey(char32_t typed);

// A refused form: what to tell the user and which control gets the focus ("" leaves it).
struct Refusal {
  core::Message message;
  std::string focus;
  friend bool operator==(const Refusal&, const Refusal&) = default;
};

// A check's answer: nothing when it passes, otherwise the refusal the form shows.
using Verdict = core::Result<void, Refusal>;

// The check of a whole name, typed or pasted: passes when `utf8` is well-formed UTF-8 made of
// name characters with at least one letter.
Verdict CheckName(std::string_view utf8);

// The first failing check; passes when the form may be charted.
Verdict ValidateBirthForm(const BirthFormSnapshot& form);

// Copies an accepted form into `state`: the name, the zone offset (`Zone_Calculation`, or the
// exact offset of "Other offset…" to the second), then the remaining birth fields. Call only
// after `ValidateBirthForm` accepted `form`.
void FillBirthData(const BirthFormSnapshot& form, core::ChartState& state);

// Whole number of a box's text: blanks at both ends ignored, digits only, or nothing.
std::optional<int> WholeNumber(std::string_view text);

}  // namespace solvane::entry
