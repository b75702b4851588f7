#include "cache/sqlite3_statement.h"

#include <sqlite3.h>

#include "cache/sqlite3_exception.h"

namespace brantel {

namespace {
// A statement compiled with the legacy entry point is not compiled again by
// SQLite when another connection changes the schema; the wrapper does it.
constexpr int kSchemaRetries = 3;
}  // namespace

SQLite3Statement::SQLite3Statement(SQLite3Statement&& other) noexcept
    : db_(other.db_), stmt_(other.stmt_), sql_(std::move(other.sql_)), bound_(std::move(other.bound_)) {
  other.stmt_ = nullptr;
}

SQLite3Statement& SQLite3Statement::operator=(SQLite3Statement&& other) {
  if (this == &other) return *this;
  Finalize();
  db_ = other.db_;
  stmt_ = other.stmt_;
  sql_ = std::move(other.sql_);
  bound_ = std::move(other.bound_);
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
  if (size_t(index) >= bound_.size()) bound_.resize(size_t(index) + 1);
  if (text) {
    if (auto* kept = std::get_if<std::string>(&bound_[size_t(index)])) {
      kept->assign(text);  // reuses the buffer: lists bind the same slot many times
    } else {
      bound_[size_t(index)] = std::string(text);
    }
  } else {
    bound_[size_t(index)] = std::monostate{};
  }
}

void SQLite3Statement::Bind(int index, int32_t value) {
  if (!stmt_) throw SQLite3Exception(kWrapperErrorCode, "Null Virtual Machine pointer");
  int rc = sqlite3_bind_int(stmt_, index, value);
  if (rc != SQLITE_OK) throw SQLite3Exception(rc, "Error binding int param");
  if (size_t(index) >= bound_.size()) bound_.resize(size_t(index) + 1);
  bound_[size_t(index)] = value;
}

bool SQLite3Statement::Recompile() {
  if (sql_.empty()) return false;
  sqlite3_stmt* fresh = nullptr;
  if (sqlite3_prepare(db_, sql_.c_str(), -1, &fresh, nullptr) != SQLITE_OK || !fresh) {
    sqlite3_finalize(fresh);
    return false;
  }
  for (size_t i = 1; i < bound_.size(); ++i) {
    if (const auto* text = std::get_if<std::string>(&bound_[i])) {
      sqlite3_bind_text(fresh, int(i), text->c_str(), -1, SQLITE_TRANSIENT);
    } else if (const auto* number = std::get_if<int32_t>(&bound_[i])) {
      sqlite3_bind_int(fresh, int(i), *number);
    }
  }
  sqlite3_finalize(stmt_);
  stmt_ = fresh;
  return true;
}

int SQLite3Statement::ExecDML() {
  CheckReady();
  for (int attempt = 0;; ++attempt) {
    if (sqlite3_step(stmt_) == SQLITE_DONE) break;
    int code = sqlite3_reset(stmt_);
    if (code == SQLITE_SCHEMA && attempt < kSchemaRetries && Recompile()) continue;
    throw SQLite3Exception(code, sqlite3_errmsg(db_));
  }
  int changed = sqlite3_changes(db_);
  int rc = sqlite3_reset(stmt_);
  if (rc != SQLITE_OK) throw SQLite3Exception(rc, sqlite3_errmsg(db_));
  return changed;
}

SQLite3Query SQLite3Statement::ExecQuery() {
  CheckReady();
  sqlite3_reset(stmt_);
  for (int attempt = 0;; ++attempt) {
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_DONE) return SQLite3Query(db_, stmt_, true, false);
    if (rc == SQLITE_ROW) return SQLite3Query(db_, stmt_, false, false);
    int code = sqlite3_reset(stmt_);
    if (code == SQLITE_SCHEMA && attempt < kSchemaRetries && Recompile()) continue;
    throw SQLite3Exception(code, sqlite3_errmsg(db_));
  }
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
