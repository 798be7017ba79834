// The entry form's zone list lives with the other zone models; the form's code names it as its own.
#pragma once

#include "zones/time_zones.h"

namespace solvane::entry {

using zones::kDefaultTimeZone;
using zones::kTimeZoneCount;
using zones::TimeZoneRow;
using zones::TimeZoneTable;
using zones::Zone_Calculation;

}  // namespace solvane::entry
