#include "report/house_report.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "core/zodiac.h"

namespace solvane::report {
namespace {

using Planets = std::array<std::string, kPlanetCount>;

Planets AllAt(const char* position) {
  Planets p;
  p.fill(position);
  return p;
}

// The degree index of a position written "DD Sgn MM", through the longitude it stands for; 0 for a
// text that names no sign.
int At(std::string_view text) {
  const int sign = text.size() >= 9 ? core::SignIndexOf(text.substr(3, 3)) : -1;
  if (sign < 0) return 0;
  const double degrees = 30 * sign + std::stoi(std::string(text.substr(0, 2))) +
                         std::stoi(std::string(text.substr(7, 2))) / 60.0;
  return DegreeIndex(core::Angle(degrees));
}

PlanetDegrees Degrees(std::string_view ascendant, const Planets& planets) {
  PlanetDegrees d;
  d.ascendant = At(ascendant);
  for (int k = 0; k < kPlanetCount; ++k) d.planets[k] = At(planets[k]);
  return d;
}

TEST(DegreeIndex, WholeDegreesAroundTheCircle) {
  struct Case {
    double degrees;
    int want;
  };
  const Case cases[] = {
      {0.44, 1},       // 00 Ari 26
      {29.9999, 30},   // truncated, never rounded into the next sign
      {30, 31},        // a boundary belongs to the next sign
      {135, 136},      // 15 Leo 00
      {359.99, 360},   // 29 Pis 59
      {360, 0},        // a whole turn carries no sign
      {-0.5, 0},       // neither does a negative value
  };
  for (const Case& c : cases)
    EXPECT_EQ(DegreeIndex(core::Angle(c.degrees)), c.want) << c.degrees;
}

TEST(PlaceInHouses, ThirtyDegreeHousesFromTheAscendantsDegree) {
  struct Case {
    const char* ascendant;
    const char* planet;
    int house;
  };
  const Case cases[] = {
      {"00 Ari 10", "29 Ari 59", 1},  {"00 Ari 10", "00 Tau 00", 2},
      {"15 Leo 00", "15 Leo 59", 1},  {"15 Leo 00", "14 Leo 00", 12},
      {"15 Leo 00", "29 Pis 00", 8},  {"15 Leo 00", "00 Ari 00", 8},  // the house across 360
      {"15 Leo 00", "14 Vir 00", 1},  {"15 Leo 00", "15 Vir 00", 2},
      {"00 Tau 00", "10 Ari 00", 12}, {"29 Pis 00", "28 Pis 00", 12},
      {"07 Cap 00", "06 Sag 59", 11},
  };
  for (const Case& c : cases) {
    Planets planets = AllAt("00 Ari 00");
    planets[4] = c.planet;
    EXPECT_EQ(PlaceInHouses(Degrees(c.ascendant, planets)).planet_house[4], c.house)
        << c.ascendant << " / " << c.planet;
  }
}

TEST(PlaceInHouses, PositionsWithoutASignArePlacedNowhere) {
  Planets planets = AllAt("10 Gem 00");
  planets[2] = "garbage";
  const HousePlacement p = PlaceInHouses(Degrees("00 Ari 00", planets));
  EXPECT_EQ(p.planet_house[2], 0);
  EXPECT_EQ(p.planet_house[3], 3);
  const HousePlacement none = PlaceInHouses(Degrees("?", planets));
  EXPECT_TRUE(none.sections.empty());
  EXPECT_EQ(none.planet_house, (std::array<int, kPlanetCount>{}));
}

TEST(BuildHouseReport, OpensWithTheFirstHousesPlanetsInPlanetOrder) {
  Planets planets = AllAt("10 Lib 00");  // seventh house
  planets[1] = "29 Ari 00";              // the Moon before the Sun in degree, not in planet order
  planets[0] = "05 Ari 00";
  RecordingSink sink;
  BuildHouseReport(Degrees("00 Ari 00", planets), sink);
  const auto& p = sink.pieces();
  ASSERT_GE(p.size(), 10u);
  const std::vector<RichTextPiece> want = {
      {true, kDarkRed, "Sun In First House\r\n"},
      {false, kBlack, std::string(PlanetInHouseTexts(1, 0)) + "\r\n\r\n"},
      {true, kDarkRed, "Characteristics Of Planet Sun :-\r\n"},
      {false, kBlack, std::string(PlanetCharacteristics(0)) + "\r\n\r\n"},
      {true, kBlue, "Moon In First House\r\n"},
      {false, kBlack, std::string(PlanetInHouseTexts(1, 1)) + "\r\n\r\n"},
      {true, kBlue, "Characteristics Of Planet Moon :-\r\n"},
      {false, kBlack, std::string(PlanetCharacteristics(1)) + "\r\n\r\n"},
      {true, kDarkRed, "More About First House\r\n"},
      {false, kBlack, std::string(HouseDescriptions(1)) + "\r\n\r\n"},
  };
  for (std::size_t i = 0; i < want.size(); ++i) EXPECT_EQ(p[i], want[i]) << "piece " << i;
  EXPECT_EQ(p[10].text, "Mercury In Seventh House\r\n");
}

TEST(BuildHouseReport, TenPlanetBlocksAndOneSectionPerOccupiedHouse) {
  const std::array<Planets, 3> charts = {
      AllAt("03 Cap 00"),
      Planets{"00 Ari 00", "01 Tau 00", "02 Gem 00", "03 Can 00", "04 Leo 00", "05 Vir 00",
              "06 Lib 00", "07 Sco 00", "08 Sag 00", "09 Cap 00"},
      Planets{"29 Pis 00", "00 Ari 00", "14 Leo 00", "15 Leo 00", "16 Vir 00", "29 Pis 00",
              "11 Aqu 00", "12 Aqu 00", "13 Gem 00", "14 Gem 00"},
  };
  for (const Planets& planets : charts) {
    RecordingSink sink;
    const HousePlacement placement = BuildHouseReport(Degrees("15 Leo 00", planets), sink);
    int blocks = 0, sections = 0, last_house = 0;
    for (const RichTextPiece& piece : sink.pieces()) {
      if (piece.text.find("Characteristics Of Planet") == 0) ++blocks;
      if (piece.text.find("More About ") == 0) {
        ++sections;
        EXPECT_EQ(piece.colour, kDarkRed);
        EXPECT_TRUE(piece.bold);
      }
      EXPECT_EQ(piece.text.find("  "), std::string::npos);
    }
    for (const ReportSection& s : placement.sections) {
      EXPECT_GT(s.house, last_house);
      last_house = s.house;
    }
    EXPECT_EQ(blocks, 10);
    EXPECT_EQ(sections, static_cast<int>(placement.sections.size()));
    EXPECT_EQ(sink.pieces().size(), 4u * 10 + 2u * placement.sections.size());
  }
}

TEST(BuildHouseReport, EleventhAndTwelfthHouseHeadings) {
  Planets planets = AllAt("20 Aqu 00");  // eleventh from 15 Aries
  planets[4] = "01 Ari 00";              // Mars in the twelfth
  RecordingSink sink;
  BuildHouseReport(Degrees("15 Ari 00", planets), sink);
  EXPECT_EQ(sink.pieces().front().text, "Sun In Eleventh House\r\n");
  bool mars_in_twelfth = false;
  for (const auto& piece : sink.pieces())
    mars_in_twelfth |= piece.text == "Mars In Twelfth House\r\n";
  EXPECT_TRUE(mars_in_twelfth);
}

TEST(FramedReport, HeaderReportHeader) {
  EXPECT_EQ(FramedReportText("A\r\n\r\n"),
            "Report Generated By https://www.solvane.app\r\n\r\nA\r\n\r\n"
            "Report Generated By https://www.solvane.app\r\n\r\n");
  Planets planets = AllAt("03 Cap 00");
  RecordingSink rich;
  PlainTextSink plain;
  BuildHouseReport(Degrees("00 Ari 00", planets), rich);
  BuildHouseReport(Degrees("00 Ari 00", planets), plain);
  EXPECT_EQ(PlainText(rich.pieces()), plain.text());
  RecordingSink again;
  Replay(rich.pieces(), again);
  EXPECT_EQ(again.pieces(), rich.pieces());
}

}  // namespace
}  // namespace solvane::report
