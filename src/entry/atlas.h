// The world atlas compiled into the program: places by name, with coordinates, for the
// place-lookup button. Built from GeoNames' cities of 1,000+ people by tools/atlas.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace solvane::entry {

struct Place {
  std::string name;
  std::string division;      // first-level division (state, province), English; may be empty
  std::string country_code;  // ISO 3166-1 alpha-2
  double latitude = 0;       // degrees, north positive
  double longitude = 0;      // degrees, east positive
  long population = 0;       // 0 when unknown
};

// A damaged or foreign atlas file.
class AtlasError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Atlas {
 public:
  // The atlas compiled into the program, read at the first call (from any thread) and kept.
  // An atlas that cannot be read is empty, so that a search finds nothing rather than failing.
  static const Atlas& BuiltIn();

  // Reads an atlas file as tools/atlas/build_atlas.py writes it; throws AtlasError.
  explicit Atlas(std::span<const unsigned char> file);
  Atlas() = default;

  // Places whose name is `city` or starts with it, ignoring case, accents and punctuation.
  // A state or country that some of those places are in narrows the list to them; one that
  // none is in is ignored, as a misspelling should not hide the city. The state is matched by
  // division name or code, the country by English name or ISO code. Whole-name matches come
  // before longer names, then bigger places before smaller.
  std::vector<Place> Find(std::string_view city, std::string_view state, std::string_view country,
                          std::size_t limit = 20) const;

  std::size_t size() const { return records_.size(); }

 private:
  struct Record {
    std::uint32_t name_offset;
    std::uint8_t name_length;
    char country[2];
    std::uint16_t division;
    std::int32_t latitude;  // 1e-5 degrees
    std::int32_t longitude;
    std::uint32_t population;
  };
  struct Division {
    std::string code;  // GeoNames' admin1 code within the country ("IL", "07")
    std::string name;
    std::string folded_name, folded_code;
  };
  struct Key {
    std::uint32_t offset;  // into keys_
    std::uint32_t length;
    std::uint32_t record;
  };

  std::string_view Name(const Record& record) const {
    return std::string_view(names_).substr(record.name_offset, record.name_length);
  }
  std::string_view KeyText(const Key& key) const {
    return std::string_view(keys_).substr(key.offset, key.length);
  }
  Place MakePlace(const Record& record) const;

  std::vector<Record> records_;
  std::vector<Division> divisions_;
  std::string names_;
  std::string keys_;
  std::vector<Key> index_;  // sorted by key text
};

// The search form of a text: lower-case ASCII for Latin letters with or without marks
// ("München" -> "munchen", "Straße" -> "strasse", "Łódź" -> "lodz"), apostrophes dropped,
// every other run of punctuation and blanks as one blank, none at the ends. Letters of
// other scripts are kept as they are.
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
