#pragma once
// One SQLite connection. Every failure is thrown as a SQLite3Exception;
// statement texts, paths and values are narrow device-code-page text.

#include "cache/sqlite3_query.h"
#include "cache/sqlite3_statement.h"

namespace brantel {

inline constexpr int kDefaultBusyTimeoutMs = 60000;

class SQLite3Database {
 public:
  SQLite3Database() = default;
  SQLite3Database(const SQLite3Database&) = delete;
  SQLite3Database& operator=(const SQLite3Database&) = delete;
  virtual ~SQLite3Database();

  // Opens (creating when missing) the file read-write and applies the busy
  // timeout.
  void Open(const char* path);
  void Close();
  bool IsOpen() const { return db_ != nullptr; }

  bool TableExists(const char* name);
  // The first column of the first row as a decimal integer.
  int ExecScalar(const char* sql);
  // Compiles the first statement of the text and steps once.
  SQLite3Query ExecQuery(const char* sql);
  SQLite3Statement CompileStatement(const char* sql);

  void SetBusyTimeout(int ms) { busy_timeout_ms_ = ms; }
  sqlite3* Handle() const { return db_; }

 private:
  sqlite3_stmt* Compile(const char* sql);

  sqlite3* db_ = nullptr;
  int busy_timeout_ms_ = kDefaultBusyTimeoutMs;
};

}  // namespace brantel
