#include "cli/zone_flags.h"

#include <cstdio>

#include "cli/arguments.h"
#include "cli/safe_text.h"
#include "core/text.h"
#include "entry/atlas.h"
#include "ephemeris/time_base.h"
#include "zones/offset_text.h"
#include "zones/suggestion.h"

namespace solvane::cli {
namespace {

constexpr std::int32_t kOneHour_s = 3600;
// Places asked of the atlas for --place: the best one, and a few more to name when the state or
// country given holds none.
constexpr std::size_t kPlacesLooked = 4;
constexpr std::size_t kPlaceShownCharacters = 80;

std::string StatusName(zones::Status status) {
  switch (status) {
    case zones::Status::kOk:
      return "ok";
    case zones::Status::kLmt:
      return "lmt";
    case zones::Status::kSkipped:
      return "skipped";
    case zones::Status::kRepeated:
      return "repeated";
    case zones::Status::kHistorical:
      return "historical";
  }
  return "ok";
}

std::string StatusText(zones::Status status) {
  switch (status) {
    case zones::Status::kLmt:
      return "local mean time";
    case zones::Status::kSkipped:
      return "a time the clocks skipped";
    case zones::Status::kRepeated:
      return "a time the clocks showed twice";
    case zones::Status::kHistorical:
      return "historical";
    case zones::Status::kOk:
      break;
  }
  return "";
}

std::optional<zones::Fold> FoldNamed(std::string_view text) {
  std::string t(core::TrimBlanksAndTabs(text));
  for (char& c : t)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  if (t == "earlier") return zones::Fold::kEarlier;
  if (t == "later") return zones::Fold::kLater;
  return std::nullopt;
}

// "Indian Time, IST, +5.3" -> "IST".
std::string RowAbbreviation(std::string_view text) {
  const std::size_t first = text.find(',');
  const std::size_t second = text.find(',', first + 1);
  if (first == std::string_view::npos || second == std::string_view::npos) return {};
  return std::string(core::TrimBlanksAndTabs(text.substr(first + 1, second - first - 1)));
}

// Seconds added to UT by the form's zone and daylight saving.
std::int32_t FormOffsetSeconds(const entry::BirthFormSnapshot& form) {
  std::int32_t offset_s = form.otherOffsetSecondsEast;
  if (form.cmbTimeZone >= 0 && form.cmbTimeZone < entry::kTimeZoneCount) {
    const entry::TimeZoneRow& row =
        entry::TimeZoneTable()[static_cast<std::size_t>(form.cmbTimeZone)];
    offset_s = -(row.zone_hours * kOneHour_s + row.zone_minutes * 60);
  }
  return offset_s + (form.chkDST ? kOneHour_s : 0);
}

// The form's longitude, east positive, as the chart reads it (whole degrees and minutes).
double FormLongitude(const entry::BirthFormSnapshot& form) {
  const double degrees = entry::WholeNumber(form.txtLonD).value_or(0) +
                         entry::WholeNumber(form.txtLonM).value_or(0) / 60.0;
  return form.optLongEast ? degrees : -degrees;
}

zones::LocalDateTime LocalOf(const entry::BirthFormSnapshot& form) {
  // The chart reads the clock to the minute, and so does the zone.
  return {entry::kFirstYear + form.cboYear,
          form.cboMonth + 1,
          form.cboDate + 1,
          form.cboHH,
          form.cboMM,
          0};
}

std::string PlaceWhere(const entry::Place& place) {
  std::string where = place.name;
  if (!place.division.empty()) where += ", " + place.division;
  return where + ", " + std::string(entry::CountryName(place.country_code));
}

// The atlas's best match; a place the state or country given does not hold is not taken silently.
core::Result<entry::Place> MatchPlace(std::string_view text, std::string_view prefix) {
  const entry::PlaceMatches matches = entry::Atlas::BuiltIn().Lookup(text, kPlacesLooked);
  const std::string flag = std::string(prefix) + "place: ";
  if (matches.places.empty())
    return core::Fail(flag + "no place called " + Quoted(text, kPlaceShownCharacters) +
                      " in the atlas");
  if (!matches.note.empty()) {
    std::string message = flag + TerminalSafe(matches.note);
    for (std::size_t i = 0; i < matches.places.size(); ++i)
      message += (i == 0 ? " " : "; ") + TerminalSafe(PlaceWhere(matches.places[i]));
    return core::Fail(message + ". Name the state or country of the place meant.");
  }
  return matches.places.front();
}

void ApplyPlace(const entry::Place& place, const ZoneRequest& request,
                entry::BirthFormSnapshot& form) {
  // The atlas's coordinates always read back in the flags' syntax, so these cannot fail.
  if (!request.lon_given) (void)ParseLongitude(entry::FlagCoordinate(place.longitude, false), form);
  if (!request.lat_given) (void)ParseLatitude(entry::FlagCoordinate(place.latitude, true), form);
  if (!request.city_given) form.txtMCity = place.name;
  if (!request.state_given) form.txtMState = place.division;
  if (!request.country_given)
    form.txtMCountry = std::string(entry::CountryName(place.country_code));
}

PlaceChoice PlaceChoiceOf(const entry::Place& place) {
  return {place.name, place.division, place.country_code, place.latitude, place.longitude};
}

// A repeated time with no fold: both readings, and the fold that takes each.
std::string RepeatedRefusal(const zones::ZoneAnswer& answer, std::string_view prefix) {
  std::string message = answer.zone + ": ";
  message += answer.notes.empty() ? "the clocks showed this time twice." : answer.notes.front();
  const auto reading = [](const zones::Reading& r) {
    return zones::FormatUtOffset(r.total_offset_s) + " (" + r.abbreviation + ")";
  };
  const std::string fold = std::string(prefix) + "fold ";
  if (answer.earlier && answer.later)
    return message + " " + fold + "earlier takes " + reading(*answer.earlier) + ", " + fold +
           "later " + reading(*answer.later) + ".";
  return message + " Give " + fold + "earlier or " + fold + "later.";
}

// Puts the database's reading into the form: the listed zone (with daylight saving ticked) that
// gives it, or the exact offset; the fields given win.
void ApplyReading(const zones::ZoneAnswer& answer, const ZoneRequest& request,
                  entry::BirthFormSnapshot& form, ZoneChoice& choice) {
  const zones::Reading& reading = answer.reading;
  const zones::FormZone zone = zones::FormZoneFor(reading);
  form.cmbTimeZone = zone.index;
  if (zone.index == zones::kOtherOffsetIndex) form.otherOffsetSecondsEast = reading.total_offset_s;
  if (!request.dst_given) form.chkDST = zone.daylight_saving;
  choice.from_tz = true;
  choice.tz = answer.zone;
  choice.abbreviation = reading.abbreviation;
  choice.status = answer.status;
  choice.notes = answer.notes;
  choice.dst_s = reading.daylight_s;
  if (request.dst_given && FormOffsetSeconds(form) != reading.total_offset_s) {
    choice.dst_s = form.chkDST ? kOneHour_s : 0;
    choice.notes.push_back("The daylight saving given overrides the database's: the chart uses " +
                           zones::FormatUtOffset(FormOffsetSeconds(form)) +
                           ", the database reads " + zones::FormatUtOffset(reading.total_offset_s) +
                           ".");
  }
}

// The notes on the fold: which reading of a skipped time was taken, or a fold that chose nothing.
void AddFoldNotes(const zones::ZoneAnswer& answer, const ZoneRequest& request, ZoneChoice& choice) {
  if (answer.status == zones::Status::kSkipped && answer.needs_choice && answer.later)
    choice.notes.push_back("Charted with the reading before the jump, " +
                           zones::FormatUtOffset(answer.reading.total_offset_s) +
                           ", until one is chosen: " + std::string(request.prefix) +
                           "fold later takes the one after it, " +
                           zones::FormatUtOffset(answer.later->total_offset_s) + ".");
  const bool two_readings =
      answer.status == zones::Status::kSkipped || answer.status == zones::Status::kRepeated;
  if (request.fold && !two_readings)
    choice.notes.push_back("The clock showed this time once: " + std::string(request.prefix) +
                           "fold chose nothing.");
}

}  // namespace

std::optional<std::string> ZoneRequestConflict(const ZoneRequest& request) {
  const std::string p(request.prefix);
  if (request.fold && !FoldNamed(*request.fold))
    return p + "fold: expected earlier or later, got " + Quoted(*request.fold);
  if (request.tz && request.zone_given)
    return p + "tz and " + p +
           "zone cannot go together: the zone comes either from the tz database or as given";
  if (request.tz && request.dst_given)
    return p + "tz and " + p +
           "dst cannot go together: the tz database says whether the clock kept daylight saving";
  if (request.fold && !request.tz && !request.place)
    return p + "fold chooses between two readings of the tz database: it needs " + p + "place or " +
           p + "tz";
  if (request.fold && request.zone_given)
    return p + "fold and " + p +
           "zone cannot go together: with the zone given, no reading of the tz database is chosen";
  return std::nullopt;
}

ZoneChoice ListZoneChoice(const entry::BirthFormSnapshot& form) {
  ZoneChoice choice;
  choice.dst_s = form.chkDST ? kOneHour_s : 0;
  if (form.cmbTimeZone >= 0 && form.cmbTimeZone < entry::kTimeZoneCount)
    choice.abbreviation =
        RowAbbreviation(entry::TimeZoneTable()[static_cast<std::size_t>(form.cmbTimeZone)].text);
  return choice;
}

core::Result<ZoneChoice> ApplyZoneRequest(const ZoneRequest& request,
                                          entry::BirthFormSnapshot& form) {
  if (const auto conflict = ZoneRequestConflict(request)) return core::Fail(*conflict);
  std::optional<PlaceChoice> place;
  std::string tz = request.tz.value_or("");
  if (request.place) {
    const auto matched = MatchPlace(*request.place, request.prefix);
    if (!matched) return core::Fail(matched.error().message);
    ApplyPlace(*matched, request, form);
    place = PlaceChoiceOf(*matched);
    if (!request.tz) tz = matched->time_zone;
  }
  ZoneChoice choice = ListZoneChoice(form);
  choice.place = place;
  // With the zone given, or a form its own checks refuse, the database has nothing to decide.
  if (tz.empty() || request.zone_given || !entry::ValidateBirthForm(form)) return choice;
  const zones::Fold fold = request.fold ? *FoldNamed(*request.fold) : zones::Fold::kUnset;
  const auto answer = zones::LookUp({tz, FormLongitude(form), LocalOf(form), fold});
  const std::string source = std::string(request.prefix) + (request.tz ? "tz: " : "place: ");
  if (!answer) return core::Fail(source + answer.error().message);
  if (answer->needs_choice && answer->status == zones::Status::kRepeated)
    return core::Fail(source + RepeatedRefusal(*answer, request.prefix));
  ApplyReading(*answer, request, form, choice);
  AddFoldNotes(*answer, request, choice);
  return choice;
}

namespace {

ZoneRequest RequestOf(const Flags& flags) {
  ZoneRequest request;
  request.place = flags.place;
  request.tz = flags.tz;
  request.fold = flags.fold;
  const auto given = [&](const char* field) { return flags.fields.count(field) > 0; };
  request.zone_given = given("zone");
  request.dst_given = given("dst");
  request.lon_given = given("lon");
  request.lat_given = given("lat");
  request.city_given = given("city");
  request.state_given = given("state");
  request.country_given = given("country");
  return request;
}

}  // namespace

std::optional<std::string> ZoneConflict(const Flags& flags) {
  return ZoneRequestConflict(RequestOf(flags));
}

core::Result<ZoneChoice, CliFailure> ApplyZoneFlags(const Flags& flags,
                                                    entry::BirthFormSnapshot& form) {
  auto choice = ApplyZoneRequest(RequestOf(flags), form);
  if (!choice) return core::Unexpected{CliFailure{kExitRefused, choice.error().message}};
  return *choice;
}

std::int32_t ChartOffsetSeconds(const core::ChartState& state) {
  const std::int32_t to_ut_s =
      state.ZoneHours * kOneHour_s + state.ZoneMinutes * 60 + state.ZoneSeconds;
  return -to_ut_s + (state.birth.DaylightSaving != 0 ? kOneHour_s : 0);
}

namespace {

std::string UniversalTimeText(const core::ChartState& state) {
  const ephemeris::CivilMoment ut = ephemeris::BirthUniversalMoment(
      state.birth, state.ZoneHours, state.ZoneMinutes, state.ZoneSeconds);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", ut.year, ut.month, ut.day,
                ut.hour, ut.minute, ut.second);
  return text;
}

}  // namespace

void WriteZoneMembers(JsonWriter& json, const ZoneChoice& choice, const core::ChartState& state) {
  json.Key("Zone");
  json.BeginObject();
  json.StringMember("source", choice.from_tz ? "tz" : "list");
  json.Key("tz");
  if (choice.from_tz)
    json.String(choice.tz);
  else
    json.Null();
  json.IntMember("offset_seconds", ChartOffsetSeconds(state));
  json.IntMember("dst_seconds", choice.dst_s);
  json.StringMember("abbreviation", choice.abbreviation);
  json.StringMember("status", StatusName(choice.status));
  json.Key("notes");
  json.StringArray(choice.notes);
  json.StringMember("universal_time", UniversalTimeText(state));
  json.EndObject();
  if (!choice.place) return;
  json.Key("Place");
  json.BeginObject();
  json.StringMember("name", choice.place->name);
  json.StringMember("admin1", choice.place->admin1);
  json.StringMember("country_code", choice.place->country_code);
  json.DoubleMember("latitude", choice.place->latitude_deg);
  json.DoubleMember("longitude", choice.place->longitude_deg);
  json.EndObject();
}

std::string ZoneText(const ZoneChoice& choice, const core::ChartState& state) {
  if (!choice.from_tz && !choice.place) return "";
  const auto row = [](std::string label, const std::string& value) {
    label.resize(16, ' ');
    return label + value + "\n";
  };
  std::string out;
  if (choice.place) {
    char where[96];
    std::snprintf(where, sizeof where, " (%.4f, %.4f)", choice.place->latitude_deg,
                  choice.place->longitude_deg);
    std::string name = choice.place->name;
    if (!choice.place->admin1.empty()) name += ", " + choice.place->admin1;
    out += row("Atlas place", TerminalSafe(name + ", " + choice.place->country_code) + where);
  }
  std::string zone = choice.from_tz ? choice.tz + ", " + choice.abbreviation + ", " : "";
  zone += zones::FormatUtOffset(ChartOffsetSeconds(state));
  if (!StatusText(choice.status).empty()) zone += " (" + StatusText(choice.status) + ")";
  out += row("Zone", zone);
  out += row("Universal time", UniversalTimeText(state));
  for (const std::string& note : choice.notes) out += row("Note", note);
  return out;
}

}  // namespace solvane::cli
