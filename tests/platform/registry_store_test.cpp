#include "platform/registry/registry_store.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/registry/registry_watch.h"
#include "tests/support/registry_test_support.h"

namespace brantel {
namespace {

using namespace std::chrono_literals;
using testing::TempDataFolder;

std::string Bytes(std::initializer_list<int> b) {
  std::string s;
  for (int c : b) s.push_back(char(c));
  return s;
}

class RegistryStoreTest : public ::testing::Test {
 protected:
  TempDataFolder folder_;
  std::shared_ptr<RegistryStore> store_ = RegistryStore::Shared();

  RegKeyId Make(RegRoot root, const std::string& path) {
    RegKeyId id = 0;
    EXPECT_EQ(store_->CreateKey(root, path, &id), ERROR_SUCCESS) << path;
    return id;
  }
};

TEST_F(RegistryStoreTest, ValuesKeepTheirTypeAndExactBytes) {
  const RegKeyId key = Make(HKEY_LOCAL_MACHINE, "SOFTWARE\\BRANTEL\\BrantelStock");
  std::string all_bytes;
  for (int i = 0; i < 256; ++i) all_bytes.push_back(char(i));
  const struct {
    const char* name;
    uint32_t type;
    std::string data;
  } cases[] = {
      {"text", REG_SZ, Bytes({'a', 0, 0xAC, 0x00, 0, 0})},
      {"expand", REG_EXPAND_SZ, Bytes({'%', 0, 'x', 0, '%', 0, 0, 0})},
      {"binary", REG_BINARY, all_bytes},
      {"dword", REG_DWORD, Bytes({0x78, 0x56, 0x34, 0x12})},
      // What the viewer writes: 2 x characters bytes, no terminator.
      {"multi", REG_MULTI_SZ, Bytes({'1', 0, '2', 0, '3', 0, '4', 0, '5', 0, '6', 0, '7', 0, '8', 0})},
      {"empty", REG_BINARY, ""},
      {"odd type", 0x12345, "x"},
  };
  for (const auto& c : cases) ASSERT_EQ(store_->SetValue(key, c.name, c.type, c.data), ERROR_SUCCESS);

  // A second connection to the same file sees exactly the same.
  RegistryStore other(store_->path());
  RegKeyId again = 0;
  ASSERT_EQ(other.OpenKey(HKEY_LOCAL_MACHINE, "software\\brantel\\BRANTELSTOCK", &again), ERROR_SUCCESS);
  for (const auto& c : cases) {
    RegValue v;
    ASSERT_EQ(other.QueryValue(again, c.name, &v), ERROR_SUCCESS) << c.name;
    EXPECT_EQ(v.type, c.type) << c.name;
    EXPECT_EQ(v.data, c.data) << c.name;
  }
  RegValue v;
  EXPECT_EQ(other.QueryValue(again, "missing", &v), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryStoreTest, NamesCompareWithoutCaseAndKeepTheirFirstSpelling) {
  const RegKeyId key = Make(HKEY_CURRENT_USER, "ControlPanel\\MotionSensor");
  EXPECT_EQ(Make(HKEY_CURRENT_USER, "CONTROLPANEL\\motionsensor"), key);
  ASSERT_EQ(store_->SetValue(key, "AutoOrientation", REG_DWORD, Bytes({1, 0, 0, 0})), ERROR_SUCCESS);
  ASSERT_EQ(store_->SetValue(key, "AUTOORIENTATION", REG_DWORD, Bytes({0, 0, 0, 0})), ERROR_SUCCESS);
  ASSERT_EQ(store_->SetValue(key, "", REG_SZ, Bytes({'d', 0, 0, 0})), ERROR_SUCCESS);

  std::vector<RegValue> values;
  ASSERT_EQ(store_->EnumValues(key, &values), ERROR_SUCCESS);
  ASSERT_EQ(values.size(), 2u);
  EXPECT_EQ(values[0].name, "");
  EXPECT_EQ(values[1].name, "AutoOrientation");
  EXPECT_EQ(values[1].data, Bytes({0, 0, 0, 0}));

  Make(HKEY_CURRENT_USER, "ControlPanel\\beta");
  Make(HKEY_CURRENT_USER, "ControlPanel\\Alpha");
  RegKeyId parent = 0;
  ASSERT_EQ(store_->OpenKey(HKEY_CURRENT_USER, "controlpanel", &parent), ERROR_SUCCESS);
  std::vector<std::string> names;
  ASSERT_EQ(store_->EnumSubkeys(parent, &names), ERROR_SUCCESS);
  EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "beta", "MotionSensor"}));

  // The four roots are separate trees, and an unknown root is refused.
  RegKeyId id = 0;
  EXPECT_EQ(store_->OpenKey(HKEY_LOCAL_MACHINE, "ControlPanel", &id), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(store_->OpenKey(0x80000009u, "ControlPanel", &id), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryStoreTest, DeletingAKeyTakesItsSubtreeAndStaleHandlesFail) {
  const RegKeyId top = Make(HKEY_LOCAL_MACHINE, "SOFTWARE\\Stock");
  const RegKeyId sub = Make(HKEY_LOCAL_MACHINE, "SOFTWARE\\Stock\\SelpUpgrade\\Deeper");
  ASSERT_EQ(store_->SetValue(sub, "NewFilePath", REG_MULTI_SZ, "x\0"), ERROR_SUCCESS);
  const RegKeyId sibling = Make(HKEY_LOCAL_MACHINE, "SOFTWARE\\Stocks");  // shares a prefix only

  ASSERT_EQ(store_->DeleteKey(HKEY_LOCAL_MACHINE, "software\\stock"), ERROR_SUCCESS);
  RegKeyId id = 0;
  EXPECT_EQ(store_->OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Stock\\SelpUpgrade", &id), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(store_->OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Stocks", &id), ERROR_SUCCESS);
  EXPECT_EQ(id, sibling);
  EXPECT_EQ(store_->DeleteKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Stock"), ERROR_FILE_NOT_FOUND);

  // A key made again under the same name is a new key: the old handle must
  // not write into it.
  const RegKeyId remade = Make(HKEY_LOCAL_MACHINE, "SOFTWARE\\Stock");
  EXPECT_NE(remade, top);
  EXPECT_EQ(store_->SetValue(top, "upgrade_date", REG_SZ, "x"), ERROR_KEY_DELETED);
  RegValue v;
  EXPECT_EQ(store_->QueryValue(sub, "NewFilePath", &v), ERROR_KEY_DELETED);

  EXPECT_EQ(store_->DeleteKey(HKEY_LOCAL_MACHINE, ""), ERROR_ACCESS_DENIED);
  EXPECT_EQ(store_->DeleteValue(remade, "nothing"), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryStoreTest, RefusesOversizedNamesAndValues) {
  const RegKeyId key = Make(HKEY_LOCAL_MACHINE, "SOFTWARE\\Limits");
  EXPECT_EQ(store_->SetValue(key, "big", REG_BINARY, std::string(kMaxRegValueBytes + 1, 'x')), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(store_->SetValue(key, "ok", REG_BINARY, std::string(kMaxRegValueBytes, 'x')), ERROR_SUCCESS);
  RegKeyId id = 0;
  EXPECT_EQ(store_->CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\" + std::string(256, 'k'), &id), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(store_->CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\" + std::string(255, 'k'), &id), ERROR_SUCCESS);
}

TEST_F(RegistryStoreTest, AFailedTransactionLeavesNothingBehind) {
  const long r = store_->Transaction([&]() -> long {
    RegKeyId id = 0;
    if (store_->CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Half\\Done", &id) != ERROR_SUCCESS) return ERROR_BADDB;
    if (store_->SetValue(id, "v", REG_DWORD, "\1\0\0\0") != ERROR_SUCCESS) return ERROR_BADDB;
    return ERROR_INVALID_DATA;  // a later step fails
  });
  EXPECT_EQ(r, ERROR_INVALID_DATA);
  RegKeyId id = 0;
  EXPECT_EQ(store_->OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Half", &id), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryStoreTest, ThreadsWritingAtOnceLoseNothing) {
  constexpr int kThreads = 4, kEach = 50;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t] {
      auto store = RegistryStore::Shared();
      for (int i = 0; i < kEach; ++i) {
        RegKeyId id = 0;
        ASSERT_EQ(store->CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\T" + std::to_string(t), &id), ERROR_SUCCESS);
        std::string name = "v";
        name += std::to_string(i);
        ASSERT_EQ(store->SetValue(id, name, REG_DWORD, std::string(4, char(i))), ERROR_SUCCESS);
      }
    });
  }
  for (auto& th : threads) th.join();
  for (int t = 0; t < kThreads; ++t) {
    RegKeyId id = 0;
    ASSERT_EQ(store_->OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\T" + std::to_string(t), &id), ERROR_SUCCESS);
    std::vector<RegValue> values;
    ASSERT_EQ(store_->EnumValues(id, &values), ERROR_SUCCESS);
    EXPECT_EQ(values.size(), size_t(kEach));
  }
}

// Read-modify-write of one counter inside a transaction, many times; run by
// two processes at once, no increment may be lost.
long IncrementCounter(RegistryStore& store) {
  return store.Transaction([&]() -> long {
    RegKeyId id = 0;
    if (long r = store.CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Shared", &id); r != ERROR_SUCCESS) return r;
    RegValue v;
    uint32_t n = 0;
    if (store.QueryValue(id, "counter", &v) == ERROR_SUCCESS && v.data.size() == 4) memcpy(&n, v.data.data(), 4);
    ++n;
    return store.SetValue(id, "counter", REG_DWORD, std::string(reinterpret_cast<char*>(&n), 4));
  });
}

constexpr int kIncrements = 150;

TEST(RegistryTwoProcessHelper, Writer) {
  if (!std::getenv("BRANTEL_REG_TEST_WRITER")) GTEST_SKIP() << "runs only as the second process";
  auto store = RegistryStore::Shared();
  for (int i = 0; i < kIncrements; ++i) ASSERT_EQ(IncrementCounter(*store), ERROR_SUCCESS);
  RegKeyId id = 0;
  ASSERT_EQ(store->CreateKey(HKEY_CURRENT_USER, "Software\\BRANTEL\\MotionSettings", &id), ERROR_SUCCESS);
  ASSERT_EQ(store->SetValue(id, "Rotation", REG_DWORD, std::string("\x5a\0\0\0", 4)), ERROR_SUCCESS);
}

TEST_F(RegistryStoreTest, TwoProcessesWritingAtOnceLoseNothingAndSeeEachOther) {
  std::atomic<int> seen{0};
  RegistryWatch watch =
      WatchKey(HKEY_CURRENT_USER, "Software\\BRANTEL\\MotionSettings", [&] { seen.fetch_add(1); });
  const pid_t child = testing::StartSelf("RegistryTwoProcessHelper.Writer", {"BRANTEL_REG_TEST_WRITER=1"});
  ASSERT_GT(child, 0);
  for (int i = 0; i < kIncrements; ++i) ASSERT_EQ(IncrementCounter(*store_), ERROR_SUCCESS);
  ASSERT_EQ(testing::WaitExit(child), 0);

  RegKeyId id = 0;
  ASSERT_EQ(store_->OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Shared", &id), ERROR_SUCCESS);
  RegValue v;
  ASSERT_EQ(store_->QueryValue(id, "counter", &v), ERROR_SUCCESS);
  uint32_t n = 0;
  memcpy(&n, v.data.data(), 4);
  EXPECT_EQ(n, uint32_t(2 * kIncrements));

  // The other process's write reached this process's watch.
  for (int i = 0; i < 3000 && seen.load() == 0; ++i) std::this_thread::sleep_for(20ms);
  EXPECT_GE(seen.load(), 1);
}

// Context switches of this process's thread called `name`; -1 when none is.
long long ThreadSwitches(const std::string& name) {
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    std::ifstream comm(task.path() / "comm");
    std::string line;
    if (!std::getline(comm, line) || line != name) continue;
    std::ifstream status(task.path() / "status");
    long long total = 0;
    for (std::string key; status >> key;) {
      long long n = 0;
      if ((key == "voluntary_ctxt_switches:" || key == "nonvoluntary_ctxt_switches:") && status >> n) total += n;
    }
    return total;
  }
  return -1;
}

TEST_F(RegistryStoreTest, WatchSleepsUntilAnotherProcessWrites) {
  std::atomic<int> seen{0};
  RegistryWatch watch =
      WatchKey(HKEY_CURRENT_USER, "Software\\BRANTEL\\MotionSettings", [&] { seen.fetch_add(1); });
  std::this_thread::sleep_for(1500ms);  // the looks after the fixture's own writes are over

  // Nothing written: the watcher thread does not run at all.
  const long long before = ThreadSwitches("registry-watch");
  ASSERT_GE(before, 0) << "no watcher thread";
  std::this_thread::sleep_for(1s);
  EXPECT_EQ(ThreadSwitches("registry-watch"), before) << "the watcher woke while nothing changed";
  EXPECT_EQ(seen.load(), 0);

  // Another process's write wakes it.
  const pid_t child = testing::StartSelf("RegistryTwoProcessHelper.Writer", {"BRANTEL_REG_TEST_WRITER=1"});
  ASSERT_GT(child, 0);
  ASSERT_EQ(testing::WaitExit(child), 0);
  for (int i = 0; i < 500 && seen.load() == 0; ++i) std::this_thread::sleep_for(10ms);
  EXPECT_GE(seen.load(), 1) << "the other process's change was not seen within 5 s";

  // An ended watch ends the thread at once.
  watch.Stop();
  for (int i = 0; i < 100 && ThreadSwitches("registry-watch") >= 0; ++i) std::this_thread::sleep_for(10ms);
  EXPECT_EQ(ThreadSwitches("registry-watch"), -1) << "the watcher thread outlived its last watch";
}

TEST_F(RegistryStoreTest, WatchSeesOnlyItsKeyAndStopsWhenEnded) {
  std::atomic<int> own{0}, tree{0}, fence{0};
  RegistryWatch watch = WatchKey(HKEY_CURRENT_USER, "Software\\BRANTEL\\MotionSettings", [&] { own.fetch_add(1); });
  RegistryWatch subtree = WatchKey(HKEY_CURRENT_USER, "Software\\BRANTEL", [&] { tree.fetch_add(1); }, true);
  // One watcher thread reports changes in order, so once a later change of
  // an unrelated key has been reported, the earlier ones have been too. Two
  // rounds cover a look at the registry that was already under way.
  const RegKeyId fence_key = Make(HKEY_CURRENT_USER, "Software\\Fence");
  RegistryWatch fence_watch = WatchKey(HKEY_CURRENT_USER, "Software\\Fence", [&] { fence.fetch_add(1); });
  auto settle = [&] {
    for (int round = 0; round < 2; ++round) {
      const int before = fence.load();
      ASSERT_EQ(store_->SetValue(fence_key, "n", REG_DWORD, std::string(4, char(round))), ERROR_SUCCESS);
      for (int i = 0; i < 6000 && fence.load() == before; ++i) std::this_thread::sleep_for(10ms);
      ASSERT_GT(fence.load(), before) << "the watcher reported nothing within a minute";
    }
  };

  // A key that did not exist when the watch began.
  const RegKeyId key = Make(HKEY_CURRENT_USER, "Software\\BRANTEL\\MotionSettings");
  ASSERT_EQ(store_->SetValue(key, "Rotation", REG_DWORD, std::string("\0\0\0\0", 4)), ERROR_SUCCESS);
  settle();
  EXPECT_GE(own.load(), 1);
  EXPECT_GE(tree.load(), 1);

  // A change elsewhere under the watched parent reaches only the subtree watch.
  const int own_before = own.load(), tree_before = tree.load();
  const RegKeyId other = Make(HKEY_CURRENT_USER, "Software\\BRANTEL\\Other");
  ASSERT_EQ(store_->SetValue(other, "x", REG_DWORD, std::string(4, '\0')), ERROR_SUCCESS);
  settle();
  EXPECT_GT(tree.load(), tree_before);
  EXPECT_EQ(own.load(), own_before);

  // An ended watch hears nothing more; the other one still does.
  watch.Stop();
  const int tree_at_stop = tree.load();
  ASSERT_EQ(store_->SetValue(key, "Rotation", REG_DWORD, std::string("\x5a\0\0\0", 4)), ERROR_SUCCESS);
  settle();
  EXPECT_EQ(own.load(), own_before);
  EXPECT_GT(tree.load(), tree_at_stop);
}

}  // namespace
}  // namespace brantel
