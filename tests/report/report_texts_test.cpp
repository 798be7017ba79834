// Shape checks for the fixed texts of the house report: counts, sizes, typography that survives
// RTF and printing, headings that compose cleanly, and paragraphs that sit in their own slots.
#include "report/report_texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace solvane::report {
namespace {

constexpr std::string_view kPlanetNames[kPlanetCount] = {
    "Sun", "Moon", "Mercury", "Venus", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune", "Pluto"};
constexpr std::string_view kOrdinals[kHouseCount] = {"first", "second", "third",    "fourth",
                                                     "fifth", "sixth",  "seventh",  "eighth",
                                                     "ninth", "tenth",  "eleventh", "twelfth"};

struct Text {
  std::string where;
  std::string_view text;
};

std::string HouseTag(int h) { return "house " + std::to_string(h); }
std::string PlanetTag(int k) { return std::string(kPlanetNames[k]); }

std::vector<Text> Paragraphs() {
  std::vector<Text> all;
  for (int h = 1; h <= kHouseCount; ++h)
    for (int k = 0; k < kPlanetCount; ++k)
      all.push_back({PlanetTag(k) + " in " + HouseTag(h), PlanetInHouseTexts(h, k)});
  for (int k = 0; k < kPlanetCount; ++k)
    all.push_back({"characteristics of " + PlanetTag(k), PlanetCharacteristics(k)});
  for (int h = 1; h <= kHouseCount; ++h)
    all.push_back({"description of " + HouseTag(h), HouseDescriptions(h)});
  return all;
}

std::vector<Text> AllTexts() {
  std::vector<Text> all = Paragraphs();
  for (int h = 1; h <= kHouseCount; ++h) {
    all.push_back({"name of " + HouseTag(h), HouseNames(h)});
    all.push_back({"more-about heading of " + HouseTag(h), MoreAboutHeadings(h)});
  }
  for (int k = 0; k < kPlanetCount; ++k) {
    all.push_back({"heading label of " + PlanetTag(k), PlanetReportLabels(k).heading_label});
    all.push_back({"characteristics heading of " + PlanetTag(k),
                   PlanetReportLabels(k).characteristics_heading});
  }
  return all;
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// True when `phrase` occurs in `text` with no letter directly before or after it.
bool ContainsWord(std::string_view text, std::string_view phrase) {
  for (auto pos = text.find(phrase); pos != std::string_view::npos;
       pos = text.find(phrase, pos + 1)) {
    const auto end = pos + phrase.size();
    if ((pos == 0 || !IsLetter(text[pos - 1])) && (end == text.size() || !IsLetter(text[end])))
      return true;
  }
  return false;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return out;
}

TEST(ReportTexts, EveryTextIsOneCleanLineOfPrintableAscii) {
  for (const auto& [where, text] : AllTexts()) {
    SCOPED_TRACE(where);
    ASSERT_FALSE(text.empty());
    EXPECT_TRUE(std::all_of(text.begin(), text.end(), [](char c) {
      return c >= 0x20 && c <= 0x7E;
    })) << "line break or character outside printable ASCII";
    EXPECT_EQ(text.find("  "), std::string_view::npos) << "doubled blank";
    EXPECT_NE(text.front(), ' ');
    EXPECT_NE(text.back(), ' ');
  }
  for (const auto& [where, text] : Paragraphs()) EXPECT_EQ(text.back(), '.') << where;
}

TEST(ReportTexts, HouseNamesAndHeadingsCompose) {
  std::set<std::string_view> names;
  for (int h = 1; h <= kHouseCount; ++h) {
    SCOPED_TRACE(HouseTag(h));
    const std::string_view name = HouseNames(h);
    names.insert(name);
    EXPECT_EQ(std::count(name.begin(), name.end(), ' '), 1) << name;
    EXPECT_TRUE(name.ends_with(" House")) << name;
    EXPECT_EQ(Lower(name), std::string(kOrdinals[h - 1]) + " house");
    EXPECT_EQ(MoreAboutHeadings(h), "More About " + std::string(name));
  }
  EXPECT_EQ(names.size(), static_cast<std::size_t>(kHouseCount));
}

TEST(ReportTexts, PlanetLabelsNameTheirPlanetAndAlternateColours) {
  for (int k = 0; k < kPlanetCount; ++k) {
    SCOPED_TRACE(PlanetTag(k));
    const PlanetReportLabel& label = PlanetReportLabels(k);
    const std::string name(kPlanetNames[k]);
    EXPECT_EQ(label.heading_label, name + " In");
    EXPECT_EQ(label.characteristics_heading, "Characteristics Of Planet " + name + " :-");
    EXPECT_EQ(label.heading_colour, k % 2 == 0 ? kDarkRed : kBlue);
    for (int h = 1; h <= kHouseCount; ++h) {
      const std::string heading =
          std::string(label.heading_label) + " " + std::string(HouseNames(h));
      EXPECT_EQ(heading.find("  "), std::string::npos) << heading;
    }
  }
}

TEST(ReportTexts, PlanetInHouseTextsHaveTheirSizeAndAreDistinct) {
  std::size_t total = 0;
  std::set<std::string_view> distinct;
  for (int h = 1; h <= kHouseCount; ++h) {
    for (int k = 0; k < kPlanetCount; ++k) {
      const std::string_view text = PlanetInHouseTexts(h, k);
      EXPECT_GE(text.size(), 70u) << PlanetTag(k) << " in " << HouseTag(h);
      EXPECT_LE(text.size(), 770u) << PlanetTag(k) << " in " << HouseTag(h);
      total += text.size();
      distinct.insert(text);
    }
  }
  EXPECT_GE(total, 24000u);
  EXPECT_LE(total, 30000u);
  EXPECT_EQ(distinct.size(), static_cast<std::size_t>(kHouseCount * kPlanetCount));
}

// A paragraph pasted into the wrong slot names the wrong planet or the wrong house.
TEST(ReportTexts, PlanetInHouseTextSpeaksOfItsOwnPlanetAndHouse) {
  for (int h = 1; h <= kHouseCount; ++h) {
    for (int k = 0; k < kPlanetCount; ++k) {
      SCOPED_TRACE(PlanetTag(k) + " in " + HouseTag(h));
      const std::string_view text = PlanetInHouseTexts(h, k);
      const std::string lower = Lower(text);
      EXPECT_TRUE(ContainsWord(text, kPlanetNames[k]));
      EXPECT_TRUE(ContainsWord(lower, std::string(kOrdinals[h - 1]) + " house"));
      for (int other = 0; other < kPlanetCount; ++other) {
        if (other == k) continue;
        EXPECT_EQ(text.find(std::string(kPlanetNames[other]) + " in "), std::string_view::npos)
            << "places " << kPlanetNames[other];
      }
      for (int other = 1; other <= kHouseCount; ++other) {
        if (other == h) continue;
        EXPECT_FALSE(ContainsWord(lower, std::string(kOrdinals[other - 1]) + " house"))
            << "speaks of the " << kOrdinals[other - 1] << " house";
      }
    }
  }
}

TEST(ReportTexts, PlanetCharacteristicsRunFromPlutoToSun) {
  const std::string_view sun = PlanetCharacteristics(0);
  const std::string_view pluto = PlanetCharacteristics(9);
  EXPECT_GE(sun.size(), 700u);
  EXPECT_LE(sun.size(), 800u);
  EXPECT_GE(pluto.size(), 45u);
  EXPECT_LE(pluto.size(), 80u);
  for (int k = 1; k < kPlanetCount - 1; ++k) {
    SCOPED_TRACE(PlanetTag(k));
    EXPECT_LT(PlanetCharacteristics(k).size(), sun.size());
    EXPECT_GT(PlanetCharacteristics(k).size(), pluto.size());
    EXPECT_TRUE(ContainsWord(PlanetCharacteristics(k), kPlanetNames[k]));
  }
  const std::string_view mercury = PlanetCharacteristics(2);
  EXPECT_EQ(std::count_if(mercury.begin(), mercury.end(),
                          [](char c) { return c == '.' || c == '!' || c == '?'; }),
            1)
      << "Mercury's character is a single sentence";
}

TEST(ReportTexts, HouseDescriptionsHaveTheirSizeAndSubject) {
  for (int h = 1; h <= kHouseCount; ++h) {
    SCOPED_TRACE(HouseTag(h));
    const std::string_view text = HouseDescriptions(h);
    EXPECT_GE(text.size(), 590u);
    EXPECT_LE(text.size(), 730u);
    EXPECT_TRUE(ContainsWord(Lower(text), std::string(kOrdinals[h - 1]) + " house"));
  }
}

TEST(ReportTexts, OutOfRangeLookupsAreEmpty) {
  for (int house : {INT_MIN, -1, 0, kHouseCount + 1, INT_MAX}) {
    SCOPED_TRACE(house);
    EXPECT_TRUE(HouseNames(house).empty());
    EXPECT_TRUE(MoreAboutHeadings(house).empty());
    EXPECT_TRUE(HouseDescriptions(house).empty());
    EXPECT_TRUE(PlanetInHouseTexts(house, 0).empty());
  }
  for (int planet : {INT_MIN, -1, kPlanetCount, INT_MAX}) {
    SCOPED_TRACE(planet);
    EXPECT_TRUE(PlanetCharacteristics(planet).empty());
    EXPECT_TRUE(PlanetInHouseTexts(1, planet).empty());
    const PlanetReportLabel& label = PlanetReportLabels(planet);
    EXPECT_TRUE(label.heading_label.empty());
    EXPECT_TRUE(label.characteristics_heading.empty());
    EXPECT_EQ(label.heading_colour, kBlack);
  }
}

}  // namespace
}  // namespace solvane::report
