#include "entry/atlas.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "cli/arguments.h"
#include "entry/form_rules.h"

extern "C" const unsigned char solvane_atlas_begin[];
extern "C" const unsigned char solvane_atlas_end[];

namespace solvane::entry {
namespace {

const Atlas& World() { return Atlas::BuiltIn(); }

std::vector<unsigned char> BuiltInFile() { return {solvane_atlas_begin, solvane_atlas_end}; }

// ---- Folding -------------------------------------------------------------------------------

TEST(FoldForSearch, LatinLettersLoseCaseAndMarks) {
  const struct {
    const char* text;
    const char* folded;
  } cases[] = {
      {"München", "munchen"},
      {"MÜNCHEN", "munchen"},
      {"São Paulo", "sao paulo"},
      {"Reykjavík", "reykjavik"},
      {"Straße", "strasse"},
      {"Ærøskøbing", "aeroskobing"},
      {"Łódź", "lodz"},
      {"Þórshöfn", "thorshofn"},
      {"Œuvre", "oeuvre"},
      {"İstanbul", "istanbul"},
      {"Hà Nội", "ha noi"},                // Vietnamese: letters of U+1E00 and up
      {"Ḩāfiz̧ān", "hafizan"},              // a combining cedilla after the z
      {"Ma'anshan", "maanshan"},           // apostrophes vanish
      {"Ma\u02BBanshan", "maanshan"},      // and so do transliteration marks
      {"Saint-Étienne", "saint etienne"},  // punctuation separates words
      {"  St. Louis  ", "st louis"},       // once, never at the ends
      {"Frankfurt (Oder)", "frankfurt oder"},
      {"Alcalá de Henares\u2013Sur", "alcala de henares sur"},  // an en dash
      {"Москва", "Москва"},                                     // other scripts stay as they are
      {"", ""},
      {"-- !", ""},
      {"\xFF"
       "abc",
       "abc"},  // broken UTF-8 separates, and never runs past the end
      {"abc\xC3", "abc"},
      {"a\xE2\x80", "a"},
  };
  for (const auto& c : cases) EXPECT_EQ(FoldForSearch(c.text), c.folded) << c.text;
}

// ---- Searching -----------------------------------------------------------------------------

struct Expected {
  const char* city;
  const char* state;
  const char* country;
  const char* first_name;  // the best match
  const char* first_country;
};

void ExpectFirst(const Expected& e) {
  const std::vector<Place> found = World().Find(e.city, e.state, e.country);
  ASSERT_FALSE(found.empty()) << e.city << " / " << e.state << " / " << e.country;
  EXPECT_EQ(found.front().name, e.first_name) << e.city << " / " << e.state << " / " << e.country;
  EXPECT_EQ(found.front().country_code, e.first_country) << e.city;
}

TEST(AtlasFind, IgnoresCaseAndAccents) {
  const Expected cases[] = {
      {"munchen", "", "", "Munich", "DE"},  // GeoNames says Munich; the atlas knows München too
      {"MÜNCHEN", "", "", "Munich", "DE"},
      {"München", "Bavaria", "Germany", "Munich", "DE"},
      {"sao paulo", "", "", "São Paulo", "BR"},
      {"SÃO PAULO", "", "", "São Paulo", "BR"},
      {"reykjavik", "", "", "Reykjavík", "IS"},
      {"lodz", "", "", "Łódź", "PL"},
      {"zurich", "", "", "Zürich", "CH"},
      {"Bombay", "", "", "Mumbai", "IN"},  // the old name of a birth place
      {"calcutta", "", "india", "Kolkata", "IN"},
      {"Madras", "", "", "Chennai", "IN"},
  };
  for (const Expected& e : cases) ExpectFirst(e);
}

TEST(AtlasFind, WholeNameBeforeLongerNamesHoweverBig) {
  // San in Mali is far smaller than Santiago or San Antonio, which only start with "San".
  const std::vector<Place> found = World().Find("San", "", "");
  ASSERT_FALSE(found.empty());
  EXPECT_EQ(found.front().name, "San");
  const auto first_longer = std::find_if(
      found.begin(), found.end(), [](const Place& p) { return FoldForSearch(p.name) != "san"; });
  ASSERT_NE(first_longer, found.end()) << "the prefix should find longer names too";
  EXPECT_TRUE(std::all_of(first_longer, found.end(), [](const Place& p) {
    return FoldForSearch(p.name) != "san";
  })) << "a whole-name match came after a longer name";
}

TEST(AtlasFind, APlaceFoundByTwoNamesIsListedOnce) {
  // "sevill" starts both Sevilla and its other name Seville; "new york" is whole only as the
  // other name of New York City.
  for (const char* city : {"sevill", "new york", "kiev", "bombay"}) {
    const std::vector<Place> found = World().Find(city, "", "", 1000);
    ASSERT_FALSE(found.empty()) << city;
    for (std::size_t i = 0; i < found.size(); ++i)
      for (std::size_t j = i + 1; j < found.size(); ++j)
        EXPECT_FALSE(found[i].name == found[j].name && found[i].latitude == found[j].latitude &&
                     found[i].longitude == found[j].longitude)
            << city << ": " << found[i].name << " twice";
  }
  ExpectFirst({"new york", "", "", "New York City", "US"});
  ExpectFirst({"Seville", "", "", "Sevilla", "ES"});
}

TEST(AtlasFind, BiggerPlacesFirstAmongEqualMatches) {
  ExpectFirst({"Madrid", "", "", "Madrid", "ES"});
  ExpectFirst({"Paris", "", "", "Paris", "FR"});
  ExpectFirst({"Delhi", "", "", "Delhi", "IN"});
  ExpectFirst({"Sydney", "", "", "Sydney", "AU"});
  const std::vector<Place> found = World().Find("Springfield", "", "", 100);
  ASSERT_GT(found.size(), 10u);
  for (std::size_t i = 1; i < found.size(); ++i) {
    if (found[i].name != "Springfield" || found[i - 1].name != "Springfield") continue;
    EXPECT_GE(found[i - 1].population, found[i].population) << i;
  }
}

TEST(AtlasFind, StateNarrowsByNameCodeOrWords) {
  const struct {
    const char* state;
    const char* division;
    double latitude;
  } cases[] = {
      {"Illinois", "Illinois", 39.80172},
      {"illinois", "Illinois", 39.80172},
      {"IL", "Illinois", 39.80172},  // US divisions go by their postal codes
      {"Massachusetts", "Massachusetts", 42.10148},
      {"MA", "Massachusetts", 42.10148},
      {"Massachusetts State", "Massachusetts", 42.10148},  // the division in the typed words
  };
  for (const auto& c : cases) {
    const std::vector<Place> found = World().Find("Springfield", c.state, "");
    ASSERT_FALSE(found.empty()) << c.state;
    for (const Place& place : found) EXPECT_EQ(place.division, c.division) << c.state;
    EXPECT_NEAR(found.front().latitude, c.latitude, 0.01) << c.state;
  }
  // A word of a longer division name: Rampur is in Uttar Pradesh, Himachal Pradesh and more.
  for (const char* state : {"Uttar", "Himachal"}) {
    const std::vector<Place> found = World().Find("Rampur", state, "");
    ASSERT_FALSE(found.empty()) << state;
    for (const Place& place : found) EXPECT_EQ(place.division, std::string(state) + " Pradesh");
  }
}

TEST(AtlasFind, CountryNarrowsByNameOrCode) {
  const struct {
    const char* city;
    const char* country;
    const char* code;
  } cases[] = {
      {"Delhi", "India", "IN"},
      {"Delhi", "IN", "IN"},
      {"Delhi", "in", "IN"},
      {"Delhi", "Bharat", "IN"},
      {"Madrid", "ES", "ES"},
      {"Madrid", "Spain", "ES"},
      {"Madrid", "SPAIN", "ES"},
      {"Madrid", "Colombia", "CO"},
      {"Madrid", "USA", "US"},
      {"Madrid", "United States", "US"},
      {"Springfield", "United States of America", "US"},
      {"Sydney", "Canada", "CA"},
      {"London", "UK", "GB"},
      {"London", "England", "GB"},
      {"Cork", "Ireland", "IE"},
      {"Abidjan", "Côte d'Ivoire", "CI"},
      {"Abidjan", "Cote dIvoire", "CI"},
      {"Abidjan", "Ivory Coast", "CI"},
      {"Istanbul", "Turkey", "TR"},
      {"Istanbul", "Türkiye", "TR"},
  };
  for (const auto& c : cases) {
    const std::vector<Place> found = World().Find(c.city, "", c.country);
    ASSERT_FALSE(found.empty()) << c.city << " / " << c.country;
    for (const Place& place : found)
      EXPECT_EQ(place.country_code, c.code) << c.city << " / " << c.country;
  }
}

TEST(AtlasFind, StateOrCountryThatFitsNothingIsIgnored) {
  // A misspelt or unknown state or country must not hide the city.
  const auto names = [](const std::vector<Place>& places) {
    std::vector<std::string> out;
    for (const Place& p : places) out.push_back(p.name + "/" + p.division + "/" + p.country_code);
    return out;
  };
  const auto all = names(World().Find("Madrid", "", ""));
  EXPECT_EQ(names(World().Find("Madrid", "", "Narnia")), all);
  EXPECT_EQ(names(World().Find("Madrid", "Atlantis", "")), all);
  EXPECT_EQ(names(World().Find("Madrid", "-", "-")), all);
  // GeoNames numbers most countries' divisions; nobody writes those numbers as a state.
  EXPECT_EQ(names(World().Find("Madrid", "29", "")), all);
  // The state of another country than the one given: the country wins, the state is ignored.
  const std::vector<Place> found = World().Find("Springfield", "Illinois", "Canada");
  ASSERT_FALSE(found.empty());
  for (const Place& place : found) EXPECT_EQ(place.country_code, "CA");
}

TEST(AtlasFind, BothStateAndCountry) {
  const std::vector<Place> found = World().Find("delhi", "delhi", "india");
  ASSERT_FALSE(found.empty());
  EXPECT_EQ(found.front().name, "Delhi");
  for (const Place& place : found) {
    EXPECT_EQ(place.country_code, "IN");
    EXPECT_EQ(place.division, "Delhi");
  }
}

TEST(AtlasFind, NothingForNothing) {
  EXPECT_TRUE(World().Find("Xqzzyvillezz", "", "").empty());
  EXPECT_TRUE(World().Find("Xqzzyvillezz", "Illinois", "USA").empty());
  EXPECT_TRUE(World().Find("", "Illinois", "USA").empty());
  EXPECT_TRUE(World().Find("  - ", "", "").empty());
  EXPECT_TRUE(World().Find("Madrid", "", "", 0).empty());
}

TEST(AtlasFind, LimitCutsTheBestMatches) {
  const std::vector<Place> five = World().Find("a", "", "", 5);
  const std::vector<Place> twenty = World().Find("a", "", "");
  ASSERT_EQ(five.size(), 5u);
  ASSERT_EQ(twenty.size(), 20u);
  for (std::size_t i = 0; i < five.size(); ++i) EXPECT_EQ(five[i].name, twenty[i].name) << i;
}

// ---- The data ------------------------------------------------------------------------------

TEST(AtlasData, HoldsTheWorld) {
  EXPECT_GE(World().size(), 150000u);
  EXPECT_LE(World().size(), 200000u);
  const struct {
    const char* city;
    const char* country;
    const char* division;
    double latitude, longitude;
    long least_population;  // the population join works for well-known places
  } places[] = {
      {"New Delhi", "IN", "Delhi", 28.62137, 77.2148, 100000},
      {"Madrid", "ES", "Madrid", 40.4165, -3.70256, 1000000},
      {"Sydney", "AU", "New South Wales", -33.86785, 151.20732, 1000000},
      {"São Paulo", "BR", "São Paulo", -23.5475, -46.63611, 1000000},
      {"Reykjavík", "IS", "Capital Region", 64.13548, -21.89541, 100000},
  };
  for (const auto& p : places) {
    const std::vector<Place> found = World().Find(p.city, "", p.country, 1);
    ASSERT_EQ(found.size(), 1u) << p.city;
    EXPECT_EQ(found[0].name, p.city);
    EXPECT_EQ(found[0].division, p.division) << p.city;
    EXPECT_NEAR(found[0].latitude, p.latitude, 0.01) << p.city;
    EXPECT_NEAR(found[0].longitude, p.longitude, 0.01) << p.city;
    EXPECT_GE(found[0].population, p.least_population) << p.city;
  }
}

// The built-in file's header and inflated payload, and a file made of them again.
struct Unpacked {
  std::vector<unsigned char> header;
  std::vector<unsigned char> payload;
};

Unpacked Unpack(const std::vector<unsigned char>& file) {
  Unpacked out;
  out.header.assign(file.begin(), file.begin() + 20);
  std::uint32_t size = 0;
  std::memcpy(&size, &file[16], 4);  // little-endian, as is this machine
  out.payload.resize(size);
  uLongf length = size;
  EXPECT_EQ(
      uncompress(out.payload.data(), &length, &file[20], static_cast<uLong>(file.size() - 20)),
      Z_OK);
  return out;
}

std::vector<unsigned char> Pack(Unpacked parts) {
  const auto size = static_cast<std::uint32_t>(parts.payload.size());
  std::memcpy(&parts.header[16], &size, 4);
  uLongf length = compressBound(size);
  std::vector<unsigned char> file(parts.header);
  file.resize(20 + length);
  EXPECT_EQ(compress2(&file[20], &length, parts.payload.data(), size, Z_BEST_SPEED), Z_OK);
  file.resize(20 + length);
  return file;
}

// Where the payload's parts begin, found by walking it as the converter writes it.
struct Layout {
  std::size_t records = 0;      // the u32 place count
  std::size_t count = 0;        // places
  std::size_t divisions = 0;    // u16 column
  std::size_t latitudes = 0;    // i32 column
  std::size_t other_names = 0;  // the u32 count of other names
};

Layout Walk(const std::vector<unsigned char>& p) {
  const auto u32 = [&p](std::size_t at) {
    return std::uint32_t{p[at]} | std::uint32_t{p[at + 1]} << 8 | std::uint32_t{p[at + 2]} << 16 |
           std::uint32_t{p[at + 3]} << 24;
  };
  Layout l;
  std::size_t at = 4;
  for (std::uint32_t i = u32(0); i > 0; --i) {
    at += 1 + p[at];  // key
    at += 1 + p[at];  // name
  }
  l.records = at;
  l.count = u32(at);
  at += 4;
  for (std::size_t i = 0; i < l.count; ++i) at += 1 + p[at];
  at += 2 * l.count;  // countries
  l.divisions = at;
  l.latitudes = at + 2 * l.count;
  l.other_names = l.latitudes + 12 * l.count;
  return l;
}

std::vector<unsigned char> Repacked(const std::vector<unsigned char>& file,
                                    void (*change)(std::vector<unsigned char>&, const Layout&)) {
  Unpacked u = Unpack(file);
  change(u.payload, Walk(u.payload));
  return Pack(u);
}

TEST(AtlasData, DamagedFilesAreRefused) {
  const std::vector<unsigned char> good = BuiltInFile();
  using File = std::vector<unsigned char>;
  const struct {
    const char* what;
    File (*damage)(File);
  } cases[] = {
      {"empty", [](File) { return File(); }},
      {"header only",
       [](File f) {
         f.resize(20);
         return f;
       }},
      {"other magic",
       [](File f) {
         f[0] = 'X';
         return f;
       }},
      {"newer format",
       [](File f) {
         f[8] = 2;
         return f;
       }},
      {"huge payload claimed",
       [](File f) {
         f[19] = 0x7F;
         return f;
       }},
      {"cut short",
       [](File f) {
         f.resize(f.size() / 2);
         return f;
       }},
      {"flipped byte",
       [](File f) {
         f[f.size() / 2] ^= 0x55;
         return f;
       }},
      {"more places than bytes",
       [](File f) {
         Unpacked u = Unpack(f);
         u.payload[Walk(u.payload).records + 3] = 0x7F;  // header and payload still agree
         u.header[15] = 0x7F;
         return Pack(u);
       }},
      {"more divisions than bytes",
       [](File f) { return Repacked(f, [](File& p, const Layout&) { p[3] = 0x7F; }); }},
      {"count disagrees",
       [](File f) {
         f[12] ^= 1;
         return f;
       }},
      {"payload cut",
       [](File f) { return Repacked(f, [](File& p, const Layout&) { p.pop_back(); }); }},
      {"payload too long",
       [](File f) { return Repacked(f, [](File& p, const Layout&) { p.push_back(0); }); }},
      {"division out of range",
       [](File f) {
         return Repacked(f, [](File& p, const Layout& l) { p[l.divisions + 1] = 0xFE; });
       }},
      {"latitude off the globe",
       [](File f) {
         return Repacked(f, [](File& p, const Layout& l) { p[l.latitudes + 3] = 0x40; });
       }},
      {"other name of a missing place",
       [](File f) {
         return Repacked(f, [](File& p, const Layout& l) { p[l.other_names + 4 + 3] = 0x7F; });
       }},
  };
  for (const auto& c : cases) EXPECT_THROW(Atlas{c.damage(good)}, AtlasError) << c.what;

  // The walk above must be right for the cases that use it to mean anything.
  const Unpacked sound = Unpack(good);
  const Layout layout = Walk(sound.payload);
  EXPECT_EQ(layout.count, World().size());
  EXPECT_GT(sound.payload.size(), layout.other_names + 4);
  EXPECT_NO_THROW(Atlas{Pack(sound)});
  // A division index of "none" is allowed.
  EXPECT_NO_THROW(Atlas{Repacked(
      good, [](File& p, const Layout& l) { p[l.divisions] = p[l.divisions + 1] = 0xFF; })});
}

// ---- Coordinates ---------------------------------------------------------------------------

TEST(Coordinates, DegreesAndRoundedMinutesWithHemisphere) {
  const struct {
    double value;
    bool latitude;
    const char* form;
    const char* flag;
  } cases[] = {
      {28.62137, true, "28° 37' N", "28N37"},  // New Delhi
      {77.2148, false, "77° 13' E", "77E13"},
      {-33.86785, true, "33° 52' S", "33S52"},   // Sydney
      {-74.00597, false, "74° 0' W", "74W0"},    // New York
      {-46.63611, false, "46° 38' W", "46W38"},  // 38.17 minutes
      {28.625, true, "28° 38' N", "28N38"},      // half a minute rounds up
      {10.99999, true, "11° 0' N", "11N0"},      // the minutes carry into the degrees
      {59.99999, true, "60° 0' N", "60N0"},
      {-0.99999, false, "1° 0' W", "1W0"},
      {0.0, true, "0° 0' N", "0N0"},
      {-0.004, true, "0° 0' N", "0N0"},  // rounds to zero: no southern zero
      {-0.004, false, "0° 0' E", "0E0"},
      {-0.01, true, "0° 1' S", "0S1"},
      {0.01, false, "0° 1' E", "0E1"},
      {179.99999, false, "180° 0' E", "180E0"},
      {-179.99, false, "179° 59' W", "179W59"},
      {-179.999, false, "180° 0' W", "180W0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatCoordinate(c.value, c.latitude), c.form) << c.value;
    EXPECT_EQ(FlagCoordinate(c.value, c.latitude), c.flag) << c.value;
  }
}

TEST(Coordinates, FlagsAreWhatSolvaneChartReads) {
  // Every latitude a place can have, and the longitudes, read back by the command line.
  for (double value = -89.5; value <= 89.5; value += 0.37) {
    BirthFormSnapshot form;
    const std::string flag = FlagCoordinate(value, true);
    ASSERT_EQ(cli::ParseLatitude(flag, form), "") << flag;
    const long minutes = std::lround(std::fabs(value) * 60);
    EXPECT_EQ(form.txtLatD, std::to_string(minutes / 60)) << flag;
    EXPECT_EQ(form.txtLatM, std::to_string(minutes % 60)) << flag;
    EXPECT_EQ(form.optLatSouth, minutes > 0 && value < 0) << flag;
  }
  for (double value = -179.9; value <= 179.9; value += 0.73) {
    BirthFormSnapshot form;
    const std::string flag = FlagCoordinate(value, false);
    ASSERT_EQ(cli::ParseLongitude(flag, form), "") << flag;
    const long minutes = std::lround(std::fabs(value) * 60);
    EXPECT_EQ(form.txtLonD, std::to_string(minutes / 60)) << flag;
    EXPECT_EQ(form.optLongEast, minutes == 0 || value > 0) << flag;
  }
}

TEST(Countries, NamesForCodes) {
  EXPECT_EQ(CountryName("IN"), "India");
  EXPECT_EQ(CountryName("GB"), "United Kingdom");
  EXPECT_EQ(CountryName("XK"), "Kosovo");  // not ISO, but GeoNames uses it
  EXPECT_EQ(CountryName("ZZ"), "ZZ");
  EXPECT_EQ(CountryName(""), "");
  for (const char* text :
       {"India", "in", "IN", "United States", "u.s.a.", "Côte d'Ivoire", "Burma"})
    EXPECT_TRUE(NamesCountry(text)) << text;
  for (const char* text : {"", "Narnia", "Pradesh India", "States", "ZZ", "I"})
    EXPECT_FALSE(NamesCountry(text)) << text;
  // Every country in the data has a name, not just its code.
  std::size_t seen = 0;
  for (char first = 'a'; first <= 'z'; ++first) {
    for (const Place& place : World().Find(std::string(1, first), "", "", 1'000'000)) {
      ++seen;
      EXPECT_NE(CountryName(place.country_code), place.country_code) << place.name;
    }
  }
  EXPECT_GT(seen, World().size() * 9 / 10);
}

}  // namespace
}  // namespace solvane::entry
