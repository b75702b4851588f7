#include "cache/sqlite3_database.h"

#include <sqlite3.h>

#include <cstdlib>
#include <string>

#include "cache/sqlite3_exception.h"

namespace brantel {

namespace {
constexpr int kSchemaRetries = 3;
}  // namespace

SQLite3Database::~SQLite3Database() { Close(); }

void SQLite3Database::Open(const char* path) {
  Close();
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path ? path : "", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc != SQLITE_OK) {
    std::string text = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    sqlite3_close(db);
    throw SQLite3Exception(rc, text.c_str());
  }
  db_ = db;
  sqlite3_busy_timeout(db_, busy_timeout_ms_);
}

void SQLite3Database::Close() {
  if (!db_) return;
  // A statement still alive keeps the connection until it is finalized.
  sqlite3_close_v2(db_);
  db_ = nullptr;
}

bool SQLite3Database::TableExists(const char* name) {
  char sql[128];
  sqlite3_snprintf(sizeof sql, sql, "select count(*) from sqlite_master where type='table' and name='%q'",
                   name ? name : "");
  return ExecScalar(sql) > 0;
}

int SQLite3Database::ExecScalar(const char* sql) {
  SQLite3Query query = ExecQuery(sql);
  if (query.Eof() || query.NumFields() < 1)
    throw SQLite3Exception(kWrapperErrorCode, "Invalid scalar query");
  const char* value = query.FieldValue(0);
  int result = value ? std::atoi(value) : 0;
  query.Finalize();
  return result;
}

SQLite3Query SQLite3Database::ExecQuery(const char* sql) {
  for (int attempt = 0;; ++attempt) {
    sqlite3_stmt* stmt = Compile(sql);
    int rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE) return SQLite3Query(db_, stmt, true, true);
    if (rc == SQLITE_ROW) return SQLite3Query(db_, stmt, false, true);
    int code = sqlite3_finalize(stmt);
    // Another connection changed the schema between compiling and running:
    // compile again, as the newer entry point would.
    if (code == SQLITE_SCHEMA && attempt < kSchemaRetries) continue;
    throw SQLite3Exception(code, sqlite3_errmsg(db_));
  }
}

SQLite3Statement SQLite3Database::CompileStatement(const char* sql) {
  sqlite3_stmt* stmt = Compile(sql);
  return SQLite3Statement(db_, stmt, sql ? sql : "");
}

sqlite3_stmt* SQLite3Database::Compile(const char* sql) {
  if (!db_) throw SQLite3Exception(kWrapperErrorCode, "Database not open");
  sqlite3_stmt* stmt = nullptr;
  const char* rest = nullptr;
  // The legacy entry point on purpose: errors of a step surface only when
  // the statement is reset or finalized, and the callers rely on that.
  int rc = sqlite3_prepare(db_, sql ? sql : "", -1, &stmt, &rest);
  if (rc != SQLITE_OK) throw SQLite3Exception(rc, nullptr);
  if (!stmt) throw SQLite3Exception(kWrapperErrorCode, "Null Virtual Machine pointer");  // no statement in the text
  return stmt;
}

}  // namespace brantel
