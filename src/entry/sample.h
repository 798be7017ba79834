// The built-in sample birth, charted when there is nothing else to show.
#pragma once

#include "entry/form_rules.h"

namespace solvane::entry {

// 15 August 1980, 06:30 Indian time, New Delhi (28° 36' N, 77° 13' E).
entry::BirthFormSnapshot SampleBirth();

}  // namespace solvane::entry
