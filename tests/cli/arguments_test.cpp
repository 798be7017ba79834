#include "cli/arguments.h"

#include <gtest/gtest.h>

namespace solvane::cli {
namespace {

using entry::BirthFormSnapshot;

TEST(ApplyField, AcceptedValuesReachTheForm) {
  struct Case {
    const char* field;
    const char* value;
    bool (*check)(const BirthFormSnapshot&);
  };
  const Case cases[] = {
      {"date", "1980-08-15",
       [](const BirthFormSnapshot& f) {
         return f.cboYear == 79 && f.cboMonth == 7 && f.cboDate == 14;
       }},
      {"date", "1901-1-1",
       [](const BirthFormSnapshot& f) {
         return f.cboYear == 0 && f.cboMonth == 0 && f.cboDate == 0;
       }},
      {"date", "2050-12-31",
       [](const BirthFormSnapshot& f) { return f.cboYear == 149 && f.cboDate == 30; }},
      {"date", "2001-02-30",
       [](const BirthFormSnapshot& f) {
         return f.cboMonth == 1 && f.cboDate == 29;
       }},  // the form refuses it later
      {"time", "06:30", [](const BirthFormSnapshot& f) { return f.cboHH == 6 && f.cboMM == 30; }},
      {"time", "6:05:59",
       [](const BirthFormSnapshot& f) { return f.cboHH == 6 && f.cboMM == 5 && f.cboSS == 59; }},
      {"time", "23:59", [](const BirthFormSnapshot& f) { return f.cboHH == 23 && f.cboMM == 59; }},
      {"zone", "34", [](const BirthFormSnapshot& f) { return f.cmbTimeZone == 34; }},
      {"zone", "0", [](const BirthFormSnapshot& f) { return f.cmbTimeZone == 0; }},
      {"zone", "070", [](const BirthFormSnapshot& f) { return f.cmbTimeZone == 70; }},
      {"zone", "0000", [](const BirthFormSnapshot& f) { return f.cmbTimeZone == 0; }},
      {"zone", "\t007 ", [](const BirthFormSnapshot& f) { return f.cmbTimeZone == 7; }},
      {"zone", "IST", [](const BirthFormSnapshot& f) { return f.cmbTimeZone == 34; }},
      {"zone", "est", [](const BirthFormSnapshot& f) { return f.cmbTimeZone == 27; }},
      {"zone", "Indian Time, IST, +5.3",
       [](const BirthFormSnapshot& f) { return f.cmbTimeZone == 34; }},
      {"zone", "Int'l Date Line West,IDLW,-12.0",
       [](const BirthFormSnapshot& f) { return f.cmbTimeZone == 36; }},
      // Exact offsets east of Greenwich take the entry after the listed zones.
      {"zone", "+05:21:10",
       [](const BirthFormSnapshot& f) {
         return f.cmbTimeZone == 71 && f.otherOffsetSecondsEast == 19270;
       }},
      {"zone", " -03:30 ",
       [](const BirthFormSnapshot& f) {
         return f.cmbTimeZone == 71 && f.otherOffsetSecondsEast == -12600;
       }},
      {"zone", "+5",
       [](const BirthFormSnapshot& f) {
         return f.cmbTimeZone == 71 && f.otherOffsetSecondsEast == 18000;
       }},
      {"zone", "-00:19:32",
       [](const BirthFormSnapshot& f) { return f.otherOffsetSecondsEast == -1172; }},
      {"lon", "77E13",
       [](const BirthFormSnapshot& f) {
         return f.txtLonD == "77" && f.txtLonM == "13" && f.optLongEast;
       }},
      {"lon", "74w0",
       [](const BirthFormSnapshot& f) {
         return f.txtLonD == "74" && f.txtLonM == "0" && !f.optLongEast;
       }},
      {"lon", "180E0",
       [](const BirthFormSnapshot& f) { return f.txtLonD == "180"; }},  // refused by the form
      {"lat", "33S52",
       [](const BirthFormSnapshot& f) {
         return f.txtLatD == "33" && f.txtLatM == "52" && f.optLatSouth;
       }},
      {"lat", "28N36", [](const BirthFormSnapshot& f) { return !f.optLatSouth; }},
      {"dst", "yes", [](const BirthFormSnapshot& f) { return f.chkDST; }},
      {"dst", "TRUE", [](const BirthFormSnapshot& f) { return f.chkDST; }},
      {"dst", "", [](const BirthFormSnapshot& f) { return !f.chkDST; }},
      {"dst", " No\t", [](const BirthFormSnapshot& f) { return !f.chkDST; }},
      {"name", "  José ", [](const BirthFormSnapshot& f) { return f.txtName == "  José "; }},
      // Blanks and tabs alone are no name, so the form asks for one as for an empty box.
      {"name", " \t \t", [](const BirthFormSnapshot& f) { return f.txtName.empty(); }},
      {"city", " \t", [](const BirthFormSnapshot& f) { return f.txtMCity == " \t"; }},
      {"country", "India", [](const BirthFormSnapshot& f) { return f.txtMCountry == "India"; }},
  };
  for (const Case& c : cases) {
    BirthFormSnapshot form;
    form.chkDST = std::string_view(c.value).empty();  // so that "" must clear it
    EXPECT_TRUE(ApplyField(c.field, c.value, form)) << c.field << '=' << c.value;
    EXPECT_TRUE(c.check(form)) << c.field << '=' << c.value;
  }
}

TEST(ApplyField, MalformedValuesSayWhatIsWrongAndChangeNothing) {
  struct Case {
    const char* field;
    const char* value;
    const char* says;
  };
  const Case cases[] = {
      {"date", "15/08/1980", "YYYY-MM-DD"},
      {"date", "1900-12-31", "1901 to 2050"},
      {"date", "2051-01-01", "1901 to 2050"},
      {"date", "1980-13-01", "month 13"},
      {"date", "1980-01-32", "day 32"},
      {"date", "1980-01-00", "day 0"},
      {"date", "80-01-01", "YYYY-MM-DD"},
      {"date", "1980-01-01-", "YYYY-MM-DD"},
      {"date", "", "YYYY-MM-DD"},
      {"time", "24:00", "HH:MM"},
      {"time", "12:60", "HH:MM"},
      {"time", "12", "HH:MM"},
      {"time", "12:5", "HH:MM"},
      {"time", "1:2:3:4", "HH:MM"},
      {"time", "-1:00", "HH:MM"},
      {"zone", "71", "not 0 to 70"},
      {"zone", "0071", "not 0 to 70"},
      {"zone", "100", "not 0 to 70"},
      {"zone", "99999999999999999999", "not 0 to 70"},
      {"zone", "NST", "ambiguous"},
      {"zone", "XYZ", "unknown zone"},
      {"zone", "", "unknown zone"},
      {"zone", "+14:00:01", "beyond 14 hours"},
      {"zone", "+05:60", "not an offset from UT"},
      {"zone", "+5:3", "not an offset from UT"},
      {"zone", "-", "not an offset from UT"},
      {"zone", "+05:30:00:00", "not an offset from UT"},
      {"lon", "77N13", "E or W"},
      {"lon", "1000E0", "E or W"},
      {"lon", "77E", "E or W"},
      {"lon", "E13", "E or W"},
      {"lon", "77E130", "E or W"},
      {"lat", "100N0", "N or S"},
      {"lat", "28X36", "N or S"},
      {"dst", "maybe", "yes/no"},
      {"colour", "blue", "unknown field"},
  };
  for (const Case& c : cases) {
    BirthFormSnapshot form;
    const BirthFormSnapshot before = form;
    const core::Result<void> applied = ApplyField(c.field, c.value, form);
    ASSERT_FALSE(applied) << c.field << '=' << c.value;
    const std::string& error = applied.error().message;
    EXPECT_NE(error.find(c.says), std::string::npos) << c.field << '=' << c.value << ": " << error;
    EXPECT_EQ(form.cboYear, before.cboYear);
    EXPECT_EQ(form.cmbTimeZone, before.cmbTimeZone);
    EXPECT_EQ(form.otherOffsetSecondsEast, before.otherOffsetSecondsEast);
    EXPECT_EQ(form.txtLonD, before.txtLonD);
    EXPECT_EQ(form.cboHH, before.cboHH);
  }
}

TEST(ApplyField, AbbreviationsThatAreUniqueInTheList) {
  // Every abbreviation that occurs once resolves to its own row; NST occurs twice.
  const auto& zones = entry::TimeZoneTable();
  int resolved = 0;
  for (int i = 0; i < entry::kTimeZoneCount; ++i) {
    std::string_view text = zones[static_cast<std::size_t>(i)].text;
    const std::size_t a = text.find(',');
    std::string abbreviation(text.substr(a + 1, text.find(',', a + 1) - a - 1));
    abbreviation.erase(0, abbreviation.find_first_not_of(' '));
    BirthFormSnapshot form;
    if (ApplyField("zone", abbreviation, form)) {
      EXPECT_EQ(form.cmbTimeZone, i) << abbreviation;
      ++resolved;
    }
  }
  EXPECT_EQ(resolved, 69);
}

// A value shown back in a message is cut on a character boundary and made terminal-safe, so the
// message is valid UTF-8 and cannot steer a terminal.
TEST(ApplyField, QuotedValuesInMessages) {
  struct Case {
    std::string value;
    std::string shown;  // between the quotes of the message
  };
  const Case cases[] = {
      {std::string(39, 'x') + "\xC3\xA9\xC3\xA9", std::string(39, 'x') + "\xC3\xA9..."},
      {std::string(39, 'x') + "\xF0\x9F\x8C\x99z", std::string(39, 'x') + "\xF0\x9F\x8C\x99..."},
      {"\x1B[2J\r\n", "\\x1b[2J\\r\\n"},
      {"a\xFF\xC2\x85", "a\\xff\\u0085"},
  };
  for (const Case& c : cases) {
    BirthFormSnapshot form;
    const core::Result<void> applied = ApplyField("date", c.value, form);
    ASSERT_FALSE(applied);
    const std::string& message = applied.error().message;
    EXPECT_NE(message.find("'" + c.shown + "'"), std::string::npos) << message;
    EXPECT_EQ(message.find('\x1B'), std::string::npos) << message;
  }
}

}  // namespace
}  // namespace solvane::cli
