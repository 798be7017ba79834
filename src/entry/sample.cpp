#include "entry/sample.h"

namespace solvane::entry {

entry::BirthFormSnapshot SampleBirth() {
  entry::BirthFormSnapshot form;
  form.txtName = "SAMPLE CHART";
  form.cboMonth = 7;  // August
  form.cboDate = 14;  // 15
  form.cboYear = 1980 - entry::kFirstYear;
  form.cboHH = 6;
  form.cboMM = 30;
  form.cmbTimeZone = 34;  // "Indian Time, IST, +5.3"
  form.txtLonD = "77";
  form.txtLonM = "13";
  form.optLongEast = true;
  form.txtLatD = "28";
  form.txtLatM = "36";
  form.optLatSouth = false;
  form.txtMCity = "New Delhi";
  form.txtMState = "Delhi";
  form.txtMCountry = "India";
  return form;
}

}  // namespace solvane::entry
