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

std::string UtcStamp() {
  std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday,
                utc.tm_hour, utc.tm_min, utc.tm_sec);
  return text;
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

bool IsDamagedDatabaseCode(int code) {
  int primary = code & 0xFF;
  return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

std::string SetDamagedDatabaseAside(const std::string& path) {
  std::string base = path + ".damaged-" + UtcStamp();
  std::string aside = base;
  for (int n = 2; FileExists(aside) && n < 1000; ++n) aside = base + "-" + std::to_string(n);
  if (std::rename(path.c_str(), aside.c_str()) != 0) {
    DebugOutput(std::string_view("cache: damaged database " + path + " could not be moved aside\n"));
    return {};
  }
  // A journal belongs to the damaged file; it must not be replayed into the new one.
  for (const char* suffix : {"-journal", "-wal", "-shm"}) {
    std::string side = path + suffix;
    if (FileExists(side)) std::rename(side.c_str(), (aside + suffix).c_str());
  }
  DebugOutput(std::string_view("cache: " + path + " was damaged or not a database; moved aside to " + aside +
                               ", starting a new one\n"));
  return aside;
}

int CacheBusyTimeoutMs() { return g_busy_timeout_ms.load(); }
void SetCacheBusyTimeoutForTesting(int ms) { g_busy_timeout_ms.store(ms > 0 ? ms : kDefaultBusyTimeoutMs); }

CacheConnection::CacheConnection() : path_(BuildDatabasePath()) {}

SQLite3Database& CacheConnection::Open() {
  db_.SetBusyTimeout(CacheBusyTimeoutMs());
  db_.Open(path_.c_str());
  try {
    // Reading the schema is what finds a file that is not a database.
    db_.ExecScalar("SELECT count(*) FROM sqlite_master");
  } catch (const SQLite3Exception& e) {
    if (!IsDamagedDatabaseCode(e.ErrorCode())) throw;
    ReportCacheError(e);
    db_.Close();
    if (SetDamagedDatabaseAside(path_).empty()) throw;
    db_.Open(path_.c_str());
  }
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
  if (IsDamagedDatabaseCode(e.ErrorCode())) SetDamagedDatabaseAside(path_);
  return CACHE_DB_ERROR;
}

}  // namespace brantel
