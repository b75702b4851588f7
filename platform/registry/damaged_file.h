#pragma once
// Setting a damaged SQLite file aside, shared by the registry and the cache.
//
// The file and its side files (-journal, -wal, -shm) are renamed to
// "<path>.damaged-<UTC yyyymmddHHMMSS>" (with "-2", "-3", ... when that name
// is taken), never deleted, so the next open starts a new file and the old
// one stays for a developer to look at.
//
// Several processes and threads open the same file. Each may find it damaged
// at the same moment, but only one may set it aside, and a new, sound file
// that another one has just started must never be taken for the damaged one.
// So the decision is made again under a lock on the folder, on whatever file
// is at the path by then. Short-lived connections (the cache's) also hold the
// folder's lock shared while they use the file, so no file is renamed away
// under them: a connection left on a renamed file would take the new file's
// journal for a hot one of its own, replay it into the old file and delete it.

#include <functional>
#include <string>

namespace brantel {

// Whether an SQLite result code says the file is not a database or is damaged.
bool IsDamagedDatabaseCode(int code);

// What a look at a file with its own read-only connection found.
enum class DatabaseFileState {
  kSound,       // readable (also: missing, or an empty file)
  kDamaged,     // not a database, or damaged
  kUnreadable,  // cannot be opened or read (permission, busy): not known to be damaged
};

// `thorough` also runs SQLite's quick check over every page (fine for small
// files such as the registry); otherwise only the schema is read. Something
// that is not a regular file counts as unreadable.
DatabaseFileState InspectDatabaseFile(const std::string& path, bool thorough);

// Under the folder's lock, asks `still_damaged` about what is at `path` now
// and, when it says yes, sets the file aside. Returns the new name, "" when
// nothing was moved (also when the lock stayed taken for a few seconds: a
// later open tries again). `who` starts the debug line ("registry", "cache").
std::string SetAsideIfStillDamaged(const std::string& path, const std::function<bool()>& still_damaged,
                                   const char* who);

// The folder's lock taken shared, from before a connection opens the file at
// `path` until it has closed it. Waits while a set-aside is under way.
class FileInUseLock {
 public:
  explicit FileInUseLock(const std::string& path);
  ~FileInUseLock() { Release(); }
  FileInUseLock(const FileInUseLock&) = delete;
  FileInUseLock& operator=(const FileInUseLock&) = delete;

  void Release();

 private:
  int fd_;
};

}  // namespace brantel
