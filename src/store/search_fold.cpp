#include "store/search_fold.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace solvane::store {
namespace {

struct FoldEntry {
  char16_t from;
  char16_t to_first;
  char16_t to_second;  // 0 when the letter folds to one letter
};

constexpr FoldEntry kFoldTable[] = {
#include "store/fold_table.inc"
};

static_assert(std::is_sorted(std::begin(kFoldTable), std::end(kFoldTable),
                             [](const FoldEntry& a, const FoldEntry& b) {
                               return a.from < b.from;
                             }),
              "the fold table is searched by halving");

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one code point at `pos` and advances `pos`; an ill-formed sequence yields U+FFFD and
// skips one byte, so that decoding always makes progress.
char32_t DecodeOne(std::string_view s, std::size_t& pos) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(s[i]); };
  const std::uint8_t lead = byte(pos);
  if (lead < 0x80) return s[pos++];
  int length = 0;
  char32_t code = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, code = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, code = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, code = lead & 0x07, minimum = 0x10000;
  } else {
    ++pos;
    return kReplacement;
  }
  if (pos + length > s.size()) {
    ++pos;
    return kReplacement;
  }
  for (int i = 1; i < length; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80) {
      ++pos;
      return kReplacement;
    }
    code = (code << 6) | (byte(pos + i) & 0x3F);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    ++pos;
    return kReplacement;
  }
  pos += length;
  return code;
}

void AppendUtf8(char32_t code, std::string& out) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

bool IsCombiningMark(char32_t code) { return code >= 0x0300 && code <= 0x036F; }

void AppendFolded(char32_t code, std::string& out) {
  if (code >= U'A' && code <= U'Z') {
    out += static_cast<char>(code - U'A' + U'a');
    return;
  }
  if (code < 0x80 || code > 0xFFFF) {
    AppendUtf8(code, out);
    return;
  }
  const auto found =
      std::lower_bound(std::begin(kFoldTable), std::end(kFoldTable), code,
                       [](const FoldEntry& entry, char32_t key) { return entry.from < key; });
  if (found == std::end(kFoldTable) || found->from != code) {
    AppendUtf8(code, out);
    return;
  }
  AppendUtf8(found->to_first, out);
  if (found->to_second != 0) AppendUtf8(found->to_second, out);
}

}  // namespace

std::string FoldForSearch(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const char32_t code = DecodeOne(utf8, pos);
    if (!IsCombiningMark(code)) AppendFolded(code, out);
  }
  return out;
}

bool IsValidUtf8(std::string_view utf8) {
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const std::size_t start = pos;
    if (DecodeOne(utf8, pos) == kReplacement && utf8.substr(start, 3) != "\xEF\xBF\xBD")
      return false;
  }
  return true;
}

}  // namespace solvane::store
