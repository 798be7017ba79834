// Any form snapshot, as a window, a paste or a program could hand over: texts of any bytes and
// length, list positions anywhere in the int range. A refused form leaves the previous chart
// exactly as it was; an accepted one gives a chart that is whole and agrees with itself.
#include <array>
#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "cli/json_writer.h"
#include "cli/output.h"
#include "entry/form_rules.h"
#include "entry/time_zones.h"
#include "fuzz/fuzz_support.h"
#include "report/house_report.h"
#include "run/chart_run.h"

namespace {

namespace core = solvane::core;
namespace display = solvane::display;
namespace entry = solvane::entry;
namespace report = solvane::report;
using solvane::fuzz::ByteReader;

constexpr std::array<std::string_view, 12> kSigns = {"Ari", "Tau", "Gem", "Can", "Leo", "Vir",
                                                     "Lib", "Sco", "Sag", "Cap", "Aqu", "Pis"};
// A pasted text can be long; this is far beyond any box and still quick to copy around.
constexpr std::size_t kHugeText = 128 * 1024;

int SignOf(std::string_view abbreviation) {
  for (int i = 0; i < 12; ++i)
    if (kSigns[i] == abbreviation) return i;
  return -1;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "DD Sgn MM": whole degrees 00..29 and minutes 00..59 of a sign.
bool IsShortPosition(std::string_view p) {
  return p.size() == 9 && IsDigit(p[0]) && p[0] <= '2' && IsDigit(p[1]) && p[2] == ' ' &&
         SignOf(p.substr(3, 3)) >= 0 && p[6] == ' ' && IsDigit(p[7]) && p[7] <= '5' &&
         IsDigit(p[8]);
}

// 0..359: the whole degree of the circle a short position names.
int Degree(std::string_view p) {
  return SignOf(p.substr(3, 3)) * 30 + (p[0] - '0') * 10 + (p[1] - '0');
}

bool SameState(const core::ChartState& a, const core::ChartState& b) {
  return a.birth == b.birth && a.ZoneHours == b.ZoneHours && a.ZoneMinutes == b.ZoneMinutes &&
         a.AyanamsaOffset == b.AyanamsaOffset && a.AscendantString == b.AscendantString &&
         a.MidheavenString == b.MidheavenString && a.MoonSiderealString == b.MoonSiderealString &&
         a.RashiName == b.RashiName && a.PositionStrings == b.PositionStrings &&
         a.BodyNames == b.BodyNames;
}

bool SameWindow(const display::ChartWindowModel& a, const display::ChartWindowModel& b) {
  return a.lblName == b.lblName && a.lblDOB == b.lblDOB && a.lblTOB == b.lblTOB &&
         a.lblLatitude == b.lblLatitude && a.lblLongitude == b.lblLongitude &&
         a.lblCity == b.lblCity && a.lblSunSign == b.lblSunSign && a.lblLagna == b.lblLagna &&
         a.lblRashi == b.lblRashi && a.lblPlanet == b.lblPlanet && a.sign_boxes == b.sign_boxes &&
         a.sign_boxes_visible == b.sign_boxes_visible && a.lblNatal == b.lblNatal &&
         a.imgSign == b.imgSign && a.RTBHouseDesc == b.RTBHouseDesc &&
         a.report_houses.planet_house == b.report_houses.planet_house;
}

// The chart of an ordinary birth, standing for whatever was on screen before.
struct Previous {
  core::ChartState state;
  Previous() {
    display::ChartWindowModel window;
    entry::BirthFormSnapshot form;
    form.txtName = "EARLIER";
    form.cboYear = 79;
    form.cboMonth = 7;
    form.cboDate = 14;
    form.cmbTimeZone = 34;
    form.txtLonD = "77";
    form.txtLonM = "13";
    form.txtLatD = "28";
    form.txtLatM = "36";
    FUZZ_CHECK(solvane::run::RunChart(form, display::EnglishMonthName, state, window).has_value(),
               "the ordinary birth is refused");
  }
};

entry::BirthFormSnapshot Snapshot(ByteReader& in) {
  entry::BirthFormSnapshot form;
  const std::uint8_t options = in.Byte();
  form.chkDST = options & 1;
  form.optLongEast = options & 2;
  form.optLatSouth = options & 4;
  form.cboMonth = solvane::fuzz::ListPosition(in, 12);
  form.cboDate = solvane::fuzz::ListPosition(in, 31);
  form.cboYear = solvane::fuzz::ListPosition(in, entry::kLastYear - entry::kFirstYear + 1);
  form.cboHH = solvane::fuzz::ListPosition(in, 24);
  form.cboMM = solvane::fuzz::ListPosition(in, 60);
  form.cboSS = solvane::fuzz::ListPosition(in, 60);
  form.cmbTimeZone = solvane::fuzz::ListPosition(in, entry::kTimeZoneCount);
  std::string* texts[] = {&form.txtName, &form.txtLonD,  &form.txtLonM,   &form.txtLatD,
                          &form.txtLatM, &form.txtMCity, &form.txtMState, &form.txtMCountry};
  for (std::string* text : texts) *text = std::string(in.ShortText());
  // Now and then a huge paste into one box: its text repeated.
  if ((options & 0x38) == 0x38) {
    std::string& text = *texts[in.Byte() % 8];
    if (text.empty()) text = " ";
    const std::string unit = text;
    while (text.size() < kHugeText) text += unit;
  }
  return form;
}

// Whether `name` plainly is no name, judged without the form's own rules: bytes that are not
// UTF-8 (as a strict JSON encoder finds them), or ASCII other than letters, blanks, - ' and .
bool PlainlyNoName(std::string_view name) {
  for (const char c : name) {
    const auto b = static_cast<unsigned char>(c);
    const bool letter = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
    if (b < 0x80 && !letter && b != ' ' && b != '-' && b != '\'' && b != '.') return true;
  }
  try {
    (void)nlohmann::json(std::string(name)).dump();
  } catch (const nlohmann::json::type_error&) {
    return true;
  }
  return false;
}

void CheckRefused(const entry::Refusal& refusal, const core::ChartState& state,
                  const display::ChartWindowModel& window, const Previous& previous) {
  FUZZ_CHECK(!refusal.message.text.empty(), "a refusal without a message");
  FUZZ_CHECK(refusal.focus != "txtName" || refusal.message.text == "Please Enter Name" ||
                 refusal.message.text == "Please Enter only Letters",
             "the name refused with '%s'", refusal.message.text.c_str());
  constexpr std::string_view kFocus[] = {"", "txtName", "txtLonD", "txtLonM", "txtLatD", "txtLatM"};
  bool known = false;
  for (const auto focus : kFocus) known = known || refusal.focus == focus;
  FUZZ_CHECK(known, "focus on '%s', which is no box of the form", refusal.focus.c_str());
  FUZZ_CHECK(SameState(state, previous.state), "a refused form changed the chart state");
  FUZZ_CHECK(SameWindow(window, display::ChartWindowModel{}), "a refused form filled the window");
}

void CheckBirth(const entry::BirthFormSnapshot& form, const core::BirthData& b) {
  FUZZ_CHECK(b.Name == form.txtName, "the name is not stored as typed");
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  FUZZ_CHECK(b.Month >= 1 && b.Month <= 12 && b.Day >= 1 && b.Day <= kDays[b.Month - 1] &&
                 !(b.Month == 2 && b.Day == 29 && b.Year % 4 != 0),
             "accepted date %d/%d/%d", b.Day, b.Month, b.Year);
  FUZZ_CHECK(b.Year >= entry::kFirstYear && b.Year <= entry::kLastYear, "year %d", b.Year);
  FUZZ_CHECK(b.Hour >= 0 && b.Hour < 24 && b.Minute >= 0 && b.Minute < 60, "time %d:%d", b.Hour,
             b.Minute);
  FUZZ_CHECK(
      b.LongitudeDeg >= 0 && b.LongitudeDeg <= 179 && b.LongitudeMin >= 0 && b.LongitudeMin <= 59 &&
          b.LatitudeDeg >= 0 && b.LatitudeDeg <= 89 && b.LatitudeMin >= 0 && b.LatitudeMin <= 59,
      "coordinates %d %d %d %d", b.LongitudeDeg, b.LongitudeMin, b.LatitudeDeg, b.LatitudeMin);
  FUZZ_CHECK(b.East == (form.optLongEast ? core::kTrue : core::kFalse) &&
                 b.South == (form.optLatSouth ? core::kTrue : core::kFalse) &&
                 b.DaylightSaving == (form.chkDST ? core::kTrue : core::kFalse),
             "options stored wrongly");
}

void CheckChart(const entry::BirthFormSnapshot& form, const core::ChartState& state,
                const display::ChartWindowModel& window) {
  CheckBirth(form, state.birth);
  const auto& zone = entry::TimeZoneTable()[static_cast<std::size_t>(form.cmbTimeZone)];
  FUZZ_CHECK(state.ZoneHours == zone.zone_hours && state.ZoneMinutes == zone.zone_minutes,
             "zone offset of position %d", form.cmbTimeZone);

  for (int i = 0; i < core::kPositionCount; ++i)
    FUZZ_CHECK(IsShortPosition(state.PositionStrings[i]), "position %d is '%s'", i,
               state.PositionStrings[i].c_str());
  // The nodes lie opposite each other.
  const std::string& rahu = state.PositionStrings[core::kRahu];
  const std::string& ketu = state.PositionStrings[core::kKetu];
  FUZZ_CHECK((SignOf(rahu.substr(3, 3)) + 6) % 12 == SignOf(ketu.substr(3, 3)) &&
                 rahu.substr(0, 2) == ketu.substr(0, 2) && rahu.substr(7) == ketu.substr(7),
             "Rahu %s and Ketu %s are not opposite", rahu.c_str(), ketu.c_str());
  for (int i = 0; i < core::kWheelBodyCount; ++i) {
    const std::string plain = std::string(core::kBodyNames[i]);
    const bool retrograde = state.BodyNames[i] == plain + " (R) ";
    FUZZ_CHECK(state.BodyNames[i] == plain || retrograde, "body name '%s'",
               state.BodyNames[i].c_str());
    // Seen from the Earth, the Sun and the Moon never move backwards.
    FUZZ_CHECK(!(retrograde && i <= core::kMoon), "%s marked retrograde", plain.c_str());
  }

  // Whole-sign houses from the Ascendant's sign: glyphs in order, every body in its sign's box.
  const int ascendant_sign = SignOf(state.PositionStrings[core::kAscendant].substr(3, 3));
  FUZZ_CHECK(!window.sign_boxes_visible, "the sign boxes are still shown");
  for (int k = 0; k < 12; ++k) {
    FUZZ_CHECK(window.imgSign[k] == (ascendant_sign + k) % 12 + 1, "house %d shows glyph %d", k + 1,
               window.imgSign[k]);
    std::string want;
    for (int i = 0; i < core::kWheelBodyCount; ++i)
      if (SignOf(state.PositionStrings[i].substr(3, 3)) == (ascendant_sign + k) % 12)
        want += "\r\n" + state.BodyNames[i];
    if (k == 0) want += "\r\nAsc";
    FUZZ_CHECK(window.lblNatal[k] == want, "house box %d holds '%s'", k + 1,
               window.lblNatal[k].c_str());
  }
  for (int i = 0; i < display::kPositionRows; ++i)
    FUZZ_CHECK(window.lblPlanet[i] == state.PositionStrings[i], "table row %d", i);

  // The report places every planet, 30 degrees a house from the Ascendant's degree.
  const int first = Degree(state.PositionStrings[core::kAscendant]);
  std::size_t placed = 0;
  for (int k = 0; k < report::kPlanetCount; ++k) {
    const int house = (Degree(state.PositionStrings[k]) - first + 360) % 360 / 30 + 1;
    FUZZ_CHECK(window.report_houses.planet_house[k] == house, "planet %d in house %d, not %d", k,
               window.report_houses.planet_house[k], house);
    ++placed;
  }
  FUZZ_CHECK(window.RTBHouseDesc.size() == 4 * placed + 2 * window.report_houses.sections.size(),
             "%zu report pieces", window.RTBHouseDesc.size());

  // The whole chart as a JSON object, whatever bytes the names and places hold.
  std::string json_text;
  solvane::cli::JsonWriter json(json_text);
  json.BeginObject();
  solvane::cli::WriteChartMembers(json, state, window);
  json.EndObject();
  FUZZ_CHECK(nlohmann::json::accept(json_text), "the chart's JSON does not parse");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 4096) return -1;
  static const Previous previous;
  ByteReader in(data, size);
  const entry::BirthFormSnapshot form = Snapshot(in);

  // The state carries the previous chart; the window is made afresh for every run.
  core::ChartState state = previous.state;
  display::ChartWindowModel window;
  const auto charted = solvane::run::RunChart(form, display::EnglishMonthName, state, window);
  // Nothing that is not a name reaches a chart, and the name is what is refused first.
  if (PlainlyNoName(form.txtName))
    FUZZ_CHECK(!charted && charted.error().focus == "txtName", "the name '%s' was not refused",
               form.txtName.c_str());
  if (!charted) {
    CheckRefused(charted.error(), state, window, previous);
  } else {
    CheckChart(form, state, window);
  }
  return 0;
}
