// The master refresh and the single-code request against the reference
// information server on 127.0.0.1.
#include <gtest/gtest.h>

#include <filesystem>

#include "cache/master_info.h"
#include "cache/master_parser.h"
#include "cache/master_request.h"
#include "cache/single_code_request.h"
#include "cache_test_support.h"
#include "platform/folders.h"
#include "protocol/last_update.h"
#include "protocol/request_cycle.h"
#include "protocol/request_settings.h"
#include "tests/support/quote_server_process.h"
#include "tests/support/temp_folder.h"

namespace brantel {
namespace {

namespace fs = std::filesystem;
using testing::QueryOne;

class ServerRequestsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(home_.File("program/TEMP"));
    SetProgramFolderForTesting(home_.File("program"));
  }
  void TearDown() override { SetProgramFolderForTesting(""); }
  void Use(const testing::QuoteServerProcess& server) { SetInformationServer(u"127.0.0.1", server.port()); }

  testing::TempDataFolder home_;
};

TEST_F(ServerRequestsTest, MasterRefreshDownloadsInstallsAndLaterUsesTheStoredFile) {
  testing::QuoteServerProcess server;
  ASSERT_TRUE(server.started()) << server.why_not();
  Use(server);
  CParseMaster& master = GetMasterParser();
  const int before = master.GetEntryCount();

  ASSERT_TRUE(RefreshMasterFromServer(u"", 0));
  const int received = master.GetEntryCount() - before;
  EXPECT_GE(received, 1000);
  EXPECT_EQ(master.LookupMarket(u"005930"), 0);
  EXPECT_TRUE(fs::exists(home_.File("masterinfo")));
  std::string path;
  uint32_t count = 0;
  ASSERT_EQ(LoadMasterInfo(path, count), 1);
  EXPECT_EQ(path, home_.File("masterinfo"));
  EXPECT_EQ(count, uint32_t(master.GetEntryCount()));
  const WideText stamp = LastUpdateStamp(u"", 0, 0, true);
  EXPECT_FALSE(stamp.empty());
  ASSERT_GE(master.FindByPrefix(u"삼성", 2), 1);

  // Server gone: the stored file still serves the search.
  server.Stop();
  const int after_first = master.GetEntryCount();
  ASSERT_TRUE(RefreshMasterFromServer(stamp, 0));
  EXPECT_EQ(master.GetEntryCount() - after_first, received);
}

TEST_F(ServerRequestsTest, SingleCodeAnswerIsWrittenIntoTheQuoteTable) {
  testing::QuoteServerProcess server;
  ASSERT_TRUE(server.started()) << server.why_not();
  Use(server);
  ASSERT_EQ(FetchSingleCode(u"005930", 1, u"0", kMyPageListPath, 0), 1);
  EXPECT_EQ(QueryOne("SELECT code, gubun, codename FROM StockData"), "005930|1|삼성전자");
  EXPECT_NE(QueryOne("SELECT lastupdatetime FROM StockData"), "");
  EXPECT_EQ(FetchSingleCode(u"", 1, u"0", kMyPageListPath, 0), 0);

  server.Stop();
  EXPECT_NE(FetchSingleCode(u"000660", 1, u"0", kMyPageListPath, 0), 1);
  EXPECT_EQ(QueryOne("SELECT count(*) FROM StockData"), "1");
}

}  // namespace
}  // namespace brantel
