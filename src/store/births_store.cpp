#include "store/births_store.h"

#include <utility>

#include "core/text.h"
#include "store/search_fold.h"
#include "store/store_internal.h"

namespace solvane::store {

using internal::Explain;
using internal::InWriteTransaction;
using internal::Statement;

namespace {

// Fixed ORDER BY texts: the sort column picks one, never user text.
std::string OrderBy(SortOrder order) {
  const char* terms[5] = {};
  switch (order.column) {
    case SortColumn::kName:
      terms[0] = "name_key", terms[1] = "year", terms[2] = "month", terms[3] = "day";
      break;
    case SortColumn::kDate:
      terms[0] = "year", terms[1] = "month", terms[2] = "day", terms[3] = "hour";
      terms[4] = "minute";
      break;
    case SortColumn::kTime:
      terms[0] = "hour", terms[1] = "minute", terms[2] = "name_key";
      break;
    case SortColumn::kPlace:
      terms[0] = "place_key", terms[1] = "name_key";
      break;
    case SortColumn::kChanged:
      terms[0] = "changed_utc";
      break;
  }
  std::string sql = " ORDER BY ";
  const char* direction = order.descending ? " DESC, " : ", ";
  for (const char* term : terms)
    if (term != nullptr) sql += std::string(term) + direction;
  return sql + "id" + (order.descending ? " DESC" : "");
}

// Words of a query beyond these are ignored: a pasted paragraph must not make a huge statement.
constexpr std::size_t kMaxSearchWords = 32;

// The query's words, folded like the stored keys; blanks and tabs separate them.
std::vector<std::string> SearchWords(std::string_view query) {
  std::vector<std::string> words;
  const std::string folded = FoldForSearch(query);
  std::size_t start = 0;
  while (start < folded.size() && words.size() < kMaxSearchWords) {
    const std::size_t end = folded.find_first_of(" \t\n", start);
    const std::size_t stop = end == std::string::npos ? folded.size() : end;
    if (stop > start) words.push_back(folded.substr(start, stop - start));
    start = stop + 1;
  }
  return words;
}

}  // namespace

Store::Store(sqlite3* db, std::filesystem::path path, OpenOptions options)
    : db_(db), path_(std::move(path)), options_(std::move(options)) {}

Store::Store(Store&& other) noexcept { *this = std::move(other); }

Store& Store::operator=(Store&& other) noexcept {
  if (this == &other) return *this;
  sqlite3_close_v2(db_);
  db_ = std::exchange(other.db_, nullptr);
  path_ = std::move(other.path_);
  options_ = std::move(other.options_);
  read_only_ = other.read_only_;
  notices_ = std::move(other.notices_);
  moved_aside_ = std::move(other.moved_aside_);
  return *this;
}

Store::~Store() { sqlite3_close_v2(db_); }

std::string Store::NowUtc() const {
  return internal::IsoUtc(options_.now ? options_.now() : std::chrono::system_clock::now());
}

core::Result<void> Store::CheckWritable() const {
  if (!read_only_) return {};
  return core::Fail("The list of births (" + path_.string() +
                    ") is open for reading only, so nothing was changed. It was written by a "
                    "newer Solvane or cannot be written here; update Solvane or make the file "
                    "writable.");
}

core::Result<std::vector<BirthRecord>> Store::Query(std::string_view sql_tail,
                                                    std::span<const std::string> texts,
                                                    std::int64_t number) const {
  Statement query(db_, "SELECT " + std::string(internal::kRecordColumns) + " FROM births " +
                           std::string(sql_tail));
  int index = 1;
  for (const std::string& text : texts) query.Bind(index++, text);
  query.Bind(index, number);
  std::vector<BirthRecord> records;
  if (const int code = internal::ReadRecords(query, records); code != SQLITE_OK)
    return core::Fail(Explain(db_, code, path_, "read the list of births"));
  return records;
}

core::Result<std::optional<BirthRecord>> Store::Find(std::int64_t id) const {
  auto found = Query("WHERE id = ?1", {}, id);
  if (!found) return core::Fail(found.error().message);
  if (found->empty()) return std::optional<BirthRecord>();
  return std::optional<BirthRecord>(std::move(found->front()));
}

core::Result<std::vector<BirthRecord>> Store::FindByName(std::string_view name) const {
  const std::string key[] = {FoldForSearch(core::TrimBlanksAndTabs(name))};
  return Query("WHERE name_key = ?1 ORDER BY changed_utc DESC, id DESC LIMIT ?2", key, -1);
}

core::Result<std::vector<BirthRecord>> Store::Search(std::string_view query, SortOrder order,
                                                     int limit) const {
  const std::vector<std::string> words = SearchWords(query);
  std::string where;
  for (std::size_t i = 0; i < words.size(); ++i)
    where += (i == 0 ? "WHERE " : " AND ") + std::string("instr(search_key, ?") +
             std::to_string(i + 1) + ") > 0";
  const std::string limit_parameter = "?" + std::to_string(words.size() + 1);
  return Query(where + OrderBy(order) + " LIMIT " + limit_parameter, words, limit > 0 ? limit : -1);
}

core::Result<std::vector<BirthRecord>> Store::Recent(int count) const {
  return Query("ORDER BY changed_utc DESC, id DESC LIMIT ?1", {}, count > 0 ? count : 0);
}

core::Result<std::vector<BirthRecord>> Store::All(SortOrder order) const {
  return Search("", order, 0);
}

core::Result<std::int64_t> Store::Count() const {
  int code = SQLITE_OK;
  const std::int64_t count = internal::QueryInt(db_, "SELECT count(*) FROM births", 0, &code);
  if (code != SQLITE_OK) return core::Fail(Explain(db_, code, path_, "count the births"));
  return count;
}

}  // namespace solvane::store
