// Saves births into a list, one transaction each: `solvane_store_writer FILE TAG COUNT`. COUNT 0
// saves until the process is killed. Writes a line to standard output after each save, so that a
// test can kill it at a moment of its choosing; exits 1 with the message on the first failure.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "store/births_store.h"
#include "writer_record.h"

int main(int argc, char** argv) {
  using namespace solvane::store;
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s FILE TAG COUNT\n", argv[0]);
    return 2;
  }
  const std::string tag = argv[2];
  const int count = std::atoi(argv[3]);
  auto store = Store::Open(argv[1]);
  if (!store) {
    std::fprintf(stderr, "%s\n", store.error().message.c_str());
    return 1;
  }
  for (int n = 1; count == 0 || n <= count; ++n) {
    auto saved = store->Save(testing::WriterRecord(tag, n), SaveMode::kKeepBoth);
    if (!saved) {
      std::fprintf(stderr, "%s\n", saved.error().message.c_str());
      return 1;
    }
    std::printf("%d\n", n);
    std::fflush(stdout);
    // Reading between writes, as the other program's window does, must not block the writer.
    if (n % 10 == 0 && !store->Search(tag, {}, 5)) return 1;
  }
  return 0;
}
