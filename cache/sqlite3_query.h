#pragma once
// A forward-only cursor over the rows of one statement, handing out column
// values as narrow (device code page) text.
//
// A cursor made by SQLite3Database::ExecQuery owns its statement and
// finalizes it; one made by SQLite3Statement::ExecQuery only borrows it.
// Moving a cursor transfers the statement, the at-end flag, the column count
// and the ownership, and leaves the source without a statement.

struct sqlite3;
struct sqlite3_stmt;

namespace brantel {

class SQLite3Query {
 public:
  SQLite3Query() = default;
  SQLite3Query(sqlite3* db, sqlite3_stmt* stmt, bool at_end, bool owns_statement);
  SQLite3Query(SQLite3Query&& other) noexcept;
  // Finalizes this cursor's own statement first, then takes over the other's.
  SQLite3Query& operator=(SQLite3Query&& other);
  SQLite3Query(const SQLite3Query&) = delete;
  SQLite3Query& operator=(const SQLite3Query&) = delete;
  virtual ~SQLite3Query();

  bool Eof() const;
  int NumFields() const;
  // Steps to the next row; returns the SQLite step result.
  int NextRow();
  // Column value as text; a null column gives nullptr.
  const char* FieldValue(int index) const;
  const char* FieldValue(const char* name) const;
  int FieldIndex(const char* name) const;
  // Releases an owned statement; a borrowed one is left alone.
  void Finalize();

 private:
  void CheckStatement() const;

  sqlite3* db_ = nullptr;        // borrowed, for error texts
  sqlite3_stmt* stmt_ = nullptr;
  bool at_end_ = true;
  int columns_ = 0;
  bool owns_statement_ = false;
};

}  // namespace brantel
