#include "cache/cache_connection.h"

#include <sqlite3.h>

#include <atomic>
#include <cstdio>
#include <ctime>

#include "cache/cache_results.h"
#include "cache/database_path.h"
#include "cache/sql_text.h"
#include "platform/debug.h"
#include "platform/folders.h"

namespace brantel {

namespace {

std::atomic<int> g_busy_timeout_ms{kDefaultBusyTimeoutMs};

void RunConnectionStep(SQLite3Database* db, const char* text) {
  if (!db) return;
  std::string sql = FormatSql(512, "%s", text);
  SQLite3Query discarded = db->ExecQuery(sql.c_str());
}

std::atomic<bool> g_cannot_open{false};

// A failure to open that says nothing about the file's content.
bool IsCannotOpenCode(int code) {
  const int primary = code & 0xFF;
  return primary == SQLITE_CANTOPEN || primary == SQLITE_PERM || primary == SQLITE_AUTH;
}

void NoteCannotOpen(const std::string& path, const SQLite3Exception& e) {
  if (g_cannot_open.exchange(true)) return;
  DebugOutput(std::string_view("cache: " + path + " cannot be opened (" + e.ErrorMessage() +
                               "): nothing is read from or stored in the cache until it can\n"));
}

}  // namespace

void ApplyPragmas(SQLite3Database* db) {
  // The wrapper compiles only the first statement of a text, so the three
  // settings are run one by one.
  RunConnectionStep(db, "PRAGMA synchronous=OFF;");
  RunConnectionStep(db, "PRAGMA count_changes=OFF;");
  RunConnectionStep(db, "PRAGMA temp_store=memory;");
}

void BeginTransaction(SQLite3Database* db) { RunConnectionStep(db, "BEGIN;"); }
void CommitTransaction(SQLite3Database* db) { RunConnectionStep(db, "COMMIT;"); }
void RollbackTransaction(SQLite3Database* db) { RunConnectionStep(db, "ROLLBACK;"); }

void ReportCacheError(const SQLite3Exception& e) {
  char text[1024];
  std::snprintf(text, sizeof text, "sqlite error: %d = %s\n", e.ErrorCode(), e.ErrorMessage());
  DebugOutput(std::string_view(text));
}

std::string SetDamagedDatabaseAside(const std::string& path) {
  return SetAsideIfStillDamaged(
      path, [&] { return InspectDatabaseFile(path, true) == DatabaseFileState::kDamaged; }, "cache");
}

bool CacheCannotBeOpened() { return g_cannot_open.load(); }

int CacheBusyTimeoutMs() { return g_busy_timeout_ms.load(); }
void SetCacheBusyTimeoutForTesting(int ms) { g_busy_timeout_ms.store(ms > 0 ? ms : kDefaultBusyTimeoutMs); }

CacheConnection::CacheConnection() : path_(BuildDatabasePath()) {}

SQLite3Database& CacheConnection::Open() {
  db_.SetBusyTimeout(CacheBusyTimeoutMs());
  in_use_.emplace(path_);
  try {
    try {
      db_.Open(path_.c_str());
      // Reading the schema is what finds a file that is not a database.
      db_.ExecScalar("SELECT count(*) FROM sqlite_master");
    } catch (const SQLite3Exception& e) {
      if (!IsDamagedDatabaseCode(e.ErrorCode())) throw;
      ReportCacheError(e);
      db_.Close();
      in_use_.reset();
      // Another connection may have set it aside and started a new file
      // meanwhile; the file at the path is opened either way.
      SetDamagedDatabaseAside(path_);
      in_use_.emplace(path_);
      db_.Open(path_.c_str());
      db_.ExecScalar("SELECT count(*) FROM sqlite_master");
    }
  } catch (const SQLite3Exception& e) {
    if (IsCannotOpenCode(e.ErrorCode())) NoteCannotOpen(path_, e);
    throw;
  }
  g_cannot_open.store(false);
  return db_;
}

void CacheConnection::Begin(bool with_pragmas) {
  if (with_pragmas) ApplyPragmas(&db_);
  BeginTransaction(&db_);
  in_transaction_ = true;
}

void CacheConnection::Commit() {
  CommitTransaction(&db_);
  in_transaction_ = false;
}

int CacheConnection::Fail(const SQLite3Exception& e) {
  ReportCacheError(e);
  if (in_transaction_ && db_.IsOpen()) {
    try {
      RollbackTransaction(&db_);
    } catch (const SQLite3Exception&) {
      // A failed COMMIT may already have ended the transaction.
    }
  }
  in_transaction_ = false;
  db_.Close();
  in_use_.reset();
  if (IsDamagedDatabaseCode(e.ErrorCode())) SetDamagedDatabaseAside(path_);
  return CACHE_DB_ERROR;
}

}  // namespace brantel
