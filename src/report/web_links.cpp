#include "report/web_links.h"

#include <algorithm>

namespace solvane::report {
namespace {

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

bool StartsWithIgnoringCase(std::u16string_view text, std::size_t at, std::u16string_view prefix) {
  if (text.size() - at < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (Lower(text[at + i]) != prefix[i]) return false;
  return true;
}

bool EndsAddress(char16_t c) {
  return c <= u' ' || c == 0x7F || c == u'<' || c == u'>' || c == u'"' || c == u'\'' ||
         c == 0x2028 || c == 0x2029 || c == 0xA0;
}

bool TrailingPunctuation(char16_t c) {
  return c == u'.' || c == u',' || c == u':' || c == u';' || c == u')' || c == u']' || c == u'?' ||
         c == u'!';
}

}  // namespace

std::vector<LinkRange> FindWebAddresses(std::u16string_view text) {
  static constexpr std::u16string_view kStarts[] = {u"https://", u"http://", u"www."};
  std::vector<LinkRange> links;
  std::size_t at = 0;
  while (at < text.size()) {
    // An address starts at the beginning of a word.
    const bool word_start = at == 0 || EndsAddress(text[at - 1]) || text[at - 1] == u'(';
    std::size_t prefix = 0;
    if (word_start)
      for (std::u16string_view start : kStarts)
        if (StartsWithIgnoringCase(text, at, start)) prefix = start.size();
    if (prefix == 0) {
      ++at;
      continue;
    }
    std::size_t end = at + prefix;
    while (end < text.size() && !EndsAddress(text[end])) ++end;
    while (end > at + prefix && TrailingPunctuation(text[end - 1])) --end;
    if (end > at + prefix) links.push_back({at, end});
    at = std::max(end, at + 1);
  }
  return links;
}

std::u16string LinkAddressAt(std::u16string_view text, LinkRange range) {
  if (range.start >= text.size() || range.end <= range.start) return {};
  const std::size_t length =
      std::min({range.end - range.start, text.size() - range.start, kMaxLinkLength});
  std::u16string address(text.substr(range.start, length));
  if (StartsWithIgnoringCase(address, 0, u"www.")) address.insert(0, u"http://");
  return address;
}

}  // namespace solvane::report
