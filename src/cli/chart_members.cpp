#include "cli/chart_members.h"

#include <cstring>
#include <limits>

#include "core/civil_date.h"
#include "core/zodiac.h"
#include "run/engines.h"
#include "vedic/nakshatra.h"

namespace solvane::cli {
namespace {

constexpr double kMinutesPerDay = 1440;
// Room for the periods' JSON of two levels (bytes; about 6,000 for ninety periods).
constexpr std::size_t kPeriodsJsonBytes = 8192;

double Longitude(const core::ChartState& state, core::Body body) {
  return state.positions.longitude[body].Degrees();
}

// The "periods" array as JSON text. With two levels a chart lists some ninety periods, written
// here piece by piece into a buffer: the general writer's bookkeeping per member was most of a
// batch row's time. Lords and dates need no escaping.
class PeriodsJson {
 public:
  PeriodsJson(const vedic::Vimshottari& periods, std::string& out) : periods_(periods), out_(out) {}

  void Array(const vedic::Mahadashas& mahadashas, int levels) {
    out_ += '[';
    const char* separator = "";
    for (const vedic::DashaPeriod& period : mahadashas) {
      out_ += separator;
      Period(period, levels);
      separator = ",";
    }
    out_ += ']';
  }

 private:
  // {"lord":"Venus","start":"1980-08-15","end":"2000-08-15","sub":[...]}
  void Period(const vedic::DashaPeriod& period, int levels_left) {
    char buffer[96];
    char* at = Put(buffer, "{\"lord\":\"");
    at = Put(at, vedic::LordName(period.lord));
    at = Put(at, "\",\"start\":\"");
    at = Date(period.shown_start_day, at);
    at = Put(at, "\",\"end\":\"");
    at = Date(period.shown_end_day, at);
    *at++ = '"';
    out_.append(buffer, at);
    if (levels_left > 1) {
      out_ += ",\"sub\":[";
      const char* separator = "";
      for (const vedic::DashaPeriod& sub : periods_.SubPeriodsOf(period)) {
        out_ += separator;
        Period(sub, levels_left - 1);
        separator = ",";
      }
      out_ += ']';
    }
    out_ += '}';
  }

  // A period mostly starts on the day the one before it ended: that date is written once.
  char* Date(double day, char* at) {
    if (day != last_day_) {
      last_day_ = day;
      last_end_ = vedic::WriteDateText(day, last_text_);
    }
    return Put(at, std::string_view(last_text_, static_cast<std::size_t>(last_end_ - last_text_)));
  }

  static char* Put(char* at, std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
  }

  const vedic::Vimshottari& periods_;
  std::string& out_;
  double last_day_ = std::numeric_limits<double>::quiet_NaN();  // never equal: nothing written yet
  char last_text_[vedic::kDateTextRoom] = {};
  char* last_end_ = last_text_;
};

void WriteDasha(JsonWriter& json, const vedic::Vimshottari& periods, double moon, int levels) {
  json.BeginObject();
  json.DoubleMember("year_days", periods.YearDays());
  json.DoubleMember("moon_longitude", moon);
  json.Key("approximate");
  json.Bool(periods.Approximate());
  json.Key("balance");
  json.BeginObject();
  json.StringMember("lord", vedic::LordName(periods.FirstLord()));
  json.DoubleMember("years", periods.BalanceYears());
  json.EndObject();
  json.Key("periods");
  std::string text;
  text.reserve(kPeriodsJsonBytes);
  PeriodsJson(periods, text).Array(periods.ListedMahadashas(), levels);
  json.Raw(text);
  json.EndObject();
}

// The periods the text marks as running on a date, and how it marks them.
struct Marking {
  std::optional<vedic::DashaPath> running;
  std::string mark;  // "  (running on 2026-12-09)"
};

bool SamePeriod(const vedic::DashaPeriod& a, const vedic::DashaPeriod& b) {
  return a.lord == b.lord && a.level == b.level && a.shown_start_day == b.shown_start_day;
}

bool IsMarked(const Marking& marking, const vedic::DashaPeriod& period) {
  if (!marking.running) return false;
  const vedic::DashaPath& path = *marking.running;
  return SamePeriod(period, path.mahadasha) || SamePeriod(period, path.antardasha) ||
         SamePeriod(period, path.pratyantardasha);
}

Marking MarkingOf(const vedic::Vimshottari& periods, const PeriodOptions& options) {
  if (!options.marked_date_day) return {};
  const auto running = periods.RunningOnDate(*options.marked_date_day);
  if (!running) return {};  // a date outside the 120 years listed marks nothing
  return {*running,
          "  (running on " + vedic::DateText(static_cast<double>(*options.marked_date_day)) + ")"};
}

void AppendPeriodLines(std::string& out, const vedic::Vimshottari& periods,
                       const vedic::DashaPeriod& period, int depth, int levels_left,
                       const Marking& marking) {
  std::string lord(2 * depth + 2, ' ');
  lord += vedic::LordName(period.lord);
  lord.resize(2 * depth + 12, ' ');
  out += lord;
  out += vedic::DateText(period.shown_start_day) + " to " + vedic::DateText(period.shown_end_day);
  if (IsMarked(marking, period)) out += marking.mark;
  out += '\n';
  if (levels_left > 1)
    for (const vedic::DashaPeriod& sub : periods.SubPeriodsOf(period))
      if (sub.Listed()) AppendPeriodLines(out, periods, sub, depth + 1, levels_left - 1, marking);
}

}  // namespace

void WriteEngineMembers(JsonWriter& json, const core::ChartState& state) {
  json.StringMember("Ephemeris", state.engine);
  json.StringMember("Node", run::NodeName(state.positions.node));
  json.Key("Longitudes");
  json.BeginObject();
  for (int i = 0; i < core::kBodyCount; ++i)
    json.DoubleMember(core::kBodyNames[i], state.positions.longitude[i].Degrees());
  json.EndObject();
  json.DoubleMember("Ayanamsa", -state.positions.ayanamsa_offset);
}

double BirthDayNumber(const core::BirthData& birth) {
  return static_cast<double>(core::DaysFromCivil(birth.Year, birth.Month, birth.Day)) +
         (birth.Hour * 60 + birth.Minute) / kMinutesPerDay;
}

core::Result<vedic::Vimshottari> ChartPeriods(const core::ChartState& state, double year_days) {
  return vedic::Vimshottari::FromMoon(Longitude(state, core::kMoon), BirthDayNumber(state.birth),
                                      year_days, !state.positions.to_the_second);
}

void WritePeriodMembers(JsonWriter& json, const core::ChartState& state,
                        const PeriodOptions& options) {
  json.Key("Nakshatras");
  json.BeginObject();
  for (const core::Body body : vedic::kNakshatraTableBodies) {
    const vedic::NakshatraPlace place = vedic::NakshatraOf(Longitude(state, body));
    json.Key(core::kBodyNames[body]);
    json.BeginObject();
    json.StringMember("name", place.Name());
    json.IntMember("number", place.Number());
    json.IntMember("pada", place.pada);
    json.StringMember("lord", vedic::LordName(place.lord));
    json.EndObject();
  }
  json.EndObject();
  json.Key("Navamsa");
  json.BeginObject();
  for (const core::Body body : vedic::kNakshatraTableBodies)
    json.StringMember(core::kBodyNames[body],
                      core::kSignNames[vedic::NavamsaSignIndex(Longitude(state, body))]);
  json.EndObject();
  if (const auto periods = ChartPeriods(state, options.year_days)) {
    json.Key("Dasha");
    WriteDasha(json, *periods, Longitude(state, core::kMoon), options.levels);
  }
}

std::string PeriodsText(const core::ChartState& state, const PeriodOptions& options) {
  std::string out = "Nakshatras\n";
  for (const core::Body body : vedic::kNakshatraTableBodies) {
    const double longitude = Longitude(state, body);
    const vedic::NakshatraPlace place = vedic::NakshatraOf(longitude);
    std::string row = "  " + std::string(core::kBodyNames[body]);
    row.resize(14, ' ');
    row += std::string(place.Name()) + " " + std::to_string(place.pada);
    row.resize(38, ' ');
    row += "lord " + std::string(vedic::LordName(place.lord));
    row.resize(54, ' ');
    row += "navamsa " + std::string(core::kSignNames[vedic::NavamsaSignIndex(longitude)]);
    out += row + '\n';
  }
  out += '\n';
  const auto periods = ChartPeriods(state, options.year_days);
  if (!periods) return out;
  out += "Vimshottari periods (" + vedic::PeriodsNote(periods->YearDays(), periods->Approximate()) +
         ")\n";
  out += "  Balance at birth: " + vedic::BalanceText(*periods) + "\n";
  const Marking marking = MarkingOf(*periods, options);
  for (const vedic::DashaPeriod& period : periods->ListedMahadashas())
    AppendPeriodLines(out, *periods, period, 0, options.levels, marking);
  out += '\n';
  return out;
}

}  // namespace solvane::cli
