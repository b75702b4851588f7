#pragma once
// A compiled statement that can be bound and run many times. Moving the
// object moves the statement handle and leaves the source without one.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "cache/sqlite3_query.h"

namespace brantel {

class SQLite3Statement {
 public:
  SQLite3Statement() = default;
  // `sql` is kept so the statement can be compiled again when another
  // connection changed the schema since it was compiled.
  SQLite3Statement(sqlite3* db, sqlite3_stmt* stmt, std::string sql = {});
  SQLite3Statement(SQLite3Statement&& other) noexcept;
  SQLite3Statement& operator=(SQLite3Statement&& other);
  SQLite3Statement(const SQLite3Statement&) = delete;
  SQLite3Statement& operator=(const SQLite3Statement&) = delete;
  virtual ~SQLite3Statement();

  // Binds to a 1-based parameter. The statement keeps its own copy of the
  // text (reusing the parameter's buffer from the last bind), so the caller's
  // buffer may go at once.
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
  // Compiles the kept text again and binds the kept values; false when it
  // cannot, and the caller then reports the schema error.
  bool Recompile();

  sqlite3* db_ = nullptr;  // borrowed
  sqlite3_stmt* stmt_ = nullptr;
  std::string sql_;
  // Values by parameter index, sized once at construction: SQLite reads the
  // kept texts in place, so they must never move while bound.
  std::vector<std::variant<std::monostate, std::string, int32_t>> bound_;
};

}  // namespace brantel
