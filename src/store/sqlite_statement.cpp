#include "store/sqlite_statement.h"

namespace solvane::store::internal {

Statement::Statement(sqlite3* db, std::string_view sql) {
  prepare_code_ =
      sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &statement_, nullptr);
  if (prepare_code_ == SQLITE_OK && statement_ == nullptr) prepare_code_ = SQLITE_MISUSE;
}

Statement::~Statement() { sqlite3_finalize(statement_); }

Statement& Statement::Bind(int index, std::string_view text) {
  if (statement_ != nullptr)
    sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                      SQLITE_TRANSIENT);
  return *this;
}

Statement& Statement::Bind(int index, std::int64_t number) {
  if (statement_ != nullptr) sqlite3_bind_int64(statement_, index, number);
  return *this;
}

Statement& Statement::BindNull(int index) {
  if (statement_ != nullptr) sqlite3_bind_null(statement_, index);
  return *this;
}

int Statement::Step() {
  if (statement_ == nullptr) return prepare_code_;
  return sqlite3_step(statement_);
}

int Statement::Run() {
  int code = Step();
  while (code == SQLITE_ROW) code = Step();
  return code == SQLITE_DONE ? SQLITE_OK : code;
}

void Statement::Reset() {
  if (statement_ == nullptr) return;
  sqlite3_reset(statement_);
  sqlite3_clear_bindings(statement_);
}

std::int64_t Statement::Int(int column) const { return sqlite3_column_int64(statement_, column); }

std::string Statement::Text(int column) const {
  const auto* text = sqlite3_column_text(statement_, column);
  if (text == nullptr) return {};
  return std::string(reinterpret_cast<const char*>(text),
                     static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)));
}

int Execute(sqlite3* db, const char* sql) {
  return sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

std::int64_t QueryInt(sqlite3* db, const char* sql, std::int64_t fallback, int* code) {
  Statement statement(db, sql);
  const int step = statement.Step();
  if (code != nullptr) *code = step == SQLITE_ROW || step == SQLITE_DONE ? SQLITE_OK : step;
  return step == SQLITE_ROW ? statement.Int(0) : fallback;
}

}  // namespace solvane::store::internal
