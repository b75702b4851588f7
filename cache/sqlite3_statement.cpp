#include "cache/sqlite3_statement.h"

#include <sqlite3.h>

#include "cache/sqlite3_exception.h"

namespace brantel {

namespace {
// A statement compiled with the legacy entry point is not compiled again by
// SQLite when another connection changes the schema; the wrapper does it.
constexpr int kSchemaRetries = 3;
}  // namespace

SQLite3Statement::SQLite3Statement(sqlite3* db, sqlite3_stmt* stmt, std::string sql)
    : db_(db), stmt_(stmt), sql_(std::move(sql)), bound_(stmt ? size_t(sqlite3_bind_parameter_count(stmt)) + 1 : 0) {}

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
  if (index < 1 || size_t(index) >= bound_.size()) throw SQLite3Exception(SQLITE_RANGE, "Error binding string param");
  auto& slot = bound_[size_t(index)];
  int rc;
  if (!text) {
    rc = sqlite3_bind_text(stmt_, index, nullptr, -1, SQLITE_STATIC);
    slot = std::monostate{};
  } else {
    // Release SQLite's hold on the old buffer before the text changes it; a
    // statement in the middle of its rows refuses, and nothing is touched.
    rc = sqlite3_bind_null(stmt_, index);
    if (rc != SQLITE_OK) throw SQLite3Exception(rc, "Error binding string param");
    if (auto* kept = std::get_if<std::string>(&slot)) {
      kept->assign(text);
    } else {
      slot = std::string(text);
    }
    const std::string& kept = std::get<std::string>(slot);
    rc = sqlite3_bind_text(stmt_, index, kept.c_str(), int(kept.size()), SQLITE_STATIC);
  }
  if (rc != SQLITE_OK) throw SQLite3Exception(rc, "Error binding string param");
}

void SQLite3Statement::Bind(int index, int32_t value) {
  if (!stmt_) throw SQLite3Exception(kWrapperErrorCode, "Null Virtual Machine pointer");
  int rc = sqlite3_bind_int(stmt_, index, value);
  if (rc != SQLITE_OK) throw SQLite3Exception(rc, "Error binding int param");
  bound_[size_t(index)] = value;  // in range: SQLite accepted the index
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
      sqlite3_bind_text(fresh, int(i), text->c_str(), int(text->size()), SQLITE_STATIC);
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
