#pragma once
// What a robustness run asks of the viewer's cache file after the viewer has
// gone: SQLite's own integrity check, and how many rows a table keeps.

#include <sqlite3.h>

#include <string>

namespace brantel::testing {

// "ok" for a sound file; SQLite's findings, or why it could not be opened.
// Opened for writing, as the viewer's next start opens it, so the journal of
// a transaction cut short by a kill is rolled back first.
inline std::string CacheIntegrity(const std::string& path) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return "cannot open " + path;
  }
  std::string out;
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr) != SQLITE_OK) {
    out = sqlite3_errmsg(db);
  } else {
    while (sqlite3_step(st) == SQLITE_ROW) {
      if (!out.empty()) out += "\n";
      out += reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    }
    if (out.empty()) out = sqlite3_errmsg(db);
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
  return out;
}

// Rows of `table` (-1 when the file or the table cannot be read).
inline int CacheRowCount(const std::string& path, const std::string& table) {
  sqlite3* db = nullptr;
  int count = -1;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, ("SELECT COUNT(*) FROM " + table).c_str(), -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
      count = sqlite3_column_int(st, 0);
    sqlite3_finalize(st);
  }
  sqlite3_close(db);
  return count;
}

}  // namespace brantel::testing
