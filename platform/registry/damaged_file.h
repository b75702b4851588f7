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
// is at the path by then.

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
// nothing was moved. `who` starts the debug line ("registry", "cache").
std::string SetAsideIfStillDamaged(const std::string& path, const std::function<bool()>& still_damaged,
                                   const char* who);

}  // namespace brantel
