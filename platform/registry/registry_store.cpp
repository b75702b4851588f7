#include "platform/registry/registry_store.h"

#include <sys/stat.h>

#include <utility>

#include "platform/debug.h"
#include "platform/folders.h"
#include "platform/registry/damaged_file.h"
#include "platform/registry/sqlite_statement.h"

namespace brantel {

namespace {

// Long enough that a second process holding the write lock for a large
// import is waited for, short enough that a stuck one does not hang us.
constexpr int kBusyTimeoutMs = 30000;

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS reg_keys(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  parent INTEGER NOT NULL,
  name TEXT NOT NULL,
  folded TEXT NOT NULL,
  serial INTEGER NOT NULL DEFAULT 0,
  tree_serial INTEGER NOT NULL DEFAULT 0);
CREATE UNIQUE INDEX IF NOT EXISTS reg_keys_child ON reg_keys(parent, folded);
CREATE TABLE IF NOT EXISTS reg_values(
  key_id INTEGER NOT NULL,
  name TEXT NOT NULL,
  folded TEXT NOT NULL,
  type INTEGER NOT NULL,
  data BLOB NOT NULL,
  PRIMARY KEY(key_id, folded)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS reg_meta(name TEXT PRIMARY KEY, value INTEGER NOT NULL);
INSERT OR IGNORE INTO reg_meta(name, value) VALUES('change_counter', 0);
INSERT OR IGNORE INTO reg_keys(id, parent, name, folded) VALUES
  (1, 0, 'HKEY_CLASSES_ROOT', 'hkey_classes_root'),
  (2, 0, 'HKEY_CURRENT_USER', 'hkey_current_user'),
  (3, 0, 'HKEY_LOCAL_MACHINE', 'hkey_local_machine'),
  (4, 0, 'HKEY_USERS', 'hkey_users');
)sql";

// The result of opening a file found damaged; never returned to callers.
constexpr long kDamagedFile = -1;

// Whether the schema is all there, so opening needs no write.
constexpr const char* kSchemaComplete =
    "SELECT (SELECT count(*) FROM sqlite_master WHERE name IN "
    "('reg_keys', 'reg_keys_child', 'reg_values', 'reg_meta')) = 4 "
    "AND (SELECT count(*) FROM reg_keys WHERE id BETWEEN 1 AND 4 AND parent = 0) = 4 "
    "AND EXISTS(SELECT 1 FROM reg_meta WHERE name = 'change_counter')";

// Every key below `id`, itself included.
constexpr const char* kSubtree =
    "WITH RECURSIVE sub(id) AS (SELECT ?1 UNION ALL "
    "SELECT k.id FROM reg_keys k JOIN sub ON k.parent = sub.id) ";

// Length in UTF-16 code units of UTF-8 text, the unit the device's name
// limits count in.
size_t Utf16Length(std::string_view utf8) {
  size_t n = 0;
  for (unsigned char c : utf8) {
    if ((c & 0xC0) != 0x80) ++n;
    if (c >= 0xF0) ++n;  // needs a surrogate pair
  }
  return n;
}

// Splits a key path at "\", dropping empty pieces ("A\\B\" is "A", "B").
bool SplitKeyPath(std::string_view path, std::vector<std::string_view>* parts) {
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    std::string_view piece = path.substr(start, end - start);
    if (!piece.empty()) {
      if (Utf16Length(piece) > kMaxRegKeyNameLength || piece.find('\0') != std::string_view::npos) return false;
      parts->push_back(piece);
      if (parts->size() > kMaxRegKeyDepth) return false;
    }
    start = end + 1;
  }
  return true;
}

bool ValidValueName(std::string_view name) { return Utf16Length(name) <= kMaxRegValueNameLength; }

// SQLite's quick check over every page (the registry is small): SQLITE_ROW
// with "ok" in `verdict` for a sound file, else the code that stopped it.
int QuickCheck(sqlite3* db, std::string* verdict) {
  SqliteStatement st(db, "PRAGMA quick_check");
  const int rc = st.Step();
  if (rc == SQLITE_ROW) {
    *verdict = st.Text(0);
    return rc;
  }
  return sqlite3_errcode(db);
}

bool IsSound(int check_rc, const std::string& verdict) { return check_rc == SQLITE_ROW && verdict == "ok"; }

// What is at `path` now: damaged when it is not a file, or when a look of
// its own finds the database damaged.
bool RegistryFileDamaged(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return false;
  if (!S_ISREG(st.st_mode)) return true;
  return InspectDatabaseFile(path, true) == DatabaseFileState::kDamaged;
}

// The path as an SQLite URI path: characters with a meaning in a URI escaped.
std::string UriPath(const std::string& path) {
  std::string out;
  for (unsigned char c : path) {
    if (c == '%' || c == '?' || c == '#' || c < 0x20 || c >= 0x7F) {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      out += hex;
    } else {
      out += char(c);
    }
  }
  return out;
}

}  // namespace

std::string RegistryStore::DefaultPath() { return JoinPath(DataFolder(), "registry.db"); }

std::shared_ptr<RegistryStore> RegistryStore::Shared() {
  static std::mutex mutex;
  static std::shared_ptr<RegistryStore> shared;
  std::string path = DefaultPath();
  std::lock_guard lock(mutex);
  if (!shared || shared->path() != path) shared = std::make_shared<RegistryStore>(std::move(path));
  return shared;
}

RegistryStore::RegistryStore(std::string db_path) : path_(std::move(db_path)) {}

RegistryStore::~RegistryStore() {
  if (db_) sqlite3_close_v2(db_);
}

RegKeyId RegistryStore::RootKey(RegRoot root) {
  switch (root) {
    case HKEY_CLASSES_ROOT: return 1;
    case HKEY_CURRENT_USER: return 2;
    case HKEY_LOCAL_MACHINE: return 3;
    case HKEY_USERS: return 4;
    default: return 0;
  }
}

bool RegistryStore::Exec(const char* sql) { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

bool RegistryStore::read_only() {
  std::lock_guard lock(mutex_);
  return EnsureOpen() == ERROR_SUCCESS && read_only_;
}

void RegistryStore::CloseConnection() {
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
  read_only_ = false;
}

bool RegistryStore::FileReplaced() const {
  struct stat st {};
  if (stat(path_.c_str(), &st) != 0) {
    // Gone with its folder (a test's folder removed): keep what is open
    // rather than make the folder again.
    const size_t slash = path_.rfind('/');
    return slash != std::string::npos && DirectoryExists(path_.substr(0, slash == 0 ? 1 : slash));
  }
  return uint64_t(st.st_dev) != file_device_ || uint64_t(st.st_ino) != file_inode_;
}

long RegistryStore::EnsureOpen() {
  if (db_ && (transaction_depth_ > 0 || !FileReplaced())) return ERROR_SUCCESS;
  CloseConnection();
  long r = OpenFile();
  if (r != kDamagedFile) return r;
  SetAsideIfStillDamaged(path_, [this] { return RegistryFileDamaged(path_); }, "registry");
  r = OpenFile();
  return r == kDamagedFile ? ERROR_BADDB : r;
}

long RegistryStore::OpenFile() {
  CreateFoldersAlong(path_, true);
  struct stat st {};
  if (stat(path_.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return kDamagedFile;
  long r = OpenConnection(path_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  // In a folder this process may not write, SQLite cannot make the shared
  // memory file that reading a log-mode file needs; read the file as it is.
  if (r == ERROR_CANTOPEN && FileExists(path_))
    r = OpenConnection("file:" + UriPath(path_) + "?immutable=1", SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
  return r;
}

long RegistryStore::OpenConnection(const std::string& name, int flags) {
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(name.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_close_v2(db);
    return IsDamagedDatabaseCode(rc) ? kDamagedFile : ERROR_CANTOPEN;
  }
  sqlite3_busy_timeout(db, kBusyTimeoutMs);
  // Reading every page before anything is written finds a file that is not
  // a database, is cut short or was overwritten.
  std::string verdict;
  rc = QuickCheck(db, &verdict);
  if (!IsSound(rc, verdict)) {
    sqlite3_close_v2(db);
    return rc == SQLITE_ROW || IsDamagedDatabaseCode(rc) ? kDamagedFile : ERROR_CANTOPEN;
  }
  db_ = db;
  read_only_ = sqlite3_db_readonly(db_, "main") == 1;
  if (!read_only_) {
    // In WAL mode NORMAL keeps the file consistent on a crash and skips a sync
    // per commit (a power cut may lose the last few writes, never corrupt).
    Exec("PRAGMA journal_mode=WAL");
    Exec("PRAGMA synchronous=NORMAL");
  }
  if (!SchemaComplete()) {
    bool ok = !read_only_ && Exec("BEGIN IMMEDIATE");
    if (ok) {
      ok = Exec(kSchema);
      ok = Exec(ok ? "COMMIT" : "ROLLBACK") && ok;
    }
    if (!ok) {
      const long r = read_only_ ? ERROR_ACCESS_DENIED : ERROR_CANTOPEN;
      CloseConnection();
      return r;
    }
  }
  struct stat st {};
  if (stat(path_.c_str(), &st) == 0) {
    file_device_ = uint64_t(st.st_dev);
    file_inode_ = uint64_t(st.st_ino);
  }
  return ERROR_SUCCESS;
}

bool RegistryStore::SchemaComplete() {
  SqliteStatement st(db_, kSchemaComplete);
  return st.Step() == SQLITE_ROW && st.Int(0) == 1;
}

long RegistryStore::CheckAfterFailure(long result) {
  if (result != ERROR_BADDB && result != ERROR_CANTWRITE) return result;
  if (!db_ || transaction_depth_ > 0) return result;
  std::string verdict;
  const int rc = QuickCheck(db_, &verdict);
  if (IsSound(rc, verdict) || (rc != SQLITE_ROW && !IsDamagedDatabaseCode(rc))) return result;
  CloseConnection();
  SetAsideIfStillDamaged(path_, [this] { return RegistryFileDamaged(path_); }, "registry");
  return result;
}

long RegistryStore::Transaction(const std::function<long()>& body) { return RunTransaction(body, "BEGIN IMMEDIATE"); }

long RegistryStore::ReadTransaction(const std::function<long()>& body) { return RunTransaction(body, "BEGIN"); }

long RegistryStore::RunTransaction(const std::function<long()>& body, const char* begin) {
  std::lock_guard lock(mutex_);
  if (long r = EnsureOpen(); r != ERROR_SUCCESS) return r;
  if (transaction_depth_ > 0) {
    ++transaction_depth_;
    long r = body();
    --transaction_depth_;
    return r;
  }
  const bool writes = std::string_view(begin) != "BEGIN";
  if (writes && read_only_) return ERROR_ACCESS_DENIED;
  if (!Exec(begin)) return CheckAfterFailure(ERROR_CANTWRITE);
  ++transaction_depth_;
  long r = ERROR_CANTWRITE;
  try {
    r = body();
  } catch (...) {
    --transaction_depth_;
    Exec("ROLLBACK");
    throw;
  }
  --transaction_depth_;
  if (r == ERROR_SUCCESS) {
    if (Exec("COMMIT")) return ERROR_SUCCESS;
    r = ERROR_CANTWRITE;
  }
  Exec("ROLLBACK");
  return CheckAfterFailure(r);
}

bool RegistryStore::KeyExists(RegKeyId key) {
  SqliteStatement st(db_, "SELECT 1 FROM reg_keys WHERE id = ?");
  st.Bind(1, key);
  return st.Step() == SQLITE_ROW;
}

int64_t RegistryStore::NextSerial() {
  SqliteStatement up(db_, "UPDATE reg_meta SET value = value + 1 WHERE name = 'change_counter'");
  if (!up.Run()) return -1;
  SqliteStatement get(db_, "SELECT value FROM reg_meta WHERE name = 'change_counter'");
  return get.Step() == SQLITE_ROW ? get.Int(0) : -1;
}

bool RegistryStore::MarkChanged(RegKeyId key, bool own_values) {
  const int64_t serial = NextSerial();
  if (serial < 0) return false;
  if (own_values) {
    SqliteStatement st(db_, "UPDATE reg_keys SET serial = ?2 WHERE id = ?1");
    st.Bind(1, key);
    st.Bind(2, serial);
    if (!st.Run()) return false;
  }
  SqliteStatement up(db_,
                     "WITH RECURSIVE up(id) AS (SELECT ?1 UNION ALL "
                     "SELECT k.parent FROM reg_keys k JOIN up ON k.id = up.id WHERE k.parent <> 0) "
                     "UPDATE reg_keys SET tree_serial = ?2 WHERE id IN up");
  up.Bind(1, key);
  up.Bind(2, serial);
  return up.Run();
}

long RegistryStore::Resolve(RegRoot root, std::string_view path, bool create, RegKeyId* out, bool* created) {
  if (created) *created = false;
  RegKeyId id = RootKey(root);
  if (id == 0) return ERROR_INVALID_HANDLE;
  std::vector<std::string_view> parts;
  if (!SplitKeyPath(path, &parts)) return ERROR_INVALID_PARAMETER;
  for (std::string_view part : parts) {
    const std::string folded = FoldRegName(part);
    SqliteStatement find(db_, "SELECT id FROM reg_keys WHERE parent = ? AND folded = ?");
    find.Bind(1, id);
    find.Bind(2, folded);
    const int rc = find.Step();
    if (rc == SQLITE_ROW) {
      id = find.Int(0);
      continue;
    }
    if (rc != SQLITE_DONE) return ERROR_BADDB;
    if (!create) return ERROR_FILE_NOT_FOUND;
    const int64_t serial = NextSerial();
    SqliteStatement add(db_, "INSERT INTO reg_keys(parent, name, folded, serial, tree_serial) VALUES(?, ?, ?, ?, ?)");
    add.Bind(1, id);
    add.Bind(2, part);
    add.Bind(3, folded);
    add.Bind(4, serial);
    add.Bind(5, serial);
    if (serial < 0 || !add.Run()) return ERROR_CANTWRITE;
    const RegKeyId parent = id;
    id = sqlite3_last_insert_rowid(db_);
    if (!MarkChanged(parent, false)) return ERROR_CANTWRITE;
    if (created) *created = true;
  }
  *out = id;
  return ERROR_SUCCESS;
}

long RegistryStore::CreateKey(RegRoot root, std::string_view path, RegKeyId* out, bool* created) {
  RegKeyId id = 0;
  long r = Transaction([&] { return Resolve(root, path, true, &id, created); });
  // A registry open for reading still opens a key that is there, as the
  // device's create call does for an existing key.
  if (r == ERROR_ACCESS_DENIED) {
    r = OpenKey(root, path, &id);
    if (r == ERROR_FILE_NOT_FOUND) r = ERROR_ACCESS_DENIED;
    if (created) *created = false;
  }
  if (r == ERROR_SUCCESS) *out = id;
  return r;
}

long RegistryStore::OpenKey(RegRoot root, std::string_view path, RegKeyId* out) {
  return Read([&]() -> long {
    return Resolve(root, path, false, out, nullptr);
  });
}

long RegistryStore::DeleteKey(RegRoot root, std::string_view path) {
  return Transaction([&]() -> long {
    RegKeyId id = 0;
    if (long r = Resolve(root, path, false, &id, nullptr); r != ERROR_SUCCESS) return r;
    SqliteStatement parent(db_, "SELECT parent FROM reg_keys WHERE id = ?");
    parent.Bind(1, id);
    if (parent.Step() != SQLITE_ROW) return ERROR_BADDB;
    const RegKeyId parent_id = parent.Int(0);
    if (parent_id == 0) return ERROR_ACCESS_DENIED;  // a root
    SqliteStatement values(db_, std::string(kSubtree) + "DELETE FROM reg_values WHERE key_id IN sub");
    values.Bind(1, id);
    SqliteStatement keys(db_, std::string(kSubtree) + "DELETE FROM reg_keys WHERE id IN sub");
    keys.Bind(1, id);
    if (!values.Run() || !keys.Run() || !MarkChanged(parent_id, false)) return ERROR_CANTWRITE;
    return ERROR_SUCCESS;
  });
}

long RegistryStore::SetValue(RegKeyId key, std::string_view name, uint32_t type, std::string_view data) {
  if (!ValidValueName(name) || data.size() > kMaxRegValueBytes) return ERROR_INVALID_PARAMETER;
  return Transaction([&]() -> long {
    if (!KeyExists(key)) return ERROR_KEY_DELETED;
    SqliteStatement st(db_,
                       "INSERT INTO reg_values(key_id, name, folded, type, data) VALUES(?, ?, ?, ?, ?) "
                       "ON CONFLICT(key_id, folded) DO UPDATE SET type = excluded.type, data = excluded.data");
    st.Bind(1, key);
    st.Bind(2, name);
    st.Bind(3, FoldRegName(name));
    st.Bind(4, int64_t(type));
    st.BindBlob(5, data);
    if (!st.Run() || !MarkChanged(key, true)) return ERROR_CANTWRITE;
    return ERROR_SUCCESS;
  });
}

long RegistryStore::QueryValue(RegKeyId key, std::string_view name, RegValue* out) {
  return Read([&]() -> long {
    SqliteStatement st(db_, "SELECT name, type, data FROM reg_values WHERE key_id = ? AND folded = ?");
    st.Bind(1, key);
    st.Bind(2, FoldRegName(name));
    const int rc = st.Step();
    if (rc == SQLITE_ROW) {
      out->name = st.Text(0);
      out->type = uint32_t(st.Int(1));
      out->data = st.Blob(2);
      return ERROR_SUCCESS;
    }
    if (rc != SQLITE_DONE) return ERROR_BADDB;
    return KeyExists(key) ? ERROR_FILE_NOT_FOUND : ERROR_KEY_DELETED;
  });
}

long RegistryStore::DeleteValue(RegKeyId key, std::string_view name) {
  return Transaction([&]() -> long {
    if (!KeyExists(key)) return ERROR_KEY_DELETED;
    SqliteStatement st(db_, "DELETE FROM reg_values WHERE key_id = ? AND folded = ?");
    st.Bind(1, key);
    st.Bind(2, FoldRegName(name));
    if (!st.Run()) return ERROR_CANTWRITE;
    if (sqlite3_changes(db_) == 0) return ERROR_FILE_NOT_FOUND;
    return MarkChanged(key, true) ? ERROR_SUCCESS : ERROR_CANTWRITE;
  });
}

long RegistryStore::EnumSubkeys(RegKeyId key, std::vector<std::string>* names) {
  return Read([&]() -> long {
    if (!KeyExists(key)) return ERROR_KEY_DELETED;
    SqliteStatement st(db_, "SELECT name FROM reg_keys WHERE parent = ? ORDER BY folded");
    st.Bind(1, key);
    names->clear();
    int rc;
    while ((rc = st.Step()) == SQLITE_ROW) names->push_back(st.Text(0));
    return rc == SQLITE_DONE ? ERROR_SUCCESS : ERROR_BADDB;
  });
}

long RegistryStore::EnumValues(RegKeyId key, std::vector<RegValue>* values) {
  return Read([&]() -> long {
    if (!KeyExists(key)) return ERROR_KEY_DELETED;
    SqliteStatement st(db_, "SELECT name, type, data FROM reg_values WHERE key_id = ? ORDER BY folded");
    st.Bind(1, key);
    values->clear();
    int rc;
    while ((rc = st.Step()) == SQLITE_ROW) values->push_back(RegValue{st.Text(0), uint32_t(st.Int(1)), st.Blob(2)});
    return rc == SQLITE_DONE ? ERROR_SUCCESS : ERROR_BADDB;
  });
}

long RegistryStore::KeyPath(RegKeyId key, std::string* path) {
  return Read([&]() -> long {
    if (!KeyExists(key)) return ERROR_KEY_DELETED;
    SqliteStatement st(db_,
                       "WITH RECURSIVE up(id, parent, name, depth) AS ("
                       "SELECT id, parent, name, 0 FROM reg_keys WHERE id = ?1 UNION ALL "
                       "SELECT k.id, k.parent, k.name, up.depth + 1 FROM reg_keys k JOIN up ON k.id = up.parent) "
                       "SELECT name FROM up WHERE parent <> 0 ORDER BY depth DESC");
    st.Bind(1, key);
    path->clear();
    int rc;
    while ((rc = st.Step()) == SQLITE_ROW) {
      if (!path->empty()) *path += '\\';
      *path += st.Text(0);
    }
    return rc == SQLITE_DONE ? ERROR_SUCCESS : ERROR_BADDB;
  });
}

long RegistryStore::ChangeSerial(RegRoot root, std::string_view path, bool subtree, int64_t* serial) {
  return Read([&]() -> long {
    RegKeyId id = 0;
    const long r = Resolve(root, path, false, &id, nullptr);
    if (r == ERROR_FILE_NOT_FOUND) {
      *serial = -1;
      return ERROR_SUCCESS;
    }
    if (r != ERROR_SUCCESS) return r;
    SqliteStatement st(db_, subtree ? "SELECT tree_serial FROM reg_keys WHERE id = ?"
                                    : "SELECT serial FROM reg_keys WHERE id = ?");
    st.Bind(1, id);
    if (st.Step() != SQLITE_ROW) return ERROR_BADDB;
    *serial = st.Int(0);
    return ERROR_SUCCESS;
  });
}

long RegistryStore::DataVersion(int64_t* version) {
  return Read([&]() -> long {
    SqliteStatement st(db_, "PRAGMA data_version");
    if (st.Step() != SQLITE_ROW) return ERROR_BADDB;
    *version = st.Int(0);
    return ERROR_SUCCESS;
  });
}

}  // namespace brantel
