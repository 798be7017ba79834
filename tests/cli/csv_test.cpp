#include "cli/csv.h"

#include <gtest/gtest.h>

namespace solvane::cli {
namespace {

struct Read {
  std::vector<std::string> fields;
  std::size_t line;
  bool malformed;
};

std::vector<Read> ReadAll(std::string_view text) {
  CsvReader reader(text);
  CsvRecord record;
  std::vector<Read> out;
  while (reader.Next(record)) out.push_back({record.fields, record.line, !record.error.empty()});
  return out;
}

TEST(CsvReader, Rfc4180Records) {
  struct Case {
    const char* what;
    std::string_view text;
    std::vector<Read> want;
  };
  using V = std::vector<std::string>;
  const Case cases[] = {
      {"plain", "a,b\nc,d\n", {{V{"a", "b"}, 1, false}, {V{"c", "d"}, 2, false}}},
      {"CR LF and no final break",
       "a,b\r\nc,d",
       {{V{"a", "b"}, 1, false}, {V{"c", "d"}, 2, false}}},
      {"empty fields", ",,\n", {{V{"", "", ""}, 1, false}}},
      {"quoted comma and quote", "\"x, \"\"y\"\"\",z\n", {{V{"x, \"y\"", "z"}, 1, false}}},
      {"line break inside quotes",
       "\"a\nb\",c\nd\n",
       {{V{"a\nb", "c"}, 1, false}, {V{"d"}, 3, false}}},
      {"byte-order mark", "\xEF\xBB\xBFname\n", {{V{"name"}, 1, false}}},
      {"lone CR is data", "a\rb\n", {{V{"a\rb"}, 1, false}}},
      {"NUL byte is data", std::string_view("a\0b\n", 4), {{V{std::string("a\0b", 3)}, 1, false}}},
      {"text after a closing quote", "\"a\"b,c\nd\n", {{V{"a"}, 1, true}, {V{"d"}, 2, false}}},
      {"quote never closed", "a\n\"b,c\nd", {{V{"a"}, 1, false}, {V{"b,c\nd"}, 2, true}}},
      {"quote inside a bare field", "a\"b,c\n", {{V{"a\"b", "c"}, 1, false}}},
  };
  for (const Case& c : cases) {
    const std::vector<Read> got = ReadAll(c.text);
    ASSERT_EQ(got.size(), c.want.size()) << c.what;
    for (std::size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].line, c.want[i].line) << c.what << " record " << i;
      EXPECT_EQ(got[i].malformed, c.want[i].malformed) << c.what << " record " << i;
      if (!c.want[i].malformed) {
        EXPECT_EQ(got[i].fields, c.want[i].fields) << c.what << " record " << i;
      }
    }
  }
}

}  // namespace
}  // namespace solvane::cli
