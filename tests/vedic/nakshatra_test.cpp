#include "vedic/nakshatra.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/zodiac.h"

namespace solvane::vedic {
namespace {

// Degrees, arc-minutes and arc-seconds as a caller types them, with the rounding that brings.
double Dms(int degrees, int minutes, int seconds = 0) {
  return degrees + minutes / 60.0 + seconds / 3600.0;
}

TEST(NakshatraOf, BoundariesAndWrapping) {
  struct Case {
    const char* what;
    double degrees;
    int number, pada;
    Lord lord;
  };
  const Case cases[] = {
      {"0° Aries opens Ashwini", 0, 1, 1, Lord::kKetu},
      {"13°20' opens Bharani", Dms(13, 20), 2, 1, Lord::kVenus},
      {"13 + 1/3 degrees written as a fraction", 40.0 / 3, 2, 1, Lord::kVenus},
      {"an arc-second before Bharani", Dms(13, 19, 59), 1, 4, Lord::kKetu},
      {"3°20' opens Ashwini's pada 2", Dms(3, 20), 1, 2, Lord::kKetu},
      {"9°59'59\" is still pada 3", Dms(9, 59, 59), 1, 3, Lord::kKetu},
      {"26°40' opens Krittika", Dms(26, 40), 3, 1, Lord::kSun},
      {"120° (Leo) opens Magha", 120, 10, 1, Lord::kKetu},
      {"240° (Sagittarius) opens Mula", 240, 19, 1, Lord::kKetu},
      {"346°40' opens Revati", Dms(346, 40), 27, 1, Lord::kMercury},
      {"359°59'59\" ends Revati", Dms(359, 59, 59), 27, 4, Lord::kMercury},
      {"360° is 0° again", 360, 1, 1, Lord::kKetu},
      {"a hair below 0° is Revati", -1e-4, 27, 4, Lord::kMercury},
      {"-13°20' wraps to 346°40'", -Dms(13, 20), 27, 1, Lord::kMercury},
      {"two turns and 13°20'", 720 + Dms(13, 20), 2, 1, Lord::kVenus},
      {"not a number reads as 0°", std::numeric_limits<double>::quiet_NaN(), 1, 1, Lord::kKetu},
  };
  for (const Case& c : cases) {
    const NakshatraPlace p = NakshatraOf(c.degrees);
    EXPECT_EQ(p.Number(), c.number) << c.what;
    EXPECT_EQ(p.pada, c.pada) << c.what;
    EXPECT_EQ(p.lord, c.lord) << c.what;
  }
}

// Every nakshatra starts a whole number of arc-minutes from Aries (k x 800'); typed as degrees plus
// minutes / 60 the start must open it at pada 1, and one arc-second earlier must be the previous
// one's pada 4.
TEST(NakshatraOf, EveryStartTypedAsDegreesAndMinutes) {
  for (int k = 0; k < kNakshatraCount; ++k) {
    const int minutes = k * 800;
    const double start = Dms(minutes / 60, minutes % 60);
    const NakshatraPlace at = NakshatraOf(start);
    EXPECT_EQ(at.index, k) << kNakshatraNames[k];
    EXPECT_EQ(at.pada, 1) << kNakshatraNames[k];
    EXPECT_DOUBLE_EQ(at.fraction_remaining, 1.0) << kNakshatraNames[k];
    const NakshatraPlace before = NakshatraOf(start - 1 / 3600.0);
    EXPECT_EQ(before.index, (k + kNakshatraCount - 1) % kNakshatraCount) << kNakshatraNames[k];
    EXPECT_EQ(before.pada, 4) << kNakshatraNames[k];
  }
}

// Names and lords as every Vimshottari table lists them (e.g. Rohini is the Moon's, Chitra Mars',
// Jyeshtha Mercury's); the middle of each is 6°40' past its start.
TEST(NakshatraOf, NamesAndLords) {
  struct Case {
    int number;
    const char* name;
    Lord lord;
  };
  const Case cases[] = {
      {1, "Ashwini", Lord::kKetu},
      {4, "Rohini", Lord::kMoon},
      {6, "Ardra", Lord::kRahu},
      {7, "Punarvasu", Lord::kJupiter},
      {8, "Pushya", Lord::kSaturn},
      {9, "Ashlesha", Lord::kMercury},
      {12, "Uttara Phalguni", Lord::kSun},
      {14, "Chitra", Lord::kMars},
      {15, "Swati", Lord::kRahu},
      {16, "Vishakha", Lord::kJupiter},
      {18, "Jyeshtha", Lord::kMercury},
      {20, "Purva Ashadha", Lord::kVenus},
      {22, "Shravana", Lord::kMoon},
      {24, "Shatabhisha", Lord::kRahu},
      {26, "Uttara Bhadrapada", Lord::kSaturn},
      {27, "Revati", Lord::kMercury},
  };
  for (const Case& c : cases) {
    const NakshatraPlace p = NakshatraOf((c.number - 1) * 40.0 / 3 + 20.0 / 3);
    EXPECT_EQ(p.Number(), c.number) << c.name;
    EXPECT_EQ(p.Name(), c.name);
    EXPECT_EQ(p.lord, c.lord) << c.name;
    EXPECT_EQ(p.pada, 3) << c.name;  // 6°40' is the start of the third 3°20'
    EXPECT_DOUBLE_EQ(p.fraction_remaining, 0.5) << c.name;
  }
}

TEST(NakshatraOf, FractionRemaining) {
  struct Case {
    const char* what;
    double degrees, want;
  };
  const Case cases[] = {
      {"10° Aries: 3°20' of 13°20' left", 10, 0.25},
      {"an arc-minute before Bharani: 60\" of 48000\"", Dms(13, 19), 1.0 / 800},
      {"an arc-second before 360°: 1\" of 48000\"", Dms(359, 59, 59), 1.0 / 48000},
      {"30° (Krittika from 26°40'): 10° of 13°20' left", 30, 0.75},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(NakshatraOf(c.degrees).fraction_remaining, c.want, 1e-12) << c.what;
}

// The first 3°20' of a sign: movable signs start the navamsas from themselves, fixed signs from
// the ninth sign, dual signs from the fifth; the last 3°20' is eight signs further on.
TEST(NavamsaSignIndex, FirstAndLastPartOfEachSign) {
  // Aries..Pisces: 0 Aries, 9 Capricorn, 6 Libra, 3 Cancer, repeating.
  const int first[core::kSignCount] = {0, 9, 6, 3, 0, 9, 6, 3, 0, 9, 6, 3};
  for (int sign = 0; sign < core::kSignCount; ++sign) {
    const double start = sign * 30.0;
    EXPECT_EQ(NavamsaSignIndex(start), first[sign]) << core::kSignNames[sign];
    EXPECT_EQ(NavamsaSignIndex(start + Dms(3, 19, 59)), first[sign]) << core::kSignNames[sign];
    EXPECT_EQ(NavamsaSignIndex(start + Dms(3, 20)), (first[sign] + 1) % 12)
        << core::kSignNames[sign];
    EXPECT_EQ(NavamsaSignIndex(start + Dms(29, 59, 59)), (first[sign] + 8) % 12)
        << core::kSignNames[sign];
  }
  EXPECT_EQ(NavamsaSignIndex(Dms(359, 59, 59)), 11);  // Pisces' last part: Pisces (vargottama)
  EXPECT_EQ(NavamsaSignIndex(360), 0);
  EXPECT_EQ(NavamsaSignIndex(-1e-4), 11);
}

TEST(MicroArcSeconds, RoundsToTheBoundaryAndWraps) {
  EXPECT_EQ(MicroArcSeconds(Dms(13, 20)), 48'000'000'000);
  EXPECT_EQ(MicroArcSeconds(Dms(359, 59, 59)), 1'295'999'000'000);
  EXPECT_EQ(MicroArcSeconds(360 - 1e-13), 0);  // rounds up to a whole turn: 0° again
  EXPECT_EQ(MicroArcSeconds(std::numeric_limits<double>::infinity()), 0);
}

}  // namespace
}  // namespace solvane::vedic
