#include "cli/csv.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace solvane::cli {
namespace {

struct Read {
  std::vector<std::string> fields;
  std::size_t line;
  std::string fault;  // part of the fault's message, or "" for a good record
};

// A source that hands out `text` at most `step` bytes a call, as a pipe may.
ByteSource Trickle(std::string_view text, std::size_t step) {
  return [text, step, at = std::size_t{0}](char* buffer,
                                           std::size_t size) mutable -> core::Result<std::size_t> {
    const std::size_t n = std::min({size, step, text.size() - at});
    if (n > 0) std::memcpy(buffer, text.data() + at, n);  // an empty text may have no data
    at += n;
    return n;
  };
}

std::vector<Read> ReadAll(ByteSource source) {
  CsvReader reader(std::move(source));
  CsvRecord record;
  std::vector<Read> out;
  for (;;) {
    const auto next = reader.Next(record);
    if (!next) {
      out.push_back({{}, next.error().line, next.error().message});
      if (next.error().unreadable) break;
      continue;
    }
    if (*next == CsvRead::kEnd) break;
    out.push_back({record.fields, record.line, ""});
  }
  return out;
}

void ExpectRecords(const std::vector<Read>& got, const std::vector<Read>& want,
                   const std::string& what) {
  ASSERT_EQ(got.size(), want.size()) << what;
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].line, want[i].line) << what << " record " << i;
    if (want[i].fault.empty()) {
      EXPECT_EQ(got[i].fault, "") << what << " record " << i;
      EXPECT_EQ(got[i].fields, want[i].fields) << what << " record " << i;
    } else {
      EXPECT_NE(got[i].fault.find(want[i].fault), std::string::npos)
          << what << " record " << i << ": " << got[i].fault;
    }
  }
}

// Every case is read from the whole text and again one and two bytes at a time: a record, a
// quote, a CR LF or a byte-order mark split across two reads must read the same.
TEST(CsvReader, Rfc4180RecordsWhateverTheReadsSize) {
  struct Case {
    const char* what;
    std::string_view text;
    std::vector<Read> want;
  };
  using V = std::vector<std::string>;
  const Case cases[] = {
      {"plain", "a,b\nc,d\n", {{V{"a", "b"}, 1, ""}, {V{"c", "d"}, 2, ""}}},
      {"CR LF and no final break", "a,b\r\nc,d", {{V{"a", "b"}, 1, ""}, {V{"c", "d"}, 2, ""}}},
      {"empty fields", ",,\n", {{V{"", "", ""}, 1, ""}}},
      {"quoted comma and quote", "\"x, \"\"y\"\"\",z\n", {{V{"x, \"y\"", "z"}, 1, ""}}},
      {"line break inside quotes", "\"a\nb\",c\nd\n", {{V{"a\nb", "c"}, 1, ""}, {V{"d"}, 3, ""}}},
      {"CR inside quotes is data", "\"a\rb\"\n", {{V{"a\rb"}, 1, ""}}},
      {"byte-order mark", "\xEF\xBB\xBFname\n", {{V{"name"}, 1, ""}}},
      {"quote inside a bare field", "a\"b,c\n", {{V{"a\"b", "c"}, 1, ""}}},
      {"quoted field then CR LF", "\"a\"\r\nb\n", {{V{"a"}, 1, ""}, {V{"b"}, 2, ""}}},
      {"text after a closing quote",
       "\"a\"b,c\nd\n",
       {{{}, 1, "unexpected text after a closing quote"}, {V{"d"}, 2, ""}}},
      {"quote never closed",
       "a\n\"b,c\nd",
       {{V{"a"}, 1, ""}, {{}, 2, "opened on line 2 is never closed"}}},
      {"NUL byte", std::string_view("a\0b\nc\n", 6), {{{}, 1, "NUL byte"}, {V{"c"}, 2, ""}}},
      {"NUL byte inside quotes",
       std::string_view("\"a\0\"\nc\n", 7),
       {{{}, 1, "NUL byte"}, {V{"c"}, 2, ""}}},
      {"carriage returns alone as line ends",
       "name,date\rA,1980-08-15\r",
       {{{}, 1, "carriage return alone"}}},
      {"a lone CR inside a row", "a\rb\nc\n", {{{}, 1, "carriage return alone"}, {V{"c"}, 2, ""}}},
      {"UTF-16 with its byte-order mark",
       std::string_view("\xFF\xFEn\0a\0\n\0", 8),
       {{{}, 1, "UTF-16"}, {{}, 2, "NUL byte"}}},
      {"UTF-16 big-endian", std::string_view("\xFE\xFF\0n\0\n", 6), {{{}, 1, "UTF-16"}}},
  };
  for (const Case& c : cases) {
    ExpectRecords(ReadAll(TextSource(c.text)), c.want, c.what);
    ExpectRecords(ReadAll(Trickle(c.text, 1)), c.want, std::string(c.what) + ", byte by byte");
    ExpectRecords(ReadAll(Trickle(c.text, 2)), c.want, std::string(c.what) + ", two at a time");
  }
}

// A record longer than the limit is refused without holding it, also when a quote opened early
// never closes; the records after it are read as usual.
TEST(CsvReader, OverlongRecordsArePassedOver) {
  const std::string big(kMaxRecordBytes + 1, 'x');
  struct Case {
    const char* what;
    std::string text;
    std::vector<Read> want;
  };
  using V = std::vector<std::string>;
  const Case cases[] = {
      {"at the limit",
       std::string(kMaxRecordBytes, 'x') + "\nb\n",
       {{V{std::string(kMaxRecordBytes, 'x')}, 1, ""}, {V{"b"}, 2, ""}}},
      {"one byte over", big + "\nb\n", {{{}, 1, "longer than 1 MiB"}, {V{"b"}, 2, ""}}},
      {"over, quoted with line breaks",
       "\"" + big + "\n\"\nb\n",
       {{{}, 1, "longer than 1 MiB"}, {V{"b"}, 3, ""}}},
      {"a quote never closed", "a\n\"" + big, {{V{"a"}, 1, ""}, {{}, 2, "longer than 1 MiB"}}},
  };
  for (const Case& c : cases) ExpectRecords(ReadAll(TextSource(c.text)), c.want, c.what);
}

// An input that fails part-way: the records before the failure are read, then the failure is
// reported once, with the source's message, and reading ends.
TEST(CsvReader, InputThatFailsPartWay) {
  const std::string text = "a\nb\nc";
  ByteSource failing = [&, at = std::size_t{0}](char* buffer,
                                                std::size_t) mutable -> core::Result<std::size_t> {
    if (at == 3) return core::Fail("cannot read 'x' after 3 bytes: Input/output error");
    buffer[0] = text[at++];
    return std::size_t{1};
  };
  CsvReader reader(failing);
  CsvRecord record;
  auto next = reader.Next(record);
  ASSERT_TRUE(next && *next == CsvRead::kRecord);
  EXPECT_EQ(record.fields, std::vector<std::string>{"a"});
  next = reader.Next(record);  // "b" without its line end: cut off by the failure
  ASSERT_FALSE(next);
  EXPECT_TRUE(next.error().unreadable);
  EXPECT_EQ(next.error().message, "cannot read 'x' after 3 bytes: Input/output error");
  next = reader.Next(record);
  ASSERT_TRUE(next);
  EXPECT_EQ(*next, CsvRead::kEnd);
}

TEST(DescriptorSource, SaysWhatCouldNotBeRead) {
  char buffer[16];
  // A folder opens but cannot be read; a closed descriptor cannot be read at all.
  const int folder = open("/", O_RDONLY);
  ASSERT_GE(folder, 0);
  const auto from_folder = DescriptorSource(folder, "'/'")(buffer, sizeof buffer);
  close(folder);
  ASSERT_FALSE(from_folder);
  EXPECT_EQ(from_folder.error().message, std::string("cannot read '/': ") + std::strerror(EISDIR));
  const auto from_closed = DescriptorSource(folder, "standard input")(buffer, sizeof buffer);
  ASSERT_FALSE(from_closed);
  EXPECT_NE(from_closed.error().message.find("cannot read standard input"), std::string::npos);
}

}  // namespace
}  // namespace solvane::cli
