// Web addresses in a text: where they are, so a text box can show them as links and open them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace solvane::report {

// The longest address a link opens; a longer range is cut here, never read past.
inline constexpr std::size_t kMaxLinkLength = 1024;

struct LinkRange {
  std::size_t start;  // offset of the first character
  std::size_t end;    // offset after the last character
  friend bool operator==(const LinkRange&, const LinkRange&) = default;
};

// Addresses beginning "http://", "https://" or "www." (case-insensitive) and running to the next
// blank, line break, control character or angle bracket or quote; a full stop, comma, colon,
// semicolon, closing bracket or question or exclamation mark at the very end is left out, as it
// ends the sentence. Offsets count UTF-16 code units, as text boxes do.
std::vector<LinkRange> FindWebAddresses(std::u16string_view text);

// The address to open for `range` of `text`: at most kMaxLinkLength characters, with "http://"
// put before an address that begins "www.".
std::u16string LinkAddressAt(std::u16string_view text, LinkRange range);

}  // namespace solvane::report
