#include "display/chart_window_model.h"

#include <string_view>

#include "core/civil_date.h"
#include "core/zodiac.h"
#include "vedic/moon.h"

namespace solvane::display {
namespace {

std::string TwoDigits(int value) {
  return (value >= 0 && value < 10 ? "0" : "") + std::to_string(value);
}

std::string Coordinate(int degrees, int minutes, const char* hemisphere) {
  return std::to_string(degrees) + "\xC2\xB0 " + std::to_string(minutes) + "'" + hemisphere;
}

}  // namespace

const std::array<const char*, kSignCount> kSignBoxNames = {
    "Aries", "Taurus",  "Gemini",      "Cancer",    "Leo",      "Virgo",
    "Libra", "Scorpio", "Sagittarius", "Capricorn", "Aquarius", "Pisces"};

std::string EnglishMonthName(int month) {
  return month >= 1 && month <= 12 ? std::string(entry::kMonthNames[month - 1]) : std::string();
}

ChartWindowModel::ChartWindowModel() {
  for (int i = 0; i < kSignCount; ++i) sign_boxes[i] = kSignBoxNames[i];
}

void FillPositionsPanel(const core::ChartState& state, ChartWindowModel& window) {
  for (int i = 0; i < kPositionRows; ++i) window.lblPlanet[i] = state.PositionStrings[i];
  window.lblRashi = state.RashiName;

  const core::EnginePositions& p = state.positions;
  const int sun = p.longitude[core::kSun].SignIndex();
  if (sun >= 0) window.lblSunSign = core::kSignNames[sun];
  // The Ascendant's label is the same as the Moon sign's for that sign.
  const std::string_view lagna = vedic::RashiName(p.longitude[core::kAscendant].SignIndex());
  if (!lagna.empty()) window.lblLagna = lagna;
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

void FillChartNumbers(const core::ChartState& state, const entry::BirthFormSnapshot& form,
                      const MonthNameProvider& month_name, ChartWindowModel& window) {
  constexpr double kMinutesPerDay = 1440.0;
  const core::BirthData& b = state.birth;
  window.has_positions = true;
  window.positions = state.positions;
  window.engine = state.engine;
  window.birth_day = static_cast<double>(core::DaysFromCivil(b.Year, b.Month, b.Day)) +
                     (b.Hour * 60 + b.Minute) / kMinutesPerDay;
  window.chart_name = b.Name;
  const std::string month = month_name(b.Month);
  window.chart_date =
      std::to_string(b.Day) + (month.empty() ? "" : " " + month) + " " + std::to_string(b.Year);
  window.chart_time = TwoDigits(b.Hour) + ":" + TwoDigits(b.Minute);
  window.chart_place.clear();
  for (const std::string* part : {&form.txtMCity, &form.txtMState, &form.txtMCountry}) {
    if (part->empty()) continue;
    if (!window.chart_place.empty()) window.chart_place += ", ";
    window.chart_place += *part;
  }
}

void ClearSignBoxes(ChartWindowModel& window) {
  for (std::string& box : window.sign_boxes) box.clear();
}

void PlaceBodiesInSigns(const core::ChartState& state, ChartWindowModel& window) {
  const core::EnginePositions& p = state.positions;
  for (int i = 0; i < core::kWheelBodyCount; ++i) {
    const int sign = p.longitude[i].SignIndex();
    if (sign < 0) continue;  // a position without a sign is not placed
    window.sign_boxes[sign] += "\r\n";
    window.sign_boxes[sign] += state.BodyNames[i];
  }
  const int ascendant = p.longitude[core::kAscendant].SignIndex();
  if (ascendant >= 0) window.sign_boxes[ascendant] += "\r\nAsc";
}

void ArrangeHouseWheel(const core::ChartState& state, ChartWindowModel& window) {
  const std::array<std::string, kSignCount> signs = window.sign_boxes;
  window.sign_boxes_visible = false;
  for (std::string& box : window.lblNatal) box.clear();
  // House 1 is the Ascendant's sign; whole signs follow in zodiacal order.
  const int first = state.positions.longitude[core::kAscendant].SignIndex();
  if (first < 0) return;
  for (int k = 0; k < kSignCount; ++k) {
    window.lblNatal[k] = signs[(first + k) % kSignCount];
    window.imgSign[k] = (first + k) % kSignCount + 1;
  }
}

}  // namespace solvane::display
