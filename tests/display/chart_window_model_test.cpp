#include "display/chart_window_model.h"

#include <gtest/gtest.h>

#include "core/zodiac.h"
#include "entry/sample.h"
#include "run/chart_run.h"
#include "test_births.h"

namespace solvane::display {
namespace {

// The longitude 12° 34' into the sign `abbreviation`; a name that is no sign gives a value that
// carries none (a whole turn).
core::Angle In(std::string_view abbreviation, int degrees = 12, int minutes = 34) {
  const int sign = core::SignIndexOf(abbreviation);
  return core::Angle(sign < 0 ? 360.0 : 30.0 * sign + degrees + minutes / 60.0 + 1e-9);
}

// A chart state whose bodies Sun..Saturn and Ascendant stand in the given signs, with the texts
// derived from those positions.
core::ChartState WithSigns(const std::array<const char*, 7>& bodies, const char* ascendant) {
  core::ChartState s;
  for (int i = 0; i < 7; ++i) s.positions.longitude[i] = In(bodies[i]);
  s.positions.longitude[core::kAscendant] = In(ascendant, 3, 0);
  run::DerivePositionTexts(s);
  return s;
}

ChartWindowModel Wheel(const core::ChartState& s) {
  ChartWindowModel w;
  ClearSignBoxes(w);
  PlaceBodiesInSigns(s, w);
  ArrangeHouseWheel(s, w);
  return w;
}

TEST(HouseWheel, AscendantInAries) {
  const auto w = Wheel(WithSigns({"Ari", "Tau", "Gem", "Can", "Leo", "Vir", "Lib"}, "Ari"));
  const std::array<const char*, 12> want = {"\r\nSun\r\nAsc",
                                            "\r\nMoon",
                                            "\r\nMercury",
                                            "\r\nVenus",
                                            "\r\nMars",
                                            "\r\nJupiter",
                                            "\r\nSaturn",
                                            "",
                                            "",
                                            "",
                                            "",
                                            ""};
  for (int k = 0; k < 12; ++k) {
    EXPECT_EQ(w.lblNatal[k], want[k]) << "house " << k + 1;
    EXPECT_EQ(w.imgSign[k], k + 1) << "house " << k + 1;
  }
  EXPECT_FALSE(w.sign_boxes_visible);
}

TEST(HouseWheel, AscendantInPiscesWrapsToAries) {
  const auto w = Wheel(WithSigns({"Pis", "Ari", "Ari", "Sco", "Sco", "Sco", "Cap"}, "Pis"));
  EXPECT_EQ(w.lblNatal[0], "\r\nSun\r\nAsc");
  EXPECT_EQ(w.lblNatal[1], "\r\nMoon\r\nMercury");
  EXPECT_EQ(w.lblNatal[8], "\r\nVenus\r\nMars\r\nJupiter");  // Scorpio, ninth from Pisces
  EXPECT_EQ(w.lblNatal[10], "\r\nSaturn");
  EXPECT_EQ(w.lblNatal[2], "");  // an empty house keeps its glyph all the same
  EXPECT_EQ(w.imgSign[0], 12);
  EXPECT_EQ(w.imgSign[1], 1);
  EXPECT_EQ(w.imgSign[11], 11);
}

TEST(HouseWheel, BodiesInTheAscendantsSignAndRetrogradeMarks) {
  auto s = WithSigns({"Leo", "Leo", "Vir", "Vir", "Can", "Sag", "Aqu"}, "Leo");
  s.BodyNames[core::kMercury] = "Mercury (R) ";
  const auto w = Wheel(s);
  EXPECT_EQ(w.lblNatal[0], "\r\nSun\r\nMoon\r\nAsc");     // an empty first line, bodies, "Asc" last
  EXPECT_EQ(w.lblNatal[1], "\r\nMercury (R) \r\nVenus");  // the marked line ends in a blank
  EXPECT_EQ(w.lblNatal[11], "\r\nMars");
}

TEST(HouseWheel, UnreadablePositionsAreNotPlaced) {
  auto s = WithSigns({"Leo", "xyz", "Vir", "Vir", "Can", "Sag", "Aqu"}, "Leo");
  s.positions.longitude[core::kMars] = core::Angle(-1);
  const auto w = Wheel(s);
  EXPECT_EQ(w.lblNatal[0], "\r\nSun\r\nAsc");
  EXPECT_EQ(w.lblNatal[11], "");
  // Without a readable Ascendant the house boxes stay empty rather than guessing.
  auto lost = WithSigns({"Leo", "Leo", "Vir", "Vir", "Can", "Sag", "Aqu"}, "???");
  const auto none = Wheel(lost);
  for (const std::string& box : none.lblNatal) EXPECT_EQ(box, "");
  EXPECT_EQ(none.imgSign[0], 0);
}

TEST(FillPositionsPanel, SignsAndTable) {
  core::ChartState s = WithSigns({"Ari", "Tau", "Gem", "Can", "Leo", "Vir", "Lib"}, "Sco");
  s.positions.longitude[core::kSun] = core::Angle(0);
  s.positions.retrograde[core::kMercury] = true;
  run::DerivePositionTexts(s);
  s.RashiName = "Taurus (Vrishabha)";
  ChartWindowModel w;
  FillPositionsPanel(s, w);
  EXPECT_EQ(w.lblSunSign, "Aries");
  EXPECT_EQ(w.lblLagna, "Scorpio (Vrishcika)");
  EXPECT_EQ(w.lblRashi, "Taurus (Vrishabha)");
  EXPECT_EQ(w.lblPlanet[core::kMercury], "12 Gem 34");  // the table shows no retrograde mark
  EXPECT_EQ(w.lblPlanet[core::kAscendant], "03 Sco 00");

  // A position without a sign leaves the label as it was.
  s.positions.longitude[core::kSun] = core::Angle(360);
  s.positions.longitude[core::kAscendant] = core::Angle(-3);
  FillPositionsPanel(s, w);
  EXPECT_EQ(w.lblSunSign, "Aries");
  EXPECT_EQ(w.lblLagna, "Scorpio (Vrishcika)");
}

TEST(FillBirthDetails, Texts) {
  core::ChartState s =
      testing::StateFor(1947, 8, 15, 9, 5, -5, -30, 72, 50, true, 0, 0, false, false);
  s.birth.Name = " ASHA ";
  entry::BirthFormSnapshot form;
  form.optLongEast = true;
  form.optLatSouth = false;
  form.txtMCity = "Mumbai";
  ChartWindowModel w;
  FillBirthDetails(s, form, EnglishMonthName, w);
  EXPECT_EQ(w.lblName, " ASHA ");
  EXPECT_EQ(w.lblDOB, "August/15/1947");
  EXPECT_EQ(w.lblTOB, "9:5");
  EXPECT_EQ(w.lblLatitude, "0\xC2\xB0 0' N");
  EXPECT_EQ(w.lblLongitude, "72\xC2\xB0 50' E");
  EXPECT_EQ(w.lblCity, "Mumbai");
  EXPECT_EQ(w.lblState, "");
  EXPECT_EQ(w.lblCountry, "");

  form.optLongEast = false;
  form.optLatSouth = true;
  s.birth.Hour = 0;
  s.birth.Minute = 0;
  FillBirthDetails(
      s, form, [](int m) { return "M" + std::to_string(m); }, w);
  EXPECT_EQ(w.lblDOB, "M8/15/1947");
  EXPECT_EQ(w.lblTOB, "0:0");
  EXPECT_EQ(w.lblLatitude, "0\xC2\xB0 0' S");
  EXPECT_EQ(w.lblLongitude, "72\xC2\xB0 50' W");
}

TEST(FillChartNumbers, DayNumberAndCaptions) {
  struct Case {
    int year, month, day, hour, minute;
    const char *city, *state, *country;
    double birth_day;  // days since 1970-01-01 00:00, counted by hand with the Gregorian calendar
    const char *date, *time, *place;
  };
  const Case cases[] = {
      {1970, 1, 1, 0, 0, "", "", "", 0.0, "1 January 1970", "00:00", ""},
      // 8 days before the epoch, 9:05 into the day.
      {1969, 12, 24, 9, 5, "Mumbai", "", "", -8 + 545 / 1440.0, "24 December 1969", "09:05",
       "Mumbai"},
      // 1980-01-01 is day 3652 (two leap days since 1970), 15 August its 228th day.
      {1980, 8, 15, 6, 30, "New Delhi", "Delhi", "India", 3879 + 390 / 1440.0, "15 August 1980",
       "06:30", "New Delhi, Delhi, India"},
      {2050, 12, 31, 23, 59, "", "", "Chile", 29584 + 1439 / 1440.0, "31 December 2050", "23:59",
       "Chile"},
  };
  for (const Case& c : cases) {
    core::ChartState s = testing::StateFor(c.year, c.month, c.day, c.hour, c.minute, 0, 0, 0, 0,
                                           true, 0, 0, false, false);
    s.birth.Name = "Asha";
    s.positions.longitude[core::kMoon] = core::Angle(123.5);
    s.positions.retrograde[core::kSaturn] = true;
    s.engine = "classic";
    entry::BirthFormSnapshot form;
    form.txtMCity = c.city;
    form.txtMState = c.state;
    form.txtMCountry = c.country;
    ChartWindowModel w;
    EXPECT_FALSE(w.has_positions);
    FillChartNumbers(s, form, EnglishMonthName, w);
    SCOPED_TRACE(c.date);
    EXPECT_TRUE(w.has_positions);
    EXPECT_NEAR(w.birth_day, c.birth_day, 1e-9);
    EXPECT_EQ(w.chart_name, "Asha");
    EXPECT_EQ(w.chart_date, c.date);
    EXPECT_EQ(w.chart_time, c.time);
    EXPECT_EQ(w.chart_place, c.place);
    EXPECT_EQ(w.engine, "classic");
    EXPECT_EQ(w.positions.longitude[core::kMoon].Degrees(), 123.5);
    EXPECT_TRUE(w.positions.retrograde[core::kSaturn]);
  }
}

TEST(FillChartNumbers, MonthWithoutName) {
  core::ChartState s =
      testing::StateFor(1947, 8, 15, 9, 5, -5, -30, 72, 50, true, 0, 0, false, false);
  ChartWindowModel w;
  FillChartNumbers(
      s, {}, [](int) { return std::string(); }, w);
  EXPECT_EQ(w.chart_date, "15 1947");
}

TEST(RunChart, ChartWindowOfTheReferenceBirths) {
  struct Case {
    entry::BirthFormSnapshot form;
    const char* sun_sign;
    const char* lagna;
    const char* rashi;
    const char* first_house;
    int first_glyph;
  };
  const entry::BirthFormSnapshot delhi = entry::SampleBirth();  // 15 August 1980, New Delhi
  const Case cases[] = {
      {testing::LondonForm(), "Sagittarius", "Aries (Mesha)", "Libra (Thula)",
       "\r\nJupiter\r\nSaturn (R) \r\nAsc", 1},
      {delhi, "Cancer", "Leo (Simha)", "Virgo (Kanya)", "\r\nJupiter\r\nAsc", 5},
  };
  for (const Case& c : cases) {
    core::ChartState state;
    ChartWindowModel window;
    ASSERT_TRUE(run::RunChart(c.form, EnglishMonthName, state, window));
    EXPECT_EQ(window.lblSunSign, c.sun_sign);
    EXPECT_EQ(window.lblLagna, c.lagna);
    EXPECT_EQ(window.lblRashi, c.rashi);
    EXPECT_EQ(window.lblNatal[0], c.first_house);
    EXPECT_EQ(window.imgSign[0], c.first_glyph);
    EXPECT_FALSE(window.RTBHouseDesc.empty());
    // The numbers behind the square charts and the periods are the run's own.
    EXPECT_TRUE(window.has_positions);
    EXPECT_EQ(window.engine, state.engine);
    for (int i = 0; i < core::kPositionCount; ++i) {
      EXPECT_EQ(window.positions.longitude[i].Degrees(), state.positions.longitude[i].Degrees());
      EXPECT_EQ(window.positions.retrograde[i], state.positions.retrograde[i]);
    }
  }
}

TEST(RunChart, PlacementWithoutTheReportText) {
  core::ChartState state;
  ChartWindowModel full, placed;
  ASSERT_TRUE(run::RunChart(testing::LondonForm(), EnglishMonthName, state, full));
  ASSERT_TRUE(run::RunChart(testing::LondonForm(), EnglishMonthName, state, placed,
                            run::ReportText::kPlacementOnly));
  EXPECT_TRUE(placed.RTBHouseDesc.empty());
  EXPECT_EQ(placed.report_houses.planet_house, full.report_houses.planet_house);
  EXPECT_EQ(placed.report_houses.sections.size(), full.report_houses.sections.size());
  EXPECT_EQ(placed.lblNatal, full.lblNatal);
}

}  // namespace
}  // namespace solvane::display
