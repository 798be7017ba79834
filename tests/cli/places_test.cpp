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
            "New Delhi, Delhi, India\n    --lat 28N37 --lon 77E13    (28\xC2\xB0 37' N, 77\xC2\xB0 "
            "13' E)\n");
  const auto json = nlohmann::json::parse(PlacesJson(places));
  EXPECT_EQ(json[0]["lat"], "28N37");
  EXPECT_EQ(json[0]["lon"], "77E13");
  EXPECT_EQ(json[0]["country"], "India");
}

}  // namespace
}  // namespace solvane::cli
