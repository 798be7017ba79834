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
      {"Москва", "москва"},                                     // capitals of other alphabets
      {"ЁЛКИ Αθήνα ՀԱՅ", "елки αθήνα հայ"},                     // lowered too; ё as е
      {"मुंबई 北京", "मुंबई 北京"},                                 // other scripts stay as they are
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
      {"Gurugram", "", "", "Gurgaon", "IN"},  // a name only the hand-kept list gives
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
  // Names that start so come before other names that do: Shanghai's "Sanghay" is no answer.
  for (auto it = first_longer; it != found.end(); ++it)
    EXPECT_TRUE(FoldForSearch(it->name).starts_with("san")) << it->name;
}

TEST(AtlasFind, APlaceFoundByTwoNamesIsListedOnce) {
  // "sevill" starts both Sevilla and its other name Seville; "new york" is whole only as the
  // other name of New York City.
  for (const char* city : {"sevill", "new york", "kiev", "bombay", "St. Petersburg"}) {
    const std::vector<Place> found = World().Find(city, "", "", 1000);
    ASSERT_FALSE(found.empty()) << city;
    for (std::size_t i = 0; i < found.size(); ++i)
      for (std::size_t j = i + 1; j < found.size(); ++j)
        EXPECT_NE(found[i].geonames_id, found[j].geonames_id)
            << city << ": " << found[i].name << " twice";
  }
  ExpectFirst({"new york", "", "", "New York City", "US"});
  ExpectFirst({"Seville", "", "", "Sevilla", "ES"});
}

TEST(AtlasFind, APlacesOwnNameBeforeAnOtherPlacesOtherName) {
  // GeoNames gives Delhi the other name "New Delhi", and Oshkosh its old name Athens; a place
  // that bears the name itself in the same country comes first however small.
  ExpectFirst({"New Delhi", "", "", "New Delhi", "IN"});
  ExpectFirst({"Athens", "Georgia", "", "Athens", "US"});
  const std::vector<Place> athens = World().Find("Athens", "", "", 10);
  ASSERT_GE(athens.size(), 5u);
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(athens[i].name, "Athens") << i;
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

// Whether every place that `in` accepts comes before every place it does not.
template <typename In>
void ExpectComeFirst(const std::vector<Place>& found, In in, const std::string& what) {
  ASSERT_FALSE(found.empty()) << what;
  EXPECT_TRUE(in(found.front())) << what << ": first " << found.front().name;
  const auto first_out = std::find_if_not(found.begin(), found.end(), in);
  EXPECT_TRUE(std::none_of(first_out, found.end(), in)) << what << ": a place in it came late";
}

TEST(AtlasFind, PlacesInTheStateComeFirst) {
  const struct {
    const char* state;
    const char* division;
    double latitude;
  } cases[] = {
      {"Illinois", "Illinois", 39.80172},
      {"illinois", "Illinois", 39.80172},
      {"IL", "Illinois", 39.80172},    // US divisions go by their postal codes
      {"Ill.", "Illinois", 39.80172},  // and by their older abbreviations
      {"Massachusetts", "Massachusetts", 42.10148},
      {"MA", "Massachusetts", 42.10148},
      {"Mass.", "Massachusetts", 42.10148},
      {"Massachusetts State", "Massachusetts", 42.10148},  // the division in the typed words
      {"Ore.", "Oregon", 44.04624},
      {"Ohio", "Ohio", 39.92423},
  };
  for (const auto& c : cases) {
    const std::vector<Place> found = World().Find("Springfield", c.state, "", 100);
    ExpectComeFirst(
        found, [&](const Place& p) { return p.division == c.division; }, c.state);
    EXPECT_NEAR(found.front().latitude, c.latitude, 0.01) << c.state;
  }
  // A word of a longer division name: Rampur is in Uttar Pradesh, Himachal Pradesh and more.
  for (const char* state : {"Uttar", "Himachal"}) {
    const std::vector<Place> found = World().Find("Rampur", state, "", 100);
    ExpectComeFirst(
        found, [&](const Place& p) { return p.division == std::string(state) + " Pradesh"; },
        state);
  }
  // Abbreviations of divisions whose GeoNames codes are numbers.
  const Expected abbreviated[] = {
      {"London", "ON", "Canada", "London", "CA"},       // Canada's postal abbreviations
      {"Perth", "WA", "Australia", "Perth", "AU"},      // Australia's
      {"Hyderabad", "TG", "India", "Hyderābād", "IN"},  // India's ISO codes
      {"Aurangabad", "Bihar", "IN", "Aurangābād", "IN"},
  };
  for (const Expected& e : abbreviated) ExpectFirst(e);
  EXPECT_EQ(World().Find("Aurangabad", "BR", "IN").front().division, "Bihar");
  EXPECT_EQ(World().Find("Aurangabad", "MH", "IN").front().division, "Maharashtra");
}

TEST(AtlasFind, PlacesInTheCountryComeFirst) {
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
      {"Castries", "St. Lucia", "LC"},  // "St." for Saint in a country's name too
  };
  for (const auto& c : cases) {
    const std::string what = std::string(c.city) + " / " + c.country;
    const PlaceMatches found = World().Lookup(c.city, "", c.country, 100);
    ExpectComeFirst(
        found.places, [&](const Place& p) { return p.country_code == c.code; }, what);
    EXPECT_EQ(found.note, "") << what;
  }
}

TEST(AtlasLookup, ReadsTheTextAsCityStateAndCountry) {
  const struct {
    const char* text;
    const char* name;
    const char* division;
    const char* country;
  } cases[] = {
      // "St." and "Saint" alike, and the country after the comma.
      {"St. Petersburg, Russia", "Saint Petersburg", "St.-Petersburg", "RU"},
      {"St Petersburg, Florida", "St. Petersburg", "Florida", "US"},
      {"Saint Louis, MO", "St. Louis", "Missouri", "US"},  // MO is Macau's code as well
      {"St. Louis", "St. Louis", "Missouri", "US"},
      {"Sault Sainte Marie, Ontario", "Sault Ste. Marie", "Ontario", "CA"},
      {"Ste. Genevieve, Missouri", "Sainte Genevieve", "Missouri", "US"},
      {"London, Canada", "London", "Ontario", "CA"},
      {"London", "London", "England", "GB"},
      {"Washington, D.C.", "Washington", "District of Columbia", "US"},
      {"Springfield, Ill., USA", "Springfield", "Illinois", "US"},
      {"Springfield, IL", "Springfield", "Illinois", "US"},    // IL is Israel's code as well
      {"Los Angeles, CA", "Los Angeles", "California", "US"},  // CA is Canada's
      {"Athens, Georgia", "Athens", "Georgia", "US"},          // a state named like a country
      {"Tbilisi, Georgia", "Tbilisi", "Tbilisi", "GE"},        // and the country
      {"New Delhi, Delhi, India", "New Delhi", "Delhi", "IN"},
      {"Brooklyn, Kings County, New York, USA", "Brooklyn", "New York", "US"},
      // Other names and other scripts.
      {"Duesseldorf", "Düsseldorf", "North Rhine-Westphalia", "DE"},
      {"Москва", "Moscow", "Moscow", "RU"},
      {"МОСКВА", "Moscow", "Moscow", "RU"},
      {"мумбаи", "Mumbai", "Maharashtra", "IN"},
      {"मुंबई", "Mumbai", "Maharashtra", "IN"},
      {"北京", "Beijing", "Beijing", "CN"},
      {"ΑΘΗΝΑ", "Athens", "Attica", "GR"},
      {"Peking", "Beijing", "Beijing", "CN"},
  };
  for (const auto& c : cases) {
    const PlaceMatches found = World().Lookup(c.text);
    ASSERT_FALSE(found.places.empty()) << c.text;
    EXPECT_EQ(found.places.front().name, c.name) << c.text;
    EXPECT_EQ(found.places.front().division, c.division) << c.text;
    EXPECT_EQ(found.places.front().country_code, c.country) << c.text;
    EXPECT_EQ(found.note, "") << c.text;
  }
}

TEST(AtlasLookup, TheTextAndTheFieldsAgree) {
  const struct {
    const char* text;
    const char* city;
    const char* state;
    const char* country;
  } cases[] = {
      {"Madrid", "Madrid", "", ""},
      {" London ,  Canada ", "London", "Canada", ""},  // a state or a country
      {"Springfield, Ill., USA", "Springfield", "Ill.", "USA"},
      {"Springfield,,US", "Springfield", "", "US"},
      {"Lagos, Brazil", "Lagos", "Brazil", ""},
      {"Brooklyn, , Kings County,New York, USA", "Brooklyn", "Kings County, New York", "USA"},
      {"Springfield, Narnia, Ill., Canada", "Springfield", "Narnia, Ill.", "Canada"},
  };
  for (const auto& c : cases) {
    const PlaceMatches text = World().Lookup(c.text, 50);
    const PlaceMatches fields = World().Lookup(c.city, c.state, c.country, 50);
    ASSERT_EQ(text.places.size(), fields.places.size()) << c.text;
    for (std::size_t i = 0; i < text.places.size(); ++i)
      EXPECT_EQ(text.places[i].geonames_id, fields.places[i].geonames_id) << c.text << " " << i;
    EXPECT_EQ(text.note, fields.note) << c.text;
  }
}

TEST(AtlasLookup, StartOfStMayBeAWordBeingTyped) {
  // "St" is Saint, and the start of Stockholm too.
  const std::vector<Place> found = World().Find("St", "", "", 50);
  const auto has = [&found](const char* name) {
    return std::any_of(found.begin(), found.end(), [&](const Place& p) { return p.name == name; });
  };
  EXPECT_TRUE(has("Saint Petersburg"));
  EXPECT_TRUE(has("Stockholm"));
  // A whole word "St" before more words is only ever Saint.
  for (const Place& p : World().Find("St Louis", "", "", 50))
    EXPECT_TRUE(FoldForSearch(p.name).starts_with("s")) << p.name;
}

TEST(AtlasLookup, AStateOrCountryThatHoldsNoSuchPlaceIsNamed) {
  const struct {
    const char* text;
    const char* note;
    const char* first_country;  // of the places listed after the note
  } cases[] = {
      {"Lagos, Brazil", "No place called Lagos in Brazil. Places called Lagos elsewhere:", "NG"},
      {"Madrid, Narnia", "No place called Madrid in Narnia. Places called Madrid elsewhere:", "ES"},
      {"Madrid, Atlantis, Spain",
       "No place called Madrid in Atlantis, Spain. Places called Madrid elsewhere:", "ES"},
      // GeoNames numbers most countries' divisions; nobody writes those numbers as a state.
      {"Madrid, 29", "No place called Madrid in 29. Places called Madrid elsewhere:", "ES"},
      // The state of another country than the one given.
      {"Springfield, Illinois, Canada",
       "No place called Springfield in Illinois, Canada. Places called Springfield elsewhere:",
       "US"},
  };
  for (const auto& c : cases) {
    const PlaceMatches found = World().Lookup(c.text);
    EXPECT_EQ(found.note, c.note) << c.text;
    ASSERT_FALSE(found.places.empty()) << c.text;
    EXPECT_EQ(found.places.front().country_code, c.first_country) << c.text;
  }
  // The places are those of the city alone, whole names first.
  const auto ids = [](const std::vector<Place>& places) {
    std::vector<std::uint32_t> out;
    for (const Place& p : places) out.push_back(p.geonames_id);
    return out;
  };
  EXPECT_EQ(ids(World().Lookup("Madrid, Narnia").places), ids(World().Lookup("Madrid").places));
  // A state or country of signs alone is no state or country.
  const PlaceMatches dashes = World().Lookup("Madrid", "-", " ? ");
  EXPECT_EQ(dashes.note, "");
  EXPECT_EQ(ids(dashes.places), ids(World().Lookup("Madrid").places));
  EXPECT_EQ(World().Lookup("Lagos").note, "");
  EXPECT_EQ(World().Lookup("Lagos, Nigeria").note, "");
}

TEST(AtlasFind, NothingForNothing) {
  EXPECT_TRUE(World().Find("Xqzzyvillezz", "", "").empty());
  EXPECT_TRUE(World().Find("Xqzzyvillezz", "Illinois", "USA").empty());
  EXPECT_TRUE(World().Find("", "Illinois", "USA").empty());
  EXPECT_TRUE(World().Find("  - ", "", "").empty());
  EXPECT_TRUE(World().Find("Madrid", "", "", 0).empty());
  EXPECT_EQ(World().Lookup("Xqzzyvillezz, Brazil").note, "");  // nothing to list, nothing to say
  EXPECT_TRUE(World().Lookup(", Brazil").places.empty());
  EXPECT_TRUE(World().Lookup("").places.empty());
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
  EXPECT_EQ(World().size(), 199568u);  // every line of cities500.txt
  const struct {
    const char* city;
    const char* country;
    const char* division;
    const char* division_code;
    double latitude, longitude;
    long least_population;
    const char* time_zone;
    std::uint32_t geonames_id;
  } places[] = {
      // From GeoNames' cities500.txt.
      {"New Delhi", "IN", "Delhi", "07", 28.63576, 77.22445, 100000, "Asia/Kolkata", 1261481},
      {"Madrid", "ES", "Madrid", "29", 40.4165, -3.70256, 1000000, "Europe/Madrid", 3117735},
      {"Sydney", "AU", "New South Wales", "02", -33.86785, 151.20732, 1000000, "Australia/Sydney",
       2147714},
      {"São Paulo", "BR", "São Paulo", "27", -23.5475, -46.63611, 1000000, "America/Sao_Paulo",
       3448439},
      {"Reykjavík", "IS", "Capital Region", "39", 64.13548, -21.89541, 100000, "Atlantic/Reykjavik",
       3413829},
      {"St. Louis", "US", "Missouri", "MO", 38.62727, -90.19789, 300000, "America/Chicago",
       4407066},
  };
  for (const auto& p : places) {
    const std::vector<Place> found = World().Find(p.city, "", p.country, 1);
    ASSERT_EQ(found.size(), 1u) << p.city;
    EXPECT_EQ(found[0].name, p.city);
    EXPECT_EQ(found[0].division, p.division) << p.city;
    EXPECT_EQ(found[0].division_code, p.division_code) << p.city;
    EXPECT_NEAR(found[0].latitude, p.latitude, 0.00001) << p.city;
    EXPECT_NEAR(found[0].longitude, p.longitude, 0.00001) << p.city;
    EXPECT_GE(found[0].population, p.least_population) << p.city;
    EXPECT_EQ(found[0].time_zone, p.time_zone) << p.city;
    EXPECT_EQ(found[0].geonames_id, p.geonames_id) << p.city;
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
  // Stored, not compressed: a test packs the whole atlas a dozen times.
  EXPECT_EQ(compress2(&file[20], &length, parts.payload.data(), size, Z_NO_COMPRESSION), Z_OK);
  file.resize(20 + length);
  return file;
}

// Where the payload's parts begin, found by walking it as the converter writes it.
struct Layout {
  std::size_t divisions_count = 0;  // the u32 division count
  std::size_t records = 0;          // the u32 place count
  std::size_t count = 0;            // places
  std::size_t divisions = 0;        // u16 column
  std::size_t latitudes = 0;        // i32 column
  std::size_t zones = 0;            // u16 column
  std::size_t other_names = 0;      // the u32 count of other names
};

Layout Walk(const std::vector<unsigned char>& p) {
  const auto u32 = [&p](std::size_t at) {
    return std::uint32_t{p[at]} | std::uint32_t{p[at + 1]} << 8 | std::uint32_t{p[at + 2]} << 16 |
           std::uint32_t{p[at + 3]} << 24;
  };
  Layout l;
  std::size_t at = 2;
  for (std::size_t i = p[0] | p[1] << 8; i > 0; --i) at += 1 + p[at];  // time zones
  l.divisions_count = at;
  for (std::uint32_t i = u32(at), n = (at += 4, 0); i > 0; --i) {
    at += 1 + p[at];                                // key
    at += 1 + p[at];                                // name
    for (n = p[at++]; n > 0; --n) at += 1 + p[at];  // abbreviations
  }
  l.records = at;
  l.count = u32(at);
  at += 4;
  for (std::size_t i = 0; i < l.count; ++i) at += 1 + p[at];
  at += 2 * l.count;  // countries
  l.divisions = at;
  l.latitudes = at + 2 * l.count;
  l.zones = l.latitudes + 12 * l.count;
  l.other_names = l.zones + 6 * l.count;
  return l;
}

// Unpacking takes a while; the built-in file is unpacked once.
const Unpacked& BuiltInUnpacked() {
  static const Unpacked unpacked = Unpack(BuiltInFile());
  return unpacked;
}

std::vector<unsigned char> Repacked(const std::vector<unsigned char>& file,
                                    void (*change)(std::vector<unsigned char>&, const Layout&)) {
  Unpacked u = file == BuiltInFile() ? BuiltInUnpacked() : Unpack(file);
  change(u.payload, Walk(u.payload));
  return Pack(u);
}

TEST(AtlasData, DamagedFilesAreRefused) {
  const std::vector<unsigned char> good = BuiltInFile();
  using File = std::vector<unsigned char>;
  const struct {
    const char* what;
    File (*damage)(File);
    const char* message;
  } cases[] = {
      {"empty", [](File) { return File(); }, "not an atlas file"},
      {"header only",
       [](File f) {
         f.resize(20);
         return f;
       },
       "the atlas data is damaged"},
      {"other magic",
       [](File f) {
         f[0] = 'X';
         return f;
       },
       "not an atlas file"},
      {"older format",
       [](File f) {
         f[8] = 1;
         return f;
       },
       "atlas format 1 is not known to this program"},
      {"huge payload claimed",
       [](File f) {
         f[19] = 0x7F;
         return f;
       },
       "the atlas header is damaged"},
      {"cut short",
       [](File f) {
         f.resize(f.size() / 2);
         return f;
       },
       "the atlas data is damaged"},
      {"flipped byte",
       [](File f) {
         f[f.size() / 2] ^= 0x55;
         return f;
       },
       "the atlas data is damaged"},
      {"more places than bytes",
       [](File) {
         Unpacked u = BuiltInUnpacked();
         u.payload[Walk(u.payload).records + 3] = 0x7F;  // header and payload still agree
         u.header[15] = 0x7F;
         return Pack(u);
       },
       "the atlas header is damaged"},
      {"more divisions than bytes",
       [](File f) {
         return Repacked(f, [](File& p, const Layout& l) { p[l.divisions_count + 3] = 0x7F; });
       },
       "the atlas has a damaged division"},
      {"more time zones than bytes",
       [](File f) { return Repacked(f, [](File& p, const Layout&) { p[1] = 0x7F; }); },
       "the atlas has a damaged division"},  // the zones eat the divisions' bytes
      {"count disagrees",
       [](File f) {
         f[12] ^= 1;
         return f;
       },
       "the atlas header and data disagree"},
      {"payload cut",
       [](File f) { return Repacked(f, [](File& p, const Layout&) { p.pop_back(); }); },
       "the atlas ends early"},
      {"payload too long",
       [](File f) { return Repacked(f, [](File& p, const Layout&) { p.push_back(0); }); },
       "the atlas has data after its end"},
      {"division out of range",
       [](File f) {
         return Repacked(f, [](File& p, const Layout& l) { p[l.divisions + 1] = 0xFE; });
       },
       "the atlas refers to a division it does not have"},
      {"latitude off the globe",
       [](File f) {
         return Repacked(f, [](File& p, const Layout& l) { p[l.latitudes + 3] = 0x40; });
       },
       "the atlas has a place off the globe"},
      {"time zone out of range",
       [](File f) { return Repacked(f, [](File& p, const Layout& l) { p[l.zones + 1] = 0xFE; }); },
       "the atlas refers to a time zone it does not have"},
      {"other name of a missing place",
       [](File f) {
         return Repacked(f, [](File& p, const Layout& l) { p[l.other_names + 4 + 3] = 0x7F; });
       },
       "the atlas names a place it does not have"},
  };
  for (const auto& c : cases) {
    const auto read = Atlas::Read(c.damage(good));
    ASSERT_FALSE(read.has_value()) << c.what;
    EXPECT_EQ(read.error().message, c.message) << c.what;
  }

  // The walk above must be right for the cases that use it to mean anything.
  const Unpacked& sound = BuiltInUnpacked();
  const Layout layout = Walk(sound.payload);
  EXPECT_EQ(layout.count, World().size());
  EXPECT_GT(sound.payload.size(), layout.other_names + 4);
  const auto repacked = Atlas::Read(Pack(sound));
  ASSERT_TRUE(repacked.has_value()) << repacked.error().message;
  EXPECT_EQ(repacked->size(), World().size());
  // A division or time zone index of "none" is allowed.
  const auto without = Atlas::Read(Repacked(good, [](File& p, const Layout& l) {
    p[l.divisions] = p[l.divisions + 1] = p[l.zones] = p[l.zones + 1] = 0xFF;
  }));
  ASSERT_TRUE(without.has_value()) << without.error().message;
}

TEST(AtlasData, AFileInAnotherOrderIsSortedOnReading) {
  // The converter writes the other names in key order and the reader trusts it only after
  // checking: a file with the first two other names swapped reads and finds the same.
  Unpacked u = BuiltInUnpacked();
  const Layout l = Walk(u.payload);
  auto& p = u.payload;
  const std::size_t count = p[l.other_names] | p[l.other_names + 1] << 8 |
                            p[l.other_names + 2] << 16 | std::size_t{p[l.other_names + 3]} << 24;
  const auto places = p.begin() + static_cast<std::ptrdiff_t>(l.other_names + 4);
  std::swap_ranges(places, places + 4, places + 4);
  const auto first = places + static_cast<std::ptrdiff_t>(4 * count);
  const auto second = first + 1 + *first;
  const auto third = second + 1 + *second;
  std::rotate(first, second, third);
  const auto swapped = Atlas::Read(Pack(u));
  ASSERT_TRUE(swapped.has_value()) << swapped.error().message;
  for (const char* query : {"Bombay", "Москва", "a", "St. Petersburg, Russia"}) {
    const auto a = swapped->Lookup(query, 50).places;
    const auto b = World().Lookup(query, 50).places;
    ASSERT_EQ(a.size(), b.size()) << query;
    for (std::size_t i = 0; i < a.size(); ++i) EXPECT_EQ(a[i].geonames_id, b[i].geonames_id);
  }
  // The first two other names' keys must differ for the swap to unsort anything.
  EXPECT_NE(std::string(first + 1, second), std::string(second + 1, third));
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
    ASSERT_TRUE(cli::ParseLatitude(flag, form).has_value()) << flag;
    const long minutes = std::lround(std::fabs(value) * 60);
    EXPECT_EQ(form.txtLatD, std::to_string(minutes / 60)) << flag;
    EXPECT_EQ(form.txtLatM, std::to_string(minutes % 60)) << flag;
    EXPECT_EQ(form.optLatSouth, minutes > 0 && value < 0) << flag;
  }
  for (double value = -179.9; value <= 179.9; value += 0.73) {
    BirthFormSnapshot form;
    const std::string flag = FlagCoordinate(value, false);
    ASSERT_TRUE(cli::ParseLongitude(flag, form).has_value()) << flag;
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
