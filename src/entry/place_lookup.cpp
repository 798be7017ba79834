#include "entry/place_lookup.h"

namespace solvane::entry {

core::Result<std::string, Refusal> PlaceLookupQuery(const BirthFormSnapshot& form) {
  const struct {
    const std::string& text;
    const char* message;
    const char* focus;
  } boxes[] = {{form.txtMCity, "Please Enter City", "txtMCity"},
               {form.txtMState, "Please Enter State", "txtMState"},
               {form.txtMCountry, "Please Enter Country", "txtMCountry"}};
  for (const auto& box : boxes)
    if (box.text.empty())
      return core::Unexpected{Refusal{{box.message, core::MessageIcon::kInformation}, box.focus}};
  return form.txtMCity + " " + form.txtMState + " " + form.txtMCountry + " Latitude Longitude";
}

}  // namespace solvane::entry
