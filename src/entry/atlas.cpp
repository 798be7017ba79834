#include "entry/atlas.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <stdexcept>
#include <utility>

// The atlas file, placed in the program by atlas_data.S.
extern "C" const unsigned char solvane_atlas_begin[];
extern "C" const unsigned char solvane_atlas_end[];

namespace solvane::entry {
namespace {

constexpr char kMagic[8] = {'S', 'V', 'A', 'T', 'L', 'A', 'S', '\0'};
constexpr std::uint16_t kVersion = 2;
constexpr std::size_t kHeaderSize = 20;     // bytes
constexpr std::uint16_t kNoIndex = 0xFFFF;  // no division or no time zone known
// Far above the real payload (under 10 MB); a header claiming more is damaged, not big.
constexpr std::uint32_t kMaxPayload = 64u << 20;  // bytes
// An empty name, a country code, a division index, two coordinates, a population, a time zone
// index and a GeoNames id (bytes).
constexpr std::size_t kLeastRecordSize = 1 + 2 + 2 + 4 + 4 + 4 + 2 + 4;
// An other name: a place index and an empty name (bytes).
constexpr std::size_t kLeastOtherNameSize = 4 + 1;
constexpr std::int32_t kMaxLatitude = 90'00000;    // 1e-5 degrees
constexpr std::int32_t kMaxLongitude = 180'00000;  // 1e-5 degrees

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

// Lower case of a Cyrillic, Greek or Armenian capital (ё searches as е); other code points as
// they are. build_atlas.py's lower_other_script() is the same.
char32_t LowerOtherScript(char32_t c) {
  if ((c >= 0x0410 && c <= 0x042F) || (c >= 0x0391 && c <= 0x03AB && c != 0x03A2)) {
    c += 0x20;
  } else if (c >= 0x0400 && c <= 0x040F) {
    c += 0x50;
  } else if (c >= 0x0531 && c <= 0x0556) {
    c += 0x30;
  }
  return c == 0x0451 ? char32_t{0x0435} : c;
}

// Writes `c` as UTF-8 at `out`, returning the end.
char* PutUtf8(char* out, char32_t c) {
  if (c < 0x80) {
    *out++ = static_cast<char>(c);
  } else if (c < 0x800) {
    *out++ = static_cast<char>(0xC0 | (c >> 6));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *out++ = static_cast<char>(0xE0 | (c >> 12));
    *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *out++ = static_cast<char>(0xF0 | (c >> 18));
    *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

// What an ASCII character searches as: its lower-case letter or digit, or one of these two.
constexpr char kAsciiSeparator = 0;
constexpr char kAsciiDropped = 1;  // apostrophes: "Ma'anshan" is "maanshan"
constexpr std::array<char, 128> kAsciiFold = [] {
  std::array<char, 128> table{};
  for (int c = 0; c < 128; ++c) {
    if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z')) table[c] = static_cast<char>(c);
    if (c >= 'A' && c <= 'Z') table[c] = static_cast<char>(c - 'A' + 'a');
  }
  table['\''] = table['`'] = kAsciiDropped;
  return table;
}();

// Appends the search form of `text` to `out` (FoldForSearch without a string of its own: the
// atlas folds some 370,000 names as it loads). The folded text is never longer than the text:
// every folded letter takes at most the bytes of the letter it stands for, and a blank stands
// for at least one sign.
void AppendFolded(std::string& out, std::string_view text) {
  const std::size_t begin = out.size();
  out.resize(begin + text.size());
  char* const start = out.data() + begin;
  char* to = start;
  bool separator = false;
  const auto separate = [&] {
    if (separator && to != start) *to++ = ' ';
    separator = false;
  };
  for (std::size_t pos = 0; pos < text.size();) {
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (byte < 0x80) {  // most names are ASCII: no decoding
      ++pos;
      const char folded = kAsciiFold[byte];
      if (folded > kAsciiDropped) {
        separate();
        *to++ = folded;
      } else if (folded == kAsciiSeparator) {
        separator = true;
      }
      continue;
    }
    const std::size_t first = pos;
    const char32_t c = NextCodePoint(text, pos);
    if (IsDropped(c)) continue;
    if (const Fold* fold = LatinFold(c)) {
      if (fold->text.empty() && !fold->keep) {
        separator = true;
      } else {
        separate();
        const std::string_view piece = fold->keep ? text.substr(first, pos - first) : fold->text;
        to = std::copy(piece.begin(), piece.end(), to);
      }
    } else if (c < 0xC0 || (c >= 0x2000 && c < 0x2070) || c == 0xFFFD) {
      separator = true;  // Latin-1 signs, general punctuation, broken bytes
    } else {
      separate();
      to = PutUtf8(to, LowerOtherScript(c));
    }
  }
  out.resize(static_cast<std::size_t>(to - out.data()));
}

// Words written short that the index spells out, so that "St. Louis", "St Louis" and "Saint
// Louis" are one key. build_atlas.py's search_key() does the same.
constexpr std::pair<std::string_view, std::string_view> kWordForms[] = {
    {"st", "saint"},
    {"ste", "sainte"},
};

std::string SpellOut(std::string_view folded) {
  std::string out;
  out.reserve(folded.size() + 8);
  while (!folded.empty()) {
    const std::size_t blank = std::min(folded.find(' '), folded.size());
    std::string_view word = folded.substr(0, blank);
    for (const auto& [short_form, long_form] : kWordForms)
      if (word == short_form) word = long_form;
    if (!out.empty()) out += ' ';
    out += word;
    folded.remove_prefix(std::min(blank + 1, folded.size()));
  }
  return out;
}

// Appends the index key of a name or of a typed text to `out`.
void AppendSearchKey(std::string& out, std::string_view text) {
  const std::size_t begin = out.size();
  AppendFolded(out, text);
  const std::string_view folded = std::string_view(out).substr(begin);
  for (std::size_t at = folded.find("st"); at != std::string_view::npos;
       at = folded.find("st", at + 1)) {
    if (at > 0 && folded[at - 1] != ' ') continue;
    const std::size_t end = std::min(folded.find(' ', at), folded.size());
    if (end - at <= 3) {  // "st" or "ste" as a word, maybe: spell the key out once
      const std::string spelled = SpellOut(folded);
      out.replace(begin, std::string::npos, spelled);
      return;
    }
  }
}

std::string SearchKey(std::string_view text) {
  std::string out;
  AppendSearchKey(out, text);
  return out;
}

// A folded text without its blanks: "D.C." and "DC", "N. Dak." and "N.Dak." read alike.
std::string Compact(std::string_view text) {
  std::string out = FoldForSearch(text);
  std::erase(out, ' ');
  return out;
}

// Every country name and other name as a search key, with its code.
const std::vector<std::pair<std::string, std::string_view>>& CountryKeys() {
  static const auto names = [] {
    std::vector<std::pair<std::string, std::string_view>> out;
    for (const CountryRow& row : kCountries) out.emplace_back(SearchKey(row.name), row.code);
    for (const CountryRow& row : kCountryOtherNames)
      out.emplace_back(SearchKey(row.name), row.code);
    return out;
  }();
  return names;
}

// The country codes a typed country stands for: its code, or the country it names.
std::vector<std::string_view> CountryCodesFor(std::string_view typed) {
  std::vector<std::string_view> codes;
  const std::string key = SearchKey(typed);
  if (key.empty()) return codes;
  for (const auto& [name, code] : CountryKeys())
    if (name == key) codes.push_back(code);
  const std::string folded = FoldForSearch(typed);
  if (folded.size() == 2) {
    const char upper[2] = {static_cast<char>(folded[0] - 'a' + 'A'),
                           static_cast<char>(folded[1] - 'a' + 'A')};
    for (const CountryRow& row : kCountries)
      if (row.code == std::string_view(upper, 2) &&
          std::find(codes.begin(), codes.end(), row.code) == codes.end())
        codes.push_back(row.code);
  }
  return codes;
}

// Reads the payload's little-endian fields in order as zlib inflates it, a window at a time:
// the payload (10 MB) is never held whole. Reading past the end yields zeros and empty texts and
// marks the reader failed, so that a damaged file is found at the next check without a check
// after every field. A field's bytes stay valid until the next read.
class Reader {
 public:
  Reader(std::span<const unsigned char> compressed, std::uint32_t size) : size_(size) {
    stream_.next_in = const_cast<unsigned char*>(compressed.data());  // zlib does not write it
    stream_.avail_in = static_cast<uInt>(compressed.size());
    if (inflateInit(&stream_) != Z_OK) damaged_ = failed_ = true;
  }
  ~Reader() { inflateEnd(&stream_); }
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;

  std::span<const unsigned char> Take(std::size_t count) {
    if (!failed_ && count > Left()) failed_ = true;
    if (!failed_ && end_ - begin_ < count) Refill(count);
    if (failed_) return {};
    const std::span<const unsigned char> out(window_.get() + begin_, count);
    begin_ += count;
    taken_ += count;
    return out;
  }
  std::uint32_t Unsigned(std::size_t bytes) {
    const auto raw = Take(bytes);
    std::uint32_t value = 0;
    for (std::size_t i = raw.size(); i-- > 0;) value = (value << 8) | raw[i];
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
  // Bytes of the payload not read yet, as the header gives its size.
  std::size_t Left() const { return size_ - taken_; }
  bool failed() const { return failed_; }

  // Whether zlib found the stream damaged, or it holds other than the header's size: inflates
  // what is left, so that the checksum at its end is checked.
  bool Damaged() {
    while (!damaged_ && !ended_) {
      begin_ = end_ = 0;
      Inflate();
    }
    return damaged_ || stream_.total_out != size_;
  }

 private:
  static constexpr std::size_t kWindow = 64 * 1024;  // bytes

  void Refill(std::size_t count) {
    std::memmove(window_.get(), window_.get() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
    while (end_ < count && !damaged_ && !ended_) Inflate();
    if (end_ < count) failed_ = true;
  }
  void Inflate() {
    stream_.next_out = window_.get() + end_;
    stream_.avail_out = static_cast<uInt>(kWindow - end_);
    const int status = inflate(&stream_, Z_NO_FLUSH);
    end_ = kWindow - stream_.avail_out;
    if (status == Z_STREAM_END) {
      ended_ = true;
    } else if (status != Z_OK || stream_.total_out > size_) {
      damaged_ = failed_ = true;
    }
  }

  z_stream stream_{};
  std::unique_ptr<unsigned char[]> window_ =
      std::make_unique_for_overwrite<unsigned char[]>(kWindow);
  std::size_t begin_ = 0, end_ = 0;  // the inflated bytes not read yet
  std::size_t taken_ = 0;
  std::uint32_t size_;
  bool failed_ = false, damaged_ = false, ended_ = false;
};

struct Header {
  std::uint32_t count;         // places
  std::uint32_t payload_size;  // bytes, once inflated
};

core::Result<Header> ReadHeader(std::span<const unsigned char> file) {
  if (file.size() < kHeaderSize || std::memcmp(file.data(), kMagic, sizeof kMagic) != 0)
    return core::Fail("not an atlas file");
  const auto field = [&file](std::size_t at, std::size_t bytes) {
    std::uint32_t value = 0;
    for (std::size_t i = bytes; i-- > 0;) value = (value << 8) | file[at + i];
    return value;
  };
  if (const std::uint32_t version = field(8, 2); version != kVersion)
    return core::Fail("atlas format " + std::to_string(version) + " is not known to this program");
  const Header header{field(12, 4), field(16, 4)};
  if (header.payload_size > kMaxPayload) return core::Fail("the atlas header is damaged");
  return header;
}

bool HasLetter(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
}

}  // namespace

std::string FoldForSearch(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendFolded(out, text);
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

// ---- Reading ---------------------------------------------------------------------------------

// Fills an atlas from an inflated payload, section by section; each returns a message when the
// section is damaged. Counts are checked against the bytes that could hold them before anything
// is allocated.
class Atlas::Loader {
 public:
  Loader(Atlas& atlas, Reader& in, std::uint32_t count) : atlas_(atlas), in_(in), count_(count) {}

  std::string Zones();
  std::string Divisions();
  std::string Places();
  std::string Coordinates();
  std::string OtherNames();

 private:
  Atlas& atlas_;
  Reader& in_;
  std::uint32_t count_;
};

std::string Atlas::Loader::Zones() {
  const std::uint16_t zone_count = in_.U16();
  if (zone_count > in_.Left()) return "the atlas has a damaged time zone";
  atlas_.zones_.reserve(zone_count);
  for (std::uint16_t i = 0; i < zone_count; ++i) atlas_.zones_.emplace_back(in_.Str8());
  return in_.failed() ? "the atlas has a damaged time zone" : "";
}

std::string Atlas::Loader::Divisions() {
  const std::uint32_t division_count = in_.U32();
  if (division_count > in_.Left() / 3) return "the atlas has a damaged division";
  atlas_.divisions_.resize(division_count);
  for (Division& division : atlas_.divisions_) {
    const std::string_view key = in_.Str8();  // "CC.code"
    if (key.size() < 4 || key[2] != '.') return "the atlas has a damaged division";
    division.code = std::string(key.substr(3));
    division.name = std::string(in_.Str8());
    division.key = SearchKey(division.name);
    // Letter codes are what people write ("IL"); a number ("07") would only ever match by
    // accident, in dozens of countries at once.
    if (HasLetter(division.code)) division.short_forms.push_back(Compact(division.code));
    for (std::uint8_t n = in_.U8(); n > 0; --n) {
      const std::string_view abbreviation = in_.Str8();
      // Written short ("Ill.", "N.Dak.") or as an old name ("Orissa"): both typed as they are.
      division.short_forms.push_back(Compact(abbreviation));
    }
  }
  return in_.failed() ? "the atlas has a damaged division" : "";
}

std::string Atlas::Loader::Places() {
  if (in_.U32() != count_) return "the atlas header and data disagree";
  if (count_ > in_.Left() / kLeastRecordSize) return "the atlas header is damaged";
  auto& records = atlas_.records_;
  records.resize(count_);
  atlas_.names_.reserve(std::size_t{count_} * 16);  // names average some 10 bytes
  for (Record& record : records) {
    const std::string_view name = in_.Str8();
    record.name_offset = static_cast<std::uint32_t>(atlas_.names_.size());
    record.name_length = static_cast<std::uint8_t>(name.size());
    atlas_.names_ += name;
  }
  for (Record& record : records) {
    const auto code = in_.Take(2);
    record.country[0] = code.empty() ? '?' : static_cast<char>(code[0]);
    record.country[1] = code.empty() ? '?' : static_cast<char>(code[1]);
  }
  for (Record& record : records) {
    record.division = in_.U16();
    if (record.division != kNoIndex && record.division >= atlas_.divisions_.size())
      return "the atlas refers to a division it does not have";
  }
  return in_.failed() ? "the atlas ends early" : "";
}

std::string Atlas::Loader::Coordinates() {
  auto& records = atlas_.records_;
  for (Record& record : records) record.latitude = in_.I32();
  for (Record& record : records) record.longitude = in_.I32();
  for (const Record& record : records)
    if (std::abs(record.latitude) > kMaxLatitude || std::abs(record.longitude) > kMaxLongitude)
      return "the atlas has a place off the globe";
  for (Record& record : records) record.population = in_.U32();
  for (Record& record : records) {
    record.zone = in_.U16();
    if (record.zone != kNoIndex && record.zone >= atlas_.zones_.size())
      return "the atlas refers to a time zone it does not have";
  }
  for (Record& record : records) record.geonames_id = in_.U32();
  return in_.failed() ? "the atlas ends early" : "";
}

std::string Atlas::Loader::OtherNames() {
  const std::uint32_t other_count = in_.U32();
  if (other_count > in_.Left() / kLeastOtherNameSize) return "the atlas has damaged other names";
  std::vector<std::uint32_t> places(other_count);
  for (std::uint32_t& place : places) {
    place = in_.U32();
    if (place >= count_) return "the atlas names a place it does not have";
  }
  for (const std::uint32_t place : places) atlas_.AddKey(in_.Str8(), place, true);
  if (in_.failed()) return "the atlas ends early";
  return in_.Left() == 0 ? "" : "the atlas has data after its end";
}

void Atlas::AddKey(std::string_view name, std::uint32_t record, bool other) {
  const std::size_t offset = keys_.size();
  AppendSearchKey(keys_, name);
  if (keys_.size() == offset) return;
  index_.push_back({static_cast<std::uint32_t>(offset),
                    static_cast<std::uint16_t>(keys_.size() - offset), other, record});
}

core::Result<Atlas> Atlas::Read(std::span<const unsigned char> file) {
  const auto header = ReadHeader(file);
  if (!header) return core::Unexpected{header.error()};
  Reader in(file.subspan(kHeaderSize), header->payload_size);
  Atlas atlas;
  Loader loader(atlas, in, header->count);
  // A damaged stream explains a section that does not read; it is told first.
  const auto failed = [&in](std::string failure) {
    return core::Fail(in.Damaged() ? "the atlas data is damaged" : std::move(failure));
  };
  for (std::string (Loader::*section)() :
       {&Loader::Zones, &Loader::Divisions, &Loader::Places, &Loader::Coordinates}) {
    if (std::string failure = (loader.*section)(); !failure.empty()) return failed(failure);
  }

  // Keys are about as long as names; what is left of the payload is mostly other names.
  atlas.keys_.reserve(atlas.names_.size() + atlas.names_.size() / 8 + in.Left());
  atlas.index_.reserve(atlas.records_.size() * 2);
  for (std::uint32_t i = 0; i < atlas.records_.size(); ++i)
    atlas.AddKey(atlas.Name(atlas.records_[i]), i, false);
  const std::size_t names_end = atlas.index_.size();
  if (std::string failure = loader.OtherNames(); !failure.empty()) return failed(failure);
  if (in.Damaged()) return core::Fail("the atlas data is damaged");

  // The file lists both parts in key order; sorting is only for a file written otherwise.
  const auto by_key = [&atlas](const Key& a, const Key& b) {
    return atlas.KeyText(a) < atlas.KeyText(b);
  };
  const auto middle = atlas.index_.begin() + static_cast<std::ptrdiff_t>(names_end);
  if (!std::is_sorted(atlas.index_.begin(), middle, by_key))
    std::stable_sort(atlas.index_.begin(), middle, by_key);
  if (!std::is_sorted(middle, atlas.index_.end(), by_key))
    std::stable_sort(middle, atlas.index_.end(), by_key);
  std::inplace_merge(atlas.index_.begin(), middle, atlas.index_.end(), by_key);
  return atlas;
}

const Atlas& Atlas::BuiltIn() {
  static const Atlas atlas = [] {
    auto read = Read(std::span<const unsigned char>(
        solvane_atlas_begin, static_cast<std::size_t>(solvane_atlas_end - solvane_atlas_begin)));
    if (read) return std::move(read).value();
    std::fprintf(stderr, "solvane: the built-in atlas cannot be read: %s\n",
                 read.error().message.c_str());
    return Atlas();
  }();
  return atlas;
}

// ---- Looking up ------------------------------------------------------------------------------

// How well a place's names answer the typed city, best last.
enum Atlas::Match : std::uint8_t {
  kStartOfOtherName,   // "Stambul" for "St"
  kStartOfName,        // "Santiago" for "San"
  kShadowedOtherName,  // "New Delhi", an other name of Delhi, where New Delhi itself is found
  kWholeName,          // the name, or an other name ("Bombay" for Mumbai)
};

struct Atlas::Candidate {
  std::uint32_t record;
  Match match;
  bool other;  // found by an other name
  int region;  // how well the place fits the state and country given; 0: not at all
};

std::vector<Atlas::Candidate> Atlas::Candidates(std::string_view city) const {
  const std::string folded = FoldForSearch(city);
  const std::string key = SpellOut(folded);
  std::vector<std::string_view> keys = {key};
  // "St" may be the start of "Stuttgart" being typed, not a short "Saint".
  const std::size_t last_word = folded.rfind(' ') + 1;
  if (key != folded && SpellOut(folded.substr(last_word)) != folded.substr(last_word))
    keys.push_back(folded);

  std::vector<Candidate> found;
  for (const std::string_view k : keys) {
    if (k.empty()) continue;
    auto it = std::lower_bound(
        index_.begin(), index_.end(), k,
        [this](const Key& entry, std::string_view text) { return KeyText(entry) < text; });
    for (; it != index_.end() && KeyText(*it).starts_with(k); ++it) {
      const bool whole = it->length == k.size();
      found.push_back({it->record,
                       whole       ? kWholeName
                       : it->other ? kStartOfOtherName
                                   : kStartOfName,
                       it->other && whole, 0});
    }
  }
  // A place found under two names keeps its best match, its own name before an other name.
  std::sort(found.begin(), found.end(), [](const Candidate& a, const Candidate& b) {
    if (a.record != b.record) return a.record < b.record;
    return a.match != b.match ? a.match > b.match : a.other < b.other;
  });
  found.erase(
      std::unique(found.begin(), found.end(),
                  [](const Candidate& a, const Candidate& b) { return a.record == b.record; }),
      found.end());

  // An other name gives way to a place of that very name in the same country: "New Delhi" is
  // New Delhi before it is Delhi, "Athens, Georgia" is Athens before it is Oshkosh.
  std::vector<std::string_view> named_in;
  for (const Candidate& c : found)
    if (c.match == kWholeName && !c.other) named_in.emplace_back(records_[c.record].country, 2);
  for (Candidate& c : found) {
    const std::string_view country(records_[c.record].country, 2);
    if (c.other && std::find(named_in.begin(), named_in.end(), country) != named_in.end())
      c.match = kShadowedOtherName;
  }
  return found;
}

// 2: the division's name, code or an abbreviation of it; 1: its name holds the typed words or
// the typed words hold it ("Delhi" for "National Capital Territory of Delhi", "Maharashtra
// State" for Maharashtra); 0: another division or none.
int Atlas::StateScore(const Record& record, std::string_view state_key,
                      std::string_view state_short) const {
  if (state_key.empty() || record.division == kNoIndex) return 0;
  const Division& division = divisions_[record.division];
  if (division.key == state_key) return 2;
  for (const std::string& short_form : division.short_forms)
    if (short_form == state_short) return 2;
  return ContainsWords(division.key, state_key) || ContainsWords(state_key, division.key) ? 1 : 0;
}

namespace {

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::string NoteFor(std::string_view city, std::string_view state, std::string_view country,
                    bool any_elsewhere) {
  std::string where(state);
  if (!state.empty() && !country.empty()) where += ", ";
  where += country;
  std::string note = "No place called " + std::string(city) + " in " + where + ".";
  if (any_elsewhere) note += " Places called " + std::string(city) + " elsewhere:";
  return note;
}

}  // namespace

PlaceMatches Atlas::Lookup(std::string_view city, std::string_view state, std::string_view country,
                           std::size_t limit) const {
  city = Trimmed(city);
  // A state or country of signs alone ("-", "?") says nothing.
  state = SearchKey(state).empty() ? std::string_view() : Trimmed(state);
  country = SearchKey(country).empty() ? std::string_view() : Trimmed(country);
  std::vector<Candidate> found = Candidates(city);
  if (found.empty() || limit == 0) return {};

  // Without a country, the one part given may be a state or a country ("London, Canada").
  const bool either = country.empty();
  const std::vector<std::string_view> codes = CountryCodesFor(either ? state : country);
  const std::string state_key = SearchKey(state);
  const std::string state_short = Compact(state);
  // The note weighs the places that answer the name best: whole names when there are any.
  const Match best = std::max_element(found.begin(), found.end(), [](auto& a, auto& b) {
                       return a.match < b.match;
                     })->match;
  const Match counted = best >= kShadowedOtherName ? kShadowedOtherName : best;
  bool in_region = false;  // a place that answers the name best lies where the reader says
  for (Candidate& c : found) {
    const Record& record = records_[c.record];
    const bool country_fits =
        std::find(codes.begin(), codes.end(), std::string_view(record.country, 2)) != codes.end();
    const int state_fits = StateScore(record, state_key, state_short);
    c.region =
        either ? std::max(country_fits ? 2 : 0, state_fits) : (country_fits ? 4 : 0) + state_fits;
    if (c.match >= counted)
      in_region =
          in_region || (either ? c.region > 0 : country_fits && (state.empty() || state_fits > 0));
  }
  const bool fits = in_region || (either && state.empty());

  // Where the state or country holds none, the best names elsewhere come first after the note.
  const auto better = [&](const Candidate& a, const Candidate& b) {
    if (fits && a.region != b.region) return a.region > b.region;
    if (a.match != b.match) return a.match > b.match;
    if (a.region != b.region) return a.region > b.region;
    const Record& ra = records_[a.record];
    const Record& rb = records_[b.record];
    if (ra.population != rb.population) return ra.population > rb.population;
    return a.record < b.record;  // file order: by name, then country
  };
  const std::size_t kept = std::min(limit, found.size());
  std::partial_sort(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(kept), found.end(),
                    better);
  PlaceMatches matches;
  matches.places.reserve(kept);
  for (std::size_t i = 0; i < kept; ++i)
    matches.places.push_back(MakePlace(records_[found[i].record]));
  if (!fits) matches.note = NoteFor(city, state, country, !matches.places.empty());
  return matches;
}

PlaceMatches Atlas::Lookup(std::string_view text, std::size_t limit) const {
  std::vector<std::string_view> parts;
  for (std::size_t comma; (comma = text.find(',')) != std::string_view::npos;) {
    parts.push_back(Trimmed(text.substr(0, comma)));
    text.remove_prefix(comma + 1);
  }
  parts.push_back(Trimmed(text));
  if (parts.size() == 1) return Lookup(parts[0], {}, {}, limit);
  if (parts.size() == 2) return Lookup(parts[0], parts[1], {}, limit);
  // The parts between the city and the country are the state ("Kings County, New York").
  std::string state;
  for (std::size_t i = 1; i + 1 < parts.size(); ++i) {
    if (parts[i].empty()) continue;
    if (!state.empty()) state += ", ";
    state += parts[i];
  }
  return Lookup(parts.front(), state, parts.back(), limit);
}

std::vector<Place> Atlas::Find(std::string_view city, std::string_view state,
                               std::string_view country, std::size_t limit) const {
  return Lookup(city, state, country, limit).places;
}

Place Atlas::MakePlace(const Record& record) const {
  Place place;
  place.name = std::string(Name(record));
  if (record.division != kNoIndex) {
    place.division = divisions_[record.division].name;
    place.division_code = divisions_[record.division].code;
  }
  place.country_code = std::string(record.country, 2);
  place.latitude = record.latitude / 1e5;
  place.longitude = record.longitude / 1e5;
  place.population = static_cast<long>(record.population);
  if (record.zone != kNoIndex) place.time_zone = zones_[record.zone];
  place.geonames_id = record.geonames_id;
  return place;
}

}  // namespace solvane::entry
