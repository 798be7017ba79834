#include "cli/arguments.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "cli/safe_text.h"
#include "core/text.h"
#include "zones/offset_text.h"

namespace solvane::cli {
namespace {

using core::Fail;
using core::TrimBlanksAndTabs;

bool AllDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A run of 1..max_digits digits as a number.
std::optional<int> Digits(std::string_view s, std::size_t max_digits) {
  if (!AllDigits(s) || s.size() > max_digits) return std::nullopt;
  int value = 0;
  for (char c : s) value = value * 10 + (c - '0');
  return value;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Lower(x) == Lower(y); });
}

// Abbreviation of a zone text: its second comma-separated field, without blanks.
std::string_view ZoneAbbreviation(std::string_view text) {
  const std::size_t first = text.find(',');
  const std::size_t second = text.find(',', first + 1);
  if (first == std::string_view::npos || second == std::string_view::npos) return {};
  return TrimBlanksAndTabs(text.substr(first + 1, second - first - 1));
}

// Degrees, hemisphere letter, minutes: "77E13". Writes the two numbers' texts into the boxes.
core::Result<void> ParseCoordinate(std::string_view text, char positive, char negative,
                                   std::size_t degree_digits, std::string& degrees,
                                   std::string& minutes, bool& is_negative,
                                   std::string_view example) {
  const std::string_view t = TrimBlanksAndTabs(text);
  const std::size_t at = t.find_first_not_of("0123456789");
  const std::string usage = "expected degrees, " + std::string(1, positive) + " or " +
                            std::string(1, negative) + ", minutes (for example " +
                            std::string(example) + "), got " + Quoted(text);
  if (at == std::string_view::npos || at == 0) return Fail(usage);
  const char letter = static_cast<char>(t[at] & ~0x20);  // upper case
  const std::string_view deg = t.substr(0, at);
  const std::string_view min = t.substr(at + 1);
  if ((letter != positive && letter != negative) || !Digits(deg, degree_digits) || !Digits(min, 2))
    return Fail(usage);
  degrees = std::string(deg);
  minutes = std::string(min);
  is_negative = letter == negative;
  return {};
}

}  // namespace

bool IsFieldName(std::string_view name) {
  return std::find(kFieldNames.begin(), kFieldNames.end(), name) != kFieldNames.end();
}

core::Result<void> ParseDate(std::string_view text, entry::BirthFormSnapshot& form) {
  const std::string_view t = TrimBlanksAndTabs(text);
  const std::size_t dash1 = t.find('-');
  const std::size_t dash2 = dash1 == std::string_view::npos ? dash1 : t.find('-', dash1 + 1);
  const auto usage = "expected YYYY-MM-DD (for example 1980-08-15), got " + Quoted(text);
  if (dash2 == std::string_view::npos) return Fail(usage);
  const auto year = Digits(t.substr(0, dash1), 4);
  const auto month = Digits(t.substr(dash1 + 1, dash2 - dash1 - 1), 2);
  const auto day = Digits(t.substr(dash2 + 1), 2);
  if (!year || !month || !day || dash1 != 4) return Fail(usage);
  if (*year < entry::kFirstYear || *year > entry::kLastYear)
    return Fail(
        "year " + std::to_string(*year) + " is outside the years a chart can be cast for (" +
        std::to_string(entry::kFirstYear) + " to " + std::to_string(entry::kLastYear) + ")");
  if (*month < 1 || *month > 12) return Fail("month " + std::to_string(*month) + " is not 1 to 12");
  if (*day < 1 || *day > 31) return Fail("day " + std::to_string(*day) + " is not 1 to 31");
  form.cboYear = *year - entry::kFirstYear;
  form.cboMonth = *month - 1;
  form.cboDate = *day - 1;
  return {};
}

core::Result<void> ParseTime(std::string_view text, entry::BirthFormSnapshot& form) {
  const std::string_view t = TrimBlanksAndTabs(text);
  const auto usage =
      "expected HH:MM or HH:MM:SS on a 24-hour clock (for example 06:30), got " + Quoted(text);
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (parts.size() < 4) {
    const std::size_t colon = t.find(':', start);
    parts.push_back(t.substr(start, colon == std::string_view::npos ? colon : colon - start));
    if (colon == std::string_view::npos) break;
    start = colon + 1;
  }
  if (parts.size() < 2 || parts.size() > 3) return Fail(usage);
  const auto hour = Digits(parts[0], 2);
  const auto minute = Digits(parts[1], 2);
  const auto second = parts.size() == 3 ? Digits(parts[2], 2) : std::optional<int>(0);
  if (!hour || !minute || !second || parts[1].size() != 2) return Fail(usage);
  if (*hour > 23 || *minute > 59 || *second > 59) return Fail(usage);
  form.cboHH = *hour;
  form.cboMM = *minute;
  form.cboSS = *second;  // accepted and, like the form's seconds list, never used
  return {};
}

namespace {

// The zones whose abbreviation is `text`, in any case.
std::vector<int> ZonesAbbreviated(std::string_view text) {
  const auto& zones = entry::TimeZoneTable();
  std::vector<int> matches;
  for (int i = 0; i < entry::kTimeZoneCount; ++i)
    if (!text.empty() &&
        EqualsIgnoringCase(ZoneAbbreviation(zones[static_cast<std::size_t>(i)].text), text))
      matches.push_back(i);
  return matches;
}

std::optional<int> ZoneWithText(std::string_view text) {
  const auto& zones = entry::TimeZoneTable();
  for (int i = 0; i < entry::kTimeZoneCount; ++i)
    if (zones[static_cast<std::size_t>(i)].text == text) return i;
  return std::nullopt;
}

}  // namespace

core::Result<void> ParseZone(std::string_view text, entry::BirthFormSnapshot& form) {
  const std::string_view t = TrimBlanksAndTabs(text);
  if (!t.empty() && (t.front() == '+' || t.front() == '-')) return ParseOffset(t, form);
  if (AllDigits(t)) {
    const std::size_t first_significant = std::min(t.find_first_not_of('0'), t.size() - 1);
    const auto position = Digits(t.substr(first_significant), 2);
    if (!position || *position >= entry::kTimeZoneCount)
      return Fail("zone position " + Quoted(text) + " is not 0 to 70");
    form.cmbTimeZone = *position;
    return {};
  }
  if (const std::optional<int> position = ZoneWithText(t)) {
    form.cmbTimeZone = *position;
    return {};
  }
  const std::vector<int> matches = ZonesAbbreviated(t);
  if (matches.size() == 1) {
    form.cmbTimeZone = matches.front();
    return {};
  }
  if (matches.empty())
    return Fail("unknown zone " + Quoted(text) +
                ": give a list position 0 to 70, an abbreviation such as IST, the zone's text "
                "(--list-zones shows them), or an exact offset such as +05:21:10");
  std::string error = "zone " + Quoted(text) + " is ambiguous; give the position of one of:";
  for (int i : matches)
    error += " " + std::to_string(i) + " (" +
             std::string(entry::TimeZoneTable()[static_cast<std::size_t>(i)].text) + ")";
  return Fail(error);
}

core::Result<void> ParseOffset(std::string_view text, entry::BirthFormSnapshot& form) {
  const core::Result<std::int32_t> offset_s = zones::ParseExactOffset(TrimBlanksAndTabs(text));
  if (!offset_s) return Fail(TerminalSafe(offset_s.error().message));
  form.cmbTimeZone = zones::kOtherOffsetIndex;
  form.otherOffsetSecondsEast = *offset_s;
  return {};
}

core::Result<void> ParseLongitude(std::string_view text, entry::BirthFormSnapshot& form) {
  bool west = false;
  core::Result<void> parsed = ParseCoordinate(text, 'E', 'W', entry::kLonDegMaxLength, form.txtLonD,
                                              form.txtLonM, west, "77E13 or 74W0");
  if (parsed) form.optLongEast = !west;
  return parsed;
}

core::Result<void> ParseLatitude(std::string_view text, entry::BirthFormSnapshot& form) {
  bool south = false;
  core::Result<void> parsed = ParseCoordinate(text, 'N', 'S', entry::kLatDegMaxLength, form.txtLatD,
                                              form.txtLatM, south, "28N36 or 33S52");
  if (parsed) form.optLatSouth = south;
  return parsed;
}

core::Result<void> ParseDaylightSaving(std::string_view text, entry::BirthFormSnapshot& form) {
  const std::string_view t = TrimBlanksAndTabs(text);
  for (std::string_view yes : {"1", "true", "yes"}) {
    if (EqualsIgnoringCase(t, yes)) {
      form.chkDST = true;
      return {};
    }
  }
  for (std::string_view no : {"", "0", "false", "no"}) {
    if (EqualsIgnoringCase(t, no)) {
      form.chkDST = false;
      return {};
    }
  }
  return Fail("expected 1/0, true/false, yes/no or nothing, got " + Quoted(text));
}

core::Result<void> ApplyField(std::string_view name, std::string_view value,
                              entry::BirthFormSnapshot& form) {
  // The place and the name are free text, shown as given.
  std::string* free_text = name == "name"      ? &form.txtName
                           : name == "city"    ? &form.txtMCity
                           : name == "state"   ? &form.txtMState
                           : name == "country" ? &form.txtMCountry
                                               : nullptr;
  if (free_text) {
    // Blanks and tabs alone are no name: the form then asks for one, as for an empty box.
    const bool blank = TrimBlanksAndTabs(value).empty();
    *free_text = name == "name" && blank ? std::string() : std::string(value);
    return {};
  }
  if (name == "date") return ParseDate(value, form);
  if (name == "time") return ParseTime(value, form);
  if (name == "zone") return ParseZone(value, form);
  if (name == "dst") return ParseDaylightSaving(value, form);
  if (name == "lon") return ParseLongitude(value, form);
  if (name == "lat") return ParseLatitude(value, form);
  return Fail("unknown field " + Quoted(name));
}

}  // namespace solvane::cli
