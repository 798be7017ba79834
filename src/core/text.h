// Small text helpers shared by every folder.
#pragma once

#include <string_view>

namespace solvane::core {

// `s` without blanks (U+0020) at either end: how the form and the position texts read a box.
constexpr std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// `s` without blanks and tabs at either end: how flags, batch values and headers are read.
constexpr std::string_view TrimBlanksAndTabs(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace solvane::core
