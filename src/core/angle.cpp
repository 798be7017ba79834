#include "core/angle.h"

#include <charconv>
#include <cmath>

#include "core/zodiac.h"

namespace solvane::core {
namespace {

void AppendNumber(std::string& out, long value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

void AppendTwoDigits(std::string& out, int value) {
  if (value < 10) out += '0';
  AppendNumber(out, value);
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// Magnitude of a value, with anything no engine could produce (a fault upstream) read as 0 so that
// the integer conversions stay defined.
double Magnitude(double degrees) {
  const double x = std::fabs(degrees);
  return x < 1e9 ? x : 0;
}

}  // namespace

double WrapDegrees(double degrees) {
  if (degrees >= 0 && degrees < kDegreesPerTurn) return degrees;  // most values need nothing
  double r = std::fmod(degrees, kDegreesPerTurn);
  if (r < 0) r += kDegreesPerTurn;
  // A tiny negative value plus a turn rounds to a whole turn, which belongs to 0.
  if (r >= kDegreesPerTurn) r -= kDegreesPerTurn;
  return r;
}

int Angle::SignIndex() const {
  if (!(degrees_ >= 0 && degrees_ < kDegreesPerTurn)) return -1;
  return static_cast<int>(degrees_ / kDegreesPerSign);
}

SignDms Angle::InSign() const {
  const double x = Magnitude(degrees_);
  const double whole = std::floor(x);
  const double fraction = x - whole;
  const double minutes = std::floor(60 * fraction);
  const double seconds = std::floor(60 * (60 * fraction - minutes));
  return {static_cast<int>(static_cast<long>(whole) % 30), static_cast<int>(minutes),
          static_cast<int>(seconds)};
}

std::string Angle::LongText() const {
  const SignDms dms = InSign();
  const long sign = static_cast<long>(std::floor(Magnitude(degrees_))) / 30;
  std::string out;
  out.reserve(20);
  AppendNumber(out, dms.degrees);
  out += kDegreeSign;
  out += ' ';
  AppendNumber(out, dms.minutes);
  out += "' ";
  AppendNumber(out, dms.seconds);
  out += "\" ";
  if (sign < kSignCount) out += kSignAbbreviations[sign];
  return out;
}

std::string Angle::ShortText() const {
  const int sign = SignIndex();
  // A value without a sign takes the long text's odd ending, as the texts always have.
  if (sign < 0) return ShortPosition(LongText());
  const SignDms dms = InSign();
  std::string out;
  out.reserve(9);
  AppendTwoDigits(out, dms.degrees);
  out += ' ';
  out += kSignAbbreviations[sign];
  out += ' ';
  AppendTwoDigits(out, dms.minutes);
  return out;
}

std::string Angle::ShortTextWithSeconds() const {
  std::string out = ShortText();
  out += "' ";
  AppendTwoDigits(out, InSign().seconds);
  out += '"';
  return out;
}

std::string ShortPosition(std::string_view long_text) {
  const std::string_view t = TrimBlanks(long_text);
  const std::size_t degree_at = t.find(kDegreeSign);
  const std::size_t apostrophe_at = t.find('\'');
  std::string_view degrees;
  std::string_view minutes;
  if (degree_at != std::string_view::npos) {
    degrees = TrimBlanks(t.substr(0, degree_at));
    const std::size_t after = degree_at + kDegreeSign.size();
    if (apostrophe_at != std::string_view::npos && apostrophe_at > after)
      minutes = TrimBlanks(t.substr(after, apostrophe_at - after));
  }
  const std::string_view sign =
      TrimBlanks(long_text.size() >= 3 ? long_text.substr(long_text.size() - 3) : long_text);

  std::string out;
  out.reserve(9);
  if (degrees.size() <= 1) out += '0';
  out += degrees;
  out += ' ';
  out += sign;
  out += ' ';
  if (minutes.size() <= 1) out += '0';
  out += minutes;
  return out;
}

}  // namespace solvane::core
