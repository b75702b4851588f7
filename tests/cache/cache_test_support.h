#pragma once
// Helpers shared by the cache tests: records, direct looks into the cache
// file with plain SQLite, and a capture of the debug output.

#include <sqlite3.h>

#include <mutex>
#include <string>
#include <vector>

#include "cache/database_path.h"
#include "platform/debug.h"
#include "protocol/records.h"

namespace brantel::testing {

inline StockRecord MakeRecord(const std::string& code, int gubun, const std::string& name = "name",
                              const std::string& price = "100", const std::string& item = "0") {
  StockRecord r;
  r.gubun = gubun;
  r.code = Widen(code);
  r.item = Widen(item);
  r.codename = Widen(name);
  r.current_price = Widen(price);
  r.daebi = u"-5";
  r.rate = u"-0.5";
  r.date = u"20261207";
  r.time = u"1030";
  return r;
}

// Rows of a query on the cache file, each row's columns joined by "|".
inline std::vector<std::string> QueryRows(const std::string& sql) {
  std::vector<std::string> rows;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(BuildDatabasePath().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return rows;
  }
  sqlite3_busy_timeout(db, 10000);
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK) {
    while (sqlite3_step(st) == SQLITE_ROW) {
      std::string row;
      for (int i = 0; i < sqlite3_column_count(st); ++i) {
        if (i) row += '|';
        const unsigned char* v = sqlite3_column_text(st, i);
        row += v ? reinterpret_cast<const char*>(v) : "<null>";
      }
      rows.push_back(row);
    }
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
  return rows;
}

inline std::string QueryOne(const std::string& sql) {
  auto rows = QueryRows(sql);
  return rows.empty() ? std::string("<none>") : rows.front();
}

// Collects the debug output while alive.
class DebugCapture {
 public:
  DebugCapture() {
    Text().clear();
    SetDebugSinkForTesting(&Sink);
  }
  ~DebugCapture() { SetDebugSinkForTesting(nullptr); }
  std::string Output() const {
    std::lock_guard lock(Mutex());
    return Text();
  }

 private:
  static std::string& Text() {
    static std::string text;
    return text;
  }
  static std::mutex& Mutex() {
    static std::mutex m;
    return m;
  }
  static void Sink(std::string_view utf8) {
    std::lock_guard lock(Mutex());
    Text() += utf8;
  }
};

}  // namespace brantel::testing
