#include "cli/json_writer.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace solvane::cli {
namespace {

std::string OneString(std::string_view text) {
  std::string out;
  JsonWriter json(out);
  json.String(text);
  return out;
}

TEST(JsonWriter, StringsAlwaysParseBack) {
  struct Case {
    std::string in;
    std::string want;
  };
  const Case cases[] = {
      {"plain", "plain"},
      {"quote \" backslash \\ slash /", "quote \" backslash \\ slash /"},
      {"\r\n\t", "\r\n\t"},
      {std::string("nul\0byte", 8), std::string("nul\0byte", 8)},
      {"\x01\x1f", "\x01\x1f"},
      {"28\xC2\xB0 36'", "28\xC2\xB0 36'"},                                // degree sign
      {"\xE2\x82\xAC \xF0\x9F\x8C\x99", "\xE2\x82\xAC \xF0\x9F\x8C\x99"},  // euro, crescent moon
      {"\xFF\xFE", "\xEF\xBF\xBD\xEF\xBF\xBD"},                            // not UTF-8
      {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},                            // overlong '/'
      {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},            // a surrogate
      {"\xF4\x90\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // past U+10FFFF
      {"cut \xE2\x82", "cut \xEF\xBF\xBD\xEF\xBF\xBD"},  // truncated sequence
  };
  for (const Case& c : cases) {
    const std::string json = OneString(c.in);
    nlohmann::json parsed;
    ASSERT_NO_THROW(parsed = nlohmann::json::parse(json)) << json;
    EXPECT_EQ(parsed.get<std::string>(), c.want) << json;
  }
}

TEST(JsonWriter, NestedValuesAndNumbers) {
  std::string out;
  JsonWriter json(out);
  json.BeginObject();
  json.Key("a");
  json.Int(-1);
  json.Key("b");
  json.BeginArray();
  json.BeginObject();
  json.EndObject();
  json.Double(-23.85399089280802);
  json.StringArray(std::vector<std::string>{"x", "y"});
  json.EndArray();
  json.Key("c");
  json.IntArray(std::array<int, 2>{1, 2});
  json.Key("d");
  json.Double(1.0 / 0.0);
  json.Key("e");
  json.Null();
  json.EndObject();
  EXPECT_EQ(out, R"({"a":-1,"b":[{},-23.85399089280802,["x","y"]],"c":[1,2],"d":null,"e":null})");
  EXPECT_EQ(nlohmann::json::parse(out)["b"][1].get<double>(), -23.85399089280802);
}

}  // namespace
}  // namespace solvane::cli
