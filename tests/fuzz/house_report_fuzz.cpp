// The house report from any position texts: the input's lines are the Ascendant and the ten
// planets. A text that does not begin with whole degrees 00..29, a blank and a sign abbreviation
// is placed in no house, and an unreadable Ascendant places nothing. Whatever is placed is
// written house by house, and the report survives the trip through the RTF writer.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "core/angle.h"
#include "report/house_report.h"
#include "report/rich_text.h"
#include "report/rtf_check.h"
#include "report/rtf_writer.h"

namespace {

namespace report = solvane::report;

constexpr std::array<std::string_view, 12> kSigns = {"Ari", "Tau", "Gem", "Can", "Leo", "Vir",
                                                     "Lib", "Sco", "Sag", "Cap", "Aqu", "Pis"};

// 0..359 for a readable position text, -1 otherwise.
int Degree(std::string_view text) {
  if (text.size() < 6 || text[0] < '0' || text[0] > '2' || text[1] < '0' || text[1] > '9' ||
      text[2] != ' ')
    return -1;
  for (int sign = 0; sign < 12; ++sign)
    if (text.substr(3, 3) == kSigns[sign])
      return sign * 30 + (text[0] - '0') * 10 + (text[1] - '0');
  return -1;
}

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 4096) return -1;
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::array<std::string, 11> texts;  // the Ascendant, then Sun .. Pluto
  for (std::string& text : texts) {
    const std::size_t end = input.find('\n');
    text = std::string(input.substr(0, end));
    input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
  }
  std::array<std::string, report::kPlanetCount> planets;
  for (int k = 0; k < report::kPlanetCount; ++k) planets[k] = texts[k + 1];

  // Each text stands for a longitude inside its whole degree; one that names no degree stands for a
  // value without a sign.
  std::array<int, 11> indices;
  for (int i = 0; i < 11; ++i) {
    const int degree = Degree(texts[i]);
    const double longitude = degree < 0 ? 360.0 : degree + 0.5;
    indices[i] = report::DegreeIndex(solvane::core::Angle(longitude));
    FUZZ_CHECK(indices[i] == degree + 1, "DegreeIndex of '%s' is %d", texts[i].c_str(), indices[i]);
  }
  report::PlanetDegrees degrees;
  degrees.ascendant = indices[0];
  for (int k = 0; k < report::kPlanetCount; ++k) degrees.planets[k] = indices[k + 1];

  report::RecordingSink sink;
  const report::HousePlacement placement = report::BuildHouseReport(degrees, sink);
  FUZZ_CHECK(placement.planet_house == report::PlaceInHouses(degrees).planet_house,
             "the report places the planets differently from PlaceInHouses");

  const int first = Degree(texts[0]);
  std::size_t placed = 0;
  for (int k = 0; k < report::kPlanetCount; ++k) {
    const int degree = Degree(planets[k]);
    const int want = first < 0 || degree < 0 ? 0 : (degree - first + 360) % 360 / 30 + 1;
    FUZZ_CHECK(placement.planet_house[k] == want, "planet %d placed in house %d, not %d", k,
               placement.planet_house[k], want);
    if (want != 0) ++placed;
  }

  // Sections: occupied houses only, ascending, each listing exactly its planets in planet order.
  int last_house = 0;
  std::size_t listed = 0;
  for (const report::ReportSection& section : placement.sections) {
    FUZZ_CHECK(section.house > last_house && section.house <= report::kHouseCount,
               "section of house %d after house %d", section.house, last_house);
    last_house = section.house;
    FUZZ_CHECK(!section.planets.empty(), "an empty section for house %d", section.house);
    int last_planet = -1;
    for (const int k : section.planets) {
      FUZZ_CHECK(k > last_planet && k < report::kPlanetCount, "planet %d after %d", k, last_planet);
      FUZZ_CHECK(placement.planet_house[k] == section.house, "planet %d listed under house %d", k,
                 section.house);
      last_planet = k;
      ++listed;
    }
  }
  FUZZ_CHECK(listed == placed, "%zu planets listed, %zu placed", listed, placed);

  // Four pieces per planet, two per house; headings bold, paragraphs not; all ending a line.
  const auto& pieces = sink.pieces();
  FUZZ_CHECK(pieces.size() == 4 * placed + 2 * placement.sections.size(), "%zu pieces",
             pieces.size());
  std::size_t at = 0;
  for (const report::ReportSection& section : placement.sections) {
    for (const int k : section.planets) {
      const std::string house_name(report::HouseNames(section.house));
      FUZZ_CHECK(pieces[at].bold && EndsWith(pieces[at].text, house_name + "\r\n"),
                 "heading of planet %d: '%s'", k, pieces[at].text.c_str());
      FUZZ_CHECK(!pieces[at + 1].bold && EndsWith(pieces[at + 1].text, "\r\n\r\n") &&
                     pieces[at + 1].text.size() > 4,
                 "paragraph of planet %d", k);
      FUZZ_CHECK(pieces[at + 2].bold && !pieces[at + 3].bold, "characteristics of planet %d", k);
      at += 4;
    }
    FUZZ_CHECK(
        pieces[at].bold &&
            pieces[at].text == std::string(report::MoreAboutHeadings(section.house)) + "\r\n",
        "closing heading of house %d", section.house);
    FUZZ_CHECK(!pieces[at + 1].bold &&
                   pieces[at + 1].text ==
                       std::string(report::HouseDescriptions(section.house)) + "\r\n\r\n",
               "description of house %d", section.house);
    at += 2;
  }

  // The report as saved: well-formed RTF holding exactly the report's text.
  report::RtfWriter writer("Verdana", 9.75);
  report::Replay(pieces, writer);
  const solvane::rtfcheck::RtfCheck check = solvane::rtfcheck::CheckRtf(writer.Document());
  FUZZ_CHECK(check.ok, "the report's RTF is malformed: %s", check.problem.c_str());
  FUZZ_CHECK(check.text == report::PlainText(pieces), "the report's RTF holds other text");
  return 0;
}
