// Any text given to a birth flag (or batch column). The first byte picks the field, the rest is
// the value. A refused value leaves the form as it was and says why in a bounded message; a taken
// value is in range and reads back the same when written out plainly; blanks around a value and
// reading it twice change nothing.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "cli/arguments.h"
#include "cli/output.h"
#include "cli/safe_text.h"
#include "core/text.h"
#include "entry/form_rules.h"
#include "entry/time_zones.h"
#include "fuzz/fuzz_support.h"

namespace {

using solvane::entry::BirthFormSnapshot;
namespace cli = solvane::cli;
namespace entry = solvane::entry;

constexpr std::size_t kMaxValue = 4096;
// The longest message: the ambiguous-zone list is the only one that grows, with the zones named.
constexpr std::size_t kMaxMessage = 2000;

std::string MessageOf(const solvane::core::Result<void>& result) {
  return result ? std::string() : result.error().message;
}

bool Same(const BirthFormSnapshot& a, const BirthFormSnapshot& b) {
  return a.txtName == b.txtName && a.cboMonth == b.cboMonth && a.cboDate == b.cboDate &&
         a.cboYear == b.cboYear && a.cboHH == b.cboHH && a.cboMM == b.cboMM && a.cboSS == b.cboSS &&
         a.cmbTimeZone == b.cmbTimeZone && a.chkDST == b.chkDST && a.txtLonD == b.txtLonD &&
         a.txtLonM == b.txtLonM && a.optLongEast == b.optLongEast && a.txtLatD == b.txtLatD &&
         a.txtLatM == b.txtLatM && a.optLatSouth == b.optLatSouth && a.txtMCity == b.txtMCity &&
         a.txtMState == b.txtMState && a.txtMCountry == b.txtMCountry;
}

bool Digits(std::string_view s, std::size_t min, std::size_t max) {
  if (s.size() < min || s.size() > max) return false;
  for (const char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// A form whose every field differs from what any parser writes, so a stray write shows.
BirthFormSnapshot Marked() {
  BirthFormSnapshot form;
  form.txtName = "MARK";
  form.cboMonth = form.cboDate = form.cboYear = form.cboHH = form.cboMM = form.cboSS = -7;
  form.cmbTimeZone = -7;
  form.txtLonD = form.txtLonM = form.txtLatD = form.txtLatM = "mark";
  form.txtMCity = form.txtMState = form.txtMCountry = "mark";
  return form;
}

using Parser = cli::FieldParser;

struct Field {
  std::string_view name;
  Parser parse;
};
constexpr Field kFields[] = {
    {"date", cli::ParseDate},     {"time", cli::ParseTime},    {"zone", cli::ParseZone},
    {"lon", cli::ParseLongitude}, {"lat", cli::ParseLatitude}, {"dst", cli::ParseDaylightSaving},
};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

std::string Trimmed(std::string_view s) { return std::string(solvane::core::TrimBlanksAndTabs(s)); }

// A message shows the value it refuses cut and escaped: well-formed UTF-8, no control character.
void CheckMessage(const std::string& message) {
  FUZZ_CHECK(message.size() <= kMaxMessage, "a message of %zu bytes", message.size());
  FUZZ_CHECK(cli::TerminalSafe(message) == message, "a message a terminal would act on: %.200s",
             message.c_str());
  FUZZ_CHECK(nlohmann::json::accept(cli::ErrorJsonLine(1, message)), "message breaks JSON");
}

// A value that was taken, written the plain way, must be taken again with the same result.
std::string Plain(std::string_view field, const BirthFormSnapshot& f) {
  char text[64];
  if (field == "date") {
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", f.cboYear + entry::kFirstYear,
                  f.cboMonth + 1, f.cboDate + 1);
  } else if (field == "time") {
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", f.cboHH, f.cboMM, f.cboSS);
  } else if (field == "zone") {
    std::snprintf(text, sizeof text, "%d", f.cmbTimeZone);
  } else if (field == "lon") {
    return f.txtLonD + (f.optLongEast ? "E" : "W") + f.txtLonM;
  } else if (field == "lat") {
    return f.txtLatD + (f.optLatSouth ? "S" : "N") + f.txtLatM;
  } else {
    return f.chkDST ? "yes" : "no";
  }
  return text;
}

void CheckTaken(std::string_view field, std::string_view value, const BirthFormSnapshot& f) {
  if (field == "date") {
    FUZZ_CHECK(f.cboYear >= 0 && f.cboYear <= entry::kLastYear - entry::kFirstYear &&
                   f.cboMonth >= 0 && f.cboMonth < 12 && f.cboDate >= 0 && f.cboDate < 31,
               "date taken out of range: %d %d %d", f.cboYear, f.cboMonth, f.cboDate);
  } else if (field == "time") {
    FUZZ_CHECK(f.cboHH >= 0 && f.cboHH < 24 && f.cboMM >= 0 && f.cboMM < 60 && f.cboSS >= 0 &&
                   f.cboSS < 60,
               "time taken out of range: %d:%d:%d", f.cboHH, f.cboMM, f.cboSS);
  } else if (field == "zone") {
    FUZZ_CHECK(f.cmbTimeZone >= 0 && f.cmbTimeZone < entry::kTimeZoneCount, "zone position %d",
               f.cmbTimeZone);
  } else if (field == "lon") {
    FUZZ_CHECK(Digits(f.txtLonD, 1, entry::kLonDegMaxLength) &&
                   Digits(f.txtLonM, 1, entry::kMinutesMaxLength),
               "longitude boxes '%s' '%s'", f.txtLonD.c_str(), f.txtLonM.c_str());
  } else if (field == "lat") {
    FUZZ_CHECK(Digits(f.txtLatD, 1, entry::kLatDegMaxLength) &&
                   Digits(f.txtLatM, 1, entry::kMinutesMaxLength),
               "latitude boxes '%s' '%s'", f.txtLatD.c_str(), f.txtLatM.c_str());
  } else if (field == "dst") {
    std::string t = Trimmed(value);
    for (char& c : t) c = Lower(c);
    FUZZ_CHECK(f.chkDST == (t == "1" || t == "true" || t == "yes"), "dst '%s' read as %d",
               t.c_str(), f.chkDST);
  }
}

void CheckField(const Field& field, std::string_view value) {
  BirthFormSnapshot form = Marked();
  const BirthFormSnapshot before = form;
  const std::string error = MessageOf(field.parse(value, form));
  CheckMessage(error);

  // ApplyField under the field's name does exactly what the parser does.
  BirthFormSnapshot applied = Marked();
  FUZZ_CHECK(MessageOf(cli::ApplyField(field.name, value, applied)) == error,
             "ApplyField disagrees");
  FUZZ_CHECK(Same(applied, form), "ApplyField sets the form differently");

  // Blanks and tabs around the value are ignored; a second reading changes nothing.
  BirthFormSnapshot padded = Marked();
  const std::string padded_value = " \t" + std::string(value) + "\t ";
  const std::string padded_error = MessageOf(field.parse(padded_value, padded));
  FUZZ_CHECK(padded_error.empty() == error.empty(), "blanks around the value change the verdict");
  FUZZ_CHECK(Same(padded, form), "blanks around the value change the result");
  BirthFormSnapshot twice = form;
  FUZZ_CHECK(MessageOf(field.parse(value, twice)) == error && Same(twice, form),
             "a second reading differs");

  if (!error.empty()) {
    FUZZ_CHECK(Same(form, before), "a refused %.*s value changed the form",
               static_cast<int>(field.name.size()), field.name.data());
    return;
  }
  CheckTaken(field.name, value, form);
  const std::string plain = Plain(field.name, form);
  BirthFormSnapshot again = Marked();
  FUZZ_CHECK(field.parse(plain, again) && Same(again, form),
             "'%s' does not read back as it was taken", plain.c_str());
}

// The free-text fields keep any bytes as given; a name of blanks and tabs only is no name.
void CheckFreeText(std::string_view name, std::string_view value) {
  BirthFormSnapshot form = Marked();
  FUZZ_CHECK(cli::ApplyField(name, value, form), "free text refused");
  const std::string& kept = name == "name"    ? form.txtName
                            : name == "city"  ? form.txtMCity
                            : name == "state" ? form.txtMState
                                              : form.txtMCountry;
  const bool no_name = name == "name" && Trimmed(value).empty();
  FUZZ_CHECK(kept == (no_name ? std::string_view() : value), "free text not kept as given");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > kMaxValue + 1) return -1;
  const std::uint8_t selector = data[0];
  const std::string_view value(reinterpret_cast<const char*>(data) + 1, size - 1);
  constexpr std::size_t kParsed = sizeof kFields / sizeof kFields[0];
  constexpr std::string_view kFreeText[] = {"name", "city", "state", "country"};
  const std::size_t choice = selector % (kParsed + 5);
  if (choice < kParsed) {
    CheckField(kFields[choice], value);
  } else if (choice < kParsed + 4) {
    CheckFreeText(kFreeText[choice - kParsed], value);
  } else {
    // The value's first line as a field name: anything not a field is refused, form untouched.
    const std::string_view name = value.substr(0, value.find('\n'));
    BirthFormSnapshot form = Marked();
    const std::string error = MessageOf(cli::ApplyField(name, "1", form));
    FUZZ_CHECK(cli::IsFieldName(name) || (!error.empty() && Same(form, Marked())),
               "an unknown field was taken");
    CheckMessage(error);
  }
  return 0;
}
