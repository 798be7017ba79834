#include "cli/output.h"

#include <array>
#include <cstdio>

#include "entry/time_zones.h"

namespace solvane::cli {
namespace {

constexpr std::array<const char*, core::kPositionCount> kPositionLabels = {
    "Sun",     "Moon",    "Mercury", "Venus",     "Mars", "Jupiter", "Saturn",
    "Uranus",  "Neptune", "Pluto",   "Ascendant", "Midheaven", "Rahu", "Ketu"};

std::string Pad(std::string text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

std::string Row(const char* label, const std::string& value) {
  return Pad(label, 16) + value + "\n";
}

std::string Coordinate(int degrees, int minutes, char hemisphere) {
  return std::to_string(degrees) + "\xC2\xB0 " + std::to_string(minutes) + "' " + hemisphere;
}

std::string TwoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

}  // namespace

Json ChartJson(const core::ChartState& state) {
  const core::BirthData& b = state.birth;
  Json birth = {{"Name", b.Name},
                {"Month", b.Month},
                {"Day", b.Day},
                {"Year", b.Year},
                {"Hour", b.Hour},
                {"Minute", b.Minute},
                {"ZoneHoursAbs", b.ZoneHoursAbs},
                {"ZoneMinutesAbs", b.ZoneMinutesAbs},
                {"LongitudeDeg", b.LongitudeDeg},
                {"LongitudeMin", b.LongitudeMin},
                {"LatitudeDeg", b.LatitudeDeg},
                {"LatitudeMin", b.LatitudeMin},
                {"East", b.East},
                {"South", b.South},
                {"DaylightSaving", b.DaylightSaving}};
  Json out = {{"BirthData", std::move(birth)},
              {"ZoneHours", state.ZoneHours},
              {"ZoneMinutes", state.ZoneMinutes},
              {"AyanamsaOffset", state.AyanamsaOffset},
              {"AscendantString", state.AscendantString},
              {"MidheavenString", state.MidheavenString},
              {"MoonSiderealString", state.MoonSiderealString},
              {"RashiName", state.RashiName},
              {"PositionStrings", state.PositionStrings},
              {"BodyNames", state.BodyNames}};
  return out;
}

std::string JsonLine(const Json& value) {
  return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string ChartText(const core::ChartState& state, const entry::BirthFormSnapshot& form) {
  const core::BirthData& b = state.birth;
  std::string out;
  out += Row("Name", b.Name);
  out += Row("Date of birth", std::to_string(b.Year) + "-" + TwoDigits(b.Month) + "-" +
                                  TwoDigits(b.Day));
  const auto& zone = entry::TimeZoneTable()[static_cast<std::size_t>(form.cmbTimeZone)];
  out += Row("Time of birth", TwoDigits(b.Hour) + ":" + TwoDigits(b.Minute) + "  " +
                                  std::string(zone.text) +
                                  (b.DaylightSaving ? ", daylight saving" : ""));
  out += Row("Latitude", Coordinate(b.LatitudeDeg, b.LatitudeMin, b.South ? 'S' : 'N'));
  out += Row("Longitude", Coordinate(b.LongitudeDeg, b.LongitudeMin, b.East ? 'E' : 'W'));
  std::string place;
  for (const std::string* part : {&form.txtMCity, &form.txtMState, &form.txtMCountry}) {
    if (part->empty()) continue;
    if (!place.empty()) place += ", ";
    place += *part;
  }
  if (!place.empty()) out += Row("Place", place);
  out += Row("Moon sign", state.RashiName);
  char ayanamsa[32];
  std::snprintf(ayanamsa, sizeof ayanamsa, "%.6f\xC2\xB0", -state.AyanamsaOffset);
  out += Row("Ayanamsa", ayanamsa);
  out += "\n";
  out += Row("Body", "Position  Exact");
  for (int i = 0; i < core::kPositionCount; ++i) {
    std::string label = i < core::kWheelBodyCount && !state.BodyNames[static_cast<std::size_t>(i)].empty()
                            ? state.BodyNames[static_cast<std::size_t>(i)]
                            : kPositionLabels[static_cast<std::size_t>(i)];
    while (!label.empty() && label.back() == ' ') label.pop_back();
    std::string exact;
    if (i == core::kMoon) exact = state.MoonSiderealString;
    if (i == core::kAscendant) exact = state.AscendantString;
    if (i == core::kMidheaven) exact = state.MidheavenString;
    out += Row(label.c_str(), Pad(state.PositionStrings[static_cast<std::size_t>(i)], 11) + exact);
    while (out.size() > 1 && out[out.size() - 2] == ' ') out.erase(out.size() - 2, 1);
  }
  return out;
}

}  // namespace solvane::cli
