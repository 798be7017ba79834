#include "zones/offset_text.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace solvane::zones {
namespace {

struct Parts {
  char sign;
  int hours, minutes, seconds;
};

Parts Split(std::int32_t offset_s) {
  const std::int32_t magnitude = std::abs(offset_s);
  return {offset_s < 0 ? '-' : '+', magnitude / 3600, magnitude / 60 % 60, magnitude % 60};
}

// Reads exactly `digits` digits, or 1..`digits` digits when `exact` is false.
bool ReadDigits(std::string_view& text, int digits, bool exact, int& value) {
  int read = 0;
  value = 0;
  while (read < digits && !text.empty() && std::isdigit(static_cast<unsigned char>(text[0]))) {
    value = value * 10 + (text[0] - '0');
    text.remove_prefix(1);
    ++read;
  }
  return exact ? read == digits : read > 0;
}

core::Unexpected<core::Failure> Malformed(std::string_view text) {
  return core::Fail("\"" + std::string(text) +
                    "\" is not an offset from UT: write a sign, the hours and, if needed, "
                    "minutes and seconds, such as +05:30, -03:30, +5 or +05:21:10.");
}

}  // namespace

ExactOffset SplitOffset(std::int32_t offset_s) {
  const Parts p = Split(offset_s);
  return {p.sign == '+', p.hours, p.minutes, p.seconds};
}

std::string FormatUtOffset(std::int32_t offset_s) {
  const Parts p = Split(offset_s);
  char text[32];
  if (p.seconds != 0)
    std::snprintf(text, sizeof text, "UT%c%d:%02d:%02d", p.sign, p.hours, p.minutes, p.seconds);
  else
    std::snprintf(text, sizeof text, "UT%c%d:%02d", p.sign, p.hours, p.minutes);
  return text;
}

std::string FormatExactOffset(std::int32_t offset_s) {
  const Parts p = Split(offset_s);
  char text[32];
  if (p.seconds != 0)
    std::snprintf(text, sizeof text, "%c%02d:%02d:%02d", p.sign, p.hours, p.minutes, p.seconds);
  else
    std::snprintf(text, sizeof text, "%c%02d:%02d", p.sign, p.hours, p.minutes);
  return text;
}

core::Result<std::int32_t> ParseExactOffset(std::string_view text) {
  std::string_view rest = text;
  if (rest.empty() || (rest[0] != '+' && rest[0] != '-')) return Malformed(text);
  const int sign = rest[0] == '-' ? -1 : 1;
  rest.remove_prefix(1);
  int hours = 0;
  int minutes = 0;
  int seconds = 0;
  if (!ReadDigits(rest, 2, false, hours)) return Malformed(text);
  if (!rest.empty() && rest[0] == ':') {
    rest.remove_prefix(1);
    if (!ReadDigits(rest, 2, true, minutes) || minutes > 59) return Malformed(text);
    if (!rest.empty() && rest[0] == ':') {
      rest.remove_prefix(1);
      if (!ReadDigits(rest, 2, true, seconds) || seconds > 59) return Malformed(text);
    }
  }
  if (!rest.empty()) return Malformed(text);
  const std::int32_t magnitude = hours * 3600 + minutes * 60 + seconds;
  if (magnitude > kMaxOffset_s)
    return core::Fail("The offset " + std::string(text) +
                      " lies beyond 14 hours; offsets run from -14:00 to +14:00.");
  return sign * magnitude;
}

}  // namespace solvane::zones
