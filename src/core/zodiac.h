// The twelve signs and the bodies of the chart: their names in every form the program writes.
#pragma once

#include <array>
#include <string_view>

#include "core/angle.h"

namespace solvane::core {

// Three-letter abbreviations, Aries first.
inline constexpr std::array<std::string_view, kSignCount> kSignAbbreviations = {
    "Ari", "Tau", "Gem", "Can", "Leo", "Vir", "Lib", "Sco", "Sag", "Cap", "Aqu", "Pis"};

// English sign names, Aries first.
inline constexpr std::array<std::string_view, kSignCount> kSignNames = {
    "Aries", "Taurus",  "Gemini",      "Cancer",    "Leo",      "Virgo",
    "Libra", "Scorpio", "Sagittarius", "Capricorn", "Aquarius", "Pisces"};

// Index 0..11 of a three-letter abbreviation (exact, case-sensitive), or -1.
constexpr int SignIndexOf(std::string_view abbreviation) {
  for (int i = 0; i < kSignCount; ++i)
    if (kSignAbbreviations[i] == abbreviation) return i;
  return -1;
}

// The degree sign, U+00B0 in UTF-8.
inline constexpr std::string_view kDegreeSign = "\xC2\xB0";

}  // namespace solvane::core
