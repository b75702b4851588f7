#pragma once
// The device registry, kept in one SQLite file (registry.db in the data
// folder) that both programs and brantel-reg share.
//
// Keys form a tree under the four roots; key names and value names compare
// without regard to ASCII letter case and keep the spelling they were first
// stored with. A value keeps its type number and its exact bytes (text is
// UTF-16LE as on the device). Names are UTF-8 here.
//
// The file is opened in WAL mode with a busy timeout, so several processes
// may read and write at once; within a process one connection serves every
// thread behind a lock. Every call returns a registry status code
// (ERROR_SUCCESS, ERROR_FILE_NOT_FOUND, ...).
//
// A file that is not a database, is damaged (cut short, overwritten) or is
// not a file at all is set aside as "registry.db.damaged-<UTC stamp>" and a
// new, empty registry starts in its place; this happens when it is opened
// and when a call finds damage later. A file this process may not write is
// opened for reading: reads work, writes fail with ERROR_ACCESS_DENIED. When
// another process has set the file aside (or it went away), the next call
// opens the file now at the path.

#include <sqlite3.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/registry_types.h"

namespace brantel {

// An open key. Ids are never reused, so a key that was deleted and made again
// is a different key, and writes through the stale id fail.
using RegKeyId = int64_t;

struct RegValue {
  std::string name;  // as stored; empty for the key's default value
  uint32_t type = REG_NONE;
  std::string data;  // the exact bytes
};

class RegistryStore {
 public:
  // The store of the current data folder, shared by the whole process. A
  // change of the data folder (tests point BRANTEL_HOME elsewhere) opens the
  // store of the new folder.
  static std::shared_ptr<RegistryStore> Shared();
  static std::string DefaultPath();

  explicit RegistryStore(std::string db_path);
  ~RegistryStore();
  RegistryStore(const RegistryStore&) = delete;
  RegistryStore& operator=(const RegistryStore&) = delete;

  const std::string& path() const { return path_; }
  // Whether the open file could only be opened for reading.
  bool read_only();

  // The id of a root key (roots always exist); 0 for an unknown root.
  static RegKeyId RootKey(RegRoot root);

  // Opens the key at `path` below `root`, creating every missing key along
  // it. `created` tells whether the last key was new.
  long CreateKey(RegRoot root, std::string_view path, RegKeyId* out, bool* created = nullptr);
  long OpenKey(RegRoot root, std::string_view path, RegKeyId* out);
  // Deletes the key with all its subkeys and values. Roots cannot be deleted.
  long DeleteKey(RegRoot root, std::string_view path);

  long SetValue(RegKeyId key, std::string_view name, uint32_t type, std::string_view data);
  long QueryValue(RegKeyId key, std::string_view name, RegValue* out);
  long DeleteValue(RegKeyId key, std::string_view name);

  // Subkey names and values in their stored spelling, ordered without regard
  // to letter case.
  long EnumSubkeys(RegKeyId key, std::vector<std::string>* names);
  long EnumValues(RegKeyId key, std::vector<RegValue>* values);
  // The key's path below its root in stored spelling ("SOFTWARE\BRANTEL").
  long KeyPath(RegKeyId key, std::string* path);

  // Runs `body` inside one write transaction: its changes are kept only when
  // it returns ERROR_SUCCESS (and the commit succeeds), else none of them.
  // Calls on this store from inside `body` join the transaction.
  long Transaction(const std::function<long()>& body);
  // Runs `body` on one consistent view of the registry, without taking the
  // write lock (an export, for example). `body` only reads.
  long ReadTransaction(const std::function<long()>& body);

  // Change marks for watchers: every write gives the changed key a new,
  // never repeated serial (`subtree`: also every key above a change). -1
  // when the key does not exist.
  long ChangeSerial(RegRoot root, std::string_view path, bool subtree, int64_t* serial);

  // SQLite's data version of this connection: it changes whenever another
  // connection (of this process or another one) commits a change.
  long DataVersion(int64_t* version);

 private:
  long EnsureOpen();
  long OpenFile();
  long OpenConnection(const std::string& name, int flags);
  bool SchemaComplete();
  bool FileReplaced() const;
  void CloseConnection();
  // After a failed call: when the file turns out damaged, it is set aside so
  // the next call starts a new one. Returns `result`.
  long CheckAfterFailure(long result);
  // Runs a read under the lock on the open file, then CheckAfterFailure.
  template <typename Fn>
  long Read(Fn&& read) {
    std::lock_guard lock(mutex_);
    if (long r = EnsureOpen(); r != ERROR_SUCCESS) return r;
    return CheckAfterFailure(read());
  }
  long RunTransaction(const std::function<long()>& body, const char* begin);
  long Resolve(RegRoot root, std::string_view path, bool create, RegKeyId* out, bool* created);
  bool KeyExists(RegKeyId key);
  int64_t NextSerial();
  bool MarkChanged(RegKeyId key, bool own_values);
  bool Exec(const char* sql);

  std::string path_;
  std::recursive_mutex mutex_;
  sqlite3* db_ = nullptr;
  bool read_only_ = false;
  // Device and inode of the opened file, to notice a file replaced under us.
  uint64_t file_device_ = 0;
  uint64_t file_inode_ = 0;
  int transaction_depth_ = 0;
};

}  // namespace brantel
