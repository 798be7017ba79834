// Reading UTF-8 one character at a time, for the places that must treat every byte sequence
// safely: the RTF writer and the form's checks of what was typed or pasted.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace solvane::core {

// The well-formed UTF-8 character at text[i] (i < text.size()), moving i past it. Anything else (a
// stray continuation byte, a C0/C1/F5+ lead, an overlong form, a surrogate, a value beyond
// U+10FFFF, a sequence cut short) gives nothing and consumes only the bytes that could still have
// begun a valid character, so that the byte that broke the sequence is read again on its own.
constexpr std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned lead = byte(i++);
  if (lead < 0x80) return lead;
  int trailing = 0;
  char32_t code_point = 0;
  unsigned low = 0x80, high = 0xBF;  // the range allowed for the next byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    trailing = 1;
    code_point = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    trailing = 2;
    code_point = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;   // overlong below U+0800
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    trailing = 3;
    code_point = lead & 0x07;
    if (lead == 0xF0) low = 0x90;   // overlong below U+10000
    if (lead == 0xF4) high = 0x8F;  // beyond U+10FFFF
  } else {
    return std::nullopt;
  }
  for (int k = 0; k < trailing; ++k, low = 0x80, high = 0xBF) {
    if (i >= text.size() || byte(i) < low || byte(i) > high) return std::nullopt;
    code_point = (code_point << 6) | (byte(i++) & 0x3F);
  }
  return code_point;
}

}  // namespace solvane::core
