#pragma once
// A compiled statement that can be bound and run many times. Moving the
// object moves the statement handle and leaves the source without one.

#include <cstdint>

#include "cache/sqlite3_query.h"

namespace brantel {

class SQLite3Statement {
 public:
  SQLite3Statement() = default;
  SQLite3Statement(sqlite3* db, sqlite3_stmt* stmt) : db_(db), stmt_(stmt) {}
  SQLite3Statement(SQLite3Statement&& other) noexcept;
  SQLite3Statement& operator=(SQLite3Statement&& other);
  SQLite3Statement(const SQLite3Statement&) = delete;
  SQLite3Statement& operator=(const SQLite3Statement&) = delete;
  virtual ~SQLite3Statement();

  // Binds to a 1-based parameter; SQLite keeps its own copy of the text.
  void Bind(int index, const char* text);
  void Bind(int index, int32_t value);
  // Runs a data statement; returns the number of changed rows. The statement
  // is reset afterwards (its bindings stay) so it can run again.
  int ExecDML();
  // Runs a query; the cursor borrows this statement. The statement is reset
  // first, so every query starts at its first row.
  SQLite3Query ExecQuery();
  // Rewinds a statement that a borrowed cursor left in the middle of its rows.
  void Reset();
  void Finalize();

 private:
  void CheckReady() const;

  sqlite3* db_ = nullptr;  // borrowed
  sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace brantel
