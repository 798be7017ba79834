// Constants of the ephemeris formulas, written as the formulas state them rather than derived from
// a library value of pi, so that every truncated text comes out the same on every machine.
#pragma once

#include <array>
#include <string_view>

namespace solvane::ephemeris {

inline constexpr double DegToRad = 0.0174532925199433;  // degrees to radians
inline constexpr double RadToDeg = 57.2957795130823;    // radians to degrees (chart angles)
inline constexpr double Pi = 3.14159265358979;          // half turn
inline constexpr double TwoPi = 6.28318530717958;       // full turn

// Twelve three-letter sign abbreviations, Aries first; sign i is characters 3i..3i+2 (0-based).
inline constexpr std::string_view SignAbbreviations = "AriTauGemCanLeoVirLibScoSagCapAquPis";

// The same abbreviations as a list, index 0 for Aries.
inline constexpr std::array<std::string_view, 12> kSignAbbreviationList = {
    "Ari", "Tau", "Gem", "Can", "Leo", "Vir", "Lib", "Sco", "Sag", "Cap", "Aqu", "Pis"};

// Index 0..11 of a three-letter abbreviation (exact, case-sensitive), or -1.
constexpr int SignIndexOf(std::string_view abbreviation) {
  for (int i = 0; i < 12; ++i)
    if (kSignAbbreviationList[i] == abbreviation) return i;
  return -1;
}

// The degree sign of the long position texts, U+00B0 in UTF-8.
inline constexpr std::string_view kDegreeSign = "\xC2\xB0";

}  // namespace solvane::ephemeris
