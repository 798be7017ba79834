// Reads tests/precise/data/precise_reference.tsv, positions from the Swiss Ephemeris (swetest)
// written by tools/precise_reference: tab-separated
//   scale  jd  quantity  geo_lon_east  geo_lat_north  value
// with '#' comment lines.
#pragma once

#include <string>
#include <vector>

namespace solvane::precise {

struct ReferenceRow {
  std::string scale;  // "TT" or "UT": the time scale of jd
  double jd = 0;
  std::string quantity;  // "Sun" .. "Pluto", "MeanNode", "TrueNode", "Ascendant", ...
  double longitude_east = 0;
  double latitude_north = 0;
  double value = 0;  // degrees, or seconds for DeltaT
  int line = 0;      // in the file, for messages
};

// The table at SOLVANE_PRECISE_REFERENCE (the environment variable of that name overrides the
// path built in). Throws std::runtime_error when the file is missing or a row is malformed.
std::vector<ReferenceRow> ReadReferenceTable();

// The path ReadReferenceTable reads.
std::string ReferenceTablePath();

}  // namespace solvane::precise
