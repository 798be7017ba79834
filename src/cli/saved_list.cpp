#include "cli/saved_list.h"

#include <algorithm>
#include <array>
#include <vector>

#include "cli/json_writer.h"
#include "cli/safe_text.h"
#include "cli/saved_csv.h"

namespace solvane::cli {
namespace {

// Blanks between the table's columns.
constexpr std::size_t kColumnGap = 2;

char32_t DecodeAt(std::string_view s, std::size_t length) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  if (length == 1) return byte(0);
  char32_t value = byte(0) & (0xFF >> (length + 1));
  for (std::size_t i = 1; i < length; ++i) value = (value << 6) | (byte(i) & 0x3F);
  return value;
}

bool Within(char32_t c, char32_t low, char32_t high) { return c >= low && c <= high; }

// Combining marks of the scripts names are written in, and the joiners.
bool IsZeroWidth(char32_t c) {
  if (Within(c, 0x0300, 0x036F) || Within(c, 0x0483, 0x0489) || Within(c, 0x0591, 0x05C7) ||
      Within(c, 0x0610, 0x061A) || Within(c, 0x064B, 0x065F) || c == 0x0670 ||
      Within(c, 0x0E31, 0x0E3A) || Within(c, 0x0E47, 0x0E4E) || Within(c, 0x200B, 0x200F) ||
      Within(c, 0x1AB0, 0x1AFF) || Within(c, 0x1DC0, 0x1DFF) || Within(c, 0x20D0, 0x20FF) ||
      Within(c, 0xFE00, 0xFE0F) || Within(c, 0xFE20, 0xFE2F))
    return true;
  // The Indic blocks (Devanagari to Malayalam) lay their signs out alike within each block.
  if (Within(c, 0x0900, 0x0D7F)) {
    const char32_t at = c & 0x7F;
    return Within(at, 0x00, 0x03) || at == 0x3C || Within(at, 0x3E, 0x4D) ||
           Within(at, 0x51, 0x57) || Within(at, 0x62, 0x63);
  }
  return false;
}

bool IsWide(char32_t c) {
  return Within(c, 0x1100, 0x115F) || Within(c, 0x2E80, 0x303E) || Within(c, 0x3041, 0x33FF) ||
         Within(c, 0x3400, 0x4DBF) || Within(c, 0x4E00, 0x9FFF) || Within(c, 0xA000, 0xA4CF) ||
         Within(c, 0xAC00, 0xD7A3) || Within(c, 0xF900, 0xFAFF) || Within(c, 0xFE30, 0xFE4F) ||
         Within(c, 0xFF00, 0xFF60) || Within(c, 0xFFE0, 0xFFE6) || Within(c, 0x1F300, 0x1F64F) ||
         Within(c, 0x20000, 0x3FFFD);
}

using Row = std::array<std::string, 4>;

Row RowOf(const store::BirthRecord& record) {
  return {TerminalSafe(record.name), store::DateText(record), store::TimeText(record),
          TerminalSafe(store::PlaceText(record))};
}

std::string Padded(const std::string& text, std::size_t width) {
  return text + std::string(width - std::min(width, DisplayWidth(text)), ' ');
}

}  // namespace

std::size_t DisplayWidth(std::string_view utf8) {
  std::size_t width = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t length = Utf8SequenceLength(utf8.substr(i));
    if (length == 0) {
      ++width, ++i;  // shown as one replacement character at most
      continue;
    }
    const char32_t c = DecodeAt(utf8.substr(i), length);
    width += IsZeroWidth(c) ? 0 : IsWide(c) ? 2 : 1;
    i += length;
  }
  return width;
}

std::string SavedListText(std::span<const store::BirthRecord> records) {
  std::vector<Row> rows = {{"NAME", "DATE", "TIME", "PLACE"}};
  for (const store::BirthRecord& record : records) rows.push_back(RowOf(record));
  std::array<std::size_t, 3> widths{};
  for (const Row& row : rows)
    for (std::size_t i = 0; i < widths.size(); ++i)
      widths[i] = std::max(widths[i], DisplayWidth(row[i]));
  std::string text;
  for (const Row& row : rows) {
    std::string line;
    for (std::size_t i = 0; i < widths.size(); ++i) line += Padded(row[i], widths[i] + kColumnGap);
    line += row[3];
    while (!line.empty() && line.back() == ' ') line.pop_back();  // an empty place
    text += line + '\n';
  }
  return text;
}

std::string SavedListJson(std::span<const store::BirthRecord> records) {
  std::string text;
  JsonWriter json(text);
  json.BeginArray();
  for (const store::BirthRecord& r : records) {
    json.BeginObject();
    json.StringMember("name", r.name);
    json.StringMember("date", store::DateText(r));
    json.StringMember("time", store::TimeText(r));
    json.StringMember("zone", ZoneText(r));
    json.Key("dst");
    json.Bool(r.daylight_saving);
    json.StringMember("lon", store::LongitudeText(r));
    json.StringMember("lat", store::LatitudeText(r));
    json.StringMember("city", r.city);
    json.StringMember("state", r.state);
    json.StringMember("country", r.country);
    json.StringMember("note", r.note);
    json.StringMember("created", r.created_utc);
    json.StringMember("changed", r.changed_utc);
    json.EndObject();
  }
  json.EndArray();
  return text + '\n';
}

std::string SavedBirthLine(const store::BirthRecord& record) {
  const Row row = RowOf(record);
  std::string line = row[0] + "  " + row[1] + " " + row[2];
  if (!row[3].empty()) line += "  " + row[3];
  return line;
}

}  // namespace solvane::cli
