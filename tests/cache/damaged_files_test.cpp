// Damaged and unusable files of the cache: a cache that cannot be opened is
// told once, a damaged one is set aside by one connection only, and the
// master file survives an install that ended half-way.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "cache/cache_connection.h"
#include "cache/cache_results.h"
#include "cache/cache_tables.h"
#include "cache/master_info.h"
#include "cache/master_parser.h"
#include "cache/master_refresh.h"
#include "cache/quote_store.h"
#include "cache_test_support.h"
#include "tests/support/registry_test_support.h"
#include "tests/support/temp_folder.h"

namespace brantel {
namespace {

namespace fs = std::filesystem;
using testing::DebugCapture;
using testing::MakeRecord;
using testing::QueryOne;
using testing::ReadFile;
using testing::TempDataFolder;
using testing::WriteFile;

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

std::vector<std::string> NamesStartingWith(const std::string& folder, const std::string& prefix) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) {
    const std::string name = e.path().filename().string();
    if (name.rfind(prefix, 0) == 0) names.push_back(name);
  }
  return names;
}

TEST(DamagedFilesTest, CacheThatCannotBeOpenedIsToldOnceAndLeftAlone) {
  TempDataFolder home;
  const std::string path = home.File("qelstockdb");
  fs::create_directory(path);
  {
    DebugCapture capture;
    EnsureCacheTables();
    EXPECT_EQ(EnsureMyPageTable(), CACHE_DB_ERROR);
    std::vector<StockRecord> rows;
    EXPECT_EQ(LoadQuotesOfCategory(kQuoteTable, 2, rows), CACHE_DB_ERROR);
    EXPECT_TRUE(CacheCannotBeOpened());
    EXPECT_EQ(Count(capture.Output(), "cannot be opened"), 1u) << capture.Output();
    // Not damaged, so not moved: a folder there is someone's.
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_TRUE(NamesStartingWith(home.Path(), "qelstockdb.damaged-").empty());
  }
  fs::remove(path);
  EXPECT_EQ(EnsureMyPageTable(), CACHE_OK);
  EXPECT_FALSE(CacheCannotBeOpened());

  // Permission refused: the same, told again since the file opened between.
  chmod(home.Path().c_str(), 0755);
  chmod(path.c_str(), 0);
  const int failed_step = testing::RunWithoutRoot([] {
    if (EnsureMyPageTable() != CACHE_DB_ERROR) return 1;
    return CacheCannotBeOpened() ? 0 : 2;
  });
  EXPECT_EQ(failed_step, 0);
  EXPECT_TRUE(NamesStartingWith(home.Path(), "qelstockdb.damaged-").empty());
}

TEST(DamagedFilesTest, DamagedCacheIsSetAsideByOneConnectionAndNoWriteIsLost) {
  TempDataFolder home;
  WriteFile(home.File("qelstockdb"), std::string(64 * 1024, 'x'));
  constexpr int kWriters = 8;
  std::vector<std::thread> writers;
  std::vector<int> results(kWriters, -1);
  for (int i = 0; i < kWriters; ++i)
    writers.emplace_back([&, i] { results[i] = StoreQuote(kQuoteTable, MakeRecord("T" + std::to_string(i), 2), u"t", false); });
  for (auto& t : writers) t.join();
  for (int i = 0; i < kWriters; ++i) EXPECT_EQ(results[i], CACHE_OK) << i;
  int set_aside = 0;
  for (const std::string& name : NamesStartingWith(home.Path(), "qelstockdb.damaged-"))
    if (!name.ends_with("-journal") && !name.ends_with("-wal") && !name.ends_with("-shm")) ++set_aside;
  EXPECT_EQ(set_aside, 1);
  EXPECT_EQ(QueryOne("SELECT count(*) FROM StockData"), std::to_string(kWriters));
}

class MasterKillTest : public ::testing::Test {
 protected:
  // No answer at all: the start works from the stored file only.
  static MasterRequestFn Offline() {
    return [](WideView) { return MasterAnswer{}; };
  }
  TempDataFolder home_;
};

TEST_F(MasterKillTest, BackupLeftByAKillBetweenTheRenamesIsPutBack) {
  // An install of an earlier version ended after moving the old file to its
  // backup and before moving the new one in.
  const std::string installed = DefaultMasterPath();
  SaveMasterInfo(installed, 2);
  WriteFile(installed + "_202612070101010020", "OLDER|a|KOSPI\nOLDEST|b|KOSPI\n");
  WriteFile(installed + "_202612070102030040", "A00001|a|KOSPI\nA00002|b|KOSDAQ\n");
  const int before = GetMasterParser().GetEntryCount();
  EXPECT_TRUE(RefreshMaster(Offline(), nullptr));
  EXPECT_EQ(GetMasterParser().GetEntryCount(), before + 2);
  EXPECT_EQ(ReadFile(installed), "A00001|a|KOSPI\nA00002|b|KOSDAQ\n");
  EXPECT_EQ(NamesStartingWith(home_.Path(), "masterinfo_").size(), 0u);
}

TEST_F(MasterKillTest, StoredFileIsFoundAndItsCountPutRightWithoutTheNetwork) {
  const std::string installed = DefaultMasterPath();
  WriteFile(installed, "B00001|a|KOSPI\nB00002|b|KOSPI\nB00003|c|KOSPI\n");
  // The registry lost its values (a damaged one was set aside): the installed
  // file is still found.
  const int before = GetMasterParser().GetEntryCount();
  EXPECT_TRUE(RefreshMaster(Offline(), nullptr));
  EXPECT_EQ(GetMasterParser().GetEntryCount(), before + 3);
  std::string path;
  uint32_t count = 0;
  LoadMasterInfo(path, count);
  EXPECT_EQ(path, installed);
  EXPECT_EQ(count, 3u);

  // A kill between installing a file and storing its count: the next start
  // stores the count of the file it finds.
  SaveMasterInfo(installed, 1234);
  EXPECT_TRUE(RefreshMaster(Offline(), nullptr));
  LoadMasterInfo(path, count);
  EXPECT_EQ(count, 3u);
}

TEST_F(MasterKillTest, InstalledFileIsNeverMissingWhileANewOneMovesIn) {
  const std::string installed = DefaultMasterPath();
  WriteFile(installed, "OLD|old|KOSPI\n");
  std::atomic<bool> done{false};
  std::atomic<int> missing{0};
  std::thread reader([&] {
    while (!done.load()) {
      if (access(installed.c_str(), F_OK) != 0) ++missing;
    }
  });
  for (int i = 0; i < 300; ++i) {
    WriteFile(home_.File("TEMP/new"), "NEW|new|KOSPI\n");
    ASSERT_EQ(InstallMasterFile(home_.File("TEMP/new")), installed);
  }
  done = true;
  reader.join();
  EXPECT_EQ(missing.load(), 0);
  EXPECT_TRUE(NamesStartingWith(home_.Path(), "masterinfo_").empty());
}

}  // namespace
}  // namespace brantel
