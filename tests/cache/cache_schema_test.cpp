// The cache file itself: creation on a fresh device, a damaged file, a
// locked file, a file that cannot be opened.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "cache/cache_connection.h"
#include "cache/cache_results.h"
#include "cache/cache_tables.h"
#include "cache/quote_store.h"
#include "cache_test_support.h"
#include "tests/support/temp_folder.h"

namespace brantel {
namespace {

using testing::DebugCapture;
using testing::MakeRecord;
using testing::QueryOne;
using testing::QueryRows;

const std::vector<std::string> kFreshSchema = {
    "table|MyPage|MyPage|CREATE TABLE [MyPage] ( [uid] INTEGER  PRIMARY KEY AUTOINCREMENT NOT NULL, [code] "
    "VARCHAR(32) UNIQUE NOT NULL, [gubun] INTEGER DEFAULT '0' NOT NULL, [sub_gubun] INTEGER DEFAULT '0' NOT NULL, "
    "[lastupdatetime] VARCHAR(32) NOT NULL)",
    "index|sqlite_autoindex_MyPage_1|MyPage|<null>",
    "table|sqlite_sequence|sqlite_sequence|CREATE TABLE sqlite_sequence(name,seq)",
    "index|idx_mypage|MyPage|CREATE INDEX [idx_mypage] ON [MyPage]([code]  DESC, [gubun]  DESC, [sub_gubun]  DESC)",
    "table|StockData|StockData|CREATE TABLE [StockData] ( [uid] INTEGER  PRIMARY KEY AUTOINCREMENT NOT NULL, "
    "[code] VARCHAR(32) UNIQUE NOT NULL, [codename] VARCHAR(128) NOT NULL, [gubun] INTEGER DEFAULT '0' NOT NULL, "
    "[sub_gubun] VARCHAR(32) DEFAULT '0', [current_price] VARCHAR(128) DEFAULT '0' NOT NULL, [daebi] VARCHAR(32) "
    "DEFAULT '0', [rate] VARCHAR(16) DEFAULT '0', [high] VARCHAR(32) DEFAULT '0', [low] VARCHAR(32) DEFAULT '0', "
    "[trade_amount] VARCHAR(20) DEFAULT '0', [yesterday_price] VARCHAR(20) DEFAULT '0', [open_price] VARCHAR(20) "
    "DEFAULT '0', [high52] VARCHAR(20) DEFAULT '0', [high52datetime] VARCHAR(32) DEFAULT '0', [low52] "
    "VARCHAR(20) DEFAULT '0', [low52datetime] VARCHAR(32) DEFAULT '0', [date] VARCHAR(16) DEFAULT '0', [time] "
    "VARCHAR(12) DEFAULT '0', [lastupdatetime] VARCHAR(32) NOT NULL)",
    "index|sqlite_autoindex_StockData_1|StockData|<null>",
    "index|idx_StockData|StockData|CREATE INDEX [idx_StockData] ON [StockData]([code]  DESC, [gubun]  DESC, "
    "[codename]  DESC)",
    "table|StockRank|StockRank|CREATE TABLE [StockRank] ( [uid] INTEGER  PRIMARY KEY AUTOINCREMENT NOT NULL, "
    "[code] VARCHAR(32) NOT NULL, [gubun] INTEGER DEFAULT '0' NOT NULL, [sub_gubun] INTEGER DEFAULT '0', "
    "[lastupdatetime] VARCHAR(32) NOT NULL)",
    "index|idx_StockRank|StockRank|CREATE INDEX [idx_StockRank] ON [StockRank]([code]  DESC, [gubun]  DESC)",
};

std::vector<std::string> Schema() {
  return QueryRows("SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY rowid");
}

TEST(CacheSchemaTest, FreshDeviceCreatesExactSchemaAndSecondStartKeepsIt) {
  testing::TempDataFolder home;
  ASSERT_FALSE(std::filesystem::exists(home.File("qelstockdb")));
  EXPECT_EQ(EnsureMyPageTable(), CACHE_OK);
  EXPECT_EQ(EnsureQuoteTable(kQuoteTable), CACHE_OK);
  EXPECT_EQ(EnsureStockRankTable(), CACHE_OK);
  EXPECT_TRUE(std::filesystem::exists(home.File("qelstockdb")));
  EXPECT_EQ(Schema(), kFreshSchema);

  ASSERT_EQ(StoreQuote(kQuoteTable, MakeRecord("005930", 1), u"t1", false), CACHE_OK);
  EnsureCacheTables();
  EXPECT_EQ(Schema(), kFreshSchema);
  EXPECT_EQ(QueryOne("SELECT count(*) FROM StockData"), "1");
  EXPECT_EQ(EnsureQuoteTable(nullptr), CACHE_NOTHING);
}

TEST(CacheSchemaTest, AnyOperationCreatesItsMissingTable) {
  testing::TempDataFolder home;
  std::vector<StockRecord> rows;
  EXPECT_EQ(LoadQuotesOfCategory(kQuoteTable, 2, rows), CACHE_OK);
  EXPECT_TRUE(rows.empty());
  EXPECT_EQ(QueryOne("SELECT count(*) FROM sqlite_master WHERE name='StockData'"), "1");
}

TEST(CacheSchemaTest, FileThatIsNotADatabaseIsSetAsideAndReplaced) {
  testing::TempDataFolder home;
  const std::string garbage(8192, 'x');
  {
    std::ofstream out(home.File("qelstockdb"), std::ios::binary);
    out << garbage;
  }
  DebugCapture capture;
  EXPECT_EQ(StoreQuote(kQuoteTable, MakeRecord("A1", 2), u"t", false), CACHE_OK);
  EXPECT_EQ(QueryOne("SELECT code FROM StockData"), "A1");
  EXPECT_NE(capture.Output().find("moved aside"), std::string::npos) << capture.Output();

  // The damaged file is kept, byte for byte, beside the new one.
  int aside = 0;
  for (const auto& entry : std::filesystem::directory_iterator(home.Path())) {
    std::string name = entry.path().filename().string();
    if (name.rfind("qelstockdb.damaged-", 0) != 0) continue;
    ++aside;
    std::ifstream in(entry.path(), std::ios::binary);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, garbage);
  }
  EXPECT_EQ(aside, 1);
}

TEST(CacheSchemaTest, DamagedPagesFoundMidOperationSetTheFileAside) {
  testing::TempDataFolder home;
  std::vector<StockRecord> list;
  for (int i = 0; i < 400; ++i) list.push_back(MakeRecord(std::string("C").append(std::to_string(i)), 2, std::string(200, 'n')));
  ASSERT_EQ(StoreQuoteList(kQuoteTable, list, u"t"), CACHE_OK);
  {
    // Overwrite the middle of the file, past the schema page.
    std::fstream f(home.File("qelstockdb"), std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(4096 * 6);
    std::string junk(4096 * 4, '\xA5');
    f.write(junk.data(), std::streamsize(junk.size()));
  }
  DebugCapture capture;
  std::vector<StockRecord> rows;
  int first = LoadQuotesOfCategory(kQuoteTable, 2, rows);
  if (first == CACHE_DB_ERROR) {
    EXPECT_NE(capture.Output().find("sqlite error: 11 = SQLITE_CORRUPT[11]"), std::string::npos) << capture.Output();
  }
  // Either way the next operations work on a sound file.
  EXPECT_EQ(StoreQuote(kQuoteTable, MakeRecord("NEW", 2), u"t", false), CACHE_OK);
  rows.clear();
  EXPECT_EQ(LoadQuotesOfCategory(kQuoteTable, 2, rows), CACHE_OK);
  EXPECT_FALSE(rows.empty());
}

TEST(CacheSchemaTest, LockedFileWaitsForTheBusyTimeoutThenFails) {
  testing::TempDataFolder home;
  EnsureCacheTables();
  sqlite3* holder = nullptr;
  ASSERT_EQ(sqlite3_open(BuildDatabasePath().c_str(), &holder), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);

  SetCacheBusyTimeoutForTesting(300);
  DebugCapture capture;
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(StoreQuote(kQuoteTable, MakeRecord("L1", 1), u"t", false), CACHE_DB_ERROR);
  auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(250));
  EXPECT_NE(capture.Output().find("sqlite error: 5 = SQLITE_BUSY[5]"), std::string::npos)
      << capture.Output();

  // A lock released within the timeout is waited for and the write lands.
  SetCacheBusyTimeoutForTesting(5000);
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    sqlite3_exec(holder, "COMMIT", nullptr, nullptr, nullptr);
  });
  EXPECT_EQ(StoreQuote(kQuoteTable, MakeRecord("L2", 1), u"t", false), CACHE_OK);
  release.join();
  sqlite3_close(holder);
  SetCacheBusyTimeoutForTesting(0);
  EXPECT_EQ(QueryOne("SELECT group_concat(code) FROM StockData"), "L2");
  // A locked file is not a damaged one: nothing was set aside.
  for (const auto& entry : std::filesystem::directory_iterator(home.Path()))
    EXPECT_EQ(entry.path().filename().string().find("damaged"), std::string::npos);
}

TEST(CacheSchemaTest, FileThatCannotBeOpenedGives99) {
  testing::TempDataFolder home;
  std::filesystem::create_directory(home.File("qelstockdb"));
  DebugCapture capture;
  EXPECT_EQ(EnsureMyPageTable(), CACHE_DB_ERROR);
  EXPECT_NE(capture.Output().find("sqlite error: 14 = SQLITE_CANTOPEN[14]"), std::string::npos) << capture.Output();
  EXPECT_TRUE(std::filesystem::is_directory(home.File("qelstockdb")));
}

}  // namespace
}  // namespace brantel
