// The entry form's birth as the saved-births list keeps it, and back again.
#pragma once

#include <string_view>

#include "core/result.h"
#include "entry/form_rules.h"
#include "store/birth_record.h"

namespace solvane::entry {

// The record for a form that ValidateBirthForm accepted; `tz_name` and `place_id` are the atlas
// zone and place identifier of the place the user picked ("" when the place was typed). The
// "Other offset…" entry becomes an exact-offset record. Fails when a coordinate box holds no
// number.
core::Result<store::BirthRecord> RecordFromForm(const BirthFormSnapshot& form,
                                                std::string_view tz_name = {},
                                                std::string_view place_id = {});

// The form that shows `record` (seconds 0); an exact offset selects "Other offset…". Fails,
// saying why, for what the form cannot hold: an exact offset beyond 18 hours, a year
// outside its list, or a field out of range.
core::Result<BirthFormSnapshot> FormFromRecord(const store::BirthRecord& record);

}  // namespace solvane::entry
