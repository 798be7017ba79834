// The text form that search compares: case and accents folded away, other scripts kept as they are.
#pragma once

#include <string>
#include <string_view>

namespace solvane::store {

// `utf8` lower-cased through the Latin, Greek and Cyrillic letters (accented forms to their base
// letter, "ß" to "ss"), with combining marks U+0300..U+036F removed. Letters of other scripts pass
// unchanged; a byte that is not part of valid UTF-8 becomes U+FFFD. "José", "JOSE" and
// "Jose\u0301" all fold to "jose"; "Москва" to "москва".
std::string FoldForSearch(std::string_view utf8);

// Whether `utf8` is well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool IsValidUtf8(std::string_view utf8);

}  // namespace solvane::store
