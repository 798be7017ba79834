// The saved births on the command line: --save, --saved, --list-saved, --export-saved,
// --import-saved and --births-db.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "cli/flags.h"
#include "core/result.h"
#include "entry/form_rules.h"

namespace solvane::cli {

// A message naming saved-birth flags that cannot go together (with each other or with others).
std::optional<std::string> SavedConflict(const Flags& flags);

// The modes that only work on the list; each returns the exit status.
int ListSaved(const Flags& flags);    // --list-saved [QUERY], as text or JSON
int ExportSaved(const Flags& flags);  // --export-saved FILE
int ImportSaved(const Flags& flags);  // --import-saved FILE

// The stored birth --saved names, as the entry form would show it. Several matches: a failure
// (status 2) whose message lists them.
core::Result<entry::BirthFormSnapshot, CliFailure> SavedForm(const Flags& flags);

// --save of one charted birth.
core::Result<void, CliFailure> SaveBirth(const Flags& flags, const entry::BirthFormSnapshot& form);

// --save with --batch: every charted row is stored; `Finish` ends the batch's saving.
class BatchSaving {
 public:
  virtual ~BatchSaving() = default;
  virtual core::Result<void> Save(const entry::BirthFormSnapshot& form) = 0;
  virtual core::Result<void, CliFailure> Finish() = 0;
};
core::Result<std::unique_ptr<BatchSaving>, CliFailure> OpenBatchSaving(const Flags& flags);

}  // namespace solvane::cli
