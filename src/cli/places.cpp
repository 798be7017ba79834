#include "cli/places.h"

#include "cli/json_writer.h"

namespace solvane::cli {
namespace {

std::string Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return std::string(s);
}

std::string Where(const entry::Place& place) {
  std::string where = place.name;
  if (!place.division.empty()) where += ", " + place.division;
  const std::string_view country = entry::CountryName(place.country_code);
  where += ", ";
  where += country.empty() ? std::string_view(place.country_code) : country;
  return where;
}

void WritePlaces(JsonWriter& json, const std::vector<entry::Place>& places) {
  json.BeginArray();
  for (const entry::Place& place : places) {
    json.BeginObject();
    json.StringMember("name", place.name);
    json.StringMember("division", place.division);
    json.StringMember("country_code", place.country_code);
    json.StringMember("country", entry::CountryName(place.country_code));
    json.DoubleMember("latitude", place.latitude);
    json.DoubleMember("longitude", place.longitude);
    json.IntMember("population", place.population);
    json.StringMember("lat", entry::FlagCoordinate(place.latitude, true));
    json.StringMember("lon", entry::FlagCoordinate(place.longitude, false));
    json.StringMember("time_zone", place.time_zone);
    json.IntMember("geonames_id", static_cast<long>(place.geonames_id));
    json.EndObject();
  }
  json.EndArray();
}

}  // namespace

PlaceQuery ParsePlaceQuery(std::string_view text) {
  PlaceQuery query;
  std::string* parts[] = {&query.city, &query.state, &query.country};
  for (int i = 0; i < 3; ++i) {
    const std::size_t comma = i < 2 ? text.find(',') : std::string_view::npos;
    *parts[i] = Trimmed(text.substr(0, comma));
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return query;
}

std::string PlacesText(const std::vector<entry::Place>& places) {
  std::string out;
  for (const entry::Place& place : places) {
    out += Where(place);
    out += "\n    --lat " + entry::FlagCoordinate(place.latitude, true) + " --lon " +
           entry::FlagCoordinate(place.longitude, false) + "    (" +
           entry::FormatCoordinate(place.latitude, true) + ", " +
           entry::FormatCoordinate(place.longitude, false) + ")\n";
  }
  return out;
}

std::string PlacesJson(const std::vector<entry::Place>& places) {
  std::string out;
  JsonWriter json(out);
  WritePlaces(json, places);
  return out + "\n";
}

std::string PlacesText(const entry::PlaceMatches& matches) {
  const std::string places = PlacesText(matches.places);
  return matches.note.empty() ? places : matches.note + "\n" + places;
}

std::string PlacesJson(const entry::PlaceMatches& matches) {
  std::string out;
  JsonWriter json(out);
  json.BeginObject();
  json.StringMember("note", matches.note);
  json.Key("places");
  WritePlaces(json, matches.places);
  json.EndObject();
  return out + "\n";
}

}  // namespace solvane::cli
