// Shared pieces of the fuzz targets: a failed check that libFuzzer reports as a crash with the
// input that caused it, and a reader that turns the fuzzer's bytes into structured choices.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

// abort() rather than exit(): libFuzzer treats an exit as the end of the run, not as a finding.
#define FUZZ_CHECK(condition, ...)                                                       \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::fprintf(stderr, "  " __VA_ARGS__);                                            \
      std::fprintf(stderr, "\n");                                                        \
      std::abort();                                                                      \
    }                                                                                    \
  } while (0)

namespace solvane::fuzz {

// Consumes the input from the front. Running out is not an error: every read then yields zeros
// or empty text, so any input, however short, describes a complete case.
class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size)
      : text_(reinterpret_cast<const char*>(data), size) {}

  bool empty() const { return text_.empty(); }
  std::size_t left() const { return text_.size(); }

  std::uint8_t Byte() {
    if (text_.empty()) return 0;
    const auto b = static_cast<std::uint8_t>(text_.front());
    text_.remove_prefix(1);
    return b;
  }

  std::uint32_t Word32() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = value << 8 | Byte();
    return value;
  }

  double Double() {
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits = bits << 8 | Byte();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }

  // A text of up to 255 bytes, its length given by the byte before it.
  std::string_view ShortText() { return Take(Byte()); }

  std::string_view Take(std::size_t count) {
    const std::string_view part = text_.substr(0, count);
    text_.remove_prefix(part.size());
    return part;
  }

  std::string_view Rest() {
    const std::string_view rest = text_;
    text_ = {};
    return rest;
  }

 private:
  std::string_view text_;
};

// A position in a list of `count` entries, mostly a valid one: a selection from the window's own
// lists. Now and then anything at all, as a snapshot built elsewhere might hold.
inline int ListPosition(ByteReader& in, int count) {
  const std::uint8_t mode = in.Byte();
  if (mode < 0xF0) return in.Byte() % count;
  switch (mode & 0x07) {
    case 0:
      return -1;
    case 1:
      return count;
    case 2:
      return INT32_MIN;
    case 3:
      return INT32_MAX;
    default:
      return static_cast<int>(in.Word32());
  }
}

}  // namespace solvane::fuzz
