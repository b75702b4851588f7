// Two threads and two processes writing the cache file at once: SQLite's
// file locking with the busy timeout serialises them and nothing is lost.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "cache/cache_results.h"
#include "cache/cache_tables.h"
#include "cache/mypage_store.h"
#include "cache/quote_store.h"
#include "cache/rank_store.h"
#include "cache_test_support.h"
#include "tests/support/temp_folder.h"

namespace brantel {
namespace {

using testing::MakeRecord;
using testing::QueryOne;

constexpr int kRounds = 40;
constexpr int kRowsPerRound = 25;

// One writer's work; returns how many operations did not return 1.
int WriteMany(const std::string& who) {
  int failures = 0;
  for (int round = 0; round < kRounds; ++round) {
    std::vector<StockRecord> list;
    for (int i = 0; i < kRowsPerRound; ++i)
      list.push_back(MakeRecord(who + "-" + std::to_string(round) + "-" + std::to_string(i), 2, "n",
                                std::to_string(round)));
    if (StoreQuoteList(kQuoteTable, list, Widen(who)) != CACHE_OK) ++failures;
    // Half of the rows again, as updates.
    list.resize(kRowsPerRound / 2);
    for (auto& r : list) r.current_price = u"updated";
    if (StoreQuoteList(kQuoteTable, list, Widen(who)) != CACHE_OK) ++failures;
    if (AddMyPageItem(MakeRecord(who + "-my-" + std::to_string(round), 1), Widen(who), true, false) != CACHE_OK)
      ++failures;
    if (StoreStockRank(std::vector<StockRecord>{MakeRecord(who, 1)}, round % 3, Widen(who)) != CACHE_OK) ++failures;
  }
  return failures;
}

void ExpectEverythingStored(const std::vector<std::string>& writers) {
  for (const std::string& who : writers) {
    EXPECT_EQ(QueryOne("SELECT count(*) FROM StockData WHERE code LIKE '" + who + "-%' AND gubun=2"),
              std::to_string(kRounds * kRowsPerRound))
        << who;
    EXPECT_EQ(QueryOne("SELECT count(*) FROM StockData WHERE code LIKE '" + who + "-%' AND current_price='updated'"),
              std::to_string(kRounds * (kRowsPerRound / 2)))
        << who;
    EXPECT_EQ(QueryOne("SELECT count(*) FROM MyPage WHERE code LIKE '" + who + "-my-%'"), std::to_string(kRounds))
        << who;
    EXPECT_EQ(QueryOne("SELECT count(*) FROM StockRank WHERE code='" + who + "'"), std::to_string(kRounds)) << who;
  }
  EXPECT_EQ(QueryOne("PRAGMA integrity_check"), "ok");
}

TEST(CacheConcurrencyTest, TwoThreadsWriteAtOnce) {
  testing::TempDataFolder home;
  EnsureCacheTables();
  std::atomic<int> failures{0};
  std::thread a([&] { failures += WriteMany("thrA"); });
  std::thread b([&] { failures += WriteMany("thrB"); });
  a.join();
  b.join();
  EXPECT_EQ(failures.load(), 0);
  ExpectEverythingStored({"thrA", "thrB"});
}

TEST(CacheConcurrencyTest, TwoProcessesWriteAtOnce) {
  testing::TempDataFolder home;  // inherited by the children through BRANTEL_HOME
  std::vector<pid_t> children;
  for (const char* who : {"procA", "procB"}) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) _exit(WriteMany(who) == 0 ? 0 : 1);
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
  }
  ExpectEverythingStored({"procA", "procB"});
}

}  // namespace
}  // namespace brantel
