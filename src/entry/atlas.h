// The world atlas compiled into the program: places by name, with coordinates and time zones,
// for the place lookup. Built from GeoNames' cities of 500+ people by tools/atlas.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"

namespace solvane::entry {

struct Place {
  std::string name;
  std::string division;       // first-level division (state, province), English; may be empty
  std::string division_code;  // GeoNames' code of the division in its country ("IL", "07")
  std::string country_code;   // ISO 3166-1 alpha-2
  double latitude = 0;        // degrees, north positive
  double longitude = 0;       // degrees, east positive
  long population = 0;        // people; 0 when unknown
  std::string time_zone;      // IANA name ("Asia/Kolkata"); empty when unknown
  std::uint32_t geonames_id = 0;
};

// The answer to a lookup: the places, best first, and what to tell the reader before them when
// the state or country given holds no place of that name.
struct PlaceMatches {
  std::vector<Place> places;
  // "No place called Lagos in Brazil. Places called Lagos elsewhere:"; empty when the state and
  // country given (if any) hold a match.
  std::string note;
};

class Atlas {
 public:
  // The atlas compiled into the program, read at the first call (from any thread) and kept.
  // An atlas that cannot be read is empty, so that a search finds nothing rather than failing.
  static const Atlas& BuiltIn();

  // Reads an atlas file as tools/atlas/build_atlas.py writes it.
  static core::Result<Atlas> Read(std::span<const unsigned char> file);
  Atlas() = default;

  // Looks up "CITY[, STATE][, COUNTRY]". A second part alone is a state or a country, whichever
  // it names ("London, Canada", "Saint Louis, MO"); with three parts or more the last is the
  // country and those between are the state.
  PlaceMatches Lookup(std::string_view text, std::size_t limit = 20) const;

  // The same with the parts apart, as the entry form asks for them. A state given without a
  // country may name a country instead.
  //
  // Places whose name or other name is `city` or starts with it, ignoring case, accents and
  // punctuation, "St."/"Ste." and "Saint"/"Sainte" alike. Places in the state and country given
  // come first; then whole names before longer ones (a place's own name before another place's
  // other name in the same country: "New Delhi" is New Delhi before Delhi), then names that
  // start so before other names that do, then bigger places before smaller. The state is
  // matched by division name, code or common abbreviation ("Ill.", "NSW"), the country by name
  // or ISO code. A state or country that holds no place of the best kind of match is named in
  // the note, and the places elsewhere follow, whole names first.
  PlaceMatches Lookup(std::string_view city, std::string_view state, std::string_view country,
                      std::size_t limit = 20) const;

  // Lookup(city, state, country, limit).places.
  std::vector<Place> Find(std::string_view city, std::string_view state, std::string_view country,
                          std::size_t limit = 20) const;

  std::size_t size() const { return records_.size(); }

 private:
  struct Record {
    std::uint32_t name_offset;
    std::uint8_t name_length;
    char country[2];
    std::uint16_t division;
    std::uint16_t zone;
    std::int32_t latitude;  // 1e-5 degrees
    std::int32_t longitude;
    std::uint32_t population;
    std::uint32_t geonames_id;
  };
  struct Division {
    std::string code;  // GeoNames' admin1 code within the country ("IL", "07")
    std::string name;
    std::string key;                       // the name as the index keys it
    std::vector<std::string> short_forms;  // letter code and abbreviations, without blanks
  };
  struct Key {
    std::uint32_t offset;  // into keys_
    std::uint16_t length;  // bytes; a key is folded from a name of at most 255 bytes
    bool other;            // an other name of the place, not its own
    std::uint32_t record;
  };
  enum Match : std::uint8_t;
  struct Candidate;
  class Loader;

  std::string_view Name(const Record& record) const {
    return std::string_view(names_).substr(record.name_offset, record.name_length);
  }
  std::string_view KeyText(const Key& key) const {
    return std::string_view(keys_).substr(key.offset, key.length);
  }
  void AddKey(std::string_view name, std::uint32_t record, bool other);
  std::vector<Candidate> Candidates(std::string_view city) const;
  int StateScore(const Record& record, std::string_view state_key,
                 std::string_view state_short) const;
  Place MakePlace(const Record& record) const;

  std::vector<std::string> zones_;
  std::vector<Division> divisions_;
  std::vector<Record> records_;
  std::string names_;
  std::string keys_;
  std::vector<Key> index_;  // sorted by key text
};

// The search form of a text: lower-case ASCII for Latin letters with or without marks
// ("München" -> "munchen", "Straße" -> "strasse", "Łódź" -> "lodz"), Cyrillic, Greek and
// Armenian capitals in lower case (and ё as е), apostrophes dropped, every other run of
// punctuation and blanks as one blank, none at the ends. Letters of other scripts are kept as
// they are.
std::string FoldForSearch(std::string_view text);

// Whether the text is a country's ISO code or one of the names the atlas knows it by.
bool NamesCountry(std::string_view text);

// English name of an ISO 3166-1 alpha-2 code ("IN" -> "India"); the code itself when unknown.
std::string_view CountryName(std::string_view code);

// Degrees and whole minutes as the entry form holds them, rounded to the nearest minute:
// 28.62137 -> "28° 37' N", -46.63611 (longitude) -> "46° 38' W". Zero is north or east.
std::string FormatCoordinate(double value, bool latitude);

// The same in solvane-chart's --latitude/--longitude syntax: "28N37", "46W38".
std::string FlagCoordinate(double value, bool latitude);

}  // namespace solvane::entry
