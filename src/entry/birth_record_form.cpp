#include "entry/birth_record_form.h"

#include <string>

#include "zones/offset_text.h"
#include "zones/suggestion.h"

namespace solvane::entry {
namespace {

constexpr int kMonthsPerYear = 12;
constexpr int kDaysInLongestMonth = 31;
constexpr int kHoursPerDay = 24;
constexpr int kMinutesPerHour = 60;
constexpr int kMostLongitudeDeg = 180;
constexpr int kMostLatitudeDeg = 90;

bool Within(int value, int low, int high) { return value >= low && value <= high; }

}  // namespace

core::Result<store::BirthRecord> RecordFromForm(const BirthFormSnapshot& form,
                                                std::string_view tz_name,
                                                std::string_view place_id) {
  const std::optional<int> lon_deg = WholeNumber(form.txtLonD);
  const std::optional<int> lon_min = WholeNumber(form.txtLonM);
  const std::optional<int> lat_deg = WholeNumber(form.txtLatD);
  const std::optional<int> lat_min = WholeNumber(form.txtLatM);
  if (!lon_deg || !lon_min || !lat_deg || !lat_min)
    return core::Fail("The longitude and latitude need degrees and minutes in figures.");
  store::BirthRecord record;
  record.name = form.txtName;
  record.year = kFirstYear + form.cboYear;
  record.month = form.cboMonth + 1;
  record.day = form.cboDate + 1;
  record.hour = form.cboHH;
  record.minute = form.cboMM;
  const bool exact = form.cmbTimeZone == zones::kOtherOffsetIndex;
  record.zone_index = exact ? store::kExactOffsetZone : form.cmbTimeZone;
  record.offset_seconds_east = exact ? form.otherOffsetSecondsEast : 0;
  record.daylight_saving = form.chkDST;
  record.longitude_deg = *lon_deg;
  record.longitude_min = *lon_min;
  record.east = form.optLongEast;
  record.latitude_deg = *lat_deg;
  record.latitude_min = *lat_min;
  record.south = form.optLatSouth;
  record.city = form.txtMCity;
  record.state = form.txtMState;
  record.country = form.txtMCountry;
  record.tz_name = std::string(tz_name);
  record.place_id = std::string(place_id);
  return record;
}

core::Result<BirthFormSnapshot> FormFromRecord(const store::BirthRecord& record) {
  const bool exact = record.zone_index == store::kExactOffsetZone;
  if (exact &&
      !Within(record.offset_seconds_east, -store::kMaxOffsetSeconds, store::kMaxOffsetSeconds))
    return core::Fail("The birth of " + record.name + " was saved " +
                      zones::FormatUtOffset(record.offset_seconds_east) +
                      ", beyond the 18 hours either side of Greenwich that the form holds.");
  if (!exact && !Within(record.zone_index, 0, store::kNamedZoneCount - 1))
    return core::Fail("The birth of " + record.name + " names a zone the form does not list.");
  if (!Within(record.year, kFirstYear, kLastYear))
    return core::Fail("The birth of " + record.name + " is dated " + std::to_string(record.year) +
                      "; the form takes the years " + std::to_string(kFirstYear) + " to " +
                      std::to_string(kLastYear) + ".");
  if (!Within(record.month, 1, kMonthsPerYear) || !Within(record.day, 1, kDaysInLongestMonth) ||
      !Within(record.hour, 0, kHoursPerDay - 1) || !Within(record.minute, 0, kMinutesPerHour - 1) ||
      !Within(record.longitude_deg, 0, kMostLongitudeDeg) ||
      !Within(record.latitude_deg, 0, kMostLatitudeDeg) ||
      !Within(record.longitude_min, 0, kMinutesPerHour - 1) ||
      !Within(record.latitude_min, 0, kMinutesPerHour - 1))
    return core::Fail("The saved birth of " + record.name +
                      " is damaged: a field is out of range.");
  BirthFormSnapshot form;
  form.txtName = record.name;
  form.cboYear = record.year - kFirstYear;
  form.cboMonth = record.month - 1;
  form.cboDate = record.day - 1;
  form.cboHH = record.hour;
  form.cboMM = record.minute;
  form.cboSS = 0;
  form.cmbTimeZone = exact ? zones::kOtherOffsetIndex : record.zone_index;
  form.otherOffsetSecondsEast = exact ? record.offset_seconds_east : 0;
  form.chkDST = record.daylight_saving;
  form.txtLonD = std::to_string(record.longitude_deg);
  form.txtLonM = std::to_string(record.longitude_min);
  form.optLongEast = record.east;
  form.txtLatD = std::to_string(record.latitude_deg);
  form.txtLatM = std::to_string(record.latitude_min);
  form.optLatSouth = record.south;
  form.txtMCity = record.city;
  form.txtMState = record.state;
  form.txtMCountry = record.country;
  return form;
}

}  // namespace solvane::entry
