// Fixed texts of the house report: house names, headings and their colours, and the paragraphs.
#pragma once

#include <cstdint>
#include <string_view>

namespace solvane::report {

struct Rgb {
  std::uint8_t r, g, b;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kDarkRed{128, 0, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kBlack{0, 0, 0};

inline constexpr int kHouseCount = 12;  // houses are numbered 1..12
// Planets 0..9: Sun, Moon, Mercury, Venus, Mars, Jupiter, Saturn, Uranus, Neptune, Pluto.
inline constexpr int kPlanetCount = 10;

struct PlanetReportLabel {
  std::string_view heading_label;            // "Sun In"
  std::string_view characteristics_heading;  // "Characteristics Of Planet Sun :-"
  Rgb heading_colour;
};

// Every lookup answers an out-of-range argument with an empty text; PlanetReportLabels then gives
// a label with empty texts drawn in black. None of them ever reads outside its table.
std::string_view HouseNames(int house);                      // 1..12, "First House" ..
std::string_view MoreAboutHeadings(int house);               // 1..12, "More About First House" ..
const PlanetReportLabel& PlanetReportLabels(int planet);     // 0..9
std::string_view PlanetInHouseTexts(int house, int planet);  // house 1..12, planet 0..9
std::string_view PlanetCharacteristics(int planet);          // 0..9
std::string_view HouseDescriptions(int house);               // 1..12

}  // namespace solvane::report
