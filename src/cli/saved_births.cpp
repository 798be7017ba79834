#include "cli/saved_births.h"

namespace solvane::cli {
namespace {
CliFailure NotYet() { return {kExitFailure, "saved births are not available yet"}; }
}  // namespace

std::optional<std::string> SavedConflict(const Flags&) { return std::nullopt; }
int ListSaved(const Flags&) { return kExitFailure; }
int ExportSaved(const Flags&) { return kExitFailure; }
int ImportSaved(const Flags&) { return kExitFailure; }
core::Result<entry::BirthFormSnapshot, CliFailure> SavedForm(const Flags&) {
  return core::Unexpected{NotYet()};
}
core::Result<void, CliFailure> SaveBirth(const Flags&, const entry::BirthFormSnapshot&) {
  return core::Unexpected{NotYet()};
}
core::Result<std::unique_ptr<BatchSaving>, CliFailure> OpenBatchSaving(const Flags&) {
  return core::Unexpected{NotYet()};
}

}  // namespace solvane::cli
