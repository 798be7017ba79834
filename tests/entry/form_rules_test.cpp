#include "entry/form_rules.h"

#include <gtest/gtest.h>

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
    const auto refusal = ValidateBirthForm(FormOn(c.year, c.month, c.day));
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
    const auto refusal = ValidateBirthForm(form);
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
  EXPECT_FALSE(ValidateBirthForm(f));
}

TEST(ValidateBirthForm, ListPositionsOutsideTheirLists) {
  for (auto edit :
       {+[](BirthFormSnapshot& f) { f.cboMonth = 12; },
        +[](BirthFormSnapshot& f) { f.cboDate = -1; },
        +[](BirthFormSnapshot& f) { f.cboYear = 150; }, +[](BirthFormSnapshot& f) { f.cboHH = 24; },
        +[](BirthFormSnapshot& f) { f.cmbTimeZone = 71; }}) {
    BirthFormSnapshot f = testing::LondonForm();
    edit(f);
    EXPECT_TRUE(ValidateBirthForm(f));
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
    char32_t stored;
  };
  const Case cases[] = {
      {U'a', true, U'A'},    {U'z', true, U'Z'},     {U'Q', true, U'Q'},
      {U' ', true, U' '},    {kEnter, true, kEnter}, {kBackspace, true, kBackspace},
      {U'-', false, 0},      {U'1', false, 0},       {U'\'', false, 0},
      {U'\u00E9', false, 0}, {U'@', false, 0},       {U'[', false, 0},
      {U'`', false, 0},      {U'{', false, 0},
  };
  for (const Case& c : cases) {
    const KeyVerdict v = FilterNameKey(c.typed);
    EXPECT_EQ(v.accepted, c.accepted) << static_cast<int>(c.typed);
    if (c.accepted) {
      EXPECT_EQ(v.character, c.stored);
    } else {
      ASSERT_TRUE(v.refusal);
      EXPECT_EQ(v.refusal->text, "Please Enter only Letters");
      EXPECT_EQ(v.refusal->icon, MessageIcon::kInformation);
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

}  // namespace
}  // namespace solvane::entry
