#include "cli/zone_flags.h"

namespace solvane::cli {

std::optional<std::string> ZoneConflict(const Flags&) { return std::nullopt; }

core::Result<ZoneChoice, CliFailure> ApplyZoneFlags(const Flags& flags, entry::BirthFormSnapshot&) {
  if (flags.place || flags.tz || flags.fold)
    return core::Unexpected{CliFailure{kExitRefused, "--place and --tz are not available yet"}};
  return ZoneChoice{};
}

void WriteZoneMembers(JsonWriter&, const ZoneChoice&) {}

}  // namespace solvane::cli
