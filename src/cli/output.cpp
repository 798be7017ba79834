#include "cli/output.h"

#include <array>
#include <cstdio>

#include "cli/safe_text.h"
#include "entry/time_zones.h"
#include "report/house_report.h"
#include "zones/offset_text.h"

namespace solvane::cli {
namespace {

// The report's planets are the first ten bodies, in the same order.
static_assert(report::kPlanetCount <= core::kPositionCount);

// Column widths of the text tables, in characters.
constexpr std::size_t kLabelWidth = 16;
constexpr std::size_t kPositionWidth = 11;
constexpr std::size_t kExactWidth = 17;
constexpr std::size_t kWheelHouseWidth = 13;
constexpr std::size_t kSignWidth = 13;

std::string Pad(std::string text, std::size_t width) {
  // Width in characters: count the bytes that start a UTF-8 character.
  std::size_t shown = 0;
  for (const char c : text) shown += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  if (shown < width) text.append(width - shown, ' ');
  return text;
}

std::string Row(const std::string& label, const std::string& value) {
  std::string row = Pad(label, kLabelWidth) + value;
  while (!row.empty() && row.back() == ' ') row.pop_back();
  return row + "\n";
}

std::string Coordinate(int degrees, int minutes, char hemisphere) {
  return std::to_string(degrees) + "\xC2\xB0 " + std::to_string(minutes) + "' " + hemisphere;
}

std::string TwoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

// The lines of a house box, without the empty first line and without trailing blanks.
std::string BoxBodies(const std::string& box) {
  std::string out;
  std::size_t start = 0;
  while (start <= box.size()) {
    std::size_t end = box.find("\r\n", start);
    if (end == std::string::npos) end = box.size();
    std::string line = box.substr(start, end - start);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    if (!line.empty()) out += (out.empty() ? "" : ", ") + line;
    start = end + 2;
  }
  return out;
}

// House 1..12 of `body` on the wheel (whole signs counted from the Ascendant's sign), or 0 when
// the body or the Ascendant carries no sign.
int WheelHouse(const core::ChartState& state, int body) {
  const int sign = state.positions.longitude[body].SignIndex();
  const int first = state.positions.longitude[core::kAscendant].SignIndex();
  if (sign < 0 || first < 0) return 0;
  return (sign - first + core::kSignCount) % core::kSignCount + 1;
}

std::string HouseNumber(int house) { return house > 0 ? std::to_string(house) : ""; }

void WriteBirthData(JsonWriter& json, const core::BirthData& b) {
  json.Key("BirthData");
  json.BeginObject();
  json.StringMember("Name", b.Name);
  const std::pair<const char*, std::int16_t> fields[] = {{"Month", b.Month},
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
  for (const auto& [key, value] : fields) json.IntMember(key, value);
  json.EndObject();
}

void WriteChartTexts(JsonWriter& json, const core::ChartState& state) {
  json.IntMember("ZoneHours", state.ZoneHours);
  json.IntMember("ZoneMinutes", state.ZoneMinutes);
  json.DoubleMember("AyanamsaOffset", state.AyanamsaOffset);
  const std::pair<const char*, const std::string*> texts[] = {
      {"AscendantString", &state.AscendantString},
      {"MidheavenString", &state.MidheavenString},
      {"MoonSiderealString", &state.MoonSiderealString},
      {"RashiName", &state.RashiName}};
  for (const auto& [key, value] : texts) json.StringMember(key, *value);
  json.Key("PositionStrings");
  json.StringArray(state.PositionStrings);
  json.Key("BodyNames");
  json.StringArray(state.BodyNames);
}

void WriteWindowTexts(JsonWriter& json, const display::ChartWindowModel& window) {
  const std::pair<const char*, const std::string*> labels[] = {
      {"lblName", &window.lblName},
      {"lblDOB", &window.lblDOB},
      {"lblTOB", &window.lblTOB},
      {"lblLatitude", &window.lblLatitude},
      {"lblLongitude", &window.lblLongitude},
      {"lblCity", &window.lblCity},
      {"lblState", &window.lblState},
      {"lblCountry", &window.lblCountry},
      {"lblSunSign", &window.lblSunSign},
      {"lblLagna", &window.lblLagna},
      {"lblRashi", &window.lblRashi}};
  for (const auto& [key, value] : labels) json.StringMember(key, *value);
  json.Key("lblPlanet");
  json.StringArray(window.lblPlanet);
  json.Key("lblNatal");
  json.StringArray(window.lblNatal);
  json.Key("imgSign");
  json.IntArray(window.imgSign);
}

void WriteReportHouses(JsonWriter& json, const report::HousePlacement& houses) {
  json.Key("ReportHouses");
  json.BeginObject();
  for (int k = 0; k < report::kPlanetCount; ++k)
    json.IntMember(core::kBodyNames[k], houses.planet_house[k]);
  json.EndObject();
  json.Key("ReportSections");
  json.BeginArray();
  for (const report::ReportSection& section : houses.sections) {
    json.BeginObject();
    json.IntMember("house", section.house);
    json.Key("planets");
    json.BeginArray();
    for (const int k : section.planets) json.String(core::kBodyNames[k]);
    json.EndArray();
    json.EndObject();
  }
  json.EndArray();
}

// Name, date, time and zone, coordinates and place. The name and the place come from the user
// and may hold anything: they are shown terminal-safe.
std::string BirthDetailsText(const core::BirthData& b, const entry::BirthFormSnapshot& form) {
  std::string out;
  out += Row("Name", TerminalSafe(b.Name));
  out += Row("Date of birth",
             std::to_string(b.Year) + "-" + TwoDigits(b.Month) + "-" + TwoDigits(b.Day));
  std::string zone;
  if (form.cmbTimeZone >= 0 && form.cmbTimeZone < entry::kTimeZoneCount)
    zone = entry::TimeZoneTable()[static_cast<std::size_t>(form.cmbTimeZone)].text;
  else if (form.cmbTimeZone == zones::kOtherOffsetIndex)
    zone = zones::FormatUtOffset(form.otherOffsetSecondsEast);
  out += Row("Time of birth", TwoDigits(b.Hour) + ":" + TwoDigits(b.Minute) + "  " + zone +
                                  (b.DaylightSaving ? ", daylight saving" : ""));
  out += Row("Latitude", Coordinate(b.LatitudeDeg, b.LatitudeMin, b.South ? 'S' : 'N'));
  out += Row("Longitude", Coordinate(b.LongitudeDeg, b.LongitudeMin, b.East ? 'E' : 'W'));
  std::string place;
  for (const std::string* part : {&form.txtMCity, &form.txtMState, &form.txtMCountry}) {
    if (part->empty()) continue;
    if (!place.empty()) place += ", ";
    place += TerminalSafe(*part);
  }
  if (!place.empty()) out += Row("Place", place);
  return out;
}

std::string SignsText(const core::ChartState& state, const display::ChartWindowModel& window) {
  std::string out;
  out += Row("Sun sign", window.lblSunSign);
  out += Row("Ascendant", window.lblLagna);
  out += Row("Moon sign", window.lblRashi);
  char ayanamsa[32];
  std::snprintf(ayanamsa, sizeof ayanamsa, "%.6f\xC2\xB0", -state.AyanamsaOffset);
  out += Row("Ayanamsa", ayanamsa);
  return out;
}

// Each body's position, the exact text where there is one, its house on the wheel and, for the
// planets, the house the report places it in (30-degree houses from the Ascendant's degree).
std::string PositionsTable(const core::ChartState& state, const display::ChartWindowModel& window) {
  // Positions to the arc-second carry their seconds and need a wider column.
  const std::size_t position_width = state.positions.to_the_second ? 16 : kPositionWidth;
  std::string out = Row("Body", Pad("Position", position_width) + Pad("Exact", kExactWidth) +
                                    Pad("Wheel house", kWheelHouseWidth) + "Report house");
  for (int i = 0; i < core::kPositionCount; ++i) {
    std::string label(core::kBodyNames[i]);
    if (i < core::kWheelBodyCount && !state.BodyNames[i].empty()) label = state.BodyNames[i];
    while (!label.empty() && label.back() == ' ') label.pop_back();
    std::string exact;
    if (i == core::kMoon) exact = state.MoonSiderealString;
    if (i == core::kAscendant) exact = state.AscendantString;
    if (i == core::kMidheaven) exact = state.MidheavenString;
    const std::string report_house =
        i < report::kPlanetCount ? HouseNumber(window.report_houses.planet_house[i]) : "";
    out += Row(label, Pad(state.PositionStrings[i], position_width) + Pad(exact, kExactWidth) +
                          Pad(HouseNumber(WheelHouse(state, i)), kWheelHouseWidth) + report_house);
  }
  return out;
}

std::string HousesTable(const display::ChartWindowModel& window) {
  std::string out = Row("House", Pad("Sign", kSignWidth) + "Bodies");
  for (int k = 0; k < display::kSignCount; ++k) {
    const int glyph = window.imgSign[k];
    const std::string sign = glyph >= 1 && glyph <= 12 ? display::kSignBoxNames[glyph - 1] : "";
    out += Row(std::to_string(k + 1), Pad(sign, kSignWidth) + BoxBodies(window.lblNatal[k]));
  }
  return out;
}

}  // namespace

void WriteChartMembers(JsonWriter& json, const core::ChartState& state,
                       const display::ChartWindowModel& window) {
  WriteBirthData(json, state.birth);
  WriteChartTexts(json, state);
  WriteWindowTexts(json, window);
  WriteReportHouses(json, window.report_houses);
}

std::string ErrorJsonLine(std::size_t line, std::string_view error) {
  std::string out;
  JsonWriter json(out);
  json.BeginObject();
  json.IntMember("line", static_cast<long>(line));
  json.StringMember("error", error);
  json.EndObject();
  return out;
}

std::string ChartText(const core::ChartState& state, const display::ChartWindowModel& window,
                      const entry::BirthFormSnapshot& form) {
  return BirthDetailsText(state.birth, form) + "\n" + SignsText(state, window) + "\n" +
         PositionsTable(state, window) + "\n" + HousesTable(window);
}

}  // namespace solvane::cli
