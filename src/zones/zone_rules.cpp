#include "zones/zone_rules.h"

#include <date/tz.h>

#include <algorithm>
#include <chrono>
#include <exception>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>

namespace solvane::zones {
namespace {

constexpr std::int32_t kOneHour_s = 3600;
// How far to walk from a daylight-saving interval to the standard time around it; wartime runs
// of daylight saving span a handful of intervals at most.
constexpr int kMaxIntervalsWalked = 40;
// Beyond these (years 1800 and 2200, seconds since 1970) no walk goes: the first and last
// intervals of a zone reach to the ends of the library's time.
constexpr std::int64_t kFirstYear_s = -5364662400;
constexpr std::int64_t kLastYear_s = 7258118400;

std::optional<PosixRule> ReadFooter(const std::string& name) {
  std::ifstream file(std::string(kZoneInfoDir) + "/" + name, std::ios::binary);
  const std::string contents{std::istreambuf_iterator<char>(file),
                             std::istreambuf_iterator<char>()};
  const std::optional<std::string> footer = TzifFooter(contents);
  if (!footer) return std::nullopt;
  std::optional<PosixRule> rule = ParsePosixRule(*footer);
  if (!rule || !rule->has_daylight) return std::nullopt;
  return rule;
}

std::int64_t Seconds(date::sys_seconds t) { return t.time_since_epoch().count(); }

}  // namespace

ZoneRules::ZoneRules(const date::time_zone* zone, std::optional<PosixRule> footer)
    : zone_(zone), name_(zone->name()), footer_(std::move(footer)) {
  const date::sys_seconds far_future = date::sys_days{date::year{3000} / 1 / 1};
  last_transition_s_ = Seconds(zone_->get_info(far_future).begin);
}

core::Result<std::shared_ptr<const ZoneRules>> ZoneRules::Find(std::string_view name) {
  static std::mutex mutex;
  static std::map<std::string, std::shared_ptr<const ZoneRules>, std::less<>> loaded;
  const std::lock_guard<std::mutex> lock(mutex);
  if (const auto found = loaded.find(name); found != loaded.end()) return found->second;
  const date::time_zone* zone = nullptr;
  try {
    zone = date::locate_zone(name);
  } catch (const std::exception&) {
    return core::Fail("There is no time zone \"" + std::string(name) +
                      "\" in the system's time zone database.");
  }
  auto rules = std::make_shared<const ZoneRules>(zone, ReadFooter(zone->name()));
  loaded.emplace(std::string(name), rules);
  return rules;
}

Interval ZoneRules::At(std::int64_t ut_s) const {
  if (footer_ && ut_s >= last_transition_s_) return FromFooter(ut_s);
  const date::sys_info info = zone_->get_info(date::sys_seconds{std::chrono::seconds{ut_s}});
  // The compiled files keep only a daylight-saving flag, which the library reports as a save of
  // one minute; the amount comes from StandardOf.
  return {Seconds(info.begin),
          Seconds(info.end),
          static_cast<std::int32_t>(info.offset.count()),
          info.save != std::chrono::minutes{0},
          info.abbrev,
          std::nullopt};
}

Interval ZoneRules::FromFooter(std::int64_t ut_s) const {
  const PosixPeriod period = PeriodAt(*footer_, ut_s);
  Interval out;
  out.begin_s = std::max(period.begin_s, last_transition_s_);
  out.end_s = period.end_s;
  out.is_dst = period.daylight;
  out.offset_s = period.daylight ? footer_->daylight_offset_s : footer_->standard_offset_s;
  out.abbreviation =
      period.daylight ? footer_->daylight_abbreviation : footer_->standard_abbreviation;
  out.standard_offset_s = footer_->standard_offset_s;
  return out;
}

std::pair<std::int32_t, std::string> ZoneRules::StandardOf(const Interval& interval) const {
  if (!interval.is_dst) return {interval.offset_s, interval.abbreviation};
  if (interval.standard_offset_s)
    return {*interval.standard_offset_s, footer_ ? footer_->standard_abbreviation : ""};
  // Daylight saving is added to the standard time that came before it; only a zone that starts
  // in daylight saving needs the one after.
  Interval step = interval;
  for (int i = 0; i < kMaxIntervalsWalked && step.is_dst && step.begin_s > kFirstYear_s; ++i)
    step = At(step.begin_s - 1);
  if (!step.is_dst) return {step.offset_s, step.abbreviation};
  step = interval;
  for (int i = 0; i < kMaxIntervalsWalked && step.is_dst && step.end_s < kLastYear_s; ++i)
    step = At(step.end_s);
  if (!step.is_dst) return {step.offset_s, step.abbreviation};
  return {interval.offset_s - kOneHour_s, ""};  // never standard time: assume the usual hour
}

}  // namespace solvane::zones
