#include "entry/atlas.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <iostream>
#include <limits>
#include <mutex>

// The atlas file, placed in the program by atlas_data.S.
extern "C" const unsigned char solvane_atlas_begin[];
extern "C" const unsigned char solvane_atlas_end[];

namespace solvane::entry {
namespace {

constexpr char kMagic[8] = {'S', 'V', 'A', 'T', 'L', 'A', 'S', '\0'};
constexpr std::uint16_t kVersion = 1;
constexpr std::size_t kHeaderSize = 20;
constexpr std::uint16_t kNoDivision = 0xFFFF;
// Far above the real payload (under 5 MB); a header claiming more is damaged, not big.
constexpr std::uint32_t kMaxPayload = 64u << 20;
// An empty name, a country code, a division index, two coordinates and a population.
constexpr std::size_t kLeastRecordSize = 1 + 2 + 2 + 4 + 4 + 4;
constexpr std::int32_t kMaxLatitude = 90'00000;
constexpr std::int32_t kMaxLongitude = 180'00000;

// Folding of the two Latin blocks with marked letters, sixteen code points a row, separated by
// blanks: the ASCII the letter searches as, "-" for a sign that separates words, "?" for a
// letter kept as it is. tools/atlas/build_atlas.py folds names the same way when it sorts them.
constexpr char32_t kLatinFirst = 0x00C0;
constexpr std::string_view kLatin[] = {
    "a a a a a a ae c e e e e i i i i",          // 00C0
    "d n o o o o o - o u u u u y th ss",         // 00D0
    "a a a a a a ae c e e e e i i i i",          // 00E0
    "d n o o o o o - o u u u u y th y",          // 00F0
    "a a a a a a c c c c c c c c d d",           // 0100
    "d d e e e e e e e e e e g g g g",           // 0110
    "g g g g h h h h i i i i i i i i",           // 0120
    "i i ij ij j j k k k l l l l l l l",         // 0130
    "l l l n n n n n n n n n o o o o",           // 0140
    "o o oe oe r r r r r r s s s s s s",         // 0150
    "s s t t t t t t u u u u u u u u",           // 0160
    "u u u u w w y y y z z z z z z s",           // 0170
    "b b ? ? ? ? o c c d d d d ? e e",           // 0180
    "e f f g g ? i i k k l ? m n n o",           // 0190
    "o o oi oi p p r ? ? ? ? t t t t u",         // 01A0
    "u u v y y z z ? ? ? ? ? ? ? ? ?",           // 01B0
    "? ? ? ? dz dz dz lj lj lj nj nj nj a a i",  // 01C0
    "i o o u u u u u u u u u u e a a",           // 01D0
    "a a ae ae g g g g k k o o o o ? ?",         // 01E0
    "j dz dz dz g g ? ? n n a a ae ae o o",      // 01F0
    "a a a a e e e e i i i i o o o o",           // 0200
    "r r r r u u u u s s t t y y h h",           // 0210
    "? d ou ou z z a a e e o o o o o o",         // 0220
    "o o y y l n t ? ? ? a c c l t ?",           // 0230
    "? ? ? b u ? e e j j ? ? r r y y",           // 0240
};
constexpr char32_t kLatinExtraFirst = 0x1E00;
constexpr std::string_view kLatinExtra[] = {
    "a a b b b b b b c c d d d d d d",    // 1E00
    "d d d d e e e e e e e e e e f f",    // 1E10
    "g g h h h h h h h h h h i i i i",    // 1E20
    "k k k k k k l l l l l l l l m m",    // 1E30
    "m m m m n n n n n n n n o o o o",    // 1E40
    "o o o o p p p p r r r r r r r r",    // 1E50
    "s s s s s s s s s s t t t t t t",    // 1E60
    "t t u u u u u u u u u u v v v v",    // 1E70
    "w w w w w w w w w w x x x x y y",    // 1E80
    "z z z z z z h t w y a s s s ss d",   // 1E90
    "a a a a a a a a a a a a a a a a",    // 1EA0
    "a a a a a a a a e e e e e e e e",    // 1EB0
    "e e e e e e e e i i i i o o o o",    // 1EC0
    "o o o o o o o o o o o o o o o o",    // 1ED0
    "o o o o u u u u u u u u u u u u",    // 1EE0
    "u u y y y y y y y y ll ll v v y y",  // 1EF0
};

struct Fold {
  std::string_view text;  // empty: a separator
  bool keep = false;      // the letter stays as it is
};

// The rows above, split into one entry per code point.
template <std::size_t Rows>
std::array<Fold, Rows * 16> SplitRows(const std::string_view (&rows)[Rows]) {
  std::array<Fold, Rows * 16> out{};
  std::size_t n = 0;
  for (std::string_view row : rows) {
    std::size_t start = 0;
    while (start <= row.size()) {
      const std::size_t blank = std::min(row.find(' ', start), row.size());
      const std::string_view cell = row.substr(start, blank - start);
      out.at(n++) = cell == "?" ? Fold{{}, true} : cell == "-" ? Fold{} : Fold{cell, false};
      start = blank + 1;
    }
  }
  if (n != out.size()) throw std::logic_error("folding table rows must hold 16 entries each");
  return out;
}

const Fold* LatinFold(char32_t c) {
  static const auto latin = SplitRows(kLatin);
  static const auto extra = SplitRows(kLatinExtra);
  if (c >= kLatinFirst && c < kLatinFirst + latin.size()) return &latin[c - kLatinFirst];
  if (c >= kLatinExtraFirst && c < kLatinExtraFirst + extra.size())
    return &extra[c - kLatinExtraFirst];
  return nullptr;
}

// Apostrophes and transliteration marks vanish: "Ma'anshan", "Qal`at", "Ḩāfiz̧ān" with ʻ or ʿ.
constexpr char32_t kDropped[] = {U'\'', U'`',  0xB4,  0x2B9,  0x2BB, 0x2BC,
                                 0x2BD, 0x2BE, 0x2BF, 0x2018, 0x2019};

bool IsDropped(char32_t c) {
  const bool combining_mark = c >= 0x300 && c < 0x370;
  return combining_mark ||
         std::find(std::begin(kDropped), std::end(kDropped), c) != std::end(kDropped);
}

// Decodes one UTF-8 sequence at `pos`, advancing past it; a broken sequence reads as U+FFFD
// and is skipped one byte at a time.
char32_t NextCodePoint(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  const std::size_t extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
  if (lead < 0xC2 || lead > 0xF4 || text.size() - pos <= extra) {
    ++pos;
    return 0xFFFD;
  }
  char32_t c = lead & (0x3Fu >> extra);
  for (std::size_t i = 1; i <= extra; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + i]);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return 0xFFFD;
    }
    c = (c << 6) | (next & 0x3Fu);
  }
  pos += extra + 1;
  return c;
}

bool IsAsciiAlnum(char32_t c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Whether `needle` stands in `text` as whole words.
bool ContainsWords(std::string_view text, std::string_view needle) {
  if (needle.empty() || needle.size() > text.size()) return false;
  for (std::size_t at = text.find(needle); at != std::string_view::npos;
       at = text.find(needle, at + 1)) {
    const std::size_t end = at + needle.size();
    if ((at == 0 || text[at - 1] == ' ') && (end == text.size() || text[end] == ' ')) return true;
  }
  return false;
}

struct CountryRow {
  std::string_view code;
  std::string_view name;
};

// ISO 3166-1 with the short English names people write, sorted by code; GeoNames' XK too.
constexpr CountryRow kCountries[] = {
    {"AD", "Andorra"},
    {"AE", "United Arab Emirates"},
    {"AF", "Afghanistan"},
    {"AG", "Antigua and Barbuda"},
    {"AI", "Anguilla"},
    {"AL", "Albania"},
    {"AM", "Armenia"},
    {"AO", "Angola"},
    {"AQ", "Antarctica"},
    {"AR", "Argentina"},
    {"AS", "American Samoa"},
    {"AT", "Austria"},
    {"AU", "Australia"},
    {"AW", "Aruba"},
    {"AX", "Åland Islands"},
    {"AZ", "Azerbaijan"},
    {"BA", "Bosnia and Herzegovina"},
    {"BB", "Barbados"},
    {"BD", "Bangladesh"},
    {"BE", "Belgium"},
    {"BF", "Burkina Faso"},
    {"BG", "Bulgaria"},
    {"BH", "Bahrain"},
    {"BI", "Burundi"},
    {"BJ", "Benin"},
    {"BL", "Saint Barthélemy"},
    {"BM", "Bermuda"},
    {"BN", "Brunei"},
    {"BO", "Bolivia"},
    {"BQ", "Bonaire, Sint Eustatius and Saba"},
    {"BR", "Brazil"},
    {"BS", "Bahamas"},
    {"BT", "Bhutan"},
    {"BV", "Bouvet Island"},
    {"BW", "Botswana"},
    {"BY", "Belarus"},
    {"BZ", "Belize"},
    {"CA", "Canada"},
    {"CC", "Cocos (Keeling) Islands"},
    {"CD", "Democratic Republic of the Congo"},
    {"CF", "Central African Republic"},
    {"CG", "Republic of the Congo"},
    {"CH", "Switzerland"},
    {"CI", "Côte d'Ivoire"},
    {"CK", "Cook Islands"},
    {"CL", "Chile"},
    {"CM", "Cameroon"},
    {"CN", "China"},
    {"CO", "Colombia"},
    {"CR", "Costa Rica"},
    {"CU", "Cuba"},
    {"CV", "Cabo Verde"},
    {"CW", "Curaçao"},
    {"CX", "Christmas Island"},
    {"CY", "Cyprus"},
    {"CZ", "Czechia"},
    {"DE", "Germany"},
    {"DJ", "Djibouti"},
    {"DK", "Denmark"},
    {"DM", "Dominica"},
    {"DO", "Dominican Republic"},
    {"DZ", "Algeria"},
    {"EC", "Ecuador"},
    {"EE", "Estonia"},
    {"EG", "Egypt"},
    {"EH", "Western Sahara"},
    {"ER", "Eritrea"},
    {"ES", "Spain"},
    {"ET", "Ethiopia"},
    {"FI", "Finland"},
    {"FJ", "Fiji"},
    {"FK", "Falkland Islands"},
    {"FM", "Micronesia"},
    {"FO", "Faroe Islands"},
    {"FR", "France"},
    {"GA", "Gabon"},
    {"GB", "United Kingdom"},
    {"GD", "Grenada"},
    {"GE", "Georgia"},
    {"GF", "French Guiana"},
    {"GG", "Guernsey"},
    {"GH", "Ghana"},
    {"GI", "Gibraltar"},
    {"GL", "Greenland"},
    {"GM", "Gambia"},
    {"GN", "Guinea"},
    {"GP", "Guadeloupe"},
    {"GQ", "Equatorial Guinea"},
    {"GR", "Greece"},
    {"GS", "South Georgia and the South Sandwich Islands"},
    {"GT", "Guatemala"},
    {"GU", "Guam"},
    {"GW", "Guinea-Bissau"},
    {"GY", "Guyana"},
    {"HK", "Hong Kong"},
    {"HM", "Heard Island and McDonald Islands"},
    {"HN", "Honduras"},
    {"HR", "Croatia"},
    {"HT", "Haiti"},
    {"HU", "Hungary"},
    {"ID", "Indonesia"},
    {"IE", "Ireland"},
    {"IL", "Israel"},
    {"IM", "Isle of Man"},
    {"IN", "India"},
    {"IO", "British Indian Ocean Territory"},
    {"IQ", "Iraq"},
    {"IR", "Iran"},
    {"IS", "Iceland"},
    {"IT", "Italy"},
    {"JE", "Jersey"},
    {"JM", "Jamaica"},
    {"JO", "Jordan"},
    {"JP", "Japan"},
    {"KE", "Kenya"},
    {"KG", "Kyrgyzstan"},
    {"KH", "Cambodia"},
    {"KI", "Kiribati"},
    {"KM", "Comoros"},
    {"KN", "Saint Kitts and Nevis"},
    {"KP", "North Korea"},
    {"KR", "South Korea"},
    {"KW", "Kuwait"},
    {"KY", "Cayman Islands"},
    {"KZ", "Kazakhstan"},
    {"LA", "Laos"},
    {"LB", "Lebanon"},
    {"LC", "Saint Lucia"},
    {"LI", "Liechtenstein"},
    {"LK", "Sri Lanka"},
    {"LR", "Liberia"},
    {"LS", "Lesotho"},
    {"LT", "Lithuania"},
    {"LU", "Luxembourg"},
    {"LV", "Latvia"},
    {"LY", "Libya"},
    {"MA", "Morocco"},
    {"MC", "Monaco"},
    {"MD", "Moldova"},
    {"ME", "Montenegro"},
    {"MF", "Saint Martin"},
    {"MG", "Madagascar"},
    {"MH", "Marshall Islands"},
    {"MK", "North Macedonia"},
    {"ML", "Mali"},
    {"MM", "Myanmar"},
    {"MN", "Mongolia"},
    {"MO", "Macau"},
    {"MP", "Northern Mariana Islands"},
    {"MQ", "Martinique"},
    {"MR", "Mauritania"},
    {"MS", "Montserrat"},
    {"MT", "Malta"},
    {"MU", "Mauritius"},
    {"MV", "Maldives"},
    {"MW", "Malawi"},
    {"MX", "Mexico"},
    {"MY", "Malaysia"},
    {"MZ", "Mozambique"},
    {"NA", "Namibia"},
    {"NC", "New Caledonia"},
    {"NE", "Niger"},
    {"NF", "Norfolk Island"},
    {"NG", "Nigeria"},
    {"NI", "Nicaragua"},
    {"NL", "Netherlands"},
    {"NO", "Norway"},
    {"NP", "Nepal"},
    {"NR", "Nauru"},
    {"NU", "Niue"},
    {"NZ", "New Zealand"},
    {"OM", "Oman"},
    {"PA", "Panama"},
    {"PE", "Peru"},
    {"PF", "French Polynesia"},
    {"PG", "Papua New Guinea"},
    {"PH", "Philippines"},
    {"PK", "Pakistan"},
    {"PL", "Poland"},
    {"PM", "Saint Pierre and Miquelon"},
    {"PN", "Pitcairn Islands"},
    {"PR", "Puerto Rico"},
    {"PS", "Palestine"},
    {"PT", "Portugal"},
    {"PW", "Palau"},
    {"PY", "Paraguay"},
    {"QA", "Qatar"},
    {"RE", "Réunion"},
    {"RO", "Romania"},
    {"RS", "Serbia"},
    {"RU", "Russia"},
    {"RW", "Rwanda"},
    {"SA", "Saudi Arabia"},
    {"SB", "Solomon Islands"},
    {"SC", "Seychelles"},
    {"SD", "Sudan"},
    {"SE", "Sweden"},
    {"SG", "Singapore"},
    {"SH", "Saint Helena"},
    {"SI", "Slovenia"},
    {"SJ", "Svalbard and Jan Mayen"},
    {"SK", "Slovakia"},
    {"SL", "Sierra Leone"},
    {"SM", "San Marino"},
    {"SN", "Senegal"},
    {"SO", "Somalia"},
    {"SR", "Suriname"},
    {"SS", "South Sudan"},
    {"ST", "Sao Tome and Principe"},
    {"SV", "El Salvador"},
    {"SX", "Sint Maarten"},
    {"SY", "Syria"},
    {"SZ", "Eswatini"},
    {"TC", "Turks and Caicos Islands"},
    {"TD", "Chad"},
    {"TF", "French Southern Territories"},
    {"TG", "Togo"},
    {"TH", "Thailand"},
    {"TJ", "Tajikistan"},
    {"TK", "Tokelau"},
    {"TL", "Timor-Leste"},
    {"TM", "Turkmenistan"},
    {"TN", "Tunisia"},
    {"TO", "Tonga"},
    {"TR", "Türkiye"},
    {"TT", "Trinidad and Tobago"},
    {"TV", "Tuvalu"},
    {"TW", "Taiwan"},
    {"TZ", "Tanzania"},
    {"UA", "Ukraine"},
    {"UG", "Uganda"},
    {"UM", "United States Minor Outlying Islands"},
    {"US", "United States"},
    {"UY", "Uruguay"},
    {"UZ", "Uzbekistan"},
    {"VA", "Vatican City"},
    {"VC", "Saint Vincent and the Grenadines"},
    {"VE", "Venezuela"},
    {"VG", "British Virgin Islands"},
    {"VI", "U.S. Virgin Islands"},
    {"VN", "Vietnam"},
    {"VU", "Vanuatu"},
    {"WF", "Wallis and Futuna"},
    {"WS", "Samoa"},
    {"XK", "Kosovo"},
    {"YE", "Yemen"},
    {"YT", "Mayotte"},
    {"ZA", "South Africa"},
    {"ZM", "Zambia"},
    {"ZW", "Zimbabwe"},
};

// Other names people give for a country.
constexpr CountryRow kCountryOtherNames[] = {
    {"AE", "UAE"},
    {"BA", "Bosnia"},
    {"BS", "The Bahamas"},
    {"CD", "DR Congo"},
    {"CD", "Congo-Kinshasa"},
    {"CD", "Zaire"},
    {"CG", "Congo-Brazzaville"},
    {"CI", "Ivory Coast"},
    {"CV", "Cape Verde"},
    {"CZ", "Czech Republic"},
    {"GB", "UK"},
    {"GB", "Great Britain"},
    {"GB", "Britain"},
    {"GB", "England"},
    {"GB", "Scotland"},
    {"GB", "Wales"},
    {"GB", "Northern Ireland"},
    {"GM", "The Gambia"},
    {"IN", "Bharat"},
    {"IR", "Persia"},
    {"KP", "DPRK"},
    {"KR", "Korea"},
    {"KR", "Republic of Korea"},
    {"LK", "Ceylon"},
    {"MK", "Macedonia"},
    {"MM", "Burma"},
    {"NL", "Holland"},
    {"NL", "The Netherlands"},
    {"RU", "Russian Federation"},
    {"SY", "Syrian Arab Republic"},
    {"SZ", "Swaziland"},
    {"TL", "East Timor"},
    {"TR", "Turkey"},
    {"US", "USA"},
    {"US", "U.S.A."},
    {"US", "United States of America"},
    {"US", "America"},
    {"VN", "Viet Nam"},
};

// Every country name and other name, folded, with its code.
const std::vector<std::pair<std::string, std::string_view>>& FoldedCountryNames() {
  static const auto names = [] {
    std::vector<std::pair<std::string, std::string_view>> out;
    for (const CountryRow& row : kCountries) out.emplace_back(FoldForSearch(row.name), row.code);
    for (const CountryRow& row : kCountryOtherNames)
      out.emplace_back(FoldForSearch(row.name), row.code);
    return out;
  }();
  return names;
}

// The country codes a typed country stands for: its code, or the country it names.
std::vector<std::string_view> CountryCodesFor(std::string_view typed) {
  const std::string folded = FoldForSearch(typed);
  std::vector<std::string_view> codes;
  if (folded.empty()) return codes;
  for (const auto& [name, code] : FoldedCountryNames())
    if (name == folded) codes.push_back(code);
  if (folded.size() == 2) {
    const char upper[2] = {static_cast<char>(folded[0] - 'a' + 'A'),
                           static_cast<char>(folded[1] - 'a' + 'A')};
    for (const CountryRow& row : kCountries)
      if (row.code == std::string_view(upper, 2)) codes.push_back(row.code);
  }
  return codes;
}

// Reads the file's little-endian fields in order, refusing to run past the end.
class Reader {
 public:
  explicit Reader(std::span<const unsigned char> data) : data_(data) {}

  std::span<const unsigned char> Take(std::size_t count) {
    if (count > data_.size() - pos_) throw AtlasError("the atlas ends early");
    const auto out = data_.subspan(pos_, count);
    pos_ += count;
    return out;
  }
  std::uint32_t Unsigned(std::size_t bytes) {
    std::uint32_t value = 0;
    const auto raw = Take(bytes);
    for (std::size_t i = bytes; i-- > 0;) value = (value << 8) | raw[i];
    return value;
  }
  std::uint8_t U8() { return static_cast<std::uint8_t>(Unsigned(1)); }
  std::uint16_t U16() { return static_cast<std::uint16_t>(Unsigned(2)); }
  std::uint32_t U32() { return Unsigned(4); }
  std::int32_t I32() { return static_cast<std::int32_t>(Unsigned(4)); }
  std::string_view Str8() {
    const auto raw = Take(U8());
    return {reinterpret_cast<const char*>(raw.data()), raw.size()};
  }
  bool AtEnd() const { return pos_ == data_.size(); }

 private:
  std::span<const unsigned char> data_;
  std::size_t pos_ = 0;
};

std::vector<unsigned char> Inflate(std::span<const unsigned char> file, std::uint32_t& count) {
  Reader header(file);
  const auto magic = header.Take(sizeof kMagic);
  if (std::memcmp(magic.data(), kMagic, sizeof kMagic) != 0) throw AtlasError("not an atlas file");
  if (const std::uint16_t version = header.U16(); version != kVersion)
    throw AtlasError("atlas format " + std::to_string(version) + " is not known to this program");
  header.U16();  // reserved
  count = header.U32();
  const std::uint32_t payload_size = header.U32();
  if (payload_size > kMaxPayload) throw AtlasError("the atlas header is damaged");

  std::vector<unsigned char> payload(payload_size);
  uLongf inflated = payload_size;
  const auto compressed = file.subspan(kHeaderSize);
  if (uncompress(payload.data(), &inflated, compressed.data(),
                 static_cast<uLong>(compressed.size())) != Z_OK ||
      inflated != payload_size)
    throw AtlasError("the atlas data is damaged");
  return payload;
}

}  // namespace

std::string FoldForSearch(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  bool separator = false;
  const auto append = [&](std::string_view piece) {
    if (separator && !out.empty()) out += ' ';
    separator = false;
    out += piece;
  };
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    const char32_t c = NextCodePoint(text, pos);
    if (IsDropped(c)) continue;
    if (c < 0x80) {
      if (IsAsciiAlnum(c)) {
        const char lower = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        append(std::string_view(&lower, 1));
      } else {
        separator = true;
      }
    } else if (const Fold* fold = LatinFold(c)) {
      if (fold->keep) {
        append(text.substr(start, pos - start));
      } else if (fold->text.empty()) {
        separator = true;
      } else {
        append(fold->text);
      }
    } else if (c < 0xC0 || (c >= 0x2000 && c < 0x2070) || c == 0xFFFD) {
      separator = true;  // Latin-1 signs, general punctuation, broken bytes
    } else {
      append(text.substr(start, pos - start));
    }
  }
  return out;
}

bool NamesCountry(std::string_view text) { return !CountryCodesFor(text).empty(); }

std::string_view CountryName(std::string_view code) {
  const auto* end = std::end(kCountries);
  const auto* row =
      std::lower_bound(std::begin(kCountries), end, code,
                       [](const CountryRow& r, std::string_view c) { return r.code < c; });
  return row != end && row->code == code ? row->name : code;
}

namespace {

struct WholeMinutes {
  long degrees, minutes;
  char hemisphere;
};

// Rounded as a whole to the nearest minute, so that 10.99999 is 11° 0', never 10° 60'.
WholeMinutes ToWholeMinutes(double value, bool latitude) {
  const long minutes = std::lround(std::fabs(value) * 60.0);
  const bool positive = minutes == 0 || value > 0;  // no "0° 0' S"
  return {minutes / 60, minutes % 60, positive ? (latitude ? 'N' : 'E') : (latitude ? 'S' : 'W')};
}

}  // namespace

std::string FormatCoordinate(double value, bool latitude) {
  if (!std::isfinite(value)) return {};
  const WholeMinutes m = ToWholeMinutes(value, latitude);
  return std::to_string(m.degrees) + "\u00B0 " + std::to_string(m.minutes) + "' " + m.hemisphere;
}

std::string FlagCoordinate(double value, bool latitude) {
  if (!std::isfinite(value)) return {};
  const WholeMinutes m = ToWholeMinutes(value, latitude);
  return std::to_string(m.degrees) + m.hemisphere + std::to_string(m.minutes);
}

const Atlas& Atlas::BuiltIn() {
  static const Atlas atlas = [] {
    try {
      return Atlas(std::span<const unsigned char>(
          solvane_atlas_begin, static_cast<std::size_t>(solvane_atlas_end - solvane_atlas_begin)));
    } catch (const std::exception& error) {
      std::cerr << "solvane: the built-in atlas cannot be read: " << error.what() << '\n';
      return Atlas();
    }
  }();
  return atlas;
}

Atlas::Atlas(std::span<const unsigned char> file) {
  std::uint32_t count = 0;
  const std::vector<unsigned char> payload = Inflate(file, count);
  Reader in(payload);

  // Counts are checked against the bytes that could hold them before anything is allocated.
  const std::uint32_t division_count = in.U32();
  if (division_count > payload.size() / 2) throw AtlasError("the atlas has a damaged division");
  divisions_.resize(division_count);
  for (Division& division : divisions_) {
    const std::string_view key = in.Str8();  // "CC.code"
    if (key.size() < 4 || key[2] != '.') throw AtlasError("the atlas has a damaged division");
    division.code = std::string(key.substr(3));
    division.name = std::string(in.Str8());
    division.folded_name = FoldForSearch(division.name);
    // Letter codes are what people write ("IL", "NSW"); a number ("07") would only ever match
    // by accident, in dozens of countries at once.
    if (std::any_of(division.code.begin(), division.code.end(),
                    [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }))
      division.folded_code = FoldForSearch(division.code);
  }

  if (in.U32() != count) throw AtlasError("the atlas header and data disagree");
  if (count > payload.size() / kLeastRecordSize) throw AtlasError("the atlas header is damaged");
  records_.resize(count);
  for (Record& record : records_) {
    const std::string_view name = in.Str8();
    record.name_offset = static_cast<std::uint32_t>(names_.size());
    record.name_length = static_cast<std::uint8_t>(name.size());
    names_ += name;
  }
  for (Record& record : records_) {
    const auto code = in.Take(2);
    record.country[0] = static_cast<char>(code[0]);
    record.country[1] = static_cast<char>(code[1]);
  }
  for (Record& record : records_) {
    record.division = in.U16();
    if (record.division != kNoDivision && record.division >= divisions_.size())
      throw AtlasError("the atlas refers to a division it does not have");
  }
  for (Record& record : records_) record.latitude = in.I32();
  for (Record& record : records_) record.longitude = in.I32();
  for (const Record& record : records_)
    if (std::abs(record.latitude) > kMaxLatitude || std::abs(record.longitude) > kMaxLongitude)
      throw AtlasError("the atlas has a place off the globe");
  for (Record& record : records_) record.population = in.U32();

  const auto add_key = [this](std::string_view name, std::uint32_t record) {
    const std::string folded = FoldForSearch(name);
    if (folded.empty()) return;
    index_.push_back({static_cast<std::uint32_t>(keys_.size()),
                      static_cast<std::uint32_t>(folded.size()), record});
    keys_ += folded;
  };
  keys_.reserve(names_.size() + names_.size() / 8);
  index_.reserve(records_.size() + 128);
  for (std::uint32_t i = 0; i < count; ++i) add_key(Name(records_[i]), i);
  const auto by_key = [this](const Key& a, const Key& b) { return KeyText(a) < KeyText(b); };
  // The file is written in key order; sorting is only for a file written otherwise.
  if (!std::is_sorted(index_.begin(), index_.end(), by_key))
    std::stable_sort(index_.begin(), index_.end(), by_key);

  const std::size_t names_end = index_.size();
  const std::uint32_t other_names = in.U32();
  for (std::uint32_t i = 0; i < other_names; ++i) {
    const std::uint32_t record = in.U32();
    if (record >= count) throw AtlasError("the atlas names a place it does not have");
    add_key(in.Str8(), record);
  }
  if (!in.AtEnd()) throw AtlasError("the atlas has data after its end");
  std::stable_sort(index_.begin() + static_cast<std::ptrdiff_t>(names_end), index_.end(), by_key);
  std::inplace_merge(index_.begin(), index_.begin() + static_cast<std::ptrdiff_t>(names_end),
                     index_.end(), by_key);
}

Place Atlas::MakePlace(const Record& record) const {
  Place place;
  place.name = std::string(Name(record));
  if (record.division != kNoDivision) place.division = divisions_[record.division].name;
  place.country_code = std::string(record.country, 2);
  place.latitude = record.latitude / 1e5;
  place.longitude = record.longitude / 1e5;
  place.population = static_cast<long>(record.population);
  return place;
}

std::vector<Place> Atlas::Find(std::string_view city, std::string_view state,
                               std::string_view country, std::size_t limit) const {
  const std::string key = FoldForSearch(city);
  if (key.empty() || limit == 0) return {};

  struct Candidate {
    std::uint32_t record;
    bool exact;
  };
  std::vector<Candidate> found;
  auto it =
      std::lower_bound(index_.begin(), index_.end(), key,
                       [this](const Key& k, std::string_view text) { return KeyText(k) < text; });
  for (; it != index_.end() && KeyText(*it).starts_with(key); ++it)
    found.push_back({it->record, it->length == key.size()});
  // A place found under its own name and another keeps its best match.
  std::sort(found.begin(), found.end(), [](const Candidate& a, const Candidate& b) {
    return a.record != b.record ? a.record < b.record : a.exact > b.exact;
  });
  found.erase(
      std::unique(found.begin(), found.end(),
                  [](const Candidate& a, const Candidate& b) { return a.record == b.record; }),
      found.end());

  // Keeps the candidates that score highest, when any scores above zero.
  const auto narrow = [&found](const auto& score) {
    int best = 0;
    for (const Candidate& c : found) best = std::max(best, score(c));
    if (best == 0) return;
    std::erase_if(found, [&](const Candidate& c) { return score(c) < best; });
  };

  const std::vector<std::string_view> codes = CountryCodesFor(country);
  narrow([&](const Candidate& c) {
    const std::string_view code(records_[c.record].country, 2);
    return std::find(codes.begin(), codes.end(), code) != codes.end() ? 1 : 0;
  });

  const std::string folded_state = FoldForSearch(state);
  if (!folded_state.empty()) {
    narrow([&](const Candidate& c) {
      const std::uint16_t index = records_[c.record].division;
      if (index == kNoDivision) return 0;
      const Division& division = divisions_[index];
      if (division.folded_name == folded_state || division.folded_code == folded_state) return 2;
      // "Delhi" for "National Capital Territory of Delhi", "Maharashtra State" for Maharashtra.
      return ContainsWords(division.folded_name, folded_state) ||
                     ContainsWords(folded_state, division.folded_name)
                 ? 1
                 : 0;
    });
  }

  const auto ranks_before = [this](const Candidate& a, const Candidate& b) {
    if (a.exact != b.exact) return a.exact;
    const Record& ra = records_[a.record];
    const Record& rb = records_[b.record];
    if (ra.population != rb.population) return ra.population > rb.population;
    return a.record < b.record;  // file order: by name, then country
  };
  const std::size_t kept = std::min(limit, found.size());
  std::partial_sort(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(kept), found.end(),
                    ranks_before);
  std::vector<Place> places;
  places.reserve(kept);
  for (std::size_t i = 0; i < kept; ++i) places.push_back(MakePlace(records_[found[i].record]));
  return places;
}

}  // namespace solvane::entry
