#include "display/chart_window_model.h"

#include <string_view>

#include "ephemeris/constants.h"
#include "vedic/moon.h"

namespace solvane::display {
namespace {

using ephemeris::SignIndexOf;

constexpr std::array<const char*, kSignCount> kSunSignNames = {
    "Aries", "Taurus",  "Gemini",      "Cancer",    "Leo",      "Virgo",
    "Libra", "Scorpio", "Sagittarius", "Capricorn", "Aquarius", "Pisces"};

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// Characters 4 to 6 (1-based) of a short position text, as they stand; "" when too short.
std::string_view SignOfShortText(std::string_view text) {
  return text.size() >= 6 ? text.substr(3, 3) : std::string_view{};
}

std::string Coordinate(int degrees, int minutes, const char* hemisphere) {
  return std::to_string(degrees) + "\xC2\xB0 " + std::to_string(minutes) + "'" + hemisphere;
}

}  // namespace

const std::array<const char*, kSignCount> kSignBoxNames = kSunSignNames;

std::string EnglishMonthName(int month) {
  return month >= 1 && month <= 12 ? std::string(entry::kMonthNames[month - 1]) : std::string();
}

ChartWindowModel::ChartWindowModel() {
  for (int i = 0; i < kSignCount; ++i) sign_boxes[i] = kSignBoxNames[i];
}

void FillPositionsPanel(const core::ChartState& state, ChartWindowModel& window) {
  for (int i = 0; i < kPositionRows; ++i) window.lblPlanet[i] = state.PositionStrings[i];
  window.lblRashi = state.RashiName;

  const int sun = SignIndexOf(SignOfShortText(Trimmed(state.PositionStrings[core::kSun])));
  if (sun >= 0) window.lblSunSign = kSunSignNames[sun];

  const std::string_view ascendant = Trimmed(state.AscendantString);
  if (ascendant.size() >= 3) {
    // The Ascendant's label is the same as the Moon sign's for that sign.
    const std::string_view label = vedic::RashiNameOf(ascendant.substr(ascendant.size() - 3));
    if (!label.empty()) window.lblLagna = label;
  }
}

void FillBirthDetails(const core::ChartState& state, const entry::BirthFormSnapshot& form,
                      const MonthNameProvider& month_name, ChartWindowModel& window) {
  const core::BirthData& b = state.birth;
  window.lblName = b.Name;
  window.lblDOB = month_name(b.Month) + "/" + std::to_string(b.Day) + "/" + std::to_string(b.Year);
  window.lblTOB = std::to_string(b.Hour) + ":" + std::to_string(b.Minute);
  window.lblLatitude = Coordinate(b.LatitudeDeg, b.LatitudeMin, form.optLatSouth ? " S" : " N");
  window.lblLongitude = Coordinate(b.LongitudeDeg, b.LongitudeMin, form.optLongEast ? " E" : " W");
  window.lblCity = form.txtMCity;
  window.lblState = form.txtMState;
  window.lblCountry = form.txtMCountry;
}

void ClearSignBoxes(ChartWindowModel& window) {
  for (std::string& box : window.sign_boxes) box.clear();
}

void PlaceBodiesInSigns(const core::ChartState& state, ChartWindowModel& window) {
  for (int i = 0; i < core::kWheelBodyCount; ++i) {
    const int sign = SignIndexOf(SignOfShortText(state.PositionStrings[i]));
    if (sign < 0) continue;  // an unreadable position is not placed
    window.sign_boxes[sign] += "\r\n";
    window.sign_boxes[sign] += state.BodyNames[i];
  }
  const int ascendant = SignIndexOf(SignOfShortText(state.PositionStrings[core::kAscendant]));
  if (ascendant >= 0) window.sign_boxes[ascendant] += "\r\nAsc";
}

void ArrangeHouseWheel(const core::ChartState& state, ChartWindowModel& window) {
  const std::array<std::string, kSignCount> signs = window.sign_boxes;
  window.sign_boxes_visible = false;
  for (std::string& box : window.lblNatal) box.clear();

  int first = -1;
  for (int i = 0; i < kSignCount && first < 0; ++i)
    if (signs[i].find("Asc") != std::string::npos) first = i;
  if (first >= 0)
    for (int k = 0; k < kSignCount; ++k) window.lblNatal[k] = signs[(first + k) % kSignCount];

  const int glyph = SignIndexOf(SignOfShortText(state.PositionStrings[core::kAscendant]));
  if (glyph >= 0)
    for (int k = 0; k < kSignCount; ++k) window.imgSign[k] = (glyph + k) % kSignCount + 1;
}

}  // namespace solvane::display
