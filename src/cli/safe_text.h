// Text from the user shown back to the user: well-formed UTF-8 only, and no control character
// that a terminal would act on (an escape sequence in a name could recolour, move or clear it).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace solvane::cli {

// Length in bytes of the well-formed UTF-8 sequence at the start of `s`: 1 for ASCII, 0 when
// there is none (a stray continuation byte, an overlong form, a surrogate, a value past U+10FFFF,
// a cut sequence, or an empty `s`).
inline std::size_t Utf8SequenceLength(std::string_view s) {
  if (s.empty()) return 0;
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  std::size_t length;
  unsigned min_second = 0x80, max_second = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) min_second = 0xA0;  // no overlong forms
    if (lead == 0xED) max_second = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) min_second = 0x90;
    if (lead == 0xF4) max_second = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (s.size() < length) return 0;
  if (byte(1) < min_second || byte(1) > max_second) return 0;
  for (std::size_t i = 2; i < length; ++i)
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  return length;
}

// `text` as a terminal may show it: tab, line feed and carriage return as \t, \n and \r, other
// control characters (C0, DEL) and bytes that are not UTF-8 as \xHH, the C1 controls U+0080 to
// U+009F as \u0080 to \u009F. Everything else, backslashes included, is kept as it is.
inline std::string TerminalSafe(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(text.size());
  const auto escape = [&](char kind, unsigned value, int digits) {
    out += '\\';
    out += kind;
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += kHex[(value >> shift) & 15];
  };
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const std::size_t length = Utf8SequenceLength(text.substr(i));
    if (c == '\t' || c == '\n' || c == '\r') {
      out += '\\';
      out += c == '\t' ? 't' : c == '\n' ? 'n' : 'r';
    } else if (length == 0 || c < 0x20 || c == 0x7F) {
      escape('x', c, 2);
    } else if (c == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0) {
      escape('u', static_cast<unsigned char>(text[i + 1]), 4);
    } else {
      out.append(text, i, length);
    }
    i += length == 0 ? 1 : length;
  }
  return out;
}

// `text` between single quotes for a message, terminal-safe, cut after `max_characters` UTF-8
// characters (never inside one) with "..." when it was longer.
inline std::string Quoted(std::string_view text, std::size_t max_characters = 40) {
  std::size_t end = 0;
  for (std::size_t shown = 0; end < text.size() && shown < max_characters; ++shown) {
    const std::size_t length = Utf8SequenceLength(text.substr(end));
    end += length == 0 ? 1 : length;
  }
  return "'" + TerminalSafe(text.substr(0, end)) + (end < text.size() ? "...'" : "'");
}

}  // namespace solvane::cli
