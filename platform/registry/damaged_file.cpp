#include "platform/registry/damaged_file.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>

#include "platform/debug.h"

namespace brantel {

namespace {

constexpr int kInspectBusyTimeoutMs = 2000;

std::string UtcStamp() {
  std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday,
                utc.tm_hour, utc.tm_min, utc.tm_sec);
  return text;
}

bool Exists(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

constexpr int kSetAsideLockWaitMs = 3000;
constexpr int kSetAsideLockPollMs = 5;

int OpenFolder(const std::string& folder) { return open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }

int LockBlocking(int fd, int how) {
  int rc;
  while ((rc = flock(fd, how)) != 0 && errno == EINTR) {
  }
  return rc;
}

// An exclusive lock on the folder that holds the file, for as long as it
// lives. flock locks of separate opens conflict, between threads too. The
// wait is bounded: a connection of this very thread may hold the lock shared.
class FolderLock {
 public:
  explicit FolderLock(const std::string& folder) : fd_(OpenFolder(folder)) {
    if (fd_ < 0) return;
    for (int waited = 0; flock(fd_, LOCK_EX | LOCK_NB) != 0; waited += kSetAsideLockPollMs) {
      if ((errno != EWOULDBLOCK && errno != EINTR) || waited >= kSetAsideLockWaitMs) {
        close(fd_);
        fd_ = -1;
        taken_ = false;
        return;
      }
      usleep(kSetAsideLockPollMs * 1000);
    }
  }
  ~FolderLock() {
    if (fd_ >= 0) close(fd_);  // releases the lock
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  // False only when the folder opened but its lock stayed taken.
  bool taken() const { return taken_; }

 private:
  int fd_;
  bool taken_ = true;
};

// One statement's first row as text; the SQLite code of the step otherwise.
int FirstText(sqlite3* db, const char* sql, std::string* text) {
  sqlite3_stmt* st = nullptr;
  int rc = sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
  if (rc == SQLITE_OK) {
    rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) {
      const auto* v = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
      *text = v ? v : "";
    }
  }
  sqlite3_finalize(st);
  return rc;
}

DatabaseFileState StateOf(int rc) {
  return IsDamagedDatabaseCode(rc) ? DatabaseFileState::kDamaged : DatabaseFileState::kUnreadable;
}

}  // namespace

bool IsDamagedDatabaseCode(int code) {
  const int primary = code & 0xFF;
  return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

DatabaseFileState InspectDatabaseFile(const std::string& path, bool thorough) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return DatabaseFileState::kSound;
  if (!S_ISREG(st.st_mode)) return DatabaseFileState::kUnreadable;
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
  DatabaseFileState state = DatabaseFileState::kSound;
  if (rc != SQLITE_OK) {
    state = StateOf(rc);
  } else {
    sqlite3_busy_timeout(db, kInspectBusyTimeoutMs);
    std::string text;
    rc = FirstText(db, "SELECT count(*) FROM sqlite_master", &text);
    if (rc != SQLITE_ROW) {
      state = StateOf(rc);
    } else if (thorough) {
      rc = FirstText(db, "PRAGMA quick_check", &text);
      if (rc != SQLITE_ROW) {
        state = StateOf(rc);
      } else if (text != "ok") {
        state = DatabaseFileState::kDamaged;
      }
    }
  }
  sqlite3_close_v2(db);
  return state;
}

std::string SetAsideIfStillDamaged(const std::string& path, const std::function<bool()>& still_damaged,
                                   const char* who) {
  FolderLock lock(FolderOf(path));
  if (!lock.taken()) {
    DebugOutput(std::string_view(std::string(who) + ": " + path + " is in use; not set aside this time\n"));
    return {};
  }
  if (!Exists(path) || !still_damaged()) return {};
  const std::string base = path + ".damaged-" + UtcStamp();
  std::string aside = base;
  for (int n = 2; Exists(aside) && n < 1000; ++n) aside = base + "-" + std::to_string(n);
  // The side files go first: a journal or log left beside a new file of the
  // same name would be replayed into it.
  for (const char* suffix : {"-journal", "-wal", "-shm"}) {
    const std::string side = path + suffix;
    if (Exists(side)) std::rename(side.c_str(), (aside + suffix).c_str());
  }
  if (std::rename(path.c_str(), aside.c_str()) != 0) {
    DebugOutput(std::string_view(std::string(who) + ": damaged file " + path + " could not be moved aside\n"));
    return {};
  }
  DebugOutput(std::string_view(std::string(who) + ": " + path + " was damaged or not a database; moved aside to " +
                               aside + ", starting a new one\n"));
  return aside;
}

FileInUseLock::FileInUseLock(const std::string& path) : fd_(OpenFolder(FolderOf(path))) {
  // Without the folder (or its lock) the open goes on unguarded: the open
  // itself reports what is wrong with the folder.
  if (fd_ >= 0 && LockBlocking(fd_, LOCK_SH) != 0) Release();
}

void FileInUseLock::Release() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

}  // namespace brantel
