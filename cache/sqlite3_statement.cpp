#include "cache/sqlite3_statement.h"

#include <sqlite3.h>

#include "cache/sqlite3_exception.h"

namespace brantel {

SQLite3Statement::SQLite3Statement(SQLite3Statement&& other) noexcept : db_(other.db_), stmt_(other.stmt_) {
  other.stmt_ = nullptr;
}

SQLite3Statement& SQLite3Statement::operator=(SQLite3Statement&& other) {
  if (this == &other) return *this;
  Finalize();
  db_ = other.db_;
  stmt_ = other.stmt_;
  other.stmt_ = nullptr;
  return *this;
}

SQLite3Statement::~SQLite3Statement() {
  try {
    Finalize();
  } catch (...) {
  }
}

void SQLite3Statement::CheckReady() const {
  if (!db_) throw SQLite3Exception(kWrapperErrorCode, "Database not open");
  if (!stmt_) throw SQLite3Exception(kWrapperErrorCode, "Null Virtual Machine pointer");
}

void SQLite3Statement::Bind(int index, const char* text) {
  if (!stmt_) throw SQLite3Exception(kWrapperErrorCode, "Null Virtual Machine pointer");
  int rc = sqlite3_bind_text(stmt_, index, text, -1, SQLITE_TRANSIENT);
  if (rc != SQLITE_OK) throw SQLite3Exception(rc, "Error binding string param");
}

void SQLite3Statement::Bind(int index, int32_t value) {
  if (!stmt_) throw SQLite3Exception(kWrapperErrorCode, "Null Virtual Machine pointer");
  int rc = sqlite3_bind_int(stmt_, index, value);
  if (rc != SQLITE_OK) throw SQLite3Exception(rc, "Error binding int param");
}

int SQLite3Statement::ExecDML() {
  CheckReady();
  int rc = sqlite3_step(stmt_);
  if (rc != SQLITE_DONE) {
    int code = sqlite3_reset(stmt_);
    throw SQLite3Exception(code, sqlite3_errmsg(db_));
  }
  int changed = sqlite3_changes(db_);
  rc = sqlite3_reset(stmt_);
  if (rc != SQLITE_OK) throw SQLite3Exception(rc, sqlite3_errmsg(db_));
  return changed;
}

SQLite3Query SQLite3Statement::ExecQuery() {
  CheckReady();
  sqlite3_reset(stmt_);
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_DONE) return SQLite3Query(db_, stmt_, true, false);
  if (rc == SQLITE_ROW) return SQLite3Query(db_, stmt_, false, false);
  int code = sqlite3_reset(stmt_);
  throw SQLite3Exception(code, sqlite3_errmsg(db_));
}

void SQLite3Statement::Reset() {
  CheckReady();
  int rc = sqlite3_reset(stmt_);
  if (rc != SQLITE_OK) throw SQLite3Exception(rc, sqlite3_errmsg(db_));
}

void SQLite3Statement::Finalize() {
  if (!stmt_) return;
  int rc = sqlite3_finalize(stmt_);
  stmt_ = nullptr;
  if (rc != SQLITE_OK) throw SQLite3Exception(rc, db_ ? sqlite3_errmsg(db_) : nullptr);
}

}  // namespace brantel
