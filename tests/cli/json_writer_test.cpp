#include "cli/json_writer.h"

#include <gtest/gtest.h>

#include <functional>
#include <nlohmann/json.hpp>
#include <string>

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

// The writer appends to the text it is given, holds room beyond it only while a value is open,
// and leaves exactly the text once the outermost value is closed: short and long texts, keys that
// need escaping, values written elsewhere.
TEST(JsonWriter, LeavesExactlyTheTextOnceClosed) {
  const std::string long_plain(300, 'x');
  const std::string long_escaped = std::string(70, 'y') + "\"\n";
  struct Case {
    const char* what;
    std::function<void(JsonWriter&)> write;
    std::string want;  // after "prefix "
  };
  const Case cases[] = {
      {"a string alone", [](JsonWriter& j) { j.String("a"); }, R"("a")"},
      {"a number alone", [](JsonWriter& j) { j.Double(0.5); }, "0.5"},
      {"a long plain string", [&](JsonWriter& j) { j.String(long_plain); },
       "\"" + long_plain + "\""},
      {"a long string to escape", [&](JsonWriter& j) { j.String(long_escaped); },
       "\"" + std::string(70, 'y') + R"(\"\n")"},
      {"keys to escape",
       [](JsonWriter& j) {
         j.BeginObject();
         j.Key("a\"b");
         j.Int(1);
         j.Key("");
         j.Bool(false);
         j.EndObject();
       },
       R"({"a\"b":1,"":false})"},
      {"values written elsewhere",
       [](JsonWriter& j) {
         j.BeginArray();
         j.Raw(R"({"x":[1,2]})");
         j.Raw("3");
         j.Int(-4);
         j.EndArray();
       },
       R"([{"x":[1,2]},3,-4])"},
      {"many members, past the first room",
       [](JsonWriter& j) {
         j.BeginObject();
         for (int i = 0; i < 2000; ++i) j.IntMember("k" + std::to_string(i), i);
         j.EndObject();
       },
       [] {
         std::string want = "{";
         for (int i = 0; i < 2000; ++i)
           want += (i ? ",\"k" : "\"k") + std::to_string(i) + "\":" + std::to_string(i);
         return want + "}";
       }()},
  };
  for (const Case& c : cases) {
    std::string out = "prefix ";
    JsonWriter json(out);
    c.write(json);
    EXPECT_EQ(out, "prefix " + c.want) << c.what;
  }
}

// A text taken away once its value is complete, as a batch row's line is returned, is not touched
// by the writer afterwards.
TEST(JsonWriter, TextMovedAwayIsLeftAlone) {
  std::string kept;
  std::string out;
  {
    JsonWriter json(out);
    json.BeginObject();
    json.StringMember("a", "b");
    json.EndObject();
    kept = std::move(out);
    out = "reused for a text longer than the first";
  }
  EXPECT_EQ(kept, R"({"a":"b"})");
  EXPECT_EQ(out, "reused for a text longer than the first");
}

}  // namespace
}  // namespace solvane::cli
