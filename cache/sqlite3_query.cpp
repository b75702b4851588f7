#include "cache/sqlite3_query.h"

#include <sqlite3.h>

#include <cstring>

#include "cache/sqlite3_exception.h"

namespace brantel {

SQLite3Query::SQLite3Query(sqlite3* db, sqlite3_stmt* stmt, bool at_end, bool owns_statement)
    : db_(db),
      stmt_(stmt),
      at_end_(at_end),
      columns_(stmt ? sqlite3_column_count(stmt) : 0),
      owns_statement_(owns_statement) {}

SQLite3Query::SQLite3Query(SQLite3Query&& other) noexcept
    : db_(other.db_),
      stmt_(other.stmt_),
      at_end_(other.at_end_),
      columns_(other.columns_),
      owns_statement_(other.owns_statement_) {
  other.stmt_ = nullptr;
  other.owns_statement_ = false;
  other.at_end_ = true;
  other.columns_ = 0;
}

SQLite3Query& SQLite3Query::operator=(SQLite3Query&& other) {
  if (this == &other) return *this;
  Finalize();
  db_ = other.db_;
  stmt_ = other.stmt_;
  at_end_ = other.at_end_;
  columns_ = other.columns_;
  owns_statement_ = other.owns_statement_;
  other.stmt_ = nullptr;
  other.owns_statement_ = false;
  other.at_end_ = true;
  other.columns_ = 0;
  return *this;
}

SQLite3Query::~SQLite3Query() {
  try {
    Finalize();
  } catch (...) {
  }
}

void SQLite3Query::CheckStatement() const {
  if (!stmt_) throw SQLite3Exception(kWrapperErrorCode, "Null Virtual Machine pointer");
}

bool SQLite3Query::Eof() const {
  CheckStatement();
  return at_end_;
}

int SQLite3Query::NumFields() const {
  CheckStatement();
  return columns_;
}

int SQLite3Query::NextRow() {
  CheckStatement();
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_DONE) {
    at_end_ = true;
  } else if (rc == SQLITE_ROW) {
    at_end_ = false;
  } else {
    // The legacy interface reports the real cause only when the statement
    // is finalized or reset. A borrowed statement belongs to its
    // SQLite3Statement, which finalizes it later: it is only reset here.
    int code = owns_statement_ ? sqlite3_finalize(stmt_) : sqlite3_reset(stmt_);
    stmt_ = nullptr;
    owns_statement_ = false;
    at_end_ = true;
    throw SQLite3Exception(code, db_ ? sqlite3_errmsg(db_) : nullptr);
  }
  return rc;
}

const char* SQLite3Query::FieldValue(int index) const {
  CheckStatement();
  if (index < 0 || index > columns_ - 1)
    throw SQLite3Exception(kWrapperErrorCode, "Invalid field index requested");
  return reinterpret_cast<const char*>(sqlite3_column_text(stmt_, index));
}

const char* SQLite3Query::FieldValue(const char* name) const { return FieldValue(FieldIndex(name)); }

int SQLite3Query::FieldIndex(const char* name) const {
  CheckStatement();
  if (name) {
    for (int i = 0; i < columns_; ++i) {
      const char* column = sqlite3_column_name(stmt_, i);
      if (column && std::strcmp(column, name) == 0) return i;
    }
  }
  throw SQLite3Exception(kWrapperErrorCode, "Invalid field name requested");
}

void SQLite3Query::Finalize() {
  if (!stmt_ || !owns_statement_) return;
  int rc = sqlite3_finalize(stmt_);
  stmt_ = nullptr;
  owns_statement_ = false;
  if (rc != SQLITE_OK) throw SQLite3Exception(rc, db_ ? sqlite3_errmsg(db_) : nullptr);
}

}  // namespace brantel
