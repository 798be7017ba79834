#include "cli/saved_births.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unordered_set>
#include <vector>

#include "cli/csv.h"
#include "cli/file_output.h"
#include "cli/safe_text.h"
#include "cli/saved_csv.h"
#include "cli/saved_list.h"
#include "core/text.h"
#include "entry/birth_record_form.h"
#include "store/births_store.h"

namespace solvane::cli {
namespace {

using store::BirthRecord;
using store::Store;

// Matches of --saved listed in its message before the rest are only counted.
constexpr std::size_t kMatchesShown = 20;

core::Unexpected<CliFailure> Failed(int status, std::string message) {
  return {CliFailure{status, std::move(message)}};
}

// Standard error, worded like the rest of solvane-chart's messages.
void Tell(std::string_view message) {
  const std::string line = "solvane-chart: " + std::string(message) + "\n";
  (void)WriteAll(STDERR_FILENO, line, "standard error");  // nowhere left to report it
}

std::filesystem::path DatabasePath(const Flags& flags) {
  return flags.births_db ? std::filesystem::path(*flags.births_db) : store::DefaultStorePath();
}

// The list, with what opening it had to say (a damaged file set aside, a read-only list) told
// on standard error.
core::Result<Store, CliFailure> OpenStore(const Flags& flags) {
  auto store = Store::Open(DatabasePath(flags));
  if (!store) return Failed(kExitFailure, TerminalSafe(store.error().message));
  for (const core::Message& notice : store->notices()) Tell(TerminalSafe(notice.text));
  return std::move(*store);
}

// The list for a mode that only reads it; none while there is no file, which reading must not
// create.
core::Result<std::optional<Store>, CliFailure> OpenForReading(const Flags& flags) {
  std::error_code error;
  if (!std::filesystem::exists(DatabasePath(flags), error) && !error) return std::optional<Store>();
  auto store = OpenStore(flags);
  if (!store) return core::Unexpected{store.error()};
  return std::optional<Store>(std::move(*store));
}

const std::vector<std::string>& ModeFlags() {
  static const std::vector<std::string> kModes = {"--list-saved", "--export-saved",
                                                  "--import-saved"};
  return kModes;
}

// Everything that describes a birth, a chart or a file written from it.
const std::vector<std::string>& ChartFlags() {
  static const std::vector<std::string> kFlags = {
      "--name",        "--date",         "--time",       "--zone",        "--dst",       "--lon",
      "--lat",         "--city",         "--state",      "--country",     "--sample",    "--place",
      "--tz",          "--fold",         "--saved",      "--save",        "--batch",     "--report",
      "--report-text", "--pdf",          "--svg",        "--chart-style", "--ephemeris", "--node",
      "--year-days",   "--dasha-levels", "--find-place", "--list-zones"};
  return kFlags;
}

std::optional<std::string> FirstGiven(const Flags& flags, const std::vector<std::string>& list,
                                      std::string_view besides = {}) {
  for (const std::string& flag : flags.given)
    if (flag != besides && std::find(list.begin(), list.end(), flag) != list.end()) return flag;
  return std::nullopt;
}

std::optional<std::string> ModeConflict(const Flags& flags) {
  const auto mode = FirstGiven(flags, ModeFlags());
  if (!mode) return std::nullopt;
  if (const auto other = FirstGiven(flags, ModeFlags(), *mode))
    return *mode + " and " + *other +
           " cannot go together: each is a task of its own; run them one after the other";
  if (const auto other = FirstGiven(flags, ChartFlags()))
    return *mode + " and " + *other + " cannot go together: " + *mode +
           " works on the saved births alone and takes no birth, chart or file flag";
  if (*mode != "--list-saved" && flags.Given("--format"))
    return *mode + " and --format cannot go together: " + *mode + " reads or writes CSV";
  return std::nullopt;
}

}  // namespace

std::optional<std::string> SavedConflict(const Flags& flags) {
  if (auto conflict = ModeConflict(flags)) return conflict;
  if (flags.saved && flags.sample)
    return "--saved and --sample cannot go together: both say which birth to chart";
  if (flags.saved && flags.batch)
    return "--saved and --batch cannot go together: --batch takes its births from the file";
  const bool uses_list = flags.save || flags.saved || FirstGiven(flags, ModeFlags());
  if (flags.births_db && !uses_list)
    return "--births-db needs --save, --saved, --list-saved, --export-saved or --import-saved: "
           "it only names the file of saved births they use";
  return std::nullopt;
}

namespace {

enum class Stored { kAdded, kReplaced, kUnchanged };

// The atlas's zone name and place id of a stored birth still fit a new one at the same place.
bool SamePlace(const BirthRecord& a, const BirthRecord& b) {
  return store::LongitudeText(a) == store::LongitudeText(b) &&
         store::LatitudeText(a) == store::LatitudeText(b) && a.city == b.city &&
         a.state == b.state && a.country == b.country;
}

// Stores `record` unless the same birth is there already. A birth of the same name and date with
// other data is replaced, keeping what only the list holds (its note, its creation time).
core::Result<Stored> StoreBirth(Store& list, const BirthRecord& record) {
  auto saved = list.Save(record, store::SaveMode::kAskFirst);
  if (!saved) return core::Fail(saved.error().message);
  if (saved->status != store::SaveStatus::kExists) return Stored::kAdded;
  const BirthRecord old = saved->record;
  if (SavedCsvRow(old) == SavedCsvRow(record)) return Stored::kUnchanged;
  BirthRecord replacement = record;
  replacement.note = old.note;
  if (SamePlace(old, record) && replacement.tz_name.empty()) {
    replacement.tz_name = old.tz_name;
    replacement.place_id = old.place_id;
  }
  auto replaced = list.Save(replacement, store::SaveMode::kReplaceExisting);
  if (!replaced) return core::Fail(replaced.error().message);
  Tell("the saved birth " + SavedBirthLine(old) + " was replaced by " + SavedBirthLine(record));
  return Stored::kReplaced;
}

class StoreBatchSaving final : public BatchSaving {
 public:
  explicit StoreBatchSaving(Store list) : list_(std::move(list)) {}

  core::Result<void> Save(const entry::BirthFormSnapshot& form) override {
    auto record = entry::RecordFromForm(form);
    if (!record) return core::Fail("not saved: " + record.error().message);
    auto stored = StoreBirth(list_, *record);
    if (!stored) return core::Fail("not saved: " + stored.error().message);
    ++counts_[static_cast<std::size_t>(*stored)];
    return {};
  }

  core::Result<void, CliFailure> Finish() override {
    Tell("saved births: " + std::to_string(counts_[0]) + " added, " + std::to_string(counts_[1]) +
         " replaced, " + std::to_string(counts_[2]) + " already saved");
    return {};
  }

 private:
  Store list_;
  std::array<std::size_t, 3> counts_{};  // by Stored
};

std::vector<BirthRecord> WithDate(const std::vector<BirthRecord>& records, std::string_view date) {
  std::vector<BirthRecord> dated;
  for (const BirthRecord& record : records)
    if (store::DateText(record) == core::TrimBlanksAndTabs(date)) dated.push_back(record);
  return dated;
}

std::string SeveralMatches(const Flags& flags, const std::vector<BirthRecord>& found) {
  std::string message = Quoted(*flags.saved) + " matches " + std::to_string(found.size()) +
                        " saved births; give the whole name, or --date to pick one:";
  for (std::size_t i = 0; i < found.size() && i < kMatchesShown; ++i)
    message += "\n  " + SavedBirthLine(found[i]);
  if (found.size() > kMatchesShown)
    message += "\n  and " + std::to_string(found.size() - kMatchesShown) + " more";
  return message;
}

// The birth --saved names: those of that very name (case and accents aside) before those a search
// finds; among several, the one of the date --date gives.
core::Result<BirthRecord, CliFailure> FindSaved(const Store& list, const Flags& flags) {
  auto same_name = list.FindByName(*flags.saved);
  if (!same_name) return Failed(kExitFailure, TerminalSafe(same_name.error().message));
  std::vector<BirthRecord> found = std::move(*same_name);
  if (found.empty()) {
    auto matches = list.Search(*flags.saved);
    if (!matches) return Failed(kExitFailure, TerminalSafe(matches.error().message));
    found = std::move(*matches);
  }
  if (const auto date = flags.fields.find("date"); found.size() > 1 && date != flags.fields.end())
    if (auto dated = WithDate(found, date->second); !dated.empty()) found = std::move(dated);
  if (found.empty()) return Failed(kExitRefused, "no saved birth called " + Quoted(*flags.saved));
  if (found.size() > 1) return Failed(kExitRefused, SeveralMatches(flags, found));
  return std::move(found.front());
}

int Report(const CliFailure& failure) {
  Tell(failure.message);
  return failure.status;
}

int Written(const core::Result<void>& written) {
  if (written) return kExitOk;
  Tell(written.error().message);
  return kExitFailure;
}

core::Result<void> WriteOut(std::string_view text) {
  return WriteAll(STDOUT_FILENO, text, "the output");
}

// The births of the list, or none while it has no file.
core::Result<std::vector<BirthRecord>, CliFailure> Listed(const Flags& flags,
                                                          std::string_view query) {
  auto list = OpenForReading(flags);
  if (!list) return core::Unexpected{list.error()};
  if (!*list) return std::vector<BirthRecord>();
  auto found = (*list)->Search(query);
  if (!found) return Failed(kExitFailure, TerminalSafe(found.error().message));
  return std::move(*found);
}

struct Input {
  int fd = -1;
  std::string name;  // for messages: "standard input" or the quoted path
};

core::Result<Input> OpenInput(const std::string& path) {
  if (path == "-") return Input{STDIN_FILENO, "standard input"};
  Input input{open(path.c_str(), O_RDONLY | O_CLOEXEC), Quoted(path, path.size())};
  if (input.fd < 0) return core::Fail("cannot open " + input.name + ": " + std::strerror(errno));
  struct stat st {};
  if (fstat(input.fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    close(input.fd);
    return core::Fail("cannot read " + input.name + ": it is a folder, not a CSV file");
  }
  return input;
}

core::Result<SavedCsvRead, CliFailure> ReadImport(const std::string& path) {
  const auto input = OpenInput(path);
  if (!input) return Failed(kExitFailure, "--import-saved: " + input.error().message);
  auto read = ReadSavedCsv(DescriptorSource(input->fd, input->name));
  if (input->fd != STDIN_FILENO) close(input->fd);
  if (!read)
    return Failed(read.error().unreadable ? kExitFailure : kExitRefused,
                  "--import-saved: " + input->name + ": " + TerminalSafe(read.error().message));
  for (const RefusedRow& row : read->refused)
    Tell(input->name + " line " + std::to_string(row.line) + ": " + TerminalSafe(row.message) +
         "; row skipped");
  return std::move(*read);
}

// The records that are neither in the list already nor earlier in `records`.
core::Result<std::vector<BirthRecord>, CliFailure> NotYetSaved(const Store& list,
                                                               std::vector<BirthRecord> records) {
  auto stored = list.All();
  if (!stored) return Failed(kExitFailure, TerminalSafe(stored.error().message));
  std::unordered_set<std::string> seen;
  seen.reserve(stored->size() + records.size());
  for (const BirthRecord& record : *stored) seen.insert(SavedCsvRow(record));
  std::vector<BirthRecord> fresh;
  for (BirthRecord& record : records)
    if (seen.insert(SavedCsvRow(record)).second) fresh.push_back(std::move(record));
  return fresh;
}

}  // namespace

core::Result<entry::BirthFormSnapshot, CliFailure> SavedForm(const Flags& flags) {
  auto list = OpenForReading(flags);
  if (!list) return core::Unexpected{list.error()};
  if (!*list)
    return Failed(kExitRefused,
                  "no saved birth called " + Quoted(*flags.saved) + ": no births are saved yet");
  auto record = FindSaved(**list, flags);
  if (!record) return core::Unexpected{record.error()};
  auto form = entry::FormFromRecord(*record);
  if (!form) return Failed(kExitFailure, "--saved: " + TerminalSafe(form.error().message));
  return std::move(*form);
}

core::Result<void, CliFailure> SaveBirth(const Flags& flags, const entry::BirthFormSnapshot& form) {
  auto record = entry::RecordFromForm(form);
  if (!record) return Failed(kExitRefused, "--save: " + record.error().message);
  auto list = OpenStore(flags);
  if (!list) return core::Unexpected{list.error()};
  auto stored = StoreBirth(*list, *record);
  if (!stored) return Failed(kExitFailure, "--save: " + TerminalSafe(stored.error().message));
  return {};
}

core::Result<std::unique_ptr<BatchSaving>, CliFailure> OpenBatchSaving(const Flags& flags) {
  auto list = OpenStore(flags);
  if (!list) return core::Unexpected{list.error()};
  // Found out now rather than as a failure on every row.
  if (list->read_only())
    return Failed(kExitFailure, "--save: the list of births (" +
                                    TerminalSafe(list->path().string()) +
                                    ") is open for reading only; nothing was charted");
  return std::unique_ptr<BatchSaving>(std::make_unique<StoreBatchSaving>(std::move(*list)));
}

int ListSaved(const Flags& flags) {
  const std::string& query = *flags.list_saved;
  const auto records = Listed(flags, query);
  if (!records) return Report(records.error());
  if (flags.format == "json") return Written(WriteOut(SavedListJson(*records)));
  if (records->empty()) {
    Tell(core::TrimBlanksAndTabs(query).empty() ? "no births are saved yet"
                                                : "no saved birth matches " + Quoted(query));
    return kExitOk;
  }
  return Written(WriteOut(SavedListText(*records)));
}

// The births to export: the list's, or, when opening found the list damaged and moved it aside,
// what can still be read from the moved file (the fresh list is empty).
core::Result<std::vector<BirthRecord>, CliFailure> ExportedRecords(const Flags& flags) {
  auto list = OpenForReading(flags);
  if (!list) return core::Unexpected{list.error()};
  if (!*list) return std::vector<BirthRecord>();
  const std::filesystem::path moved = (*list)->moved_aside();
  if (moved.empty()) {
    auto all = (*list)->Search("");
    if (!all) return Failed(kExitFailure, TerminalSafe(all.error().message));
    return std::move(*all);
  }
  auto salvaged = store::SalvageRecords(moved);
  if (!salvaged)
    return Failed(kExitFailure, "nothing could be read from the damaged list " +
                                    Quoted(moved.string(), moved.string().size()) + ": " +
                                    TerminalSafe(salvaged.error().message));
  Tell("exporting the " + std::to_string(salvaged->size()) +
       " births that could still be read from the damaged list, now " +
       Quoted(moved.string(), moved.string().size()));
  return std::move(*salvaged);
}

int ExportSaved(const Flags& flags) {
  const auto records = ExportedRecords(flags);
  if (!records) return Report(records.error());
  const std::string text = SavedCsvText(*records);
  const std::string& path = *flags.export_saved;
  if (path == "-") return Written(WriteOut(text));
  if (auto written = WriteFileReplacing(path, text); !written)
    return Report({kExitFailure, "--export-saved: " + written.error().message});
  return Written(WriteOut("wrote " + std::to_string(records->size()) + " saved births to " +
                          Quoted(path, path.size()) + "\n"));
}

int ImportSaved(const Flags& flags) {
  auto read = ReadImport(*flags.import_saved);
  if (!read) return Report(read.error());
  auto list = OpenStore(flags);
  if (!list) return Report(list.error());
  const std::size_t readable = read->records.size();
  auto fresh = NotYetSaved(*list, std::move(read->records));
  if (!fresh) return Report(fresh.error());
  std::size_t added = 0;
  if (!fresh->empty()) {
    auto imported = list->Import(*fresh);
    if (!imported)
      return Report({kExitFailure, "--import-saved: " + TerminalSafe(imported.error().message)});
    added = static_cast<std::size_t>(imported->added);
  }
  const std::size_t refused = read->refused.size();
  const int written =
      Written(WriteOut("stored " + std::to_string(added) + " of " + std::to_string(read->rows) +
                       " rows; " + std::to_string(refused) + " refused, " +
                       std::to_string(readable - added) + " already saved\n"));
  if (written != kExitOk) return written;
  return refused > 0 ? kExitRefused : kExitOk;
}

}  // namespace solvane::cli
