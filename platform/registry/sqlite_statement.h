#pragma once
// A prepared SQLite statement that finalizes itself; used by the registry
// store and its watcher, which keep their SQL short and local.

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace brantel {

class SqliteStatement {
 public:
  SqliteStatement(sqlite3* db, std::string_view sql) {
    if (sqlite3_prepare_v2(db, sql.data(), int(sql.size()), &stmt_, nullptr) != SQLITE_OK) stmt_ = nullptr;
  }
  ~SqliteStatement() { sqlite3_finalize(stmt_); }
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;

  bool ok() const { return stmt_ != nullptr; }

  void Bind(int index, int64_t v) { sqlite3_bind_int64(stmt_, index, v); }
  void Bind(int index, std::string_view text) {
    sqlite3_bind_text(stmt_, index, text.data() ? text.data() : "", int(text.size()), SQLITE_TRANSIENT);
  }
  // A zero-length blob must still be bound with a non-null pointer, or
  // SQLite stores NULL instead of an empty value.
  void BindBlob(int index, std::string_view bytes) {
    sqlite3_bind_blob(stmt_, index, bytes.data() ? bytes.data() : "", int(bytes.size()), SQLITE_TRANSIENT);
  }

  // SQLITE_ROW, SQLITE_DONE or an error code.
  int Step() { return stmt_ ? sqlite3_step(stmt_) : SQLITE_MISUSE; }
  // True when the statement ran to completion.
  bool Run() { return Step() == SQLITE_DONE; }

  int64_t Int(int col) const { return sqlite3_column_int64(stmt_, col); }
  std::string Text(int col) const {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, col));
    return p ? std::string(p, size_t(sqlite3_column_bytes(stmt_, col))) : std::string();
  }
  std::string Blob(int col) const {
    const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt_, col));
    return p ? std::string(p, size_t(sqlite3_column_bytes(stmt_, col))) : std::string();
  }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace brantel
