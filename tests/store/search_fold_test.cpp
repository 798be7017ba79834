// Folding for search: what a user types must find what another user saved, in any script.
#include "store/search_fold.h"

#include <gtest/gtest.h>

namespace solvane::store {
namespace {

TEST(FoldForSearch, CaseAndAccentsFoldScriptsWithoutCaseStay) {
  struct Case {
    const char* text;
    const char* want;
  };
  const Case cases[] = {
      {"José", "jose"},            // precomposed é (U+00E9)
      {"Jose\u0301", "jose"},      // e + combining acute: the same name, decomposed
      {"ZOË", "zoe"},              // upper case with diaeresis (U+00CB)
      {"Москва", "москва"},        // Cyrillic capital to small
      {"ЁЛКИН", "елкин"},          // Ё folds to е as the Unicode decomposition е + U+0308
      {"ΟΔΥΣΣΕΥΣ", "οδυσσευσ"},    // Greek capitals; final sigma folds like sigma
      {"Ἀθῆναι", "αθηναι"},        // polytonic Greek (U+1F08, U+1FC6)
      {"Straße", "strasse"},       // ß has no decomposition: folded to ss
      {"Łódź", "lodz"},            // ł has none either; ó and ź do
      {"Nguyễn", "nguyen"},        // Vietnamese ễ (U+1EC5): two marks on one letter
      {"Ærø", "aero"},             // ligature and slashed o
      {"İstanbul", "istanbul"},    // Turkish dotted capital I
      {"अमित शर्मा", "अमित शर्मा"},  // Devanagari: vowel signs are not U+0300..U+036F marks
      {"北京", "北京"},            // no case in Han script
      {"A\xFF"
       "B",
       "a\uFFFD"
       "b"},                         // a stray byte becomes U+FFFD, the rest still folds
      {"\xE2\x82", "\uFFFD\uFFFD"},  // a truncated sequence: one U+FFFD per byte
  };
  for (const Case& c : cases) EXPECT_EQ(FoldForSearch(c.text), c.want) << c.text;
}

TEST(IsValidUtf8, RefusesEveryIllFormedSequence) {
  struct Case {
    const char* text;
    bool want;
  };
  const Case cases[] = {
      {"plain ASCII", true},
      {"€ 𝄞", true},                // three- and four-byte forms
      {"\uFFFD", true},             // the replacement character itself is text
      {"\xC0\xAF", false},          // overlong "/"
      {"\xED\xA0\x80", false},      // UTF-16 surrogate U+D800
      {"\xF4\x90\x80\x80", false},  // beyond U+10FFFF
      {"\xE2\x82", false},          // truncated
      {"\x80", false},              // continuation byte without a lead
  };
  for (const Case& c : cases) EXPECT_EQ(IsValidUtf8(c.text), c.want) << c.text;
}

}  // namespace
}  // namespace solvane::store
