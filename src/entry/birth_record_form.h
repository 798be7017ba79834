// The entry form's birth as the saved-births list keeps it, and back again.
#pragma once

#include <string_view>

#include "core/result.h"
#include "entry/form_rules.h"
#include "store/birth_record.h"

namespace solvane::entry {

// The record for a form that ValidateBirthForm accepted; `tz_name` is the atlas zone of the place
// the user picked ("" when the place was typed). Fails when a coordinate box holds no number.
core::Result<store::BirthRecord> RecordFromForm(const BirthFormSnapshot& form,
                                                std::string_view tz_name = {});

// The form that shows `record` (seconds 0). Fails, saying why, for what the form cannot hold: an
// exact-offset zone, a year outside its list, or a field out of range.
core::Result<BirthFormSnapshot> FormFromRecord(const store::BirthRecord& record);

}  // namespace solvane::entry
