// A thin owner of SQLite prepared statements for the store's own files. Values are always bound,
// never spliced into the SQL text.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace solvane::store::internal {

class Statement {
 public:
  Statement(sqlite3* db, std::string_view sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // SQLITE_OK when the text compiled; every other call is harmless when it did not.
  int prepare_code() const { return prepare_code_; }

  Statement& Bind(int index, std::string_view text);
  Statement& Bind(int index, std::int64_t number);
  Statement& Bind(int index, int number) { return Bind(index, std::int64_t{number}); }
  Statement& BindNull(int index);
  Statement& Bind(int index, bool flag) { return Bind(index, std::int64_t{flag ? 1 : 0}); }

  // SQLITE_ROW, SQLITE_DONE or the failure's code.
  int Step();
  // Runs to completion: SQLITE_OK, or the failure's code.
  int Run();
  void Reset();

  std::int64_t Int(int column) const;
  std::string Text(int column) const;

 private:
  sqlite3_stmt* statement_ = nullptr;
  int prepare_code_ = SQLITE_OK;
};

// Runs SQL without values (several statements allowed): SQLITE_OK or the failure's code.
int Execute(sqlite3* db, const char* sql);

// The single integer a pragma or query answers, or `fallback` when it fails.
std::int64_t QueryInt(sqlite3* db, const char* sql, std::int64_t fallback, int* code = nullptr);

}  // namespace solvane::store::internal
