// An ecliptic longitude in degrees, with the sign it falls in and the text forms the chart writes.
#pragma once

#include <string>
#include <string_view>

namespace solvane::core {

inline constexpr double kDegreesPerTurn = 360.0;
inline constexpr double kDegreesPerSign = 30.0;
inline constexpr int kSignCount = 12;

// `degrees` brought into [0, 360): the one wrapping function of the program.
double WrapDegrees(double degrees);

// Degrees, arc-minutes and arc-seconds within a sign, each truncated toward zero.
struct SignDms {
  int degrees = 0;  // 0..29
  int minutes = 0;  // 0..59
  int seconds = 0;  // 0..59
  friend bool operator==(const SignDms&, const SignDms&) = default;
};

class Angle {
 public:
  constexpr Angle() = default;
  // Keeps `degrees` as given: an engine stores exactly the value its formulas produce.
  constexpr explicit Angle(double degrees) : degrees_(degrees) {}
  static Angle Wrapped(double degrees) { return Angle(WrapDegrees(degrees)); }

  constexpr double Degrees() const { return degrees_; }

  // Sign 0 (Aries) .. 11 (Pisces); -1 when the value lies outside [0, 360), as the texts then
  // carry no sign.
  int SignIndex() const;
  // Parts within the sign of the magnitude, truncated.
  SignDms InSign() const;

  // Long text: "5° 7' 30\" Tau" (degree sign U+00B0; parts truncated; the sign of the value is
  // ignored; 360 and above get no abbreviation).
  std::string LongText() const;
  // Short text: "05 Tau 07", two-digit degrees, the abbreviation, two-digit minutes.
  std::string ShortText() const;
  // Short text with seconds: "05 Tau 07' 30\"", for engines that are good to the arc-second.
  std::string ShortTextWithSeconds() const;

  friend constexpr bool operator==(Angle, Angle) = default;

 private:
  double degrees_ = 0;
};

// Nine-character short text of a long position text: two-digit degrees, a blank, the sign
// abbreviation, a blank, two-digit minutes ("05 Tau 07"); seconds dropped. A text without a degree
// sign or an apostrophe yields "0" for the missing parts rather than failing.
std::string ShortPosition(std::string_view long_text);

}  // namespace solvane::core
