#include "cli/places.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace solvane::cli {
namespace {

TEST(ParsePlaceQuery, CityStateCountry) {
  struct Case {
    const char* text;
    const char* city;
    const char* state;
    const char* country;
  };
  const Case cases[] = {
      {"New Delhi, Delhi, India", "New Delhi", "Delhi", "India"},
      {"  Madrid ", "Madrid", "", ""},
      {"Springfield,,US", "Springfield", "", "US"},
      {"a, b, c, d", "a", "b", "c, d"},  // the country keeps the rest
      {"", "", "", ""},
  };
  for (const Case& c : cases) {
    const PlaceQuery q = ParsePlaceQuery(c.text);
    EXPECT_EQ(q.city, c.city) << c.text;
    EXPECT_EQ(q.state, c.state) << c.text;
    EXPECT_EQ(q.country, c.country) << c.text;
  }
}

TEST(FindPlace, FlagsThatTheChartReadsBack) {
  const PlaceQuery q = ParsePlaceQuery("New Delhi, Delhi, India");
  const auto places = entry::Atlas::BuiltIn().Find(q.city, q.state, q.country, 3);
  ASSERT_FALSE(places.empty());
  const std::string text = PlacesText(places);
  EXPECT_EQ(text.substr(0, text.find(")\n") + 2),
            "New Delhi, Delhi, India\n    --lat 28N38 --lon 77E13    (28\xC2\xB0 38' N, 77\xC2\xB0 "
            "13' E)\n");
  const auto json = nlohmann::json::parse(PlacesJson(places));
  EXPECT_EQ(json[0]["lat"], "28N38");  // GeoNames: 28.63576
  EXPECT_EQ(json[0]["lon"], "77E13");
  EXPECT_EQ(json[0]["country"], "India");
}

TEST(FindPlace, TheNoteComesBeforeThePlaces) {
  const entry::PlaceMatches lagos = entry::Atlas::BuiltIn().Lookup("Lagos, Brazil", 2);
  ASSERT_EQ(lagos.places.size(), 2u);
  const std::string text = PlacesText(lagos);
  EXPECT_TRUE(
      text.starts_with("No place called Lagos in Brazil. Places called Lagos "
                       "elsewhere:\nLagos, Lagos, Nigeria\n    --lat 6N27 --lon 3E24"))
      << text;
  EXPECT_EQ(text.substr(text.find('\n') + 1), PlacesText(lagos.places));

  const auto json = nlohmann::json::parse(PlacesJson(lagos));
  EXPECT_EQ(json["note"], lagos.note);
  ASSERT_EQ(json["places"].size(), 2u);
  EXPECT_EQ(json["places"][0]["country_code"], "NG");
  EXPECT_EQ(json["places"][0]["time_zone"], "Africa/Lagos");
  EXPECT_EQ(json["places"][0]["geonames_id"], 2332459);  // GeoNames' id of Lagos, Nigeria
  EXPECT_EQ(json["places"], nlohmann::json::parse(PlacesJson(lagos.places)));

  // Without a note, the text is the places alone and the note is empty.
  const entry::PlaceMatches lagos_ng = entry::Atlas::BuiltIn().Lookup("Lagos, Nigeria", 2);
  EXPECT_EQ(PlacesText(lagos_ng), PlacesText(lagos_ng.places));
  EXPECT_EQ(nlohmann::json::parse(PlacesJson(lagos_ng))["note"], "");
}

}  // namespace
}  // namespace solvane::cli
