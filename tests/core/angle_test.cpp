#include "core/angle.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/zodiac.h"

namespace solvane::core {
namespace {

TEST(WrapDegrees, IntoOneTurnFromEitherSide) {
  struct Case {
    double in, want;
  };
  const Case cases[] = {
      {0, 0},          {359.5, 359.5}, {360, 0},   {725, 5},
      {-10, 350},      {-370, 350},    {-720, 0},  {1e6, 280},
      {-1e-15, 0},  // a tiny negative value plus a turn rounds to 360, which is 0
  };
  for (const Case& c : cases) EXPECT_EQ(WrapDegrees(c.in), c.want) << c.in;
}

TEST(Angle, SignAndTruncatedPartsWithinTheSign) {
  struct Case {
    double degrees;
    int sign;
    SignDms dms;
    const char* long_text;
    const char* short_text;
  };
  const Case cases[] = {
      {0, 0, {0, 0, 0}, "0\xC2\xB0 0' 0\" Ari", "00 Ari 00"},
      {35.125, 1, {5, 7, 30}, "5\xC2\xB0 7' 30\" Tau", "05 Tau 07"},
      {35.12, 1, {5, 7, 11}, "5\xC2\xB0 7' 11\" Tau", "05 Tau 07"},  // truncation after subtraction
      {30, 1, {0, 0, 0}, "0\xC2\xB0 0' 0\" Tau", "00 Tau 00"},  // a boundary belongs to the next sign
      {29.9999999, 0, {29, 59, 59}, "29\xC2\xB0 59' 59\" Ari", "29 Ari 59"},  // no carry
      {359.99, 11, {29, 59, 24}, "29\xC2\xB0 59' 24\" Pis", "29 Pis 59"},
      // A whole turn has no sign; its short text takes the long text's last characters as they stand.
      {360, -1, {0, 0, 0}, "0\xC2\xB0 0' 0\" ", "00 0\" 00"},
      {-35.125, -1, {5, 7, 30}, "5\xC2\xB0 7' 30\" Tau", "05 Tau 07"},  // texts drop the sign
  };
  for (const Case& c : cases) {
    const Angle a(c.degrees);
    EXPECT_EQ(a.SignIndex(), c.sign) << c.degrees;
    EXPECT_EQ(a.InSign(), c.dms) << c.degrees;
    EXPECT_EQ(a.LongText(), c.long_text) << c.degrees;
    EXPECT_EQ(a.ShortText(), c.short_text) << c.degrees;
  }
}

TEST(Angle, ShortTextWithSecondsForEnginesGoodToTheArcSecond) {
  EXPECT_EQ(Angle(35.125).ShortTextWithSeconds(), "05 Tau 07' 30\"");
  EXPECT_EQ(Angle(0.0002).ShortTextWithSeconds(), "00 Ari 00' 00\"");
  EXPECT_EQ(Angle(359.9999).ShortTextWithSeconds(), "29 Pis 59' 59\"");
}

TEST(Angle, EveryWholeArcMinuteRoundTripsThroughItsShortText) {
  // The report and the wheel read sign and degrees from the number; they must agree with the text
  // the positions panel shows for every minute of the circle.
  for (int minute = 0; minute < 360 * 60; ++minute) {
    const Angle a(minute / 60.0 + 1e-9);
    const std::string text = a.ShortText();
    ASSERT_EQ(SignIndexOf(text.substr(3, 3)), a.SignIndex()) << text;
    ASSERT_EQ(std::stoi(text.substr(0, 2)), a.InSign().degrees) << text;
    ASSERT_EQ(std::stoi(text.substr(7, 2)), a.InSign().minutes) << text;
  }
}

TEST(ShortPosition, NineCharactersFromTheLongText) {
  struct Case {
    const char* in;
    const char* want;
  };
  const Case cases[] = {
      {"5\xC2\xB0 7' 30\" Tau", "05 Tau 07"},
      {"15\xC2\xB0 45' 37\" Sag", "15 Sag 45"},
      {"  29\xC2\xB0 59' 59\" Pis", "29 Pis 59"},
      {"garbage", "0 age 0"},  // no separators: the missing parts become "0", nothing breaks
      {"", "0  0"},
  };
  for (const Case& c : cases) EXPECT_EQ(ShortPosition(c.in), c.want) << c.in;
}

}  // namespace
}  // namespace solvane::core
