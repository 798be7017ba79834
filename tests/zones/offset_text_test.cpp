// Offsets as the command line takes them and as the texts show them.
#include "zones/offset_text.h"

#include <gtest/gtest.h>

namespace solvane::zones {
namespace {

TEST(ParseExactOffset, AcceptsSignedHoursMinutesSeconds) {
  struct Case {
    const char* text;
    std::int32_t want_s;
  };
  const Case cases[] = {
      {"+05:21:10", 5 * 3600 + 21 * 60 + 10},  // Madras Mean Time
      {"-03:30", -(3 * 3600 + 30 * 60)},       // Newfoundland
      {"+5", 5 * 3600},
      {"-0", 0},
      {"+14:00", 14 * 3600},  // the range's ends
      {"-14", -14 * 3600},
      {"+0:19:32", 1172},  // one-digit hours are fine
  };
  for (const Case& c : cases) {
    const auto got = ParseExactOffset(c.text);
    ASSERT_TRUE(got) << c.text << ": " << got.error().message;
    EXPECT_EQ(*got, c.want_s) << c.text;
  }
}

TEST(ParseExactOffset, RefusesAnythingElseWithAMessage) {
  struct Case {
    const char* text;
    const char* message_part;
  };
  const Case cases[] = {
      {"", "is not an offset"},          {"5:30", "is not an offset"},  // no sign
      {"+5:3", "is not an offset"},      {"+05:60", "is not an offset"},
      {"+05:30:60", "is not an offset"}, {"+123", "is not an offset"},
      {"+05:30x", "is not an offset"},   {"+05.5", "is not an offset"},
      {"+ 5", "is not an offset"},       {"+05:30:00:00", "is not an offset"},
      {"+14:00:01", "beyond 14 hours"},  {"-15", "beyond 14 hours"},
  };
  for (const Case& c : cases) {
    const auto got = ParseExactOffset(c.text);
    ASSERT_FALSE(got) << c.text;
    EXPECT_NE(got.error().message.find(c.message_part), std::string::npos)
        << c.text << ": " << got.error().message;
  }
}

TEST(FormatOffset, SecondsOnlyWhenNotWholeMinutes) {
  struct Case {
    std::int32_t offset_s;
    const char* ut_text;
    const char* exact_text;
    ExactOffset parts;
  };
  // clang-format off
  const Case cases[] = {
      {19800, "UT+5:30", "+05:30", {true, 5, 30, 0}},
      {-14400, "UT-4:00", "-04:00", {false, 4, 0, 0}},
      {1172, "UT+0:19:32", "+00:19:32", {true, 0, 19, 32}},   // Amsterdam Mean Time
      {0, "UT+0:00", "+00:00", {true, 0, 0, 0}},
      {-968, "UT-0:16:08", "-00:16:08", {false, 0, 16, 8}},   // Abidjan's local mean time
      {50400, "UT+14:00", "+14:00", {true, 14, 0, 0}},
  };
  // clang-format on
  for (const Case& c : cases) {
    EXPECT_EQ(FormatUtOffset(c.offset_s), c.ut_text);
    EXPECT_EQ(FormatExactOffset(c.offset_s), c.exact_text);
    EXPECT_EQ(SplitOffset(c.offset_s), c.parts) << c.ut_text;
    const auto back = ParseExactOffset(c.exact_text);  // the command line reads its own output
    ASSERT_TRUE(back) << c.exact_text;
    EXPECT_EQ(*back, c.offset_s);
  }
}

}  // namespace
}  // namespace solvane::zones
