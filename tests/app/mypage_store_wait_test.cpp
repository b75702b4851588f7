// Closing MyPage while its background store is held up by another writer
// of the cache: the screen waits for the store a bounded time, not for as
// long as the cache stays locked.

#include <sqlite3.h>

#include "cache/cache_connection.h"
#include "cache/database_path.h"
#include "tests/app/mypage_test_support.h"

namespace brantel {
namespace {

using testing::Entry;
using testing::MyPageTest;
using testing::RunUntil;

TEST_F(MyPageTest, DestroyWaitsAtMostASecondForAHeldUpStore) {
  Watch({Entry(1, u"005930", u"0", u"삼성전자")});
  // Another writer holds the cache: the screen still reads it, the store
  // cannot write.
  SetCacheBusyTimeoutForTesting(5000);
  sqlite3* holder = nullptr;
  ASSERT_EQ(sqlite3_open(BuildDatabasePath().c_str(), &holder), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(holder, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
  const int before = MyPageRequests();
  CMyPageDlg& s = Show();
  ASSERT_TRUE(RunUntil([&] { return MyPageRequests() > before && !s.busy(); }));
  ASSERT_TRUE(s.store().Running());

  const auto start = std::chrono::steady_clock::now();
  s.Destroy();
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, std::chrono::milliseconds(900));
  EXPECT_LT(took, std::chrono::milliseconds(1600));

  // Let go of the cache: the store ends by itself and the screen object goes.
  sqlite3_exec(holder, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(holder);
  screen_.reset();
  SetCacheBusyTimeoutForTesting(0);
}

}  // namespace
}  // namespace brantel
