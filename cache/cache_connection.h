#pragma once
// Connection-level steps shared by the cache operations, and the frame every
// operation runs in: one connection per operation, errors caught, reported
// to the debug output and turned into CACHE_DB_ERROR.

#include <optional>
#include <string>

#include "cache/cache_results.h"
#include "cache/sqlite3_database.h"
#include "cache/sqlite3_exception.h"
#include "platform/registry/damaged_file.h"

namespace brantel {

// Each runs its statement text on the given connection; none does nothing.
void ApplyPragmas(SQLite3Database* db);
void BeginTransaction(SQLite3Database* db);
void CommitTransaction(SQLite3Database* db);
void RollbackTransaction(SQLite3Database* db);

// Composes "sqlite error: %d = %s\n" and writes it to the debug output.
void ReportCacheError(const SQLite3Exception& e);

// Renames a damaged cache file (and its journal) aside, never deleting it,
// so the next open starts a new one. Returns the new name, or "" when the
// file was not moved (it could not be, or by now it is sound: another
// connection has already started a new one).
std::string SetDamagedDatabaseAside(const std::string& path);

// Whether the last attempt to open the cache file failed although the file
// is not damaged: a folder in its place, or permission refused. Nothing can
// be read or stored then; the first such failure of a run (and the first
// after the file opened again) writes one line to the debug output. A
// successful open clears it.
bool CacheCannotBeOpened();

// Busy timeout of the cache connections (60000 ms); tests shorten it.
int CacheBusyTimeoutMs();
void SetCacheBusyTimeoutForTesting(int ms);

// One operation's connection. Open() opens the cache file, and when the file
// is not a database or is damaged sets it aside and opens a new one. The
// connection holds the file in use (FileInUseLock) until it closes.
class CacheConnection {
 public:
  CacheConnection();
  bool HasPath() const { return !path_.empty(); }
  const std::string& Path() const { return path_; }

  SQLite3Database& Open();

  // ApplyPragmas (when asked) then BEGIN; the caught-error path rolls back.
  void Begin(bool with_pragmas = true);
  void Commit();

  // The outer catch of an operation: reports, rolls back an open
  // transaction, closes, sets a damaged file aside; returns CACHE_DB_ERROR.
  int Fail(const SQLite3Exception& e);

 private:
  std::string path_;
  // Declared before db_, so it is released after the connection closes.
  std::optional<FileInUseLock> in_use_;
  SQLite3Database db_;
  bool in_transaction_ = false;
};

// The frame of one operation: CACHE_NOTHING when the cache has no path, else
// what `work(conn, db)` returns on a freshly opened connection, a database
// error thrown on the way going through Fail.
template <typename Work>
int RunCacheOperation(Work&& work) {
  CacheConnection conn;
  if (!conn.HasPath()) return CACHE_NOTHING;
  try {
    SQLite3Database& db = conn.Open();
    return work(conn, db);
  } catch (const SQLite3Exception& e) {
    return conn.Fail(e);
  }
}

}  // namespace brantel
