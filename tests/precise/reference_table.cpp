#include "reference_table.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace solvane::precise {

std::string ReferenceTablePath() {
  const char* path = std::getenv("SOLVANE_PRECISE_REFERENCE");
  return path != nullptr && *path != '\0' ? path : SOLVANE_PRECISE_REFERENCE;
}

std::vector<ReferenceRow> ReadReferenceTable() {
  const std::string path = ReferenceTablePath();
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read the reference table " + path);
  std::vector<ReferenceRow> rows;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    ReferenceRow row;
    row.line = number;
    fields >> row.scale >> row.jd >> row.quantity >> row.longitude_east >> row.latitude_north >>
        row.value;
    if (fields.fail() || (row.scale != "TT" && row.scale != "UT")) {
      throw std::runtime_error(path + ":" + std::to_string(number) + ": malformed row");
    }
    rows.push_back(row);
  }
  return rows;
}

}  // namespace solvane::precise
