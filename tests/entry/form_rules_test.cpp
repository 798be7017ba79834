#include "entry/form_rules.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "test_births.h"

namespace solvane::entry {
namespace {

using core::MessageIcon;

constexpr const char* kBadDate = "Please Enter Correct Date Or Month!";
constexpr const char* kBadDate30 = "Please Enter Correct Date Or Month !";

BirthFormSnapshot FormOn(int year, int month, int day) {
  BirthFormSnapshot f = testing::LondonForm();
  f.cboYear = year - kFirstYear;
  f.cboMonth = month - 1;
  f.cboDate = day - 1;
  return f;
}

TEST(Lists, ContentsAndFirstSelections) {
  EXPECT_EQ(kMonthNames.front(), "January");
  EXPECT_EQ(kMonthNames.back(), "December");
  const auto days = DateListTexts();
  const auto years = YearListTexts();
  ASSERT_EQ(days.size(), 31u);
  ASSERT_EQ(years.size(), 150u);
  EXPECT_EQ(days.front(), "1");
  EXPECT_EQ(years.front(), "1901");
  EXPECT_EQ(years.back(), "2050");
  EXPECT_EQ(HourListTexts().size(), 24u);
  EXPECT_EQ(MinuteListTexts().back(), "59");
  EXPECT_EQ(MinuteListTexts()[5], "5");  // no leading zeros
  const BirthFormSnapshot fresh;
  EXPECT_EQ(fresh.cmbTimeZone, 29);
  EXPECT_TRUE(fresh.optLongEast);
  EXPECT_FALSE(fresh.optLatSouth);
  EXPECT_FALSE(fresh.chkDST);
}

TEST(ValidateBirthForm, Dates) {
  struct Case {
    int year, month, day;
    const char* refusal;
  };
  const Case cases[] = {
      {2000, 2, 29, nullptr},     {1904, 2, 29, nullptr},    {2001, 2, 29, kBadDate},
      {2000, 2, 30, kBadDate},    {2000, 2, 31, kBadDate},   {2001, 2, 28, nullptr},
      {2000, 4, 31, kBadDate30},  {2000, 6, 31, kBadDate30}, {2000, 9, 31, kBadDate30},
      {2000, 11, 31, kBadDate30}, {2000, 3, 31, nullptr},    {2000, 4, 30, nullptr},
      {2050, 12, 31, nullptr},    {1901, 1, 1, nullptr},
  };
  for (const Case& c : cases) {
    const auto refusal = testing::RefusalOf(ValidateBirthForm(FormOn(c.year, c.month, c.day)));
    const std::string where =
        std::to_string(c.year) + "-" + std::to_string(c.month) + "-" + std::to_string(c.day);
    if (!c.refusal) {
      EXPECT_FALSE(refusal) << where << ": " << refusal->message.text;
      continue;
    }
    ASSERT_TRUE(refusal) << where;
    EXPECT_EQ(refusal->message.text, c.refusal) << where;
    EXPECT_EQ(refusal->message.icon, MessageIcon::kInformation) << where;
    EXPECT_EQ(refusal->focus, "") << where;
  }
}

TEST(ValidateBirthForm, BoxesInOrderFirstFailureWins) {
  struct Case {
    const char* what;
    void (*edit)(BirthFormSnapshot&);
    const char* message;
    const char* focus;
  };
  const Case cases[] = {
      {"empty name", [](BirthFormSnapshot& f) { f.txtName = ""; }, "Please Enter Name", "txtName"},
      {"blank name", [](BirthFormSnapshot& f) { f.txtName = "   "; }, "Please Enter Name",
       "txtName"},
      {"name and longitude wrong",
       [](BirthFormSnapshot& f) {
         f.txtName = "";
         f.txtLonD = "999";
       },
       "Please Enter Name", "txtName"},
      {"longitude 180", [](BirthFormSnapshot& f) { f.txtLonD = "180"; },
       "Please Enter Value Between 0 And 179 in the Degree of Longitude", "txtLonD"},
      {"longitude 999", [](BirthFormSnapshot& f) { f.txtLonD = "999"; },
       "Please Enter Value Between 0 And 179 in the Degree of Longitude", "txtLonD"},
      {"longitude empty", [](BirthFormSnapshot& f) { f.txtLonD = " "; },
       "Please Enter Value Between 0 And 179 in the Degree of Longitude", "txtLonD"},
      {"pasted -5", [](BirthFormSnapshot& f) { f.txtLonD = "-5"; },
       "Please Enter Value Between 0 And 179 in the Degree of Longitude", "txtLonD"},
      {"pasted text", [](BirthFormSnapshot& f) { f.txtLonM = "ab"; },
       "Please Enter Value Between 0 And 59 in the  Minute of Longitude", "txtLonM"},
      {"longitude minutes 60", [](BirthFormSnapshot& f) { f.txtLonM = "60"; },
       "Please Enter Value Between 0 And 59 in the  Minute of Longitude", "txtLonM"},
      {"latitude 90", [](BirthFormSnapshot& f) { f.txtLatD = "90"; },
       "Please Enter Value Between 0 And 89 in the Degree of Latitude", "txtLatD"},
      {"pasted decimal", [](BirthFormSnapshot& f) { f.txtLatD = "4.5"; },
       "Please Enter Value Between 0 And 89 in the Degree of Latitude", "txtLatD"},
      {"latitude minutes empty", [](BirthFormSnapshot& f) { f.txtLatM = ""; },
       "Please Enter Value Between 0 And 59 in the  Minute of Latitude", "txtLatM"},
      {"boxes before the date",
       [](BirthFormSnapshot& f) {
         f.txtLatM = "";
         f.cboMonth = 1;
         f.cboDate = 30;
       },
       "Please Enter Value Between 0 And 59 in the  Minute of Latitude", "txtLatM"},
      {"huge pasted number", [](BirthFormSnapshot& f) { f.txtLatM = "99999999999999999999"; },
       "Please Enter Value Between 0 And 59 in the  Minute of Latitude", "txtLatM"},
  };
  for (const Case& c : cases) {
    BirthFormSnapshot form = testing::LondonForm();
    c.edit(form);
    const auto refusal = testing::RefusalOf(ValidateBirthForm(form));
    ASSERT_TRUE(refusal) << c.what;
    EXPECT_EQ(refusal->message.text, c.message) << c.what;
    EXPECT_EQ(refusal->message.icon, MessageIcon::kError) << c.what;
    EXPECT_EQ(refusal->focus, c.focus) << c.what;
  }
}

TEST(ValidateBirthForm, AcceptsRangeEndsAndIgnoresUnexaminedFields) {
  BirthFormSnapshot f = testing::LondonForm();
  f.txtLonD = "179";
  f.txtLonM = " 59 ";  // blanks at both ends are ignored
  f.txtLatD = "89";
  f.txtLatM = "0";
  f.txtMCity = "";
  f.optLongEast = false;
  f.chkDST = true;
  EXPECT_TRUE(ValidateBirthForm(f));
}

TEST(ValidateBirthForm, ListPositionsOutsideTheirLists) {
  for (auto edit :
       {+[](BirthFormSnapshot& f) { f.cboMonth = 12; },
        +[](BirthFormSnapshot& f) { f.cboDate = -1; },
        +[](BirthFormSnapshot& f) { f.cboYear = 150; }, +[](BirthFormSnapshot& f) { f.cboHH = 24; },
        // 71 is "Other offset…", after the listed zones; nothing lies beyond it.
        +[](BirthFormSnapshot& f) { f.cmbTimeZone = 72; }}) {
    BirthFormSnapshot f = testing::LondonForm();
    edit(f);
    EXPECT_FALSE(ValidateBirthForm(f));
  }
}

TEST(KeystrokeFilters, CoordinateBoxes) {
  for (char32_t c : {U'0', U'5', U'9', kBackspace}) {
    const KeyVerdict v = FilterCoordinateKey(c);
    EXPECT_TRUE(v.accepted) << static_cast<int>(c);
    EXPECT_EQ(v.character, c);
    EXPECT_FALSE(v.refusal);
  }
  for (char32_t c : {U' ', U'-', U'.', kEnter, U'a', U'\u00B0', U'\u0661'}) {
    const KeyVerdict v = FilterCoordinateKey(c);
    EXPECT_FALSE(v.accepted) << static_cast<int>(c);
    ASSERT_TRUE(v.refusal);
    EXPECT_EQ(v.refusal->text, "Only Numbers Are Accepted");
    EXPECT_EQ(v.refusal->icon, MessageIcon::kError);
  }
}

TEST(KeystrokeFilters, NameBox) {
  struct Case {
    char32_t typed;
    bool accepted;
    char32_t stored;  // other scripts' capitals are the window's business
  };
  const Case cases[] = {
      {U'a', true, U'A'},
      {U'z', true, U'Z'},
      {U'Q', true, U'Q'},
      {U' ', true, U' '},
      {kEnter, true, kEnter},
      {kBackspace, true, kBackspace},
      {U'-', true, U'-'},                    // MARY-ANN
      {U'\'', true, U'\''},                  // O'BRIEN
      {U'\u2019', true, U'\u2019'},          // O’BRIEN as phones and word processors type it
      {U'.', true, U'.'},                    // J. R. R.
      {U'\u00E9', true, U'\u00E9'},          // é, Latin-1
      {U'\u0151', true, U'\u0151'},          // ő, Latin Extended-A (Hungarian)
      {U'\u0301', true, U'\u0301'},          // combining acute accent
      {U'\u0915', true, U'\u0915'},          // Devanagari KA
      {U'\u094D', true, U'\u094D'},          // Devanagari virama, a mark
      {U'\u200D', true, U'\u200D'},          // zero-width joiner of Indic spellings
      {U'\u0BA4', true, U'\u0BA4'},          // Tamil TA
      {U'\u4E00', true, U'\u4E00'},          // CJK ideograph
      {U'\U00020000', true, U'\U00020000'},  // CJK extension B, beyond 16 bits
      {U'1', false, 0},
      {U'@', false, 0},
      {U'_', false, 0},
      {U'\t', false, 0},
      {U'\u00D7', false, 0},      // multiplication sign, inside the Latin-1 letters
      {U'\u00A0', false, 0},      // no-break space: not the blank
      {U'\u0966', false, 0},      // Devanagari digit zero
      {U'\u0964', false, 0},      // Devanagari danda, punctuation
      {U'\u0661', false, 0},      // Arabic-Indic digit one
      {U'\u037E', false, 0},      // Greek question mark amid the Greek letters
      {U'\U0001F600', false, 0},  // emoji
  };
  for (const Case& c : cases) {
    const KeyVerdict v = FilterNameKey(c.typed);
    EXPECT_EQ(v.accepted, c.accepted) << std::hex << static_cast<unsigned>(c.typed);
    if (c.accepted) {
      EXPECT_EQ(v.character, c.stored) << std::hex << static_cast<unsigned>(c.typed);
    } else {
      ASSERT_TRUE(v.refusal);
      EXPECT_EQ(v.refusal->text, "Please Enter only Letters");
      EXPECT_EQ(v.refusal->icon, MessageIcon::kInformation);
    }
  }
}

// Whole names as typed or pasted into the form, or given on the command line: the same rule.
TEST(ValidateBirthForm, NamesOfEveryScript) {
  constexpr const char* kOnlyLetters = "Please Enter only Letters";
  constexpr const char* kNoName = "Please Enter Name";
  struct Case {
    const char* what;
    std::string name;
    const char* refusal;  // nullptr: accepted
  };
  const Case cases[] = {
      {"accented Latin", "JOSÉ ZOË", nullptr},
      {"decomposed accent", "JOSE\u0301", nullptr},
      {"apostrophe and hyphen", "O'BRIEN MARY-ANN", nullptr},
      {"typographic apostrophe", "O\u2019BRIEN", nullptr},
      {"initials", "J. R. R. TOLKIEN", nullptr},
      {"lower case pasted", "Zoë Smith", nullptr},
      {"Polish, Turkish, Vietnamese", "ŁUKASZ ŞEYMA NGUYỄN", nullptr},
      {"Greek", "ΑΛΈΞΗΣ", nullptr},
      {"Cyrillic", "ЮЛИЯ", nullptr},
      {"Devanagari", "राम कुमार", nullptr},
      {"Bengali", "রবীন্দ্রনাথ", nullptr},
      {"Gurmukhi", "ਹਰਪ੍ਰੀਤ", nullptr},
      {"Gujarati", "ગાંધી", nullptr},
      {"Oriya", "ଓଡ଼ିଆ", nullptr},
      {"Tamil", "முருகன்", nullptr},
      {"Telugu", "శ్రీనివాస్", nullptr},
      {"Kannada", "ಕನ್ನಡ", nullptr},
      {"Malayalam with a joiner", "ലക്ഷ്\u200Dമി", nullptr},
      {"Arabic", "محمد", nullptr},
      {"Hebrew", "דוד", nullptr},
      {"Chinese", "王小明", nullptr},
      {"Japanese", "やまだ タロウ", nullptr},
      {"Korean", "김민준", nullptr},
      {"Thai", "สมชาย", nullptr},
      {"blanks around", "  ASHA RAO ", nullptr},
      {"digit", "ASHA 2", kOnlyLetters},
      {"path", "../x", kOnlyLetters},
      {"tab", "ASHA\tRAO", kOnlyLetters},
      {"line break", "ASHA\nRAO", kOnlyLetters},
      {"NUL", std::string("A\0B", 3), kOnlyLetters},
      {"Devanagari digit", "राम१", kOnlyLetters},
      {"Devanagari danda", "राम।", kOnlyLetters},
      {"emoji", "ASHA \U0001F600", kOnlyLetters},
      {"stray continuation byte", "A\x80", kOnlyLetters},
      {"invalid byte", "\xFF\xFE NAME", kOnlyLetters},
      {"cut-off sequence", "JOS\xC3", kOnlyLetters},
      {"overlong slash", "A\xC0\xAF", kOnlyLetters},
      {"encoded surrogate", "A\xED\xA0\x80", kOnlyLetters},
      {"beyond U+10FFFF", "A\xF4\x90\x80\x80", kOnlyLetters},
      {"punctuation only", "'-.", kNoName},
      {"blanks only", "   ", kNoName},
  };
  for (const Case& c : cases) {
    BirthFormSnapshot form = testing::LondonForm();
    form.txtName = c.name;
    form.txtLonD = "999";  // the name is checked first
    const auto refusal = testing::RefusalOf(ValidateBirthForm(form));
    ASSERT_TRUE(refusal) << c.what;
    if (!c.refusal) {
      EXPECT_EQ(refusal->focus, "txtLonD") << c.what << ": " << refusal->message.text;
      continue;
    }
    EXPECT_EQ(refusal->message.text, c.refusal) << c.what;
    EXPECT_EQ(refusal->focus, "txtName") << c.what;
    // The same message and icon as a refused keystroke in the name box.
    if (c.refusal == kOnlyLetters) {
      EXPECT_EQ(refusal->message.icon, MessageIcon::kInformation) << c.what;
    }
  }
}

TEST(FillBirthData, FieldsFromTheForm) {
  BirthFormSnapshot f = testing::LondonForm();
  f.txtName = "  ASHA RAO ";
  f.cboMonth = 7;
  f.cboDate = 14;
  f.cboYear = 1980 - kFirstYear;
  f.cboHH = 6;
  f.cboMM = 30;
  f.cboSS = 45;
  f.cmbTimeZone = 34;
  f.txtLonD = "077";
  f.txtLonM = "13";
  f.optLongEast = false;
  f.txtLatD = "28";
  f.txtLatM = " 36";
  f.optLatSouth = true;
  f.chkDST = true;
  core::ChartState s;
  FillBirthData(f, s);
  const core::BirthData want{
      "  ASHA RAO ", 8,           15,         1980, 6, 30, 5, 30, 77, 13, 28, 36,
      core::kFalse,  core::kTrue, core::kTrue};
  EXPECT_EQ(s.birth, want);
  EXPECT_EQ(s.ZoneHours, -5);
  EXPECT_EQ(s.ZoneMinutes, -30);

  // The same zone magnitude on the other side of UT: same magnitudes, opposite signs.
  f.cmbTimeZone = 32;  // Hawaiian Standard Time, -10.5
  core::ChartState t;
  FillBirthData(f, t);
  EXPECT_EQ(t.birth.ZoneHoursAbs, 10);
  EXPECT_EQ(t.birth.ZoneMinutesAbs, 30);
  EXPECT_EQ(t.ZoneHours, 10);
}

// The exact offset of "Other offset…": the form takes -18 h to +18 h, so that a slip of the
// finger (180 hours for 18) is refused rather than charted.
TEST(ValidateBirthForm, OtherOffsetWithinEighteenHours) {
  const struct {
    int offset_s;
    bool accepted;
  } cases[] = {
      {0, true},
      {1172, true},  // Amsterdam's UT+0:19:32 of 1930
      {18 * 3600, true},
      {-18 * 3600, true},  // the ends of the range
      {18 * 3600 + 1, false},
      {-18 * 3600 - 1, false},
      {180 * 3600, false},
  };
  for (const auto& c : cases) {
    BirthFormSnapshot f = testing::LondonForm();
    f.cmbTimeZone = kTimeZoneCount;
    f.otherOffsetSecondsEast = c.offset_s;
    const std::optional<Refusal> refusal = testing::RefusalOf(ValidateBirthForm(f));
    EXPECT_EQ(!refusal, c.accepted) << c.offset_s;
    if (refusal) {
      EXPECT_NE(refusal->message.text.find("18:00"), std::string::npos);
    }
  }
}

// The chart state keeps minus the offset, every part with the same sign; a listed zone after an
// exact one leaves no seconds behind.
TEST(FillBirthData, OtherOffsetToTheSecond) {
  const struct {
    int offset_s;
    int hours, minutes, seconds;
  } cases[] = {
      {1172, 0, -19, -32},                    // Amsterdam 1930, UT+0:19:32
      {19270, -5, -21, -10},                  // UT+5:21:10
      {-12600, 3, 30, 0},                     // Newfoundland, UT-3:30
      {-(4 * 3600 + 56 * 60 + 2), 4, 56, 2},  // New York's mean time, UT-4:56:02
  };
  for (const auto& c : cases) {
    BirthFormSnapshot f = testing::LondonForm();
    f.cmbTimeZone = kTimeZoneCount;
    f.otherOffsetSecondsEast = c.offset_s;
    core::ChartState s;
    FillBirthData(f, s);
    EXPECT_EQ(s.ZoneHours, c.hours) << c.offset_s;
    EXPECT_EQ(s.ZoneMinutes, c.minutes) << c.offset_s;
    EXPECT_EQ(s.ZoneSeconds, c.seconds) << c.offset_s;
    EXPECT_EQ(s.birth.ZoneHoursAbs, std::abs(c.hours)) << c.offset_s;
    EXPECT_EQ(s.birth.ZoneMinutesAbs, std::abs(c.minutes)) << c.offset_s;

    f.cmbTimeZone = 34;  // Indian Time, on the same state
    FillBirthData(f, s);
    EXPECT_EQ(s.ZoneSeconds, 0);
    EXPECT_EQ(s.ZoneMinutes, -30);
  }
}

}  // namespace
}  // namespace solvane::entry
