// A damaged registry file is set aside and a new one starts; a registry this
// process may not write is read; the file set aside by one process is
// followed by the others.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "platform/registry/damaged_file.h"
#include "platform/registry/registry_store.h"
#include "tests/support/registry_test_support.h"

namespace brantel {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDataFolder;
using testing::WriteFile;

constexpr const char* kKey = "SOFTWARE\\BRANTEL\\BrantelStock";
const std::string kOne("\1\0\0\0", 4);

std::vector<std::string> DamagedCopies(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) {
    const std::string name = e.path().filename().string();
    const bool side = name.ends_with("-wal") || name.ends_with("-shm") || name.ends_with("-journal");
    if (name.rfind("registry.db.damaged-", 0) == 0 && !side) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

// A registry with enough values that cutting it in half loses pages.
void FillRegistry(const std::string& path) {
  RegistryStore store(path);
  RegKeyId key = 0;
  ASSERT_EQ(store.CreateKey(HKEY_LOCAL_MACHINE, kKey, &key), ERROR_SUCCESS);
  ASSERT_EQ(store.Transaction([&] {
    for (int i = 0; i < 300; ++i) {
      std::string name = "v";
      name += std::to_string(i);
      if (store.SetValue(key, name, REG_BINARY, std::string(500, char(i))) != ERROR_SUCCESS) return ERROR_CANTWRITE;
    }
    return ERROR_SUCCESS;
  }),
            ERROR_SUCCESS);
}

long WriteAndRead(RegistryStore& store, const std::string& name, std::string* back) {
  RegKeyId key = 0;
  if (long r = store.CreateKey(HKEY_LOCAL_MACHINE, kKey, &key); r != ERROR_SUCCESS) return r;
  if (long r = store.SetValue(key, name, REG_DWORD, kOne); r != ERROR_SUCCESS) return r;
  RegValue v;
  const long r = store.QueryValue(key, name, &v);
  *back = v.data;
  return r;
}

TEST(RegistryDamagedTest, DamagedFileIsSetAsideAndANewRegistryStarts) {
  const struct {
    const char* what;
    std::function<void(const std::string&)> damage;
  } cases[] = {
      {"cut short", [](const std::string& p) { fs::resize_file(p, fs::file_size(p) / 2); }},
      {"overwritten", [](const std::string& p) {
         std::string bytes = ReadFile(p);
         for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = char(i * 7919 % 251);
         WriteFile(p, bytes);
         WriteFile(p + "-wal", "stale log of the damaged file");
       }},
      {"a folder", [](const std::string& p) {
         fs::remove(p);
         fs::create_directory(p);
         WriteFile(p + "/inside", "kept");
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDataFolder folder;
    const std::string path = folder.File("registry.db");
    FillRegistry(path);
    c.damage(path);
    const bool was_folder = fs::is_directory(path);
    const std::string damaged_bytes = was_folder ? "" : ReadFile(path);

    RegistryStore store(path);
    std::string back;
    EXPECT_EQ(WriteAndRead(store, "after", &back), ERROR_SUCCESS);
    EXPECT_EQ(back, kOne);
    EXPECT_FALSE(store.read_only());

    // The damaged file is kept under its new name.
    const auto copies = DamagedCopies(folder.path());
    const std::string aside = folder.File(copies.empty() ? "none" : copies[0]);
    ASSERT_EQ(copies.size(), 1u);
    if (was_folder) {
      EXPECT_EQ(ReadFile(aside + "/inside"), "kept");
    } else {
      EXPECT_EQ(ReadFile(aside), damaged_bytes);
    }
    // The damaged file's log never joins the new file.
    EXPECT_EQ(ReadFile(path + "-wal").find("stale log"), std::string::npos);

    // A second open finds the new file sound and sets nothing more aside.
    RegistryStore again(path);
    RegKeyId key = 0;
    RegValue v;
    ASSERT_EQ(again.OpenKey(HKEY_LOCAL_MACHINE, kKey, &key), ERROR_SUCCESS);
    EXPECT_EQ(again.QueryValue(key, "after", &v), ERROR_SUCCESS);
    EXPECT_EQ(DamagedCopies(folder.path()).size(), copies.size());
  }
}

TEST(RegistryDamagedTest, SoundFilesAreNeverSetAside) {
  TempDataFolder folder;
  const std::string path = folder.File("registry.db");
  // An empty file is an empty database, not a damaged one.
  WriteFile(path, "");
  RegistryStore store(path);
  std::string back;
  EXPECT_EQ(WriteAndRead(store, "x", &back), ERROR_SUCCESS);
  // A caller that thought it damaged asks again under the lock, and a sound
  // file stays where it is.
  EXPECT_EQ(SetAsideIfStillDamaged(
                path, [&] { return InspectDatabaseFile(path, true) == DatabaseFileState::kDamaged; }, "test"),
            "");
  EXPECT_TRUE(DamagedCopies(folder.path()).empty());
}

// Each of several processes opens the same damaged registry at once and
// writes its own value: one sets the file aside, and every value lands in
// the one new file (a second setting aside would lose the first writers').
TEST(RegistryDamagedHelper, Writer) {
  const char* name = std::getenv("BRANTEL_REG_DAMAGED_WRITER");
  if (!name) GTEST_SKIP() << "runs only as a second process";
  RegistryStore store(RegistryStore::DefaultPath());
  std::string back;
  ASSERT_EQ(WriteAndRead(store, name, &back), ERROR_SUCCESS);
}

TEST(RegistryDamagedTest, OnlyOneOfSeveralProcessesSetsTheFileAside) {
  TempDataFolder folder;
  const std::string path = RegistryStore::DefaultPath();
  WriteFile(path, std::string(64 * 1024, 'x'));
  constexpr int kWriters = 6;
  std::vector<pid_t> children;
  for (int i = 0; i < kWriters; ++i)
    children.push_back(testing::StartSelf("RegistryDamagedHelper.Writer",
                                          {"BRANTEL_REG_DAMAGED_WRITER=w" + std::to_string(i)}));
  for (pid_t child : children) {
    ASSERT_GT(child, 0);
    EXPECT_EQ(testing::WaitExit(child), 0);
  }
  EXPECT_EQ(DamagedCopies(folder.path()).size(), 1u);
  RegistryStore store(path);
  RegKeyId key = 0;
  ASSERT_EQ(store.OpenKey(HKEY_LOCAL_MACHINE, kKey, &key), ERROR_SUCCESS);
  for (int i = 0; i < kWriters; ++i) {
    RegValue v;
    EXPECT_EQ(store.QueryValue(key, "w" + std::to_string(i), &v), ERROR_SUCCESS) << i;
  }
}

TEST(RegistryDamagedTest, AnOpenStoreFollowsTheFileThatReplacedItsOwn) {
  TempDataFolder folder;
  const std::string path = folder.File("registry.db");
  RegistryStore early(path);
  std::string back;
  ASSERT_EQ(WriteAndRead(early, "old", &back), ERROR_SUCCESS);

  // Another process set the file aside and started a new one.
  fs::rename(path, path + ".damaged-20261207000000");
  for (const char* side : {"-wal", "-shm"})
    if (fs::exists(path + side)) fs::rename(path + side, path + ".damaged-20261207000000" + side);
  RegistryStore other(path);
  ASSERT_EQ(WriteAndRead(other, "new", &back), ERROR_SUCCESS);

  RegKeyId key = 0;
  RegValue v;
  ASSERT_EQ(early.OpenKey(HKEY_LOCAL_MACHINE, kKey, &key), ERROR_SUCCESS);
  EXPECT_EQ(early.QueryValue(key, "new", &v), ERROR_SUCCESS);
  EXPECT_EQ(early.QueryValue(key, "old", &v), ERROR_FILE_NOT_FOUND);
}

TEST(RegistryDamagedTest, ReadOnlyRegistryIsReadAndRefusesWrites) {
  for (const bool folder_writable : {true, false}) {
    SCOPED_TRACE(folder_writable ? "file read-only" : "file and folder read-only");
    TempDataFolder folder;
    const std::string path = folder.File("registry.db");
    {
      RegistryStore store(path);
      std::string back;
      ASSERT_EQ(WriteAndRead(store, "kept", &back), ERROR_SUCCESS);
    }
    const std::string before = ReadFile(path);
    chmod(path.c_str(), 0444);
    if (geteuid() == 0 && folder_writable) {
      ASSERT_EQ(chown(folder.path().c_str(), 65534, 65534), 0);
    }
    chmod(folder.path().c_str(), folder_writable ? 0777 : 0555);

    const int failed_step = testing::RunWithoutRoot([&] {
      RegistryStore store(path);
      RegKeyId key = 0;
      RegValue v;
      if (store.OpenKey(HKEY_LOCAL_MACHINE, kKey, &key) != ERROR_SUCCESS) return 1;
      if (store.QueryValue(key, "kept", &v) != ERROR_SUCCESS || v.data != kOne) return 2;
      if (!store.read_only()) return 3;
      if (store.SetValue(key, "new", REG_DWORD, kOne) != ERROR_ACCESS_DENIED) return 4;
      RegKeyId same = 0;
      if (store.CreateKey(HKEY_LOCAL_MACHINE, kKey, &same) != ERROR_SUCCESS || same != key) return 5;
      if (store.CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Other", &same) != ERROR_ACCESS_DENIED) return 6;
      if (store.DeleteKey(HKEY_LOCAL_MACHINE, kKey) != ERROR_ACCESS_DENIED) return 7;
      if (store.QueryValue(key, "kept", &v) != ERROR_SUCCESS) return 8;
      return 0;
    });
    chmod(folder.path().c_str(), 0700);
    EXPECT_EQ(failed_step, 0);
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_TRUE(DamagedCopies(folder.path()).empty());
  }
}

}  // namespace
}  // namespace brantel
